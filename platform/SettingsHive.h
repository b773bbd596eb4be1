#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tilava {

// The two keys the program keeps values under: its own settings key and the user's start-up
// ("Run") key.
enum class HiveKey { Settings, Startup };

enum class ValueKind { Missing, NotString, String };

struct HiveValue {
    ValueKind kind = ValueKind::Missing;
    std::string text; // UTF-8; empty unless kind is String

    bool IsString() const { return kind == ValueKind::String; }
};

// Named string values under two keys: the Windows registry, a file on Linux, memory in tests.
// Every call stands alone; no key stays open between calls.
class SettingsHive {
public:
    virtual ~SettingsHive() = default;

    virtual bool KeyExists(HiveKey key) const = 0;

    // A value that is missing, unreadable or of another type never raises.
    virtual HiveValue ReadValue(HiveKey key, std::string_view name) const = 0;

    // Writes a string value; the settings key is created when it does not exist, the start-up
    // key never is. Throws HiveError when the value cannot be stored.
    virtual void WriteString(HiveKey key, std::string_view name, std::string_view text) = 0;

    // Removes a value; a missing value or key is fine. Throws HiveError when it cannot.
    virtual void DeleteValue(HiveKey key, std::string_view name) = 0;

    // Why the hive's store is not used at all (a settings file too large or in an encoding the
    // program does not read), in Slovak, for the user; empty when it is used.
    virtual std::string Refusal() const { return {}; }
};

// The current user's hive on this system: the registry on Windows, the settings file and the
// autostart entry elsewhere.
std::unique_ptr<SettingsHive> CreateUserSettingsHive();

// The folder that holds only this program's settings files (Linux); none on Windows, where the
// settings live in the registry.
std::optional<std::filesystem::path> UserSettingsFolder();

} // namespace tilava
