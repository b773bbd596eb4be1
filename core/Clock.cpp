#include "core/Clock.h"

#include <ctime>

namespace tilava {

namespace {

// The C library's local time: the user's time zone and daylight saving as the system knows them.
bool LocalTime(std::time_t t, std::tm& out) {
#ifdef _WIN32
    return localtime_s(&out, &t) == 0;
#else
    return localtime_r(&t, &out) != nullptr;
#endif
}

} // namespace

LocalDateTime SystemClock::Now() const {
    using namespace std::chrono;
    const auto timeNow = floor<milliseconds>(system_clock::now());
    const auto secondCount = floor<seconds>(timeNow);
    const auto intervalMs = timeNow - secondCount;

    std::tm tm{};
    if (!LocalTime(system_clock::to_time_t(secondCount), tm)) {
        // No local time for this moment (should not happen): the UTC wall clock is the best guess.
        const auto date = floor<days>(timeNow);
        return {date, timeNow - date};
    }
    const sys_days date{year{tm.tm_year + 1900} / month{static_cast<unsigned>(tm.tm_mon + 1)} /
                        day{static_cast<unsigned>(tm.tm_mday)}};
    // tm_sec is 60 during a leap second; keep the time of day inside the day.
    const int sekunda = tm.tm_sec > 59 ? 59 : tm.tm_sec;
    const milliseconds clockTime =
        hours{tm.tm_hour} + minutes{tm.tm_min} + seconds{sekunda} + intervalMs;
    return {date, clockTime};
}

} // namespace tilava
