#include "support/CalendarServer.h"

#include <cstdlib>
#include <fstream>

namespace tilava::test {

namespace {

// The address a server's start script left in the folder that `variable` names.
std::optional<std::string> ServerUrl(const char* variable) {
    // A Unix path; under Wine the current drive is the one that maps the Unix root.
    const char* folder = std::getenv(variable);
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

} // namespace

std::optional<std::string> CalendarServerUrl() {
    return ServerUrl("TILAVA_TEST_DAV");
}

std::optional<std::string> XandikosServerUrl() {
    return ServerUrl("TILAVA_TEST_XANDIKOS");
}

} // namespace tilava::test
