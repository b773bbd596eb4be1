#pragma once

#include "support/TempFolder.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tilava::test {

// A notes folder of its own under the temporary folder, removed with everything in it.
class TempNotesFolder {
public:
    const std::filesystem::path& Cesta() const { return priecinok_.Path(); }

    // Writes the day file of day.month as the program does: UTF-8 lines turned into
    // Windows-1250, each ending in CR LF.
    void ZapisDen(int den, int mesiac, const std::vector<std::string>& riadky) const;
    // Writes the bytes as they are.
    void ZapisBajty(int den, int mesiac, std::string_view bajty) const;
    std::filesystem::path Subor(int den, int mesiac) const;

private:
    TempFolder priecinok_{"tilava-model"};
};

// The lines of a day file with the "!" line and one four-line record per entry
// {kind code, year, text}.
struct Zaznam {
    int druh; // 1 note, 2 birthday, 3 anniversary
    int rok;
    std::string text;
};
std::vector<std::string> RiadkyDna(const std::vector<Zaznam>& zaznamy, bool pripomenut = true);

} // namespace tilava::test
