// The iCalendar writer is a module of its own (Linux), loaded at the first export, so that a
// start of the widget maps neither libical nor the writer.

#include "exchange/CalendarExchange.h"
#include "exchange/ExportEntry.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>
#include <vector>

namespace tilava {

namespace fs = std::filesystem;

namespace {

// Loads the module once and keeps it for the run. Gives nullptr and the reason, in Slovak for
// the user, when the module cannot be found or loaded.
ExportEntry LoadExportModule(std::string& error) {
    static ExportEntry input = nullptr;
    if (input)
        return input;
    // Where an installation puts it, then beside the program (the build folder).
    std::error_code ec;
    const fs::path program = fs::read_symlink("/proc/self/exe", ec);
    std::vector<fs::path> places;
    if (!ec) {
        const fs::path folder = program.parent_path();
        places = {(folder / TILAVA_EXPORT_MODULE_DIR / kExportModuleName).lexically_normal(),
                  folder / kExportModuleName};
    }
    std::string dovody;
    for (const fs::path& place : places) {
        if (!fs::exists(place, ec))
            continue;
        void* modul = ::dlopen(place.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!modul) {
            dovody += std::string("\n") + ::dlerror();
            continue;
        }
        if (void* f = ::dlsym(modul, kExportEntryName)) {
            input = reinterpret_cast<ExportEntry>(f);
            return input;
        }
        dovody += "\n" + place.string() + ": chýba v ňom " + kExportEntryName;
        ::dlclose(modul);
    }
    error = std::string("Export do kalendára sa nedá spustiť: jeho súčasť ") + kExportModuleName +
            (dovody.empty() ? " sa nenašla" : " sa nedá načítať");
    if (places.empty()) {
        error += " (priečinok programu sa nedá zistiť).";
    } else {
        error += " (hľadaná v ";
        for (std::size_t i = 0; i < places.size(); ++i)
            error += (i ? ", " : "") + places[i].parent_path().string();
        error += ").";
    }
    error += dovody + "\n";
    return nullptr;
}

} // namespace

ExchangeResult ExportCalendarStamped(const fs::path& folder, const fs::path& subor,
                                     std::chrono::sys_seconds now, ExistingExport existing) {
    ExchangeResult v;
    if (const ExportEntry exportuj = LoadExportModule(v.message))
        v.success = exportuj(folder, subor, now.time_since_epoch().count(), existing, v.message);
    return v;
}

} // namespace tilava
