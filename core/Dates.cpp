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

int IsoWeekday(sys_days den) {
    return static_cast<int>(weekday{den}.iso_encoding());
}

int IsoWeekNumber(sys_days den) {
    const year_month_day datum{den};
    const int rok = static_cast<int>(datum.year());
    const int poradie = static_cast<int>((den - sys_days{datum.year() / January / 1}).count()) + 1;
    const int tyzden = (poradie - IsoWeekday(den) + 10) / 7;
    if (tyzden < 1) {
        return IsoWeeksInYear(rok - 1); // the last week of the year before
    }
    if (tyzden > IsoWeeksInYear(rok)) {
        return 1; // the first week of the next year
    }
    return tyzden;
}

sys_days MondayOfWeek(sys_days den) {
    return den - days{IsoWeekday(den) - 1};
}

year_month_day VelkaNoc(int rok) {
    // Gregorian computus; every division truncates.
    const int c = rok / 100;
    const int g = rok % 19;
    const int h = (c - c / 4 - (c - (c - 17) / 25) / 3 + 19 * g + 15) % 30;
    const int i = h - (h / 28) * (1 - (h / 28) * (29 / (h + 1)) * ((21 - g) / 11));
    const int j = (rok + rok / 4 + i + 2 - c + c / 4) % 7;
    const int l = i - j;
    const int mesiac = 3 + (l + 40) / 44;
    const int den = l + 28 - 31 * (mesiac / 4);
    return year{rok} / month{static_cast<unsigned>(mesiac)} / day{static_cast<unsigned>(den)};
}

} // namespace tilava
