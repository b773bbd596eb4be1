#pragma once

#include "platform/SettingsHive.h"

#include <memory>
#include <string>
#include <string_view>

namespace tilava {

// The settings store: every setting and window position as a named string value under the
// program's settings key, and three on/off settings as values in the user's start-up key.
// It caches nothing; every call reads or writes the hive. A write that would store what is
// already stored is skipped ("Now" is recorded every few seconds).
class TRegi {
public:
    // Over the current user's hive of this system, owned by the store.
    TRegi();
    // Over a hive that outlives the store (tests, or two stores sharing one hive).
    explicit TRegi(SettingsHive& hive);
    ~TRegi();
    TRegi(const TRegi&) = delete;
    TRegi& operator=(const TRegi&) = delete;

    // The value as a decimal integer; 0 when the key or the value is missing, the value is not
    // a string or its text is not an integer. Never throws.
    int CitajHodnotu(std::string_view meno) const;

    // The value's text; empty when the key or the value is missing or the value is not a
    // string. Never throws.
    std::string ReadText(std::string_view meno) const;

    // Writes the string value, creating the settings key first when needed. Throws HiveError.
    void ZapisHodnotu(std::string_view meno, std::string_view text);
    void ZapisHodnotu(std::string_view meno, int value);

    // Start-up values "ZelmTilava", "ZelmTilavaS", "ZelmTilavaP": an empty text deletes the
    // value, any other text writes it; nothing happens when the start-up key is missing.
    // NastavStartup takes the program path and stores it as a command line in double quotes,
    // so that a path with blanks ("C:\Program Files\...") cannot start another program.
    // Throws HiveError.
    void NastavStartup(std::string_view text);
    void NastavStale(std::string_view text);
    void NastavPamatat(std::string_view text);

    // True when the value exists and is a non-empty string. Never throw.
    bool JeStartup() const;
    bool JeStale() const;
    bool JePamatat() const;

    // Why the settings cannot be read or stored at all (the settings file is too large or in
    // an encoding the program does not read), in Slovak, for the user; empty when they can.
    std::string Refusal() const { return hive_.Refusal(); }

    // The command line NastavStartup stores for a program path.
    static std::string StartupCommand(std::string_view path);

private:
    void Set(std::string_view meno, std::string_view text);
    bool Exists(std::string_view meno) const;

    std::unique_ptr<SettingsHive> own_;
    SettingsHive& hive_;
};

} // namespace tilava
