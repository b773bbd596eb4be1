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
ExportEntry LoadExportModule(std::string& chyba) {
    static ExportEntry vstup = nullptr;
    if (vstup)
        return vstup;
    // Where an installation puts it, then beside the program (the build folder).
    std::error_code ec;
    const fs::path program = fs::read_symlink("/proc/self/exe", ec);
    std::vector<fs::path> miesta;
    if (!ec) {
        const fs::path priecinok = program.parent_path();
        miesta = {(priecinok / TILAVA_EXPORT_MODULE_DIR / kExportModuleName).lexically_normal(),
                  priecinok / kExportModuleName};
    }
    std::string dovody;
    for (const fs::path& miesto : miesta) {
        if (!fs::exists(miesto, ec))
            continue;
        void* modul = ::dlopen(miesto.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!modul) {
            dovody += std::string("\n") + ::dlerror();
            continue;
        }
        if (void* f = ::dlsym(modul, kExportEntryName)) {
            vstup = reinterpret_cast<ExportEntry>(f);
            return vstup;
        }
        dovody += "\n" + miesto.string() + ": chýba v ňom " + kExportEntryName;
        ::dlclose(modul);
    }
    chyba = std::string("Export do kalendára sa nedá spustiť: jeho súčasť ") + kExportModuleName +
            (dovody.empty() ? " sa nenašla" : " sa nedá načítať");
    if (miesta.empty()) {
        chyba += " (priečinok programu sa nedá zistiť).";
    } else {
        chyba += " (hľadaná v ";
        for (std::size_t i = 0; i < miesta.size(); ++i)
            chyba += (i ? ", " : "") + miesta[i].parent_path().string();
        chyba += ").";
    }
    chyba += dovody + "\n";
    return nullptr;
}

} // namespace

ExchangeResult ExportCalendarStamped(const fs::path& priecinok, const fs::path& subor,
                                     std::chrono::sys_seconds now, ExistingExport existing) {
    ExchangeResult v;
    if (const ExportEntry exportuj = LoadExportModule(v.sprava))
        v.uspech = exportuj(priecinok, subor, now.time_since_epoch().count(), existing, v.sprava);
    return v;
}

} // namespace tilava
