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
    const std::filesystem::path& TempPath() const { return folder_.Path(); }

    // Writes the day file of day.month as the program does: UTF-8 lines turned into
    // Windows-1250, each ending in CR LF.
    void WriteDay(int date, int monthNumber, const std::vector<std::string>& lines) const;
    // Writes the bytes as they are.
    void WriteDayBytes(int date, int monthNumber, std::string_view bytes) const;
    std::filesystem::path Subor(int date, int monthNumber) const;

private:
    TempFolder folder_{"tilava-model"};
};

// The lines of a day file with the "!" line and one four-line record per entry
// {kind code, year, text}.
struct Entry {
    int kind; // 1 note, 2 birthday, 3 anniversary
    int rok;
    std::string text;
};
std::vector<std::string> DayFileLines(const std::vector<Entry>& entries, bool remind = true);

} // namespace tilava::test
