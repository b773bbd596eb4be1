#pragma once

#include "platform/SettingsHive.h"

#include <string>

namespace tilava {

// The settings hive of Windows: string values (REG_SZ) under two keys of HKEY_CURRENT_USER,
// through the wide-character registry calls. The settings key is created on the first write;
// the start-up key never is. Tests pass key names of their own.
class WindowsRegistryHive final : public SettingsHive {
public:
    explicit WindowsRegistryHive(
        std::string settingsKey = "Software\\ZELMtilava",
        std::string startupKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run");

    bool KeyExists(HiveKey key) const override;
    HiveValue ReadValue(HiveKey key, std::string_view name) const override;
    void WriteString(HiveKey key, std::string_view name, std::string_view text) override;
    void DeleteValue(HiveKey key, std::string_view name) override;

private:
    const std::wstring& SubKey(HiveKey key) const;

    std::wstring settingsKey_;
    std::wstring startupKey_;
};

} // namespace tilava
