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
    for (const auto& [tz, shift] : zony) {
        SetTimeZone(tz);
        const auto before = system_clock::now();
        const LocalDateTime timeNow = SystemClock{}.Now();
        const auto later = system_clock::now();

        EXPECT_GE(timeNow.timeOfDay, milliseconds{0}) << tz;
        EXPECT_LT(timeNow.timeOfDay, days{1}) << tz;
        const auto local = timeNow.date + timeNow.timeOfDay;
        EXPECT_GE(local, floor<milliseconds>(before + shift)) << tz;
        EXPECT_LE(local, later + shift) << tz;
    }
}
