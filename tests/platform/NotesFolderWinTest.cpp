#include "platform/NotesFolder.h"

#include "platform/AtomicFile.h"
#include "platform/ReadFileIfExists.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cwctype>

namespace {

std::wstring Lower(std::wstring text) {
    for (auto& c : text) {
        c = static_cast<wchar_t>(std::towlower(c));
    }
    return text;
}

TEST(NotesFolderWin, LivesInTheLocalApplicationDataFolder) {
    const auto folder = tilava::NotesFolder();
    EXPECT_EQ(folder.filename().wstring(), L"ZelmTilava");
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    // Independent of the shell call: the environment names the same folder.
    wchar_t local[MAX_PATH + 1] = {};
    const DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", local, MAX_PATH + 1);
    if (length > 0 && length <= MAX_PATH) {
        EXPECT_EQ(Lower(folder.parent_path().wstring()), Lower(local));
    }
    const auto parent = Lower(folder.parent_path().wstring());
    EXPECT_TRUE(parent.ends_with(L"\\appdata\\local")) << folder;
}

TEST(NotesFolderWin, HoldsFilesWithSlovakNames) {
    const auto file = tilava::NotesFolder() / std::filesystem::path(u8"Skúška Ľščťžýáíé.txt");
    tilava::ReplaceFileAtomically(file, "obsah");
    EXPECT_EQ(tilava::ReadFileIfExists(file).value_or("?"), "obsah");
    tilava::RemoveFile(file);
    EXPECT_FALSE(std::filesystem::exists(file));
}

} // namespace
