#pragma once

#include <filesystem>
#include <string>
#include <system_error>

namespace tilava {

// The reason of a failed system call in Slovak words: errno on Linux, GetLastError() on
// Windows. A code without words of its own reads "neznáma chyba systému (kód N)", never the
// system's English text.
std::string SystemErrorText(unsigned long code);

// The same words for a std::error_code: the generic category (errno values, which
// std::filesystem also reports on Windows) and the system category (errno on Linux,
// GetLastError() on Windows).
std::string SystemErrorText(std::error_code ec);

// The words for a C library errno value, on every system.
std::string ErrnoText(int error);

// The words for a code that has none of its own.
std::string UnknownErrorText(long long code);

// A path as UTF-8 text for messages to the user.
std::string PathText(const std::filesystem::path& path);

} // namespace tilava
