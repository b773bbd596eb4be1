#include "model/WidgetModel.h"

#include "core/Clock.h"
#include "core/uRok.h"
#include "model/LocalDateFormat.h"
#include "platform/MemoryHive.h"
#include "support/TempNotes.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace std::chrono;

namespace tilava {
namespace {

using test::DayFileLines;
using test::Entry;
using test::TempNotesFolder;

// A user who writes "30.3.2025".
class DayMonthYear final : public LocalDateFormat {
public:
    std::string ShortDate(sys_days day) const override {
        const year_month_day d{day};
        return std::to_string(static_cast<unsigned>(d.day())) + '.' +
               std::to_string(static_cast<unsigned>(d.month())) + '.' +
               std::to_string(static_cast<int>(d.year()));
    }
    std::string ShortPattern() const override { return "d.M.yyyy"; }
    std::vector<std::string> MonthNames() const override { return {}; }
};

// A widget's surroundings: a fixed clock, an in-memory store with the start-up key and a notes
// folder of its own.
struct World {
    explicit World(year_month_day today) : clock(today) {}

    std::unique_ptr<WidgetModel> Start(bool* beep = nullptr) {
        auto model = std::make_unique<WidgetModel>(clock, hive, notes.TempPath(), format);
        const bool beeps = model->Start();
        if (beep)
            *beep = beeps;
        return model;
    }
    void Entries(int day, int month, const std::vector<Entry>& entries) const {
        notes.WriteDay(day, month, DayFileLines(entries));
    }
    void Put(const char* name, const std::string& text) {
        hive.PutString(HiveKey::Settings, name, text);
    }
    std::string Stored(const char* name) const {
        return hive.ReadValue(HiveKey::Settings, name).text;
    }

