#include "support/CalendarServer.h"

#include <cstdlib>
#include <fstream>

namespace tilava::test {

std::optional<std::string> CalendarServerUrl() {
    // A Unix path; under Wine the current drive is the one that maps the Unix root.
    const char* folder = std::getenv("TILAVA_TEST_DAV");
    if (!folder || !*folder) {
        return std::nullopt;
    }
    std::ifstream file(std::string(folder) + "/url");
    std::string url;
    if (!std::getline(file, url) || url.empty()) {
        return std::nullopt;
    }
    return url;
}

} // namespace tilava::test
