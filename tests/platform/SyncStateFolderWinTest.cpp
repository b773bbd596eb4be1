#include "platform/SyncStateFolder.h"

#include "platform/NotesFolder.h"

#include <gtest/gtest.h>

#include <cwctype>

namespace {

std::wstring Lower(std::wstring text) {
    for (auto& c : text) {
        c = static_cast<wchar_t>(std::towlower(c));
    }
    return text;
}

// The state has a folder of its own under the local application data, never the notes folder
// under another case of letters (NTFS ignores case): users copy that one between computers.
TEST(SyncStateFolderWin, LivesBesideTheNotesFolderNotInIt) {
    const auto folder = tilava::SyncStateFolder();
    ASSERT_TRUE(folder.has_value());
    EXPECT_TRUE(std::filesystem::is_directory(*folder));
    const auto notes = tilava::NotesFolder();
    EXPECT_EQ(Lower(folder->parent_path().wstring()), Lower(notes.parent_path().wstring()));
    EXPECT_NE(Lower(folder->wstring()), Lower(notes.wstring()));
    EXPECT_EQ(tilava::SyncStateFolder(), folder) << "an existing folder is kept";
}

} // namespace
