#include "core/Dates.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using namespace std::chrono;
using namespace tilava;

namespace {

// Easter Sunday by the Meeus/Jones/Butcher method, a different computation from the program's.
year_month_day EasterMeeus(int y) {
    const int a = y % 19, b = y / 100, c = y % 100, d = b / 4, e = b % 4;
    const int f = (b + 8) / 25, g = (b - f + 1) / 3;
    const int h = (19 * a + b - d - g + 15) % 30;
    const int i = c / 4, k = c % 4;
    const int l = (32 + 2 * e + 2 * i - h - k) % 7;
    const int m = (a + 11 * h + 22 * l) / 451;
    const int monthNumber = (h + l - 7 * m + 114) / 31;
    const int date = (h + l - 7 * m + 114) % 31 + 1;
    return year{y} / month{static_cast<unsigned>(monthNumber)} / day{static_cast<unsigned>(date)};
}

// "2024-03-31", for comparisons that print readably when they fail.
std::string Iso(year_month_day d) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(d.year()),
                  static_cast<unsigned>(d.month()), static_cast<unsigned>(d.day()));
    return text;
}

std::string Iso(sys_days d) {
    return Iso(year_month_day{d});
}

} // namespace

TEST(VelkaNoc, KnownEasterSundays) {
    const year_month_day known[] = {
        2008y / March / 23, 2009y / April / 12, 2010y / April / 4,
        2011y / April / 24, 2024y / March / 31,
    };
    for (const auto& e : known) {
        EXPECT_EQ(Iso(VelkaNoc(static_cast<int>(e.year()))), Iso(e));
    }
}

TEST(VelkaNoc, AgreesWithAnIndependentMethodForEveryGregorianYear) {
    // 1583 is the first whole Gregorian year; this covers 1900..2199 and far beyond.
    for (int y = 1583; y <= 9999; ++y) {
        const year_month_day e = VelkaNoc(y);
        ASSERT_TRUE(e.ok()) << y;
        ASSERT_EQ(Iso(e), Iso(EasterMeeus(y)));
        ASSERT_EQ(weekday{sys_days{e}}, Sunday) << y;
    }
}

// Every day of 1900..2199 against the rule "a day belongs to the week of its Thursday, and that
// Thursday's year counts the weeks from its first Thursday"; weekdays come from a plain counter.
TEST(IsoWeek, EveryDayAgreesWithTheThursdayRule) {
    const sys_days first = sys_days{1900y / January / 1}; // a Monday
    const sys_days last = sys_days{2199y / December / 31};
    int weekday = 1;
    int weeks53 = 0;
    for (sys_days d = first; d <= last; d += days{1}) {
        const sys_days thursday = d + days{4 - weekday};
        const year_month_day ymdThursday{thursday};
        const int week = (thursday - sys_days{ymdThursday.year() / January / 1}).count() / 7 + 1;

        ASSERT_EQ(IsoWeekday(d), weekday) << Iso(d);
        ASSERT_EQ(IsoWeekNumber(d), week) << Iso(d);
        ASSERT_EQ(Iso(MondayOfWeek(d)), Iso(d - days{weekday - 1})) << Iso(d);
        weeks53 += (week == 53 && weekday == 1);
        weekday = weekday % 7 + 1;
    }
    EXPECT_EQ(weeks53, 53); // the years 1900..2199 with 53 weeks
}

TEST(IsoWeek, TurnOfTheYear) {
    struct Case {
        year_month_day date;
        int week;
        year_month_day monday;
    };
    const Case cases[] = {
        {2008y / December / 29, 1, 2008y / December / 29},
        {2009y / December / 31, 53, 2009y / December / 28},
        {2010y / January / 3, 53, 2009y / December / 28},
        {2010y / January / 4, 1, 2010y / January / 4},
        {2000y / January / 2, 52, 1999y / December / 27},
        {2005y / January / 2, 53, 2004y / December / 27},
        {2017y / January / 1, 52, 2016y / December / 26},
        {2021y / January / 3, 53, 2020y / December / 28},
        {2024y / December / 30, 1, 2024y / December / 30},
        {2025y / December / 29, 1, 2025y / December / 29},
        {2027y / January / 1, 53, 2026y / December / 28},
        {2199y / December / 31, 1, 2199y / December / 30},
    };
    for (const auto& p : cases) {
        EXPECT_EQ(IsoWeekNumber(sys_days{p.date}), p.week) << Iso(p.date);
        EXPECT_EQ(Iso(MondayOfWeek(sys_days{p.date})), Iso(p.monday)) << Iso(p.date);
    }
}
