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

// Runs `akcia` in a child process that cannot bypass file permissions: root (as the tests
// run in CI) drops to the user "nobody", since permission bits do not stop root. Returns what
// `akcia` returned.
std::string BezPrav(const std::function<std::string()>& akcia) {
    int rura[2];
    if (::pipe(rura) != 0) {
        return "pipe failed";
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(rura[0]);
        std::string vysledok;
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            vysledok = "cannot drop root rights";
        } else {
            try {
                vysledok = akcia();
            } catch (const std::exception& e) {
                vysledok = std::string("unexpected: ") + e.what();
            }
        }
        const ssize_t zapisane = ::write(rura[1], vysledok.data(), vysledok.size());
        ::_exit(zapisane == static_cast<ssize_t>(vysledok.size()) ? 0 : 1);
    }
    ::close(rura[1]);
    std::string vysledok;
    char buffer[4096];
    for (ssize_t n; (n = ::read(rura[0], buffer, sizeof buffer)) > 0;) {
        vysledok.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(rura[0]);
    int stav = 0;
    ::waitpid(pid, &stav, 0);
    EXPECT_TRUE(WIFEXITED(stav) && WEXITSTATUS(stav) == 0);
    return vysledok;
}

// One line per operation: the kind of error (or "ok") and its message.
std::string Vysledok(const std::function<void()>& akcia) {
    try {
        akcia();
        return "ok\n";
    } catch (const NotesError& e) {
        return std::to_string(static_cast<int>(e.kind)) + " " + e.what() + "\n";
    }
}

std::string Chyba(NotesError::Kind kind, const char* co) {
    return std::to_string(static_cast<int>(kind)) + " " + co;
}

TEST(PoznamkyPosixTest, ReadOnlyFolder) {
    TempFolder priecinok;
    WriteBytes(priecinok.Path() / "0305.txt", kJano);
    WriteBytes(priecinok.Path() / "0306.txt", kJano);
    fs::permissions(priecinok.Path(), fs::perms::owner_all | fs::perms::group_read |
                                          fs::perms::group_exec | fs::perms::others_read |
                                          fs::perms::others_exec);
    fs::permissions(priecinok.Path(), fs::perms::owner_write, fs::perm_options::remove);
    const auto pred = Snapshot(priecinok.Path());

    const std::string vysledok = BezPrav([&] {
        TDayNotes den(priecinok.Path());
        std::string out;
        out += Vysledok([&] {
            den.Nacitaj(2009y / March / 5); // replacing a file
            den.Polozka(0).Text = "Ján";
            den.Uloz();
        });
        out += Vysledok([&] {
            den.Nacitaj(2009y / March / 7); // a new file
            den.Pridaj(TNote{});
            den.Uloz();
        });
        out += Vysledok([&] {
            den.Nacitaj(2009y / March / 6); // deleting a file
            den.Zmaz(0);
            den.Uloz();
        });
        return out;
    });

    std::istringstream riadky(vysledok);
    std::string riadok;
    for (const char* ocakavane : {"0305.txt“: nedá sa zapísať: prístup je zamietnutý",
                                  "0307.txt“: nedá sa zapísať: prístup je zamietnutý",
                                  "0306.txt“: nedá sa zmazať: prístup je zamietnutý"}) {
        ASSERT_TRUE(std::getline(riadky, riadok)) << vysledok;
        EXPECT_EQ(riadok.rfind(Chyba(NotesError::Kind::Write, "Súbor „"), 0), 0u) << riadok;
        EXPECT_NE(riadok.find(ocakavane), std::string::npos) << riadok;
    }
    EXPECT_EQ(Snapshot(priecinok.Path()), pred);
}

TEST(PoznamkyPosixTest, UnreadableFile) {
    TempFolder priecinok;
    fs::permissions(priecinok.Path(), fs::perms::all);
    WriteBytes(priecinok.Path() / "0305.txt", kJano);
    fs::permissions(priecinok.Path() / "0305.txt", fs::perms::none);
    const auto pred = Snapshot(priecinok.Path());

    const std::string vysledok = BezPrav([&] {
        TDayNotes den(priecinok.Path());
        std::string out = Vysledok([&] { den.Nacitaj(2009y / March / 5); });
        return out + Vysledok([&] { den.Uloz(); });
    });

    std::istringstream riadky(vysledok);
    std::string riadok;
    ASSERT_TRUE(std::getline(riadky, riadok)) << vysledok;
    EXPECT_EQ(riadok.rfind(Chyba(NotesError::Kind::Read, "Súbor „"), 0), 0u) << riadok;
    EXPECT_NE(riadok.find("0305.txt“: nedá sa prečítať: prístup je zamietnutý"), std::string::npos)
        << riadok;
    ASSERT_TRUE(std::getline(riadky, riadok)) << vysledok;
    EXPECT_EQ(riadok.rfind(Chyba(NotesError::Kind::NotLoaded, "Súbor „"), 0), 0u) << riadok;
    EXPECT_EQ(Snapshot(priecinok.Path()), pred);
}

} // namespace
} // namespace tilava
