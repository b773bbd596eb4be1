#include "support/TempNotes.h"

#include "core/Cp1250.h"
#include "support/FileBytes.h"

#include <cstdio>

namespace tilava::test {

std::filesystem::path TempNotesFolder::Subor(int den, int mesiac) const {
    char meno[16];
    std::snprintf(meno, sizeof meno, "%02d%02d.txt", mesiac, den);
    return Cesta() / meno;
}

void TempNotesFolder::ZapisBajty(int den, int mesiac, std::string_view bajty) const {
    WriteBytes(Subor(den, mesiac), bajty);
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
