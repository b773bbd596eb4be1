#pragma once

#include <string>
#include <string_view>

namespace tilava {

// UTF-8 <-> UTF-16 for the wide-character Windows calls (built on Windows only). Invalid input
// becomes U+FFFD.
std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);

} // namespace tilava
