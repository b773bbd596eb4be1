#include "support/CalendarServer.h"

#include <cstdlib>
#include <fstream>

namespace tilava::test {

namespace {

std::optional<std::string> UrlIn(const char* subfolder) {
    // A Unix path; under Wine the current drive is the one that maps the Unix root.
    const char* folder = std::getenv("TILAVA_TEST_DAV");
    if (!folder || !*folder) {
        return std::nullopt;
    }
    std::ifstream file(std::string(folder) + subfolder + "/url");
    std::string url;
    if (!std::getline(file, url) || url.empty()) {
        return std::nullopt;
    }
    return url;
}

} // namespace

std::optional<std::string> CalendarServerUrl() {
    return UrlIn("");
}

std::optional<std::string> XandikosServerUrl() {
    return UrlIn("/xandikos");
}

} // namespace tilava::test
