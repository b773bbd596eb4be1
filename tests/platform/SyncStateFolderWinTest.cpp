#include "platform/SyncStateFolder.h"

#include "platform/NotesFolder.h"

#include <gtest/gtest.h>

namespace {

// The state has a folder of its own under the local application data, never the notes folder
// under another case of letters (NTFS ignores case): users copy that one between computers.
TEST(SyncStateFolderWin, LivesBesideTheNotesFolderNotInIt) {
    const auto folder = tilava::SyncStateFolder();
    ASSERT_TRUE(folder.has_value());
    EXPECT_TRUE(std::filesystem::is_directory(*folder));
    const auto notes = tilava::NotesFolder();
    // The same folders on disk, whatever the case of their names.
    EXPECT_TRUE(std::filesystem::equivalent(folder->parent_path(), notes.parent_path()));
    EXPECT_FALSE(std::filesystem::equivalent(*folder, notes));
    EXPECT_EQ(tilava::SyncStateFolder(), folder) << "an existing folder is kept";
}

} // namespace
