#include "ui/ExportModule.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>
#include <vector>

#ifndef TILAVA_EXPORT_MODULE_DIR
#define TILAVA_EXPORT_MODULE_DIR "../lib/tilava"
#endif

namespace tilava {

namespace fs = std::filesystem;

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

} // namespace tilava
