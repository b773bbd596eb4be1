#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tilava {

// Windows-1250 exists only at the file boundary: day files and the help document.

// A character that Windows-1250 cannot hold; what() names it in Slovak.
class Cp1250Error : public std::runtime_error {
public:
    Cp1250Error(char32_t character, const std::string& message)
        : std::runtime_error(message), codePoint(character) {}
    char32_t codePoint;
};

// Every byte decodes to one character; the five unassigned bytes become the control
// characters U+0081, U+0083, U+0088, U+0090 and U+0098, as Windows does.
std::string DecodeCp1250(std::string_view bytes);

// Encodes UTF-8 text; throws Cp1250Error for the first character Windows-1250 cannot hold
// (a malformed UTF-8 byte counts as U+FFFD, which it cannot hold either).
std::string EncodeCp1250(std::string_view utf8);

// The first character of the UTF-8 text that Windows-1250 cannot hold, if any.
std::optional<char32_t> FirstUnencodable(std::string_view utf8);

// Whether Windows-1250 holds the character.
bool CanEncodeCp1250(char32_t c);

// The character for messages: "„😀“ (U+1F600)"; only the code ("U+200B") for characters
// that show nothing on their own (control and formatting characters).
std::string DescribeCharacter(char32_t c);

} // namespace tilava
