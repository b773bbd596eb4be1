#pragma once

#include "store/uPoznamky.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tilava {

// A day file holds a few hundred bytes; a larger one than this is refused unread, and a day
// whose file would be larger is refused unwritten, so that every saved day can be read again.
inline constexpr std::uint64_t kLargestDayFile = 4 * 1024 * 1024;

// The contents of one day file, in memory. Texts are UTF-8.
//
// On disk (Windows-1250, no byte-order mark, lines end in CR LF; LF alone is read too, and
// so are CR-only line ends and a file in UTF-8 that begins with its byte-order mark):
//   "!" (remind) or anything else, written as "x"
//   then four lines per entry: "-1"/"0" confirmed, kind + 1, year, text
// and nothing after the last entry.
struct DayFile {
    bool Pripomenut = true;
    std::vector<TNote> Entries;

    friend bool operator==(const DayFile&, const DayFile&) = default;
};

// A hash of the whole entry, and equality, for sets and counts of entries; through pointers
// too, to look entries up by value without copying them.
struct NoteHash {
    std::size_t operator()(const TNote& note) const noexcept;
    std::size_t operator()(const TNote* note) const noexcept { return (*this)(*note); }
};
struct SameNote {
    bool operator()(const TNote* a, const TNote* b) const { return *a == *b; }
};

// Parses the bytes of a day file into `date`, which should be fresh. A malformed record throws
// NotesError (Kind::Format) naming `subor`, the line and what was expected there; the entries
// before that record stay in `date`.
void ParseDayFile(std::string_view bytes, const std::filesystem::path& subor, DayFile& date);

// Joins two changed versions of one day that both started from `base`: our changes and
// theirs are both kept. Entries are compared whole, as a multiset: an entry either side
// removed is gone, an entry either side added is there (ours in our order first, then theirs; once
// when both added it alike),
// and an entry both sides changed differently is there in both versions. The reminder mark is
// ours when we changed it, else theirs.
DayFile MergeDays(const DayFile& base, const DayFile& ours, const DayFile& theirs);

// The bytes of a day file. Throws NotesError (Kind::Encoding) and builds nothing when a text
// holds a character that Windows-1250 cannot hold or a line feed, and NotesError
// (Kind::TooLarge) when the file would exceed kLargestDayFile.
std::string FormatDayFile(const DayFile& date, const std::filesystem::path& subor);

} // namespace tilava