    FixedClock clock;
    MemoryHive hive;
    TempNotesFolder notes;
    DayMonthYear format;
};

std::vector<std::string> Texts(const WidgetModel& model) {
    std::vector<std::string> texts;
    for (const ReminderLine& line : model.Lines())
        texts.push_back(line.text);
    return texts;
}

// Sunday 30 March 2025.
constexpr year_month_day sunday = 2025y / 3 / 30;

// "Upozornenie": 0 never beeps, 1 at the first start of a day, 2 at every start; only when
// there is something to remind, and a number out of range is taken as 0.
TEST(WidgetModel, TheStartBeepsByTheSoundSetting) {
    const struct {
        const char* mode;
        bool reminder;
        bool firstStart; // beeps at the first start of the day
        bool laterStart; // beeps at a start later that day
    } cases[] = {
        {"0", true, false, false},  {"1", true, true, false},  {"2", true, true, true},
        {"2", false, false, false}, {"7", true, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("mode ") + c.mode + (c.reminder ? "" : ", nothing to remind"));
        World world(sunday);
        if (c.reminder)
            world.Entries(30, 3, {{1, 2025, "Zubár"}});
        world.Put("Upozornenie", c.mode);
        world.Put("Now", "29.3.2025"); // the last run was yesterday
        bool beep = false;
        auto model = world.Start(&beep);
        EXPECT_EQ(beep, c.firstStart);
        EXPECT_FALSE(model->Tick()) << "the same day is not built anew";
        EXPECT_EQ(world.Stored("Now"), "30.3.2025");
        world.Start(&beep);
        EXPECT_EQ(beep, c.laterStart);
    }
}

// The last run is told by "NowIso" when "Now" may name the same day (a region change swapped
// day and month), otherwise by "Now": an older version may have run since.
TEST(WidgetModel, TheLastRunAfterARegionChange) {
    const struct {
        const char* name;
        const char* now;
        const char* iso;
        std::vector<std::string> lines;
        bool beep;
    } cases[] = {
        {"ran yesterday", "12.8.2026", "2026-12-08", {"dnes"}, true},
        {"ran today", "12.9.2026", "2026-12-09", {"dnes"}, false},
        {"an older version ran since",
         "5.12.2026",
         "2026-12-01",
         {"Ne 6.12. Jano 30. narodeniny", "dnes"},
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        World world(2026y / 12 / 9);
        world.Put("Now", c.now);
        world.Put("NowIso", c.iso);
        world.Put("Upozornenie", "1");
        world.Entries(1, 12, {{1, 2026, "pred týždňom"}});
        world.Entries(6, 12, {{2, 1996, "Jano"}});
        world.Entries(9, 12, {{1, 2026, "dnes"}});
        bool beep = false;
        auto model = world.Start(&beep);
        EXPECT_EQ(Texts(*model), c.lines);
        EXPECT_EQ(beep, c.beep);
        model->Tick();
        EXPECT_EQ(world.Stored("NowIso"), "2026-12-09");
        EXPECT_EQ(world.Stored("Now"), "9.12.2026");
    }
}

// The entries of the days the program did not run come first, each led by its day, until they
// are put away; a later start that day finds nothing missed.
TEST(WidgetModel, MissedDaysComeFirstUntilPutAway) {
    World world(2026y / 12 / 9); // a Wednesday; the last run was on Saturday
    world.Put("Now", "5.12.2026");
    world.Entries(6, 12, {{2, 1996, "Jano"}});
    world.Entries(8, 12, {{1, 2026, "zubár"}});
    world.Entries(9, 12, {{1, 2026, "dnes"}});
    auto model = world.Start();
    EXPECT_EQ(Texts(*model),
              (std::vector<std::string>{"Ne 6.12. Jano 30. narodeniny", "Ut 8.12. zubár", "dnes"}));
    EXPECT_EQ(model->MissedShown(), 2u);
    EXPECT_EQ(model->MissedCount(), 2u);
    EXPECT_EQ(model->ReminderCount(), 1) << "the tooltip counts today's";

    EXPECT_TRUE(model->DropMissed());
    EXPECT_FALSE(model->Rebuild());
    EXPECT_EQ(Texts(*model), std::vector<std::string>{"dnes"});
    EXPECT_EQ(model->MissedShown(), 0u);
    EXPECT_FALSE(model->DropMissed());

    model->Tick();
    EXPECT_EQ(world.Start()->MissedCount(), 0u);
}

// The widget keeps at most MaxLines lines: the missed days first, then today's reminders.
TEST(WidgetModel, LinesAreCappedWithTheMissedDaysFirst) {
    const struct {
        const char* name;
        int missed; // entries on the missed Saturday
        int today;
        std::size_t missedShown;
        const char* last;
    } cases[] = {
        {"today alone", 0, 101, 0, "dnes 100"},
        {"missed and today", 3, 100, 3, "dnes 97"},
        {"missed alone fill it", 101, 1, 100, "Ut 8.12. zmeškané 100"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        World world(2026y / 12 / 9);
        world.Put("Now", "7.12.2026");
        std::vector<Entry> missed;
        for (int i = 1; i <= c.missed; ++i)
            missed.push_back({1, 2026, "zmeškané " + std::to_string(i)});
        world.Entries(8, 12, missed);
        std::vector<Entry> today;
        for (int i = 1; i <= c.today; ++i)
            today.push_back({1, 2026, "dnes " + std::to_string(i)});
        world.Entries(9, 12, today);
        auto model = world.Start();
        ASSERT_EQ(model->Lines().size(), Reminders::MaxLines);
        EXPECT_EQ(model->MissedShown(), c.missedShown);
        EXPECT_EQ(model->Lines().back().text, c.last);
        EXPECT_EQ(model->ReminderCount(), std::min(c.today, 100));
    }
}

// Left running over midnight, the tick builds the new day as a start on that day would, and
// records it.
TEST(WidgetModel, TheTickBuildsTheNewDayAfterMidnight) {
    World world(sunday);
    world.clock.Set(sunday, 23h + 59min + 58s);
    world.Entries(31, 3, {{1, 2025, "ráno"}, {2, 1980, "Jano"}});
    auto model = world.Start();
    const std::string yesterday = model->Tooltip();
    EXPECT_FALSE(model->Tick());
    EXPECT_EQ(model->Header(false).datum, "30.");

    world.clock.Set(2025y / 3 / 31, 3s);
    EXPECT_TRUE(model->DayChanged());
    EXPECT_TRUE(model->Tick());
    EXPECT_FALSE(model->DayChanged());
    auto fresh = world.Start();
    EXPECT_EQ(model->Header(false), fresh->Header(false));
    EXPECT_EQ(model->Header(false).date, "Pondelok");
    EXPECT_EQ(Texts(*model), Texts(*fresh));
    EXPECT_EQ(model->ReminderCount(), 2);
    EXPECT_EQ(model->Tooltip(), fresh->Tooltip());
    EXPECT_NE(model->Tooltip(), yesterday);
    EXPECT_EQ(model->ShownDay(), sys_days{2025y / 3 / 31});
    EXPECT_EQ(world.Stored("Now"), "31.3.2025");
}

// The tray icon's tooltip: the date as the user writes it and today's reminders, the days
// ahead included.
TEST(WidgetModel, TheTooltipCountsTodaysReminders) {
    const struct {
        const char* ahead;
        const char* tooltip;
    } cases[] = {
        {"0", "Tilava: 30.3.2025\nPočet pripomienok na dnes: 2"},
        {"1", "Tilava: 30.3.2025\nPočet pripomienok na dnes: 3"},
        {"-1", "Tilava: 30.3.2025\nPočet pripomienok na dnes: 0"},
    };
    for (const auto& c : cases) {
        World world(sunday);
        world.Entries(30, 3, {{1, 2025, "Zubár"}, {2, 1980, "Jano"}});
        world.Entries(31, 3, {{1, 2025, "ráno"}});
        world.Put("Dopredu", c.ahead);
        EXPECT_EQ(world.Start()->Tooltip(), c.tooltip) << c.ahead;
    }
}

// What a screen reader hears: the header's texts, the visible names, then the reminder lines.
TEST(WidgetModel, TheAccessibleTextReadsHeaderNamesAndReminders) {
    const struct {
        const char* name;
        year_month_day today;
        bool tomorrow;
        std::vector<Entry> entries;
        const char* text;
    } cases[] = {
        {"a name, no reminders", 2025y / 3 / 13, false, {}, "Dnes Štvrtok 13. marca: Vlastimil."},
        {"a reminder",
         2025y / 3 / 13,
         false,
         {{1, 2025, "Zubár"}},
         "Dnes Štvrtok 13. marca: Vlastimil. Pripomienky: Zubár."},
        {"a note and a birthday",
         2025y / 3 / 13,
         false,
         {{1, 2025, "ráno"}, {2, 1980, "Jano"}},
         "Dnes Štvrtok 13. marca: Vlastimil. Pripomienky: ráno; Jano 45. narodeniny."},
        {"two names", 2025y / 12 / 24, false, {}, "Dnes Streda 24. decembra: Štedrý deň, Adam."},
        {"tomorrow in April", 2025y / 3 / 31, true, {}, "Zajtra Utorok 1. apríla: Hugo."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        World world(c.today);
        const year_month_day d = c.today;
        if (!c.entries.empty())
            world.Entries(static_cast<int>(static_cast<unsigned>(d.day())),
                          static_cast<int>(static_cast<unsigned>(d.month())), c.entries);
        EXPECT_EQ(world.Start()->AccessibleText(c.tomorrow), c.text);
    }
}

// The bars that fit below the header: all when they do, else those that fit beside a last bar
// telling how many are left out; that bar stands alone when nothing fits beside it.
TEST(WidgetModel, LinesFitTheRoomWithABarForTheRest) {
    const struct {
        const char* name;
        int room;
        std::vector<int> heights;
        WidgetModel::Fit fit;
    } cases[] = {
        {"all fit exactly", 60, {20, 20, 20}, {3, 0}},
        {"one pixel short", 59, {20, 20, 20}, {2, 1}},
        {"room for two and the rest", 55, {20, 20, 20, 20}, {2, 2}},
        {"a tall bar stops the ones after it", 60, {20, 40, 10, 10}, {1, 3}},
        {"no room beside the rest", 14, {20, 20}, {0, 2}},
        {"32 birthdays on a 900 pixel screen", 900 - 85, std::vector<int>(32, 37), {21, 11}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(WidgetModel::FitLines(c.room, c.heights, 15), c.fit);
    }
    EXPECT_EQ(WidgetModel::MoreText(11), "a ďalšie 11…");
}

// A day file that cannot be read adds its own line and a message, told once; mended, the next
// build lists it and says nothing.
TEST(WidgetModel, AnUnreadableDayFileIsToldOnce) {
    World world(sunday);
    world.Entries(30, 3, {{1, 2025, "Zubár"}});
    // line 7, the kind of the second record, is not a number; the first record is whole
    world.notes.WriteDay(31, 3, {"!", "-1", "1", "2025", "ráno", "-1", "x", "2025", "večer"});
    world.Entries(2, 4, {{2, 2000, "Eva"}});
    world.Put("Dopredu", "3");
    auto model = world.Start();
    EXPECT_EQ(Texts(*model),
              (std::vector<std::string>{"Zubár", "Po 31.3. ráno",
                                        "Po 31.3. Súbor 0331.txt sa nedá prečítať (riadok 7)",
                                        "St 2.4. Eva 25. narodeniny"}));
    EXPECT_TRUE(model->Lines()[2].error);
    const std::string message = model->TakeMessage();
    EXPECT_EQ(message.rfind("Pripomienky sa nepodarilo načítať.\n\n", 0), 0u) << message;
    EXPECT_NE(message.find("0331.txt"), std::string::npos) << message;
    EXPECT_NE(message.find("riadok 7"), std::string::npos) << message;
    EXPECT_EQ(model->TakeMessage(), "");

    world.Entries(31, 3, {{1, 2025, "ráno"}});
    model->Rebuild();
    EXPECT_EQ(model->TakeMessage(), "");
    EXPECT_EQ(Texts(*model),
              (std::vector<std::string>{"Zubár", "Po 31.3. ráno", "St 2.4. Eva 25. narodeniny"}));
}

} // namespace
} // namespace tilava
