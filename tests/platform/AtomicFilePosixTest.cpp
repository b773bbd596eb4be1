#include "platform/AtomicFile.h"

#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tilava;
using namespace tilava::test;

namespace {

TEST(AtomicFilePosix, WriteThatFailsHalfwayLeavesOldFileWhole) {
    // A file size limit makes the write fail after the first bytes, as a full disk would.
    TempFolder folder;
    const auto file = folder / "0101.txt";
    const std::string old = "!\r\n1\r\n0\r\nstarý záznam\r\n";
    WriteBytes(file, old);

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        int code = 1;
        try {
            ReplaceFileAtomically(file, std::string(100000, 'n'));
        } catch (const FileError& error) {
            code = std::string(error.what()).find("0101.txt") != std::string::npos ? 0 : 2;
        }
        _exit(code);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: no error reported, 2: error without the file name";
    EXPECT_EQ(ReadBytes(file), old);
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"0101.txt"});
}

TEST(AtomicFilePosix, StartUpRemovesATemporaryOnlyWhenItsSaveIsGoneAndItIsOld) {
    // A file size limit stops the saving process in the middle of its write (its SIGXFSZ
    // handler stops it), as a slow disk would: the save is still running, its temporary file
    // open. The clean-up of another start must leave that file alone, even when it looks old;
    // once the save is killed, its temporary goes, but only when it is old.
    TempFolder folder;
    const auto file = folder / "0101.txt";
    const std::string old = "!\r\n1\r\n0\r\nstarý záznam\r\n";
    WriteBytes(file, old);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, [](int) { raise(SIGSTOP); });
        rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        try {
            ReplaceFileAtomically(file, std::string(100000, 'n'));
        } catch (...) {
        }
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, WUNTRACED), child);
    ASSERT_TRUE(WIFSTOPPED(status));
    const auto entries = FolderEntries(folder.Path());
    ASSERT_EQ(entries.size(), 2u) << "the save has no temporary file";
    const auto temporary = folder / (entries[0] == "0101.txt" ? entries[1] : entries[0]);
    const auto longAgo = std::filesystem::file_time_type::clock::now() - tilava::kStaleAfter -
                         std::chrono::minutes(1);
    const struct {
        const char* when;
        bool kill;  // end the save before the clean-up
        bool old;   // the temporary file unchanged for longer than kStaleAfter
        bool stays; // after the clean-up
    } steps[] = {
        {"a running save's old temporary", false, true, true},
        {"a killed save's fresh temporary", true, false, true},
        {"a killed save's old temporary", true, true, false},
    };
    bool running = true;
    for (const auto& step : steps) {
        SCOPED_TRACE(step.when);
        if (step.kill && running) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            running = false;
        }
        std::filesystem::last_write_time(
            temporary, step.old ? longAgo : std::filesystem::file_time_type::clock::now());
        RemoveStaleTemporaries(folder.Path());
        EXPECT_EQ(std::filesystem::exists(temporary), step.stays);
        EXPECT_EQ(ReadBytes(file), old);
    }
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"0101.txt"});
}

TEST(AtomicFilePosix, ReadOnlyFolderKeepsOldFile) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "root may write into read-only folders";
    }
    TempFolder folder;
    const auto file = folder / "0101.txt";
    WriteBytes(file, "old");
    chmod(folder.Path().c_str(), 0555);
    try {
        ReplaceFileAtomically(file, "new");
        ADD_FAILURE() << "no error";
    } catch (const FileError& error) {
        EXPECT_NE(std::string(error.what()).find("prístup je zamietnutý"), std::string::npos)
            << error.what();
    }
    chmod(folder.Path().c_str(), 0755);
    EXPECT_EQ(ReadBytes(file), "old");
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"0101.txt"});
}

TEST(AtomicFilePosix, ReplacedFileKeepsItsPermissions) {
    TempFolder folder;
    const auto file = folder / "settings.ini";
    WriteBytes(file, "old");
    chmod(file.c_str(), 0600);
    ReplaceFileAtomically(file, "new");
    struct stat info {};
    ASSERT_EQ(stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

} // namespace
