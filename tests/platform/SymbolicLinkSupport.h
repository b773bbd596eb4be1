#pragma once

#include <filesystem>

namespace tilava::test {

// Makes `link` a symbolic link that holds `target` as given (a relative one stays relative).
// False when this system does not let the test make links.
bool MakeSymbolicLink(const std::filesystem::path& link, const std::filesystem::path& target);

// True when the Windows program runs under Wine, where links are made by the host system and a
// Windows program sees a link only as the file it leads to.
bool UnderWine();

} // namespace tilava::test
