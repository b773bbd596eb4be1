#pragma once

#include "store/uPoznamky.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tilava {

// The contents of one day file, in memory. Texts are UTF-8.
//
// On disk (Windows-1250, no byte-order mark, lines end in CR LF; LF alone is read too):
//   "!" (remind) or anything else, written as "x"
//   then four lines per entry: "-1"/"0" confirmed, kind + 1, year, text
// and nothing after the last entry.
struct DayFile {
    bool Pripomenut = true;
    std::vector<TNote> Zaznamy;

    friend bool operator==(const DayFile&, const DayFile&) = default;
};

// Parses the bytes of a day file into `den`, which should be fresh. A malformed record throws
// NotesError (Kind::Format) naming `subor`, the line and what was expected there; the entries
// before that record stay in `den`.
void ParseDayFile(std::string_view bytes, const std::filesystem::path& subor, DayFile& den);

// The bytes of a day file. Throws NotesError (Kind::Encoding) and builds nothing when a text
// holds a character that Windows-1250 cannot hold or a line feed.
std::string FormatDayFile(const DayFile& den, const std::filesystem::path& subor);

} // namespace tilava
