#include "store/NotesError.h"
#include "store/uPoznamky.h"

#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <sstream>

namespace tilava {
namespace {

using namespace std::chrono;
namespace fs = std::filesystem;
using test::TempFolder;
using test::WriteBytes;

// The folder's files; the notes folder's lock file, which every save leaves there empty, is
// checked by the lock's own tests.
test::FolderSnapshot Snapshot(const fs::path& folder) {
    return test::SnapshotWithout(folder, std::string(kNotesLockName));
}

const std::string kJano = "!\r\n-1\r\n2\r\n1980\r\nJano\r\n";

// Runs `action` in a child process that cannot bypass file permissions: root (as the tests
// run in CI) drops to the user "nobody", since permission bits do not stop root. Returns what
// `action` returned.
std::string WithoutPermission(const std::function<std::string()>& action) {
    int pipe[2];
    if (::pipe(pipe) != 0) {
        return "pipe failed";
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(pipe[0]);
        std::string result;
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            result = "cannot drop root rights";
        } else {
            try {
                result = action();
            } catch (const std::exception& e) {
                result = std::string("unexpected: ") + e.what();
            }
        }
        const ssize_t writtenUids = ::write(pipe[1], result.data(), result.size());
        ::_exit(writtenUids == static_cast<ssize_t>(result.size()) ? 0 : 1);
    }
    ::close(pipe[1]);
    std::string result;
    char buffer[4096];
    for (ssize_t n; (n = ::read(pipe[0], buffer, sizeof buffer)) > 0;) {
        result.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(pipe[0]);
    int state = 0;
    ::waitpid(pid, &state, 0);
    EXPECT_TRUE(WIFEXITED(state) && WEXITSTATUS(state) == 0);
    return result;
}

// One line per operation: the kind of error (or "ok") and its message.
std::string Vysledok(const std::function<void()>& action) {
    try {
        action();
        return "ok\n";
    } catch (const NotesError& e) {
        return std::to_string(static_cast<int>(e.kind)) + " " + e.what() + "\n";
    }
}

std::string ErrorPrefix(NotesError::Kind kind, const char* what) {
    return std::to_string(static_cast<int>(kind)) + " " + what;
}

TEST(PoznamkyPosixTest, ReadOnlyFolder) {
    TempFolder folder;
    WriteBytes(folder.Path() / "0305.txt", kJano);
    WriteBytes(folder.Path() / "0306.txt", kJano);
    fs::permissions(folder.Path(), fs::perms::owner_all | fs::perms::group_read |
                                       fs::perms::group_exec | fs::perms::others_read |
                                       fs::perms::others_exec);
    fs::permissions(folder.Path(), fs::perms::owner_write, fs::perm_options::remove);
    const auto before = Snapshot(folder.Path());

    const std::string result = WithoutPermission([&] {
        TDayNotes date(folder.Path());
        std::string out;
        out += Vysledok([&] {
            date.Nacitaj(2009y / March / 5); // replacing a file
            date.Polozka(0).Text = "Ján";
            date.Uloz();
        });
        out += Vysledok([&] {
            date.Nacitaj(2009y / March / 7); // a new file
            date.Pridaj(TNote{});
            date.Uloz();
        });
        out += Vysledok([&] {
            date.Nacitaj(2009y / March / 6); // deleting a file
            date.Zmaz(0);
            date.Uloz();
        });
        return out;
    });

    std::istringstream lines(result);
    std::string line;
    for (const char* expected : {"0305.txt“: nedá sa zapísať: prístup je zamietnutý",
                                 "0307.txt“: nedá sa zapísať: prístup je zamietnutý",
                                 "0306.txt“: nedá sa zmazať: prístup je zamietnutý"}) {
        ASSERT_TRUE(std::getline(lines, line)) << result;
        EXPECT_EQ(line.rfind(ErrorPrefix(NotesError::Kind::Write, "Súbor „"), 0), 0u) << line;
        EXPECT_NE(line.find(expected), std::string::npos) << line;
    }
    EXPECT_EQ(Snapshot(folder.Path()), before);
}

TEST(PoznamkyPosixTest, UnreadableFile) {
    TempFolder folder;
    fs::permissions(folder.Path(), fs::perms::all);
    WriteBytes(folder.Path() / "0305.txt", kJano);
    fs::permissions(folder.Path() / "0305.txt", fs::perms::none);
    const auto before = Snapshot(folder.Path());

    const std::string result = WithoutPermission([&] {
        TDayNotes date(folder.Path());
        std::string out = Vysledok([&] { date.Nacitaj(2009y / March / 5); });
        return out + Vysledok([&] { date.Uloz(); });
    });

    std::istringstream lines(result);
    std::string line;
    ASSERT_TRUE(std::getline(lines, line)) << result;
    EXPECT_EQ(line.rfind(ErrorPrefix(NotesError::Kind::Read, "Súbor „"), 0), 0u) << line;
    EXPECT_NE(line.find("0305.txt“: nedá sa prečítať: prístup je zamietnutý"), std::string::npos)
        << line;
    ASSERT_TRUE(std::getline(lines, line)) << result;
    EXPECT_EQ(line.rfind(ErrorPrefix(NotesError::Kind::NotLoaded, "Súbor „"), 0), 0u) << line;
    EXPECT_EQ(Snapshot(folder.Path()), before);
}

} // namespace
} // namespace tilava
