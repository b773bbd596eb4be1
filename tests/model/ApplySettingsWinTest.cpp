#include "model/ApplySettings.h"

#include "core/uRok.h"
#include "platform/ProgramPath.h"
#include "platform/WideText.h"
#include "platform/WindowsRegistryHive.h"
#include "store/uRegi.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace tilava {
namespace {

// Keys of this test's own; the program's real keys stay untouched.
const wchar_t* const kRoot = L"Software\\ZELMtilavaNastaveniaTest";
const char* const kSettings = "Software\\ZELMtilavaNastaveniaTest\\Settings";
const char* const kRun = "Software\\ZELMtilavaNastaveniaTest\\Run";

// The Run value as the plain registry call reads it; `found` false when it is missing.
std::wstring RunValue(const wchar_t* name, bool& found) {
    wchar_t buffer[1024] = {};
    DWORD bytes = sizeof buffer - sizeof(wchar_t);
    const LSTATUS status = RegGetValueW(HKEY_CURRENT_USER, Utf8ToWide(kRun).c_str(), name,
                                        RRF_RT_REG_SZ, nullptr, buffer, &bytes);
    found = status == ERROR_SUCCESS;
    return found ? std::wstring(buffer) : std::wstring();
}

TEST(SettingsRegistry, StartupSwitchWritesTheQuotedProgramPathAndRemovesIt) {
    RegDeleteTreeW(HKEY_CURRENT_USER, kRoot);
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, Utf8ToWide(kRun).c_str(), 0, nullptr, 0, KEY_WRITE,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);

    WindowsRegistryHive hive(kSettings, kRun);
    TRegi regi(hive);
    TRok rok;
    WidgetSettings w;
    WidgetSettings z = w;
    z.Startup = z.Stale = true;
    z.ShowTime = 8000;
    ASSERT_EQ(ApplySettings(z, true, rok, regi, w, ProgramPath()), "");
    EXPECT_TRUE(w.Startup && w.Stale);
    EXPECT_EQ(w.ShowTime, 8000);
    bool found = false;
    EXPECT_EQ(RunValue(L"ZelmTilava", found), L"\"" + ProgramPath().wstring() + L"\"");
    EXPECT_TRUE(found);
    EXPECT_EQ(RunValue(L"ZelmTilavaS", found), L"True");

    z.Startup = false;
    ASSERT_EQ(ApplySettings(z, true, rok, regi, w, ProgramPath()), "");
    EXPECT_FALSE(w.Startup);
    RunValue(L"ZelmTilava", found);
    EXPECT_FALSE(found);
    RunValue(L"ZelmTilavaS", found);
    EXPECT_TRUE(found);
    RegDeleteTreeW(HKEY_CURRENT_USER, kRoot);
}

} // namespace
} // namespace tilava
