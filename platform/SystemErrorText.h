#pragma once

#include <filesystem>
#include <string>

namespace tilava {

// The reason of a failed system call in Slovak words: errno on Linux, GetLastError() on
// Windows. Common reasons get their own words; the rest fall back to the system's text.
std::string SystemErrorText(unsigned long code);

// A path as UTF-8 text for messages to the user.
std::string PathText(const std::filesystem::path& path);

} // namespace tilava
