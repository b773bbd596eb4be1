#pragma once

#include "platform/SettingsHive.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>

namespace tilava {

// The settings hive of Linux, under the user's configuration folder (XDG_CONFIG_HOME):
// - the settings and the start-up markers ("ZelmTilavaS", "ZelmTilavaP") in the INI-style file
//   ZELMtilava/settings.ini, sections [Settings] and [Run], replaced atomically on each write;
// - the start-up value "ZelmTilava" as the autostart entry autostart/ZelmTilava.desktop, whose
//   Exec runs the program. The value is a command line, the program path in double quotes.
// The settings file is read once and kept in memory; a look at its size, times and identity
// before every call tells when another program has changed it, and only then is it read again.
// A write still replaces the file on disk at once. A settings file of more than
// kLargestSettingsFile bytes, in UTF-32 or holding NUL bytes (UTF-16 without its byte-order
// mark) is never read or written: its values read as missing, writes throw HiveError and
// Refusal() says why. UTF-16 with a byte-order mark is read and written back as UTF-16; a file
// in another 8-bit encoding than UTF-8 takes no text beyond ASCII, so no file ever mixes two.
class FileHive final : public SettingsHive {
public:
    // A real settings file holds well under a kilobyte.
    static constexpr std::uint64_t kLargestSettingsFile = 1024 * 1024;

    explicit FileHive(std::filesystem::path configHome);
    ~FileHive() override;

    bool KeyExists(HiveKey key) const override;
    HiveValue ReadValue(HiveKey key, std::string_view name) const override;
    void WriteString(HiveKey key, std::string_view name, std::string_view text) override;
    void DeleteValue(HiveKey key, std::string_view name) override;
    std::string Refusal() const override;

    std::filesystem::path SettingsFile() const;
    std::filesystem::path AutostartFile() const;

    // The Exec line's value for a program path, and the program path back from it.
    static std::string ExecFor(std::string_view programPath);
    static std::string ProgramFromExec(std::string_view exec);

private:
    struct Loaded;
    // The settings file as last seen; read again when its stamp has changed.
    const Loaded& Current() const;
    // Reads the file whose stamp `loaded` holds, or learns why it is refused.
    static void Load(const std::filesystem::path& file, Loaded& loaded);
    // Applies a change of the value `name` (to the text `value`) to the file and saves it.
    template <class Change>
    void ChangeSettings(std::string_view name, std::string_view value, bool deleting,
                        Change change);

    std::filesystem::path configHome_;
    mutable std::mutex mutex_;
    mutable std::unique_ptr<Loaded> loaded_;
};

} // namespace tilava
