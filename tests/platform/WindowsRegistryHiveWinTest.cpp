#include "platform/WindowsRegistryHive.h"

#include "platform/HiveError.h"
#include "platform/WideText.h"
#include "store/uRegi.h"
#include "store/WidgetSettings.h"

#include <gtest/gtest.h>

#include <windows.h>

using tilava::HiveKey;
using tilava::TRegi;
using tilava::ValueKind;
using tilava::WidgetSettings;
using tilava::WindowsRegistryHive;

namespace {

// The tests keep to keys of their own; the program's real keys stay untouched.
const wchar_t* const kRoot = L"Software\\ZELMtilavaTest";
const char* const kSettings = "Software\\ZELMtilavaTest\\Settings";
const char* const kRun = "Software\\ZELMtilavaTest\\Run";
const char* const kNoRun = "Software\\ZELMtilavaTest\\NoRun";

struct RawValue {
    LSTATUS status = ERROR_FILE_NOT_FOUND;
    DWORD type = REG_NONE;
    std::wstring text;
};

// Reads a value with the plain registry call, independent of the hive's own reading.
RawValue Raw(const char* subKey, const wchar_t* name) {
    RawValue raw;
    HKEY key = nullptr;
    raw.status = RegOpenKeyExW(HKEY_CURRENT_USER, tilava::Utf8ToWide(subKey).c_str(), 0,
                               KEY_QUERY_VALUE, &key);
    if (raw.status != ERROR_SUCCESS) {
        return raw;
    }
    wchar_t buffer[1024] = {};
    DWORD bytes = sizeof buffer - sizeof(wchar_t);
    raw.status =
        RegQueryValueExW(key, name, nullptr, &raw.type, reinterpret_cast<BYTE*>(buffer), &bytes);
    RegCloseKey(key);
    if (raw.status == ERROR_SUCCESS && (raw.type == REG_SZ || raw.type == REG_EXPAND_SZ)) {
        raw.text = buffer;
    }
    return raw;
}

bool KeyPresent(const char* subKey) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, tilava::Utf8ToWide(subKey).c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

void PutDword(const char* subKey, const wchar_t* name, DWORD value) {
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, tilava::Utf8ToWide(subKey).c_str(), name,
                              REG_DWORD, &value, sizeof value),
              ERROR_SUCCESS);
}

class WindowsRegistryHiveTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, kRoot);
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, tilava::Utf8ToWide(kRun).c_str(), 0, nullptr,
                                  0, KEY_WRITE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kRoot); }

    WindowsRegistryHive hive_{kSettings, kRun};
};

TEST_F(WindowsRegistryHiveTest, StringsAreStoredAsRegSzAndReadBack) {
    const struct {
        const char* name;
        std::string text;
        std::wstring wide;
    } cases[] = {
        {"ShowTime", "20000", L"20000"},
        {"Now", "8. 12. 2026", L"8. 12. 2026"},
        {"Slovak", "Ľubomír Žofia Řehoř", L"\u013Dubom\u00EDr \u017Dofia \u0158eho\u0159"},
        {"Empty", "", L""},
        {"Long", std::string(3000, 'x'), std::wstring(3000, L'x')},
    };
    EXPECT_FALSE(hive_.KeyExists(HiveKey::Settings));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        hive_.WriteString(HiveKey::Settings, c.name, c.text);
        const auto read = hive_.ReadValue(HiveKey::Settings, c.name);
        EXPECT_EQ(read.kind, ValueKind::String);
        EXPECT_EQ(read.text, c.text);
        if (c.wide.size() < 1000) {
            const RawValue raw = Raw(kSettings, tilava::Utf8ToWide(c.name).c_str());
            EXPECT_EQ(raw.type, static_cast<DWORD>(REG_SZ));
            EXPECT_TRUE(raw.text == c.wide);
        }
    }
    EXPECT_TRUE(hive_.KeyExists(HiveKey::Settings));
}

TEST_F(WindowsRegistryHiveTest, DwordIsNotAStringAndReadsAsZero) {
    PutDword(kSettings, L"Dopredu", 3);
    PutDword(kSettings, L"ShowTime", 5000);
    EXPECT_EQ(hive_.ReadValue(HiveKey::Settings, "Dopredu").kind, ValueKind::NotString);
    EXPECT_EQ(hive_.ReadValue(HiveKey::Settings, "Missing").kind, ValueKind::Missing);
    TRegi regi(hive_);
    EXPECT_EQ(regi.CitajHodnotu("Dopredu"), 0);
    const WidgetSettings s = WidgetSettings::Nacitaj(regi);
    EXPECT_EQ(s.Dopredu, 0);
    EXPECT_EQ(s.ShowTime, 20000);

    regi.ZapisHodnotu("Dopredu", "3");
    EXPECT_EQ(Raw(kSettings, L"Dopredu").type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(regi.CitajHodnotu("Dopredu"), 3);
}

TEST_F(WindowsRegistryHiveTest, StartupValueHoldsTheQuotedProgramPath) {
    TRegi regi(hive_);
    regi.NastavStartup("C:\\Program Files\\Tilava\\Tilava.exe");
    const RawValue raw = Raw(kRun, L"ZelmTilava");
    EXPECT_EQ(raw.type, static_cast<DWORD>(REG_SZ));
    EXPECT_TRUE(raw.text == L"\"C:\\Program Files\\Tilava\\Tilava.exe\"");
    EXPECT_TRUE(regi.JeStartup());

    regi.NastavStale("True");
    regi.NastavPamatat("True");
    EXPECT_TRUE(Raw(kRun, L"ZelmTilavaS").text == L"True");
    EXPECT_TRUE(regi.JeStale() && regi.JePamatat());

    regi.NastavStartup("");
    regi.NastavStale("");
    EXPECT_EQ(Raw(kRun, L"ZelmTilava").status, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Raw(kRun, L"ZelmTilavaS").status, ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(regi.JeStartup());
    EXPECT_TRUE(regi.JePamatat());
    EXPECT_NO_THROW(regi.NastavStale("")) << "deleting a missing value";
}

TEST_F(WindowsRegistryHiveTest, MissingRunKeyIsNeverCreated) {
    WindowsRegistryHive stripped(kSettings, kNoRun);
    TRegi regi(stripped);
    EXPECT_FALSE(stripped.KeyExists(HiveKey::Startup));
    EXPECT_NO_THROW(regi.NastavStartup("C:\\Tilava\\Tilava.exe"));
    EXPECT_NO_THROW(regi.NastavPamatat("True"));
    EXPECT_FALSE(regi.JeStartup());
    EXPECT_FALSE(regi.JePamatat());
    EXPECT_FALSE(KeyPresent(kNoRun));
    EXPECT_THROW(stripped.WriteString(HiveKey::Startup, "ZelmTilava", "x"), tilava::HiveError);
    EXPECT_NO_THROW(stripped.DeleteValue(HiveKey::Startup, "ZelmTilava"));
}

TEST(WindowsRegistryHiveUser, ProgramKeysAreTheUsersOwn) {
    // Read only: the user's real Run key exists in a new profile.
    WindowsRegistryHive user;
    EXPECT_TRUE(user.KeyExists(HiveKey::Startup));
}

} // namespace
