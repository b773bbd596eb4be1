#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tilava {

// Lengths and cuts count characters (code points) as the user sees them, never bytes.
// Malformed UTF-8 counts one character per bad byte and decodes it to U+FFFD.

std::size_t Utf8Length(std::string_view text);

// The first `count` characters of text (all of it when shorter).
std::string Utf8Left(std::string_view text, std::size_t count);
// The text, or its first `count` characters followed by "…" when it is longer.
std::string Utf8Shorten(std::string_view text, std::size_t count);

std::u32string Utf8ToUtf32(std::string_view text);
// Surrogates and values above U+10FFFF are written as U+FFFD.
std::string Utf32ToUtf8(std::u32string_view text);
void AppendUtf8(std::string& out, char32_t c);

// Decodes the character that starts at byte `pos` (pos < text.size()) and moves pos past it:
// past one byte only when that byte does not start a well-formed character (U+FFFD).
char32_t Utf8Next(std::string_view text, std::size_t& pos);

} // namespace tilava
