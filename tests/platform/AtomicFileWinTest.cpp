#include "platform/AtomicFile.h"

#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

using tilava::FileError;
using tilava::ReplaceFileAtomically;
using tilava::test::FolderEntries;
using tilava::test::ReadBytes;
using tilava::test::TempFolder;
using tilava::test::WriteBytes;

namespace {

TEST(AtomicFileWin, FileHeldOpenByAnotherProgramStaysWhole) {
    TempFolder folder;
    const auto file = folder / "0101.txt";
    WriteBytes(file, "old");
    // Another program holds the file open and lets nobody delete or rename it.
    HANDLE held = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
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

} // namespace
