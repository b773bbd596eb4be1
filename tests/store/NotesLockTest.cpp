#include "store/NotesError.h"
#include "store/uPoznamky.h"

#include "platform/FileLock.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include "SaveRaceSupport.h"

#include <gtest/gtest.h>

#include <exception>
#include <thread>

namespace tilava {
namespace {

using namespace std::chrono;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

// Stores with a lock file handle each contend like programs do (flock and LockFileEx lock per
// open file), so threads race here as processes do; on Windows this is the race under Wine.
TEST(NotesLockTest, StoresSavingOneDayAtOnceKeepEveryEntry) {
    TempFolder folder;
    constexpr int kRounds = 25;
    std::exception_ptr failures[2];
    std::thread sides[2];
    const char* names[2] = {"A", "B"};
    for (int s = 0; s < 2; ++s) {
        sides[s] = std::thread([&, s] {
            try {
                test::AddNotesOneByOne(folder.Path(), names[s], kRounds, 3ms);
            } catch (...) {
                failures[s] = std::current_exception();
            }
        });
    }
    for (auto& side : sides) {
        side.join();
    }
    for (const auto& failure : failures) {
        if (!failure)
            continue;
        try {
            std::rethrow_exception(failure);
        } catch (const std::exception& e) {
            ADD_FAILURE() << "a save failed: " << e.what();
        } catch (...) {
            ADD_FAILURE() << "a save failed";
        }
    }
    EXPECT_EQ(test::RaceDayFaults(folder.Path(), {"A", "B"}, kRounds), std::vector<std::string>{});
    EXPECT_EQ(ReadBytes(folder / std::string(kNotesLockName)), "");
}

// A save that cannot have the lock says so and writes nothing; the store keeps its entries,
// and the next save after the lock is free writes them.
TEST(NotesLockTest, SaveThatCannotHaveTheLockWritesNothing) {
    TempFolder folder;
    const std::string jano = "!\r\n-1\r\n2\r\n1980\r\nJano\r\n";
    WriteBytes(folder / "0305.txt", jano);
    SaveOptions options;
    options.lockWait = 300ms;
    TDayNotes day(folder.Path(), options);
    day.Nacitaj(2009y / March / 5);
    day.Pridaj(TNote{EntryKind::Poznamka, 2009, true, "Fero"});
    {
        const FileLock other(folder / std::string(kNotesLockName), 0ms);
        ASSERT_TRUE(other.Held());
        try {
            day.Uloz();
            ADD_FAILURE() << "saved while another held the lock";
        } catch (const NotesError& e) {
            EXPECT_EQ(e.kind, NotesError::Kind::Locked);
            EXPECT_NE(std::string(e.what()).find(
                          "0305.txt“: deň sa neuložil, lebo sa nepodarilo získať zámok priečinka "
                          "poznámok"),
                      std::string::npos)
                << e.what();
            EXPECT_NE(std::string(e.what()).find("zámok drží iný program dlhšie ako 1 s. Nič sa "
                                                 "nezapísalo"),
                      std::string::npos)
                << e.what();
        }
        EXPECT_EQ(ReadBytes(folder / "0305.txt"), jano);
    }
    day.Uloz();
    EXPECT_EQ(ReadBytes(folder / "0305.txt"), jano + "-1\r\n1\r\n2009\r\nFero\r\n");
}

} // namespace
} // namespace tilava
