#pragma once

#include <array>
#include <string_view>

namespace tilava {

// The name-day lists as written in the calendar's sources: one line per month (index 0 is
// January), "day: entry, entry; day: entry". Entries are separated by ", " and days by "; ";
// an entry ending in " [H]" is a public holiday and the mark is not part of its text. Every
// other character belongs to the text, blanks after full stops and the trailing blank of
// Slovak 30 September included. TRok::Naplnit reads them once.
extern const std::array<std::string_view, 12> NamesSK;
extern const std::array<std::string_view, 12> NamesCZ;

} // namespace tilava
