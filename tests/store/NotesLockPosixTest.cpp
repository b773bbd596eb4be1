#include "store/NotesError.h"
#include "store/uPoznamky.h"

#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include "SaveRaceSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <optional>
#include <string_view>

namespace tilava {
namespace {

using namespace std::chrono;
namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

// Two programs add their notes to one day at the same moment, 50 times each, with every save
// paused inside its reread–join–replace: each note of both is in the file once.
TEST(NotesLockPosixTest, ProgramsSavingOneDayAtOnceKeepEveryEntry) {
    TempFolder folder;
    constexpr int kRounds = 50;
    int start[2];
    ASSERT_EQ(::pipe(start), 0);
    pid_t children[2];
    const char* sides[2] = {"A", "B"};
    for (int s = 0; s < 2; ++s) {
        children[s] = ::fork();
        ASSERT_GE(children[s], 0);
        if (children[s] == 0) {
            ::close(start[1]);
            char go = 0;
            // Both begin when the test closes its end of the pipe.
            (void)::read(start[0], &go, 1);
            try {
                test::AddNotesOneByOne(folder.Path(), sides[s], kRounds, 2ms);
            } catch (const std::exception& e) {
                std::fprintf(stderr, "%s: %s\n", sides[s], e.what());
                ::_exit(1);
            }
            ::_exit(0);
        }
    }
    ::close(start[0]);
    ::close(start[1]);
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a save failed";
    }
    EXPECT_EQ(test::RaceDayFaults(folder.Path(), {"A", "B"}, kRounds), std::vector<std::string>{});
}

// What is found in place of the lock file: only a plain file of the user is used, and a save
// that cannot use it writes nothing (nor anything the thing there leads to).
TEST(NotesLockPosixTest, OnlyAPlainLockFileOfTheUserIsUsed) {
    const std::string jano = "!\r\n-1\r\n2\r\n1980\r\nJano\r\n";
    const std::string saved = jano + "-1\r\n1\r\n2009\r\nFero\r\n";
    const struct {
        const char* name;
        std::function<void(const fs::path& lock, const fs::path& elsewhere)> plant;
        const char* reason; // in the message; nothing: the save succeeds
        bool asRootOnly;
    } cases[] = {
        {"nothing yet", [](const fs::path&, const fs::path&) {}, nullptr, false},
        {"the lock file of an earlier save",
         [](const fs::path& lock, const fs::path&) { WriteBytes(lock, ""); }, nullptr, false},
        {"a link to another file",
         [](const fs::path& lock, const fs::path& elsewhere) {
             WriteBytes(elsewhere, "keep");
             fs::create_symlink(elsewhere, lock);
         },
         "na mieste súboru zámku je symbolický odkaz", false},
        {"a link to nothing",
         [](const fs::path& lock, const fs::path& elsewhere) {
             fs::create_symlink(elsewhere, lock);
         },
         "na mieste súboru zámku je symbolický odkaz", false},
        {"a named pipe",
         [](const fs::path& lock, const fs::path&) { ASSERT_EQ(::mkfifo(lock.c_str(), 0600), 0); },
         "na mieste súboru zámku je niečo iné ako obyčajný súbor", false},
        {"a folder", [](const fs::path& lock, const fs::path&) { fs::create_directory(lock); },
         "súbor zámku sa nedá otvoriť", false},
        {"a file of another user",
         [](const fs::path& lock, const fs::path&) {
             WriteBytes(lock, "");
             ASSERT_EQ(::chown(lock.c_str(), 65534, 65534), 0);
         },
         "súbor zámku patrí inému používateľovi", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.asRootOnly && ::geteuid() != 0) {
            continue; // only root can give a file away
        }
        TempFolder other;
        TempFolder folder;
        const fs::path lock = folder / std::string(kNotesLockName);
        WriteBytes(folder / "0305.txt", jano);
        c.plant(lock, other / "target");
        const auto elsewhere = test::Snapshot(other.Path());

        TDayNotes day(folder.Path());
        day.Nacitaj(2009y / March / 5);
        day.Pridaj(TNote{EntryKind::Poznamka, 2009, true, "Fero"});
        std::optional<std::string> error;
        try {
            day.Uloz();
        } catch (const NotesError& e) {
            EXPECT_EQ(e.kind, NotesError::Kind::Locked);
            error = e.what();
        }
        EXPECT_EQ(test::Snapshot(other.Path()), elsewhere);
        if (!c.reason) {
            EXPECT_FALSE(error) << *error;
            EXPECT_EQ(ReadBytes(folder / "0305.txt"), saved);
            struct stat info {};
            ASSERT_EQ(::lstat(lock.c_str(), &info), 0);
            EXPECT_TRUE(S_ISREG(info.st_mode));
            if (std::string_view(c.name) == "nothing yet") {
                EXPECT_EQ(info.st_mode & 0777, 0600u);
            }
            EXPECT_EQ(info.st_size, 0);
            continue;
        }
        ASSERT_TRUE(error);
        EXPECT_NE(error->find(c.reason), std::string::npos) << *error;
        EXPECT_NE(error->find("Nič sa nezapísalo"), std::string::npos) << *error;
        EXPECT_EQ(ReadBytes(folder / "0305.txt"), jano);
    }
}

} // namespace
} // namespace tilava
