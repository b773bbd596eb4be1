#include "platform/AtomicFile.h"

#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using tilava::FileError;
using tilava::RemoveStaleTemporaries;
using tilava::ReplaceFileAtomically;
using tilava::test::FolderEntries;
using tilava::test::ReadBytes;
using tilava::test::TempFolder;
using tilava::test::WriteBytes;

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

TEST(AtomicFilePosix, TemporaryOfAKilledSaveGoesAtTheNextStart) {
    // The file size limit kills the saving process in the middle of its write (SIGXFSZ), as a
    // kill or a power cut would: its temporary file stays, until the next start removes it.
    TempFolder folder;
    const auto file = folder / "0101.txt";
    const std::string old = "!\r\n1\r\n0\r\nstarý záznam\r\n";
    WriteBytes(file, old);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        try {
            ReplaceFileAtomically(file, std::string(100000, 'n'));
        } catch (...) {
        }
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_EQ(FolderEntries(folder.Path()).size(), 2u) << "the killed save left no temporary";

    RemoveStaleTemporaries(folder.Path());
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"0101.txt"});
    EXPECT_EQ(ReadBytes(file), old);
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
