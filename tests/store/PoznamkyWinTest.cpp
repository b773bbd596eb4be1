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
std::string CitajCezWindows(const fs::path& subor) {
    HANDLE h = CreateFileW(subor.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        ADD_FAILURE() << "cannot open, error " << GetLastError();
        return {};
    }
    std::string bajty;
    char buffer[4096];
    DWORD precitane = 0;
    while (ReadFile(h, buffer, sizeof buffer, &precitane, nullptr) && precitane > 0) {
        bajty.append(buffer, precitane);
    }
    CloseHandle(h);
    return bajty;
}

void ZapisCezWindows(const fs::path& subor, const std::string& bajty) {
    HANDLE h = CreateFileW(subor.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << GetLastError();
    DWORD zapisane = 0;
    ASSERT_TRUE(WriteFile(h, bajty.data(), static_cast<DWORD>(bajty.size()), &zapisane, nullptr));
    CloseHandle(h);
}

// The names in the folder but the notes folder's lock file, which every save leaves there.
std::set<std::wstring> Mena(const fs::path& priecinok) {
    std::set<std::wstring> mena;
    WIN32_FIND_DATAW najdene;
    HANDLE h = FindFirstFileW((priecinok / L"*").c_str(), &najdene);
    if (h == INVALID_HANDLE_VALUE) {
        return mena;
    }
    do {
        const std::wstring meno = najdene.cFileName;
        if (meno != L"." && meno != L".." && fs::path(meno) != fs::path(kNotesLockName)) {
            mena.insert(meno);
        }
    } while (FindNextFileW(h, &najdene));
    FindClose(h);
    return mena;
}

const std::string kSlovenskyText = "Ľubomír Žofia Šťastná – čaj, ďateľ, ňuchať, ôsmy, ŕba, äno";
const std::string kSlovenskyBajty = "\xBC"
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
    TempFolder priecinok{fs::path(u8"Poznámky Ľudmily")};
};

TEST_F(PoznamkyWinTest, WritesAndReadsSlovakTextByteForByte) {
    TDayNotes den(priecinok.Path());
    den.Nacitaj(2024y / December / 24);
    TNote zaznam;
    zaznam.Druh = TDruh::Vyrocie;
    zaznam.Rok = 1998;
    zaznam.Potvrdena = true;
    zaznam.Text = kSlovenskyText;
    den.Pridaj(zaznam);
    den.Uloz();

    const fs::path subor = priecinok.Path() / L"1224.txt";
    EXPECT_EQ(CitajCezWindows(subor), "!\r\n-1\r\n3\r\n1998\r\n" + kSlovenskyBajty + "\r\n");
    EXPECT_EQ(Mena(priecinok.Path()), std::set<std::wstring>{L"1224.txt"});
    // The lock file is hidden, as Explorer should not show it among the day files.
    const DWORD lockAttributes = GetFileAttributesW((priecinok.Path() / kNotesLockName).c_str());
    EXPECT_TRUE(lockAttributes != INVALID_FILE_ATTRIBUTES &&
                (lockAttributes & FILE_ATTRIBUTE_HIDDEN) != 0);

    TDayNotes znova(priecinok.Path());
    znova.Nacitaj(2025y / December / 24);
    ASSERT_EQ(znova.Pocet(), 1);
    EXPECT_EQ(znova.Polozka(0), zaznam);
    EXPECT_EQ(znova.PopisPolozky(1), "27. výročie " + kSlovenskyText);
}

TEST_F(PoznamkyWinTest, ReplacesAnExistingFileWhole) {
    const fs::path subor = priecinok.Path() / L"0305.txt";
    ZapisCezWindows(subor, "!\r\n-1\r\n2\r\n1980\r\nJano\r\n0\r\n1\r\n2009\r\nZub\xE1r\r\n");

    TDayNotes den(priecinok.Path());
    den.Nacitaj(2009y / March / 5);
    ASSERT_EQ(den.Pocet(), 2);
    EXPECT_EQ(den.Polozka(1).Text, "Zubár");
    den.Polozka(0).Text = kSlovenskyText;
    den.Zmaz(1);
    den.Uloz();

    EXPECT_EQ(CitajCezWindows(subor), "!\r\n-1\r\n2\r\n1980\r\n" + kSlovenskyBajty + "\r\n");
    EXPECT_EQ(Mena(priecinok.Path()), std::set<std::wstring>{L"0305.txt"})
        << "no temporary file stays behind";

    den.Zmaz(0);
    den.Uloz();
    EXPECT_TRUE(Mena(priecinok.Path()).empty());
}

// A file that another program holds open (without leave to delete it) cannot be replaced:
// the save says so, and the old file stays whole with no temporary file left.
TEST_F(PoznamkyWinTest, FileHeldOpenStaysWhole) {
    const fs::path subor = priecinok.Path() / L"0305.txt";
    const std::string povodne = "!\r\n-1\r\n2\r\n1980\r\nJano\r\n";
    ZapisCezWindows(subor, povodne);
    TDayNotes den(priecinok.Path());
    den.Nacitaj(2009y / March / 5);
    den.Polozka(0).Text = "Ján";

    HANDLE drzany = CreateFileW(subor.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(drzany, INVALID_HANDLE_VALUE);
    try {
        den.Uloz();
        ADD_FAILURE() << "saved over a file held open";
    } catch (const NotesError& e) {
        EXPECT_EQ(e.kind, NotesError::Kind::Write);
        EXPECT_NE(std::string(e.what()).find("0305.txt"), std::string::npos) << e.what();
    }
    CloseHandle(drzany);
    EXPECT_EQ(CitajCezWindows(subor), povodne);
    EXPECT_EQ(Mena(priecinok.Path()), std::set<std::wstring>{L"0305.txt"});

    den.Uloz(); // released: now it works
    EXPECT_EQ(CitajCezWindows(subor), "!\r\n-1\r\n2\r\n1980\r\nJ\xE1n\r\n");
}

TEST_F(PoznamkyWinTest, ReadOnlyFileIsNeitherReplacedNorDeleted) {
    const fs::path subor = priecinok.Path() / L"0305.txt";
    const std::string povodne = "!\r\n-1\r\n2\r\n1980\r\nJano\r\n";
    ZapisCezWindows(subor, povodne);
    ASSERT_TRUE(SetFileAttributesW(subor.c_str(), FILE_ATTRIBUTE_READONLY));

    TDayNotes den(priecinok.Path());
    den.Nacitaj(2009y / March / 5);
    den.Polozka(0).Text = "Ján";
    EXPECT_THROW(den.Uloz(), NotesError);
    den.Vycisti();
    EXPECT_THROW(den.Uloz(), NotesError);
    EXPECT_EQ(CitajCezWindows(subor), povodne);
    EXPECT_EQ(Mena(priecinok.Path()), std::set<std::wstring>{L"0305.txt"});
    SetFileAttributesW(subor.c_str(), FILE_ATTRIBUTE_NORMAL);
}

} // namespace
} // namespace tilava
