#include "support/TempNotes.h"

#include "core/Cp1250.h"
#include "support/FileBytes.h"

#include <cstdio>

namespace tilava::test {

std::filesystem::path TempNotesFolder::Subor(int date, int monthNumber) const {
    char meno[16];
    std::snprintf(meno, sizeof meno, "%02d%02d.txt", monthNumber, date);
    return TempPath() / meno;
}

void TempNotesFolder::WriteDayBytes(int date, int monthNumber, std::string_view bytes) const {
    WriteBytes(Subor(date, monthNumber), bytes);
}

void TempNotesFolder::WriteDay(int date, int monthNumber,
                               const std::vector<std::string>& lines) const {
    std::string bytes;
    for (const auto& line : lines)
        bytes += EncodeCp1250(line) + "\r\n";
    WriteDayBytes(date, monthNumber, bytes);
}

std::vector<std::string> DayFileLines(const std::vector<Entry>& entries, bool remind) {
    std::vector<std::string> lines{remind ? "!" : "x"};
    for (const auto& z : entries) {
        lines.insert(lines.end(), {"-1", std::to_string(z.kind), std::to_string(z.rok), z.text});
    }
    return lines;
}

} // namespace tilava::test
