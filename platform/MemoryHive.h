#pragma once

#include "platform/SettingsHive.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <variant>

namespace tilava {

// A hive in memory for tests. It can also hold a 32-bit integer value (what the registry calls
// REG_DWORD), which reads as "not a string", and it counts the writes that reach it.
class MemoryHive final : public SettingsHive {
public:
    // A fresh user: no settings key yet; the start-up key exists unless told otherwise.
    explicit MemoryHive(bool startupKeyExists = true);

    bool KeyExists(HiveKey key) const override;
    HiveValue ReadValue(HiveKey key, std::string_view name) const override;
    void WriteString(HiveKey key, std::string_view name, std::string_view text) override;
    void DeleteValue(HiveKey key, std::string_view name) override;

    // Test set-up; these are not counted.
    void CreateKey(HiveKey key);
    void RemoveKey(HiveKey key);
    void PutString(HiveKey key, std::string_view name, std::string_view text);
    void PutDword(HiveKey key, std::string_view name, std::uint32_t value);
    // Makes every further WriteString and DeleteValue throw HiveError (a refusing registry).
    void RefuseWrites(bool refuse) { refuse_ = refuse; }

    int WriteCount() const { return writes_; }
    int DeleteCount() const { return deletes_; }

private:
    using Value = std::variant<std::string, std::uint32_t>;
    using Values = std::map<std::string, Value, std::less<>>;

    std::optional<Values>& Key(HiveKey key);
    const std::optional<Values>& Key(HiveKey key) const;

    std::optional<Values> settings_;
    std::optional<Values> startup_;
    bool refuse_ = false;
    int writes_ = 0;
    int deletes_ = 0;
};

} // namespace tilava
