#include "store/NotesError.h"
#include "store/uPoznamky.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <set>

namespace tilava {
namespace {

using namespace std::chrono;
namespace fs = std::filesystem;
using test::TempFolder;

// The file's bytes and the folder's names through the Windows API itself, not through the
// library the store uses.
std::string ReadThroughWindows(const fs::path& subor) {
    HANDLE h = CreateFileW(subor.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        ADD_FAILURE() << "cannot open, error " << GetLastError();
        return {};
    }
    std::string bytes;
    char buffer[4096];
    DWORD readBack = 0;
    while (ReadFile(h, buffer, sizeof buffer, &readBack, nullptr) && readBack > 0) {
        bytes.append(buffer, readBack);
    }
    CloseHandle(h);
    return bytes;
}

void WriteThroughWindows(const fs::path& subor, const std::string& bytes) {
    HANDLE h = CreateFileW(subor.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << GetLastError();
    DWORD writtenUids = 0;
    ASSERT_TRUE(
        WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &writtenUids, nullptr));
    CloseHandle(h);
}

// The names in the folder but the notes folder's lock file, which every save leaves there.
std::set<std::wstring> ShownNames(const fs::path& folder) {
    std::set<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW((folder / L"*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        const std::wstring meno = found.cFileName;
        if (meno != L"." && meno != L".." && fs::path(meno) != fs::path(kNotesLockName)) {
            names.insert(meno);
        }
    } while (FindNextFileW(h, &found));
    FindClose(h);
    return names;
}

const std::string kSlovakText = "Ľubomír Žofia Šťastná – čaj, ďateľ, ňuchať, ôsmy, ŕba, äno";
const std::string kSlovakBytes = "\xBC"
                                 "ubom\xEDr \x8E"
                                 "ofia \x8A\x9D"
                                 "astn\xE1 \x96 \xE8"
                                 "aj, \xEF"
                                 "ate\xBE, \xF2"
                                 "ucha\x9D, \xF4"
                                 "smy, \xE0"
                                 "ba, "
                                 "\xE4"
                                 "no";

class PoznamkyWinTest : public ::testing::Test {
protected:
    // A notes folder whose own name needs more than ASCII, as a user's name may.
    TempFolder folder{fs::path(u8"Poznámky Ľudmily")};
};

TEST_F(PoznamkyWinTest, WritesAndReadsSlovakTextByteForByte) {
    TDayNotes date(folder.Path());
    date.Nacitaj(2024y / December / 24);
    TNote entry;
    entry.Druh = EntryKind::Vyrocie;
    entry.Rok = 1998;
    entry.Potvrdena = true;
    entry.Text = kSlovakText;
    date.Pridaj(entry);
    date.Uloz();

    const fs::path subor = folder.Path() / L"1224.txt";
    EXPECT_EQ(ReadThroughWindows(subor), "!\r\n-1\r\n3\r\n1998\r\n" + kSlovakBytes + "\r\n");
    EXPECT_EQ(ShownNames(folder.Path()), std::set<std::wstring>{L"1224.txt"});
    // The lock file is hidden, as Explorer should not show it among the day files.
    const DWORD lockAttributes = GetFileAttributesW((folder.Path() / kNotesLockName).c_str());
    EXPECT_TRUE(lockAttributes != INVALID_FILE_ATTRIBUTES &&
                (lockAttributes & FILE_ATTRIBUTE_HIDDEN) != 0);

    TDayNotes again(folder.Path());
    again.Nacitaj(2025y / December / 24);
    ASSERT_EQ(again.Pocet(), 1);
    EXPECT_EQ(again.Polozka(0), entry);
    EXPECT_EQ(again.PopisPolozky(1), "27. výročie " + kSlovakText);
}

TEST_F(PoznamkyWinTest, ReplacesAnExistingFileWhole) {
    const fs::path subor = folder.Path() / L"0305.txt";
    WriteThroughWindows(subor, "!\r\n-1\r\n2\r\n1980\r\nJano\r\n0\r\n1\r\n2009\r\nZub\xE1r\r\n");

    TDayNotes date(folder.Path());
    date.Nacitaj(2009y / March / 5);
    ASSERT_EQ(date.Pocet(), 2);
    EXPECT_EQ(date.Polozka(1).Text, "Zubár");
    date.Polozka(0).Text = kSlovakText;
    date.Zmaz(1);
    date.Uloz();

    EXPECT_EQ(ReadThroughWindows(subor), "!\r\n-1\r\n2\r\n1980\r\n" + kSlovakBytes + "\r\n");
    EXPECT_EQ(ShownNames(folder.Path()), std::set<std::wstring>{L"0305.txt"})
        << "no temporary file stays behind";

    date.Zmaz(0);
    date.Uloz();
    EXPECT_TRUE(ShownNames(folder.Path()).empty());
}

// A file that another program holds open (without leave to delete it) cannot be replaced:
// the save says so, and the old file stays whole with no temporary file left.
TEST_F(PoznamkyWinTest, FileHeldOpenStaysWhole) {
    const fs::path subor = folder.Path() / L"0305.txt";
    const std::string original = "!\r\n-1\r\n2\r\n1980\r\nJano\r\n";
    WriteThroughWindows(subor, original);
    TDayNotes date(folder.Path());
    date.Nacitaj(2009y / March / 5);
    date.Polozka(0).Text = "Ján";

    HANDLE heldOpen = CreateFileW(subor.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(heldOpen, INVALID_HANDLE_VALUE);
    try {
        date.Uloz();
        ADD_FAILURE() << "saved over a file held open";
    } catch (const NotesError& e) {
        EXPECT_EQ(e.kind, NotesError::Kind::Write);
        EXPECT_NE(std::string(e.what()).find("0305.txt"), std::string::npos) << e.what();
    }
    CloseHandle(heldOpen);
    EXPECT_EQ(ReadThroughWindows(subor), original);
    EXPECT_EQ(ShownNames(folder.Path()), std::set<std::wstring>{L"0305.txt"});

    date.Uloz(); // released: now it works
    EXPECT_EQ(ReadThroughWindows(subor), "!\r\n-1\r\n2\r\n1980\r\nJ\xE1n\r\n");
}

TEST_F(PoznamkyWinTest, ReadOnlyFileIsNeitherReplacedNorDeleted) {
    const fs::path subor = folder.Path() / L"0305.txt";
    const std::string original = "!\r\n-1\r\n2\r\n1980\r\nJano\r\n";
    WriteThroughWindows(subor, original);
    ASSERT_TRUE(SetFileAttributesW(subor.c_str(), FILE_ATTRIBUTE_READONLY));

    TDayNotes date(folder.Path());
    date.Nacitaj(2009y / March / 5);
    date.Polozka(0).Text = "Ján";
    EXPECT_THROW(date.Uloz(), NotesError);
    date.Vycisti();
    EXPECT_THROW(date.Uloz(), NotesError);
    EXPECT_EQ(ReadThroughWindows(subor), original);
    EXPECT_EQ(ShownNames(folder.Path()), std::set<std::wstring>{L"0305.txt"});
    SetFileAttributesW(subor.c_str(), FILE_ATTRIBUTE_NORMAL);
}

} // namespace
} // namespace tilava
