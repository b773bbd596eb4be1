#include "TempNotesSupport.h"

#include "core/Cp1250.h"

#include <cstdio>
#include <fstream>
#include <random>
#include <stdexcept>

namespace tilava::test {

TempNotesFolder::TempNotesFolder() {
    std::random_device nahoda;
    const auto zaklad = std::filesystem::temp_directory_path();
    for (int pokus = 0; pokus < 100; ++pokus) {
        auto kandidat = zaklad / ("tilava-model-" + std::to_string(nahoda()));
        if (std::filesystem::create_directory(kandidat)) {
            cesta_ = kandidat;
            return;
        }
    }
    throw std::runtime_error("no temporary notes folder");
}

TempNotesFolder::~TempNotesFolder() {
    std::error_code ec;
    std::filesystem::remove_all(cesta_, ec);
}

std::filesystem::path TempNotesFolder::Subor(int den, int mesiac) const {
    char meno[16];
    std::snprintf(meno, sizeof meno, "%02d%02d.txt", mesiac, den);
    return cesta_ / meno;
}

void TempNotesFolder::ZapisBajty(int den, int mesiac, std::string_view bajty) const {
    std::ofstream out(Subor(den, mesiac), std::ios::binary | std::ios::trunc);
    out.write(bajty.data(), static_cast<std::streamsize>(bajty.size()));
    if (!out)
        throw std::runtime_error("cannot write a day file");
}

void TempNotesFolder::ZapisDen(int den, int mesiac, const std::vector<std::string>& riadky) const {
    std::string bajty;
    for (const auto& riadok : riadky)
        bajty += EncodeCp1250(riadok) + "\r\n";
    ZapisBajty(den, mesiac, bajty);
}

std::vector<std::string> RiadkyDna(const std::vector<Zaznam>& zaznamy, bool pripomenut) {
    std::vector<std::string> riadky{pripomenut ? "!" : "x"};
    for (const auto& z : zaznamy) {
        riadky.insert(riadky.end(), {"-1", std::to_string(z.druh), std::to_string(z.rok), z.text});
    }
    return riadky;
}

} // namespace tilava::test
