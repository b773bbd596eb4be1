#pragma once

#include <optional>
#include <string>

namespace tilava::test {

// The CalDAV server that CTest starts for the tests named *DavTest (tests/exchange/radicale.sh,
// fixture calendar_server): its address, "http://127.0.0.1:PORT", with the user alice and the
// password secret1. Nothing when the test does not run under that fixture.
std::optional<std::string> CalendarServerUrl();

// The second server, xandikos (tests/exchange/xandikos.sh, fixture xandikos_server), for the
// tests named *InteropPosixTest: "http://127.0.0.1:PORT"; its calendars go below
// /alice/calendars/ and it takes any password. Nothing when the test does not run under that
// fixture.
std::optional<std::string> XandikosServerUrl();

inline constexpr const char* kCalendarUser = "alice";
inline constexpr const char* kCalendarPassword = "secret1";

} // namespace tilava::test
