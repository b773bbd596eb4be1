#include "core/Clock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

using namespace std::chrono;
using namespace tilava;

namespace {

void SetTimeZone(const char* tz) {
#ifdef _WIN32
    _putenv_s("TZ", tz);
    _tzset();
#else
    setenv("TZ", tz, 1);
    tzset();
#endif
}

} // namespace

// Zones without daylight saving: the local wall clock is UTC moved by a fixed offset.
TEST(SystemClock, GivesTheLocalDateAndTimeOfNow) {
    const std::pair<const char*, hours> zony[] = {{"XXX-10", hours{10}}, {"YYY+11", hours{-11}}};
    for (const auto& [tz, posun] : zony) {
        SetTimeZone(tz);
        const auto pred = system_clock::now();
        const LocalDateTime teraz = SystemClock{}.Teraz();
        const auto po = system_clock::now();

        EXPECT_GE(teraz.casDna, milliseconds{0}) << tz;
        EXPECT_LT(teraz.casDna, days{1}) << tz;
        const auto lokalne = teraz.den + teraz.casDna;
        EXPECT_GE(lokalne, floor<milliseconds>(pred + posun)) << tz;
        EXPECT_LE(lokalne, po + posun) << tz;
    }
}
