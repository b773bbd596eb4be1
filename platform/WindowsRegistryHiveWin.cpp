#include "platform/WindowsRegistryHive.h"

#include "platform/HiveError.h"
#include "platform/SystemErrorText.h"
#include "platform/WideText.h"

#include <windows.h>

#include <vector>

namespace tilava {

namespace {

// Closes a key on every path out.
class OpenKey {
public:
    OpenKey() = default;
    ~OpenKey() {
        if (key_ != nullptr) {
            RegCloseKey(key_);
        }
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    HKEY* Out() { return &key_; }
    HKEY Get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

[[noreturn]] void Refuse(std::string_view name, bool deleting, LSTATUS status) {
    throw HiveError("Nastavenie „" + std::string(name) + "“ sa nedá " +
                    (deleting ? "zmazať z registra" : "uložiť do registra") + ": " +
                    SystemErrorText(static_cast<unsigned long>(status)));
}

} // namespace

WindowsRegistryHive::WindowsRegistryHive(std::string settingsKey, std::string startupKey)
    : settingsKey_(Utf8ToWide(settingsKey)), startupKey_(Utf8ToWide(startupKey)) {}

const std::wstring& WindowsRegistryHive::SubKey(HiveKey key) const {
    return key == HiveKey::Settings ? settingsKey_ : startupKey_;
}

bool WindowsRegistryHive::KeyExists(HiveKey key) const {
    OpenKey open;
    return RegOpenKeyExW(HKEY_CURRENT_USER, SubKey(key).c_str(), 0, KEY_QUERY_VALUE, open.Out()) ==
           ERROR_SUCCESS;
}

HiveValue WindowsRegistryHive::ReadValue(HiveKey key, std::string_view name) const {
    const std::wstring wideName = Utf8ToWide(name);
    // Strings only: a REG_DWORD (or any other type) fails with ERROR_UNSUPPORTED_TYPE.
    const DWORD flags = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
    std::vector<wchar_t> buffer(256);
    for (int attempt = 0; attempt < 8; ++attempt) {
        DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        const LSTATUS status =
            RegGetValueW(HKEY_CURRENT_USER, SubKey(key).c_str(), wideName.c_str(), flags, nullptr,
                         buffer.data(), &bytes);
        if (status == ERROR_SUCCESS) {
            std::wstring_view text(buffer.data(), bytes / sizeof(wchar_t));
            while (!text.empty() && text.back() == L'\0') {
                text.remove_suffix(1);
            }
            return {ValueKind::String, WideToUtf8(text)};
        }
        if (status == ERROR_UNSUPPORTED_TYPE) {
            return {ValueKind::NotString, {}};
        }
        if (status != ERROR_MORE_DATA) {
            return {};
        }
        // The value grew or is longer than the buffer; `bytes` now says how much it needs.
        buffer.resize(bytes / sizeof(wchar_t) + 2);
    }
    return {};
}

void WindowsRegistryHive::WriteString(HiveKey key, std::string_view name, std::string_view text) {
    OpenKey open;
    LSTATUS status = ERROR_SUCCESS;
    if (key == HiveKey::Settings) {
        status =
            RegCreateKeyExW(HKEY_CURRENT_USER, SubKey(key).c_str(), 0, nullptr,
                            REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, open.Out(), nullptr);
    } else {
        status =
            RegOpenKeyExW(HKEY_CURRENT_USER, SubKey(key).c_str(), 0, KEY_SET_VALUE, open.Out());
    }
    if (status != ERROR_SUCCESS) {
        Refuse(name, false, status);
    }
    const std::wstring wideName = Utf8ToWide(name);
    const std::wstring wideText = Utf8ToWide(text);
    status = RegSetValueExW(open.Get(), wideName.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(wideText.c_str()),
                            static_cast<DWORD>((wideText.size() + 1) * sizeof(wchar_t)));
    if (status != ERROR_SUCCESS) {
        Refuse(name, false, status);
    }
}

void WindowsRegistryHive::DeleteValue(HiveKey key, std::string_view name) {
    OpenKey open;
    LSTATUS status =
        RegOpenKeyExW(HKEY_CURRENT_USER, SubKey(key).c_str(), 0, KEY_SET_VALUE, open.Out());
    if (status == ERROR_FILE_NOT_FOUND) {
        return;
    }
    if (status != ERROR_SUCCESS) {
        Refuse(name, true, status);
    }
    status = RegDeleteValueW(open.Get(), Utf8ToWide(name).c_str());
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
        Refuse(name, true, status);
    }
}

} // namespace tilava
