#include "exchange/sync/SyncState.h"

#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <future>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tilava {
namespace {

using namespace std::chrono;

TEST(SyncState, KeepsAwkwardTextsExactlyAndIsSetAsideForAnotherCalendar) {
    test::TempFolder folder;
    const auto file = folder / kSyncStateName;
    SyncState state{"https://server/cal\t1/", "alice\\", "http://radicale.org/ns/sync/ab", {}};
    state.events["/cal/a.ics"] = {
        "\"e1\"", "a@tilava",
        EntryKey{EntryKind::Narodeniny, February / 29, 0, "Ľubomír\tŽofia\\n Řehoř\r\nx"}};
    state.events["/cal/b c.ics"] = {"\"e2\"", "", std::nullopt};
    state.events["/cal/n.ics"] = {"W/\"3\"", "phone-uid",
                                  EntryKey{EntryKind::Poznamka, December / 31, -44, "zubár"}};
    SaveSyncState(file, state);

    EXPECT_EQ(test::ReadBytes(file),
              "tilava-sync 1\n"
              "calendar\thttps://server/cal\\t1/\n"
              "user\talice\\\\\n"
              "token\thttp://radicale.org/ns/sync/ab\n"
              "entry\t/cal/a.ics\t\"e1\"\ta@tilava\t0229\t1\t0\t"
              "Ľubomír\\tŽofia\\\\n Řehoř\\r\\nx\n"
              "foreign\t/cal/b c.ics\t\"e2\"\n"
              "entry\t/cal/n.ics\tW/\"3\"\tphone-uid\t1231\t0\t-44\tzubár\n");
    EXPECT_EQ(LoadSyncState(file, state.calendarUrl, state.user), state);

    const SyncState fresh{"https://other/", "alice\\", "", {}};
    EXPECT_EQ(LoadSyncState(file, fresh.calendarUrl, fresh.user), fresh);
    EXPECT_EQ(LoadSyncState(folder / "missing.txt", "u", "v"), (SyncState{"u", "v", "", {}}));
}

TEST(SyncState, RefusesADamagedFileAndLeavesItAsItIs) {
    const std::string head = "tilava-sync 1\ncalendar\tc\nuser\tu\ntoken\tt\n";
    const std::string damaged[] = {
        "",
        "tilava-sync 2\ncalendar\tc\nuser\tu\ntoken\tt\n",
        head.substr(0, head.size() - 1),                        // cut short
        "tilava-sync 1\ncalendar\tc\ntoken\tt\nuser\tu\n",      // out of order
        "tilava-sync 1\ncalendar\tc\nuser\tu\n",                // no token line
        head + "foreign\t/a\n",                                 // a field missing
        head + "entry\t/a\te\tu\t0230\t1\t0\tJano\n",           // no such day
        head + "entry\t/a\te\tu\t0315\t3\t0\tJano\n",           // no such kind
        head + "entry\t/a\te\tu\t0315\t1\t99999999999\tJano\n", // year out of range
        head + "entry\t/a\te\tu\t0315\t1\t0\tJa\\xno\n",        // unknown escape
        head + "foreign\t/a\te\nforeign\t/a\te\n",              // one href twice
        head + "event\t/a\te\n",
    };
    test::TempFolder folder;
    const auto file = folder / kSyncStateName;
    for (const std::string& text : damaged) {
        test::WriteBytes(file, text);
        try {
            LoadSyncState(file, "c", "u");
            ADD_FAILURE() << "accepted: " << text;
        } catch (const SyncStateError& e) {
            EXPECT_NE(std::string(e.what()).find("je poškodený"), std::string::npos) << e.what();
        }
        EXPECT_EQ(test::ReadBytes(file), text);
    }
    std::filesystem::resize_file(file, kLargestSyncState + 1);
    EXPECT_THROW(LoadSyncState(file, "c", "u"), SyncStateError);

    SyncState huge{"c", "u", "", {}};
    huge.events["/a"] = {std::string(kLargestSyncState, 'e'), "", std::nullopt};
    test::WriteBytes(file, head);
    EXPECT_THROW(SaveSyncState(file, huge), SyncStateError);
    EXPECT_EQ(test::ReadBytes(file), head);
}

#ifndef _WIN32
TEST(SyncState, AStateThatIsNoRegularFileStopsTheSyncAtOnce) {
    test::TempFolder folder;
    const auto file = folder / kSyncStateName;
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    std::future<std::string> loaded = std::async(std::launch::async, [&] {
        try {
            LoadSyncState(file, "c", "u");
            return std::string("read");
        } catch (const SyncStateError& e) {
            return std::string(e.what());
        }
    });
    if (loaded.wait_for(seconds{5}) != std::future_status::ready) {
        // Let the reader that hangs in the pipe go.
        ::close(::open(file.c_str(), O_WRONLY | O_NONBLOCK));
        ADD_FAILURE() << "the sync waits in the named pipe";
    }
    EXPECT_NE(loaded.get().find("nie je obyčajný súbor"), std::string::npos);
}
#endif

} // namespace
} // namespace tilava
