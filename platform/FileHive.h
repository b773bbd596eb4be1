#pragma once

#include "platform/SettingsHive.h"

#include <filesystem>

namespace tilava {

// The settings hive of Linux, under the user's configuration folder (XDG_CONFIG_HOME):
// - the settings and the start-up markers ("ZelmTilavaS", "ZelmTilavaP") in the INI-style file
//   ZELMtilava/settings.ini, sections [Settings] and [Run], replaced atomically on each write;
// - the start-up value "ZelmTilava" as the autostart entry autostart/ZelmTilava.desktop, whose
//   Exec runs the program. The value is a command line, the program path in double quotes.
// Nothing is cached: every call reads the files again.
class FileHive final : public SettingsHive {
public:
    explicit FileHive(std::filesystem::path configHome);

    bool KeyExists(HiveKey key) const override;
    HiveValue ReadValue(HiveKey key, std::string_view name) const override;
    void WriteString(HiveKey key, std::string_view name, std::string_view text) override;
    void DeleteValue(HiveKey key, std::string_view name) override;

    std::filesystem::path SettingsFile() const;
    std::filesystem::path AutostartFile() const;

    // The Exec line's value for a program path, and the program path back from it.
    static std::string ExecFor(std::string_view programPath);
    static std::string ProgramFromExec(std::string_view exec);

private:
    std::filesystem::path configHome_;
};

} // namespace tilava
