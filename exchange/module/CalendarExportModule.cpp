// The module the program loads for a calendar export (see exchange/ExportEntry.h).

#include "exchange/CalendarExport.h"
#include "exchange/ExportEntry.h"

#include <exception>

extern "C" __attribute__((visibility("default"))) bool
tilava_export_calendar_2(const std::filesystem::path& folder, const std::filesystem::path& subor,
                         std::int64_t timeNow, tilava::ExistingExport existing,
                         std::string& message) {
    // Nothing may unwind into the program across the module's edge.
    try {
        const tilava::ExportReport r = tilava::ExportCalendar(
            folder, subor, std::chrono::sys_seconds{std::chrono::seconds{timeNow}}, existing);
        message = r.Text(subor);
        return r.Succeeded();
    } catch (const std::exception& e) {
        message = std::string("Export do kalendára zlyhal: ") + e.what() + "\n";
    } catch (...) {
        message = "Export do kalendára zlyhal.\n";
    }
    return false;
}

// The entry point has the type the program calls it by.
[[maybe_unused]] static constexpr tilava::ExportEntry kVstup = &tilava_export_calendar_2;
