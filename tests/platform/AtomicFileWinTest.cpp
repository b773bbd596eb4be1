#include "platform/AtomicFile.h"

#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <thread>

using tilava::FileError;
using tilava::RemoveStaleTemporaries;
using tilava::ReplaceFileAtomically;
using tilava::test::FolderEntries;
using tilava::test::ReadBytes;
using tilava::test::TempFolder;
using tilava::test::WriteBytes;

namespace {

// Opens `file` as another program may: for reading, letting nobody write, delete or rename it.
HANDLE HoldOpen(const std::filesystem::path& file) {
    return CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Another program that keeps the file open makes the save fail after a second of trying, and
// the old file stays whole.
TEST(AtomicFileWin, FileHeldOpenByAnotherProgramStaysWhole) {
    TempFolder folder;
    const auto file = folder / "0101.txt";
    WriteBytes(file, "old");
    HANDLE held = HoldOpen(file);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    bool refused = false;
    try {
        ReplaceFileAtomically(file, "new");
    } catch (const FileError& error) {
        refused = true;
        EXPECT_NE(std::string(error.what()).find("0101.txt“ sa nedá zapísať"), std::string::npos)
            << error.what();
    }
    CloseHandle(held);
    EXPECT_TRUE(refused);
    EXPECT_EQ(ReadBytes(file), "old");
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"0101.txt"});
}

// A reader that holds the file for a moment only delays the save.
TEST(AtomicFileWin, FileReadForAMomentIsReplacedAfterIt) {
    TempFolder folder;
    const auto file = folder / "0101.txt";
    WriteBytes(file, "old");
    HANDLE held = HoldOpen(file);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::thread reader([held] {
        Sleep(200);
        CloseHandle(held);
    });
    EXPECT_NO_THROW(ReplaceFileAtomically(file, "new"));
    reader.join();
    EXPECT_EQ(ReadBytes(file), "new");
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"0101.txt"});
}

// A save holds its temporary file open, letting nobody delete it, until it has written it. The
// clean-up at another start leaves such a file alone, however old it looks; once it is closed
// (the save was killed), an old one goes.
TEST(AtomicFileWin, StartUpLeavesATemporaryThatASaveHoldsOpen) {
    TempFolder folder;
    const auto temporary = folder / ".0101.txt.tilava-77-1.tmp";
    WriteBytes(temporary, "half");
    std::filesystem::last_write_time(temporary, std::filesystem::file_time_type::clock::now() -
                                                    tilava::kStaleAfter - std::chrono::minutes(1));
    HANDLE held = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    RemoveStaleTemporaries(folder.Path());
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{".0101.txt.tilava-77-1.tmp"});
    CloseHandle(held);
    RemoveStaleTemporaries(folder.Path());
    EXPECT_TRUE(FolderEntries(folder.Path()).empty());
}

} // namespace
