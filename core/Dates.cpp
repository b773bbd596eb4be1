#include "core/Dates.h"

namespace tilava {

using namespace std::chrono;

namespace {

// Weekday of 31 December of the year, 0 = Sunday .. 6 = Saturday; a year has 53 ISO weeks when
// it ends on a Thursday or the year before it ends on a Wednesday.
int Dec31Weekday(int rok) {
    const int p = (rok + rok / 4 - rok / 100 + rok / 400) % 7;
    return p < 0 ? p + 7 : p;
}

int IsoWeeksInYear(int rok) {
    return (Dec31Weekday(rok) == 4 || Dec31Weekday(rok - 1) == 3) ? 53 : 52;
}

} // namespace

int IsoWeekday(sys_days date) {
    return static_cast<int>(weekday{date}.iso_encoding());
}

int IsoWeekNumber(sys_days date) {
    const year_month_day datum{date};
    const int rok = static_cast<int>(datum.year());
    const int order = static_cast<int>((date - sys_days{datum.year() / January / 1}).count()) + 1;
    const int week = (order - IsoWeekday(date) + 10) / 7;
    if (week < 1) {
        return IsoWeeksInYear(rok - 1); // the last week of the year before
    }
    if (week > IsoWeeksInYear(rok)) {
        return 1; // the first week of the next year
    }
    return week;
}

sys_days MondayOfWeek(sys_days date) {
    return date - days{IsoWeekday(date) - 1};
}

year_month_day VelkaNoc(int rok) {
    // Gregorian computus; every division truncates.
    const int c = rok / 100;
    const int g = rok % 19;
    const int h = (c - c / 4 - (c - (c - 17) / 25) / 3 + 19 * g + 15) % 30;
    const int i = h - (h / 28) * (1 - (h / 28) * (29 / (h + 1)) * ((21 - g) / 11));
    const int j = (rok + rok / 4 + i + 2 - c + c / 4) % 7;
    const int l = i - j;
    const int monthNumber = 3 + (l + 40) / 44;
    const int date = l + 28 - 31 * (monthNumber / 4);
    return year{rok} / month{static_cast<unsigned>(monthNumber)} / day{static_cast<unsigned>(date)};
}

const std::array<month_day, 366>& EveryDayOfTheYear() {
    static const std::array<month_day, 366> all = [] {
        std::array<month_day, 366> list{};
        std::size_t next = 0;
        // 2024 is a leap year.
        for (sys_days d = sys_days{2024y / January / 1}; d < sys_days{2025y / January / 1};
             d += days{1}) {
            const year_month_day date{d};
            list[next++] = date.month() / date.day();
        }
        return list;
    }();
    return all;
}

} // namespace tilava
