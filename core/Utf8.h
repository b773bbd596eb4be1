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

// The text made safe to print on a terminal or in a message: every control character but the
// line feed (U+0000–U+001F, U+007F, U+0080–U+009F) becomes its code as text ("U+001B"), and a
// malformed byte becomes U+FFFD, so that no text can steer the terminal or hide itself.
std::string PrintableText(std::string_view text);

} // namespace tilava
