// The module the program loads for a calendar export (see exchange/ExportEntry.h).

#include "exchange/CalendarExport.h"
#include "exchange/ExportEntry.h"

#include <exception>

extern "C" __attribute__((visibility("default"))) bool
tilava_export_calendar_2(const std::filesystem::path& priecinok, const std::filesystem::path& subor,
                         std::int64_t teraz, tilava::ExistingExport existing, std::string& sprava) {
    // Nothing may unwind into the program across the module's edge.
    try {
        const tilava::ExportReport r = tilava::ExportCalendar(
            priecinok, subor, std::chrono::sys_seconds{std::chrono::seconds{teraz}}, existing);
        sprava = r.Text(subor);
        return r.Uspech();
    } catch (const std::exception& e) {
        sprava = std::string("Export do kalendára zlyhal: ") + e.what() + "\n";
    } catch (...) {
        sprava = "Export do kalendára zlyhal.\n";
    }
    return false;
}

// The entry point has the type the program calls it by.
[[maybe_unused]] static constexpr tilava::ExportEntry kVstup = &tilava_export_calendar_2;
