#pragma once

#include <string>
#include <string_view>

namespace tilava {

// The text with a backslash, a line feed, a carriage return and a tab written as \\ \n \r \t,
// so that it fits on one line of a file whose fields are separated by tabs.
std::string BackslashEscaped(std::string_view text);

} // namespace tilava
