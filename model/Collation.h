#pragma once

#include <string>
#include <string_view>

namespace tilava {

// The collation of the name search: every character of UTF-8 text becomes one byte, the
// space stays a space, the letters of the Slovak and Czech alphabets become their capital
// without accent ("č" and "Č" become "C"), and every other character becomes 0, so that all
// of those compare equal to one another. The result has one byte per character of the input.
std::string Normalizuj(std::string_view text);

// Appends the collation of text to out; the same mapping as Normalizuj.
void AppendNormalized(std::string& out, std::string_view text);

} // namespace tilava
