#include "exchange/LoadedModule.h"

#include <dlfcn.h>

#include <filesystem>
#include <map>
#include <mutex>
#include <system_error>
#include <utility>
#include <vector>

namespace tilava {

namespace fs = std::filesystem;

void* LoadedModuleEntry(const char* moduleName, const char* entryName, const std::string& refusal,
                        std::string& error) {
    static std::mutex guard;
    static std::map<std::pair<std::string, std::string>, void*> loaded;
    const std::lock_guard<std::mutex> lock(guard);
    void*& entry = loaded[{moduleName, entryName}];
    if (entry)
        return entry;
    std::error_code ec;
    const fs::path program = fs::read_symlink("/proc/self/exe", ec);
    std::vector<fs::path> places;
    if (!ec) {
        const fs::path folder = program.parent_path();
        places = {(folder / TILAVA_MODULE_DIR / moduleName).lexically_normal(),
                  folder / moduleName};
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
        if (void* f = ::dlsym(modul, entryName)) {
            entry = f;
            return entry;
        }
        dovody += "\n" + place.string() + ": chýba v ňom " + entryName;
        ::dlclose(modul);
    }
    error = refusal + " " + moduleName + (dovody.empty() ? " sa nenašla" : " sa nedá načítať");
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

} // namespace tilava
