#pragma once

#include <optional>
#include <string>

namespace tilava::test {

// The CalDAV server that CTest starts for the tests named *DavTest (tests/exchange/radicale.sh,
// fixture calendar_server): its address, "http://127.0.0.1:PORT", with the user alice and the
// password secret1. Nothing when the test does not run under that fixture.
std::optional<std::string> CalendarServerUrl();

// The second server of that fixture, xandikos (tests/exchange/xandikos.sh): its address; the
// user's principal is /alice/, its calendars go below /alice/calendars/, and it takes any
// password. Nothing when the test does not run under the fixture.
std::optional<std::string> XandikosServerUrl();

inline constexpr const char* kCalendarUser = "alice";
inline constexpr const char* kCalendarPassword = "secret1";

} // namespace tilava::test
