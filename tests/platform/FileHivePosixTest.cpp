#include "platform/FileHive.h"

#include "platform/HiveError.h"
#include "store/uRegi.h"

#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

using namespace tilava;
using namespace tilava::test;

namespace {

// desktop-file-validate's verdict on a file: its output, empty when the file is valid.
std::string Validate(const std::filesystem::path& file) {
    const std::string command = "desktop-file-validate '" + file.string() + "' 2>&1";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string output;
    char buffer[512];
    while (pipe && fgets(buffer, sizeof buffer, pipe.get()) != nullptr) {
        output += buffer;
    }
    return output;
}

bool HaveValidator() {
    return std::system("command -v desktop-file-validate >/dev/null") == 0;
}

TEST(FileHive, EveryValueRoundTripsThroughTheFile) {
    TempFolder config;
    const struct {
        HiveKey key;
        const char* name;
        std::string text;
    } values[] = {
        {HiveKey::Settings, "ShowTime", "20000"},
        {HiveKey::Settings, "Dopredu", "3"},
        {HiveKey::Settings, "Upozornenie", "2"},
        {HiveKey::Settings, "frmMainTop", "-12"},
        {HiveKey::Settings, "frmMainLeft", "1700"},
        {HiveKey::Settings, "frmTyzdenTop", "100"},
        {HiveKey::Settings, "frmTyzdenLeft", "200"},
        {HiveKey::Settings, "frmSetupTop", "300"},
        {HiveKey::Settings, "frmSetupLeft", "400"},
        {HiveKey::Settings, "Now", "8. 12. 2026"},
        {HiveKey::Settings, "Slovak", "Ľubomír Žofia Řehoř"},
        {HiveKey::Settings, "Odd", "a=b;c #d [e] \\n"},
        {HiveKey::Settings, "Lines", "one\ntwo\r\nthree\t"},
        {HiveKey::Settings, "Blanks", "  padded  "},
        {HiveKey::Settings, "Empty", ""},
        {HiveKey::Startup, "ZelmTilavaS", "True"},
        {HiveKey::Startup, "ZelmTilavaP", "True"},
        {HiveKey::Startup, "ZelmTilava", "\"/opt/Tilava/bin/tilava\""},
    };
    {
        FileHive hive(config.Path());
        EXPECT_FALSE(hive.KeyExists(HiveKey::Settings));
        for (const auto& v : values) {
            hive.WriteString(v.key, v.name, v.text);
        }
        EXPECT_TRUE(hive.KeyExists(HiveKey::Settings));
    }
    FileHive reopened(config.Path());
    for (const auto& v : values) {
        SCOPED_TRACE(v.name);
        const auto read = reopened.ReadValue(v.key, v.name);
        EXPECT_EQ(read.kind, ValueKind::String);
        EXPECT_EQ(read.text, v.text);
    }
    EXPECT_EQ(reopened.ReadValue(HiveKey::Settings, "ZelmTilavaS").kind, ValueKind::Missing)
        << "start-up markers and settings are apart";
    EXPECT_EQ(FolderEntries(config / "ZELMtilava"), std::vector<std::string>{"settings.ini"});
    EXPECT_EQ(FolderEntries(config / "autostart"), std::vector<std::string>{"ZelmTilava.desktop"});

    reopened.DeleteValue(HiveKey::Settings, "Now");
    reopened.DeleteValue(HiveKey::Startup, "ZelmTilavaS");
    reopened.DeleteValue(HiveKey::Startup, "NeverWritten");
    EXPECT_EQ(reopened.ReadValue(HiveKey::Settings, "Now").kind, ValueKind::Missing);
    EXPECT_EQ(reopened.ReadValue(HiveKey::Startup, "ZelmTilavaS").kind, ValueKind::Missing);
    EXPECT_EQ(reopened.ReadValue(HiveKey::Startup, "ZelmTilavaP").text, "True");
}

TEST(FileHive, HandEditedFileIsReadLeniently) {
    TempFolder config;
    std::filesystem::create_directories(config / "ZELMtilava");
    WriteBytes(config / "ZELMtilava" / "settings.ini", "; edited by hand\r\n"
                                                       "stray line before any section\r\n"
                                                       "[Settings]\r\n"
                                                       "ShowTime = 5000\r\n"
                                                       "Dopredu=1\r\n"
                                                       "Dopredu=4\r\n"
                                                       "no equals sign\r\n"
                                                       "\r\n"
                                                       "[Run]\r\n"
                                                       "ZelmTilavaS=True\r\n");
    FileHive hive(config.Path());
    TRegi regi(hive);
    EXPECT_EQ(regi.CitajHodnotu("ShowTime"), 5000);
    EXPECT_EQ(regi.CitajHodnotu("Dopredu"), 4) << "the last of two lines wins";
    EXPECT_TRUE(regi.JeStale());
    EXPECT_FALSE(regi.JePamatat());
    regi.ZapisHodnotu("Upozornenie", "1");
    EXPECT_EQ(regi.CitajHodnotu("ShowTime"), 5000) << "a write keeps the other values";
    EXPECT_EQ(regi.CitajHodnotu("Dopredu"), 4);
    EXPECT_TRUE(regi.JeStale());
}

TEST(FileHive, WriteChangesOnlyTheLineOfItsValue) {
    // Written by hand, by other editors and by other programs: everything but the value's own
    // line must come back byte for byte.
    const std::string edited = "; edited by hand\n"
                               "stray line before any section\n"
                               "orphan=1\n"
                               "\n"
                               "[Settings]\n"
                               "  # indented comment\n"
                               "ShowTime = 5000\n"
                               "no equals sign\n"
                               "\xff\xfe not UTF-8\n"
                               "Dopredu=1\n"
                               "Dopredu=4\n"
                               "\n"
                               "[Other]\n"
                               "Dopredu=9\n"
                               "\n"
                               "[Run]\n"
                               "ZelmTilavaS=True\n";
    auto replaced = [&edited](std::string_view from, std::string_view to) {
        std::string text = edited;
        return text.replace(text.find(from), from.size(), to);
    };
    const struct {
        const char* what;
        std::string before;
        const char* name;
        const char* value; // nullptr: the value is deleted
        const char* read;  // the value read before the change; nullptr: missing
        std::string after;
    } cases[] = {
        {"a byte-order mark and CR LF", "\xEF\xBB\xBF[Settings]\r\nShowTime=5000\r\n", "Dopredu",
         "3", nullptr, "\xEF\xBB\xBF[Settings]\r\nShowTime=5000\r\nDopredu=3\r\n"},
        {"CR alone", "[Settings]\rShowTime=5000\rDopredu=1\r", "Dopredu", "2", "1",
         "[Settings]\rShowTime=5000\rDopredu=2\r"},
        {"no line end after the last line", "[Settings]\nShowTime=5000", "Dopredu", "3", nullptr,
         "[Settings]\nShowTime=5000\nDopredu=3\n"},
        {"the last of two lines counts and changes", edited, "Dopredu", "2", "4",
         replaced("Dopredu=4\n", "Dopredu=2\n")},
        {"blanks around the equals sign", edited, "ShowTime", "6000", " 5000",
         replaced("ShowTime = 5000\n", "ShowTime =6000\n")},
        {"a new value after the last of its section", edited, "Upozornenie", "1", nullptr,
         replaced("Dopredu=4\n", "Dopredu=4\nUpozornenie=1\n")},
        {"deleting takes every line of the value", edited, "Dopredu", nullptr, "4",
         replaced("Dopredu=1\nDopredu=4\n", "")},
        {"a missing section goes at the end", "; mine\r\n[Run]\r\nZelmTilavaS=True", "ShowTime",
         "1", nullptr, "; mine\r\n[Run]\r\nZelmTilavaS=True\r\n\r\n[Settings]\r\nShowTime=1\r\n"},
        {"a new file", "", "ShowTime", "1", nullptr, "# Tilava\n\n[Settings]\nShowTime=1\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder config;
        FileHive hive(config.Path());
        std::filesystem::create_directories(config / "ZELMtilava");
        WriteBytes(hive.SettingsFile(), c.before);
        const auto read = hive.ReadValue(HiveKey::Settings, c.name);
        EXPECT_EQ(read.kind, c.read ? ValueKind::String : ValueKind::Missing);
        EXPECT_EQ(read.text, c.read ? c.read : "");
        if (c.value) {
            hive.WriteString(HiveKey::Settings, c.name, c.value);
        } else {
            hive.DeleteValue(HiveKey::Settings, c.name);
        }
        EXPECT_EQ(ReadBytes(hive.SettingsFile()), c.after);
        EXPECT_EQ(hive.ReadValue(HiveKey::Settings, c.name).text, c.value ? c.value : "");
        EXPECT_EQ(TRegi(hive).JeStale(), c.before.find("ZelmTilavaS=True") != std::string::npos);
    }
}

TEST(FileHive, LinkedSettingsFileIsWrittenWhereItLeads) {
    // The settings file kept in a repository of settings files and linked into place.
    TempFolder config;
    FileHive hive(config.Path());
    std::filesystem::create_directories(config / "ZELMtilava");
    std::filesystem::create_directories(config / "dotfiles");
    std::filesystem::create_symlink("../dotfiles/tilava.ini", hive.SettingsFile());

    EXPECT_THROW(hive.WriteString(HiveKey::Settings, "ShowTime", "5000"), HiveError)
        << "a link to nothing is not replaced by a file";
    EXPECT_TRUE(std::filesystem::is_symlink(hive.SettingsFile()));

    WriteBytes(config / "dotfiles" / "tilava.ini", "; mine\n[Settings]\nShowTime=5000\n");
    hive.WriteString(HiveKey::Settings, "ShowTime", "7000");
    EXPECT_TRUE(std::filesystem::is_symlink(hive.SettingsFile()));
    EXPECT_EQ(ReadBytes(config / "dotfiles" / "tilava.ini"), "; mine\n[Settings]\nShowTime=7000\n");
    EXPECT_EQ(FolderEntries(config / "dotfiles"), std::vector<std::string>{"tilava.ini"});
}

TEST(FileHive, AutostartEntryFollowsSetStartup) {
    TempFolder config;
    FileHive hive(config.Path());
    TRegi regi(hive);
    // The entry names the program's icon, and TryExec lets the session skip it once the program
    // is gone (the path as a string value: only the backslash is escaped).
    const struct {
        const char* path;
        const char* tryExec;
    } cases[] = {
        {"/usr/bin/tilava", "/usr/bin/tilava"},
        {"/opt/Moje programy/Tilava/tilava", "/opt/Moje programy/Tilava/tilava"},
        {"/home/ľudo/Aplikácie/tilava", "/home/ľudo/Aplikácie/tilava"},
        {"/tmp/odd $HOME `x` 100% \"q\" back\\slash/tilava",
         "/tmp/odd $HOME `x` 100% \"q\" back\\\\slash/tilava"},
    };
    for (const auto& [path, tryExec] : cases) {
        SCOPED_TRACE(path);
        regi.NastavStartup(path);
        ASSERT_TRUE(std::filesystem::exists(hive.AutostartFile()));
        const std::string entry = ReadBytes(hive.AutostartFile());
        EXPECT_NE(entry.find(std::string("\nTryExec=") + tryExec + "\n"), std::string::npos)
            << entry;
        EXPECT_NE(entry.find("\nIcon=sk.zelm.Tilava\n"), std::string::npos) << entry;
        EXPECT_TRUE(regi.JeStartup());
        EXPECT_EQ(hive.ReadValue(HiveKey::Startup, "ZelmTilava").text,
                  std::string("\"") + path + "\"");
        if (HaveValidator()) {
            EXPECT_EQ(Validate(hive.AutostartFile()), "") << ReadBytes(hive.AutostartFile());
        }
        regi.NastavStartup("");
        EXPECT_FALSE(std::filesystem::exists(hive.AutostartFile()));
        EXPECT_FALSE(regi.JeStartup());
    }
    EXPECT_TRUE(HaveValidator()) << "desktop-file-validate is not installed";
}

TEST(FileHive, ExecLineIsTheQuotedProgramPath) {
    const struct {
        const char* path;
        const char* exec;
    } cases[] = {
        {"/usr/bin/tilava", "\"/usr/bin/tilava\""},
        {"/a b/tilava", "\"/a b/tilava\""},
        {"/50%/t", "\"/50%%/t\""},
        {"/x$y/t", "\"/x\\\\$y/t\""},
        {"/q\"t", "\"/q\\\\\"t\""},
        {"/b\\s", "\"/b\\\\\\\\s\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(FileHive::ExecFor(c.path), c.exec);
        EXPECT_EQ(FileHive::ProgramFromExec(c.exec), c.path);
    }
    EXPECT_EQ(FileHive::ProgramFromExec("tilava --hidden"), "tilava");
}

TEST(FileHive, AutostartEntryDisabledByTheDesktopCountsAsOff) {
    const char* disabling[] = {"Hidden=true", "X-GNOME-Autostart-enabled=false"};
    for (const char* line : disabling) {
        SCOPED_TRACE(line);
        TempFolder config;
        FileHive hive(config.Path());
        std::filesystem::create_directories(config / "autostart");
        WriteBytes(hive.AutostartFile(), std::string("[Desktop Entry]\nType=Application\n"
                                                     "Name=Tilava\nExec=/usr/bin/tilava\n") +
                                             line + "\n");
        TRegi regi(hive);
        EXPECT_FALSE(regi.JeStartup());
        regi.NastavStartup("/usr/bin/tilava");
        EXPECT_TRUE(regi.JeStartup()) << "switching on again must enable the entry";
    }
}

TEST(FileHive, FailuresNameTheSettingAndKeepTheFile) {
    TempFolder config;
    FileHive hive(config.Path());
    hive.WriteString(HiveKey::Settings, "ShowTime", "5000");
    const std::string before = ReadBytes(hive.SettingsFile());

    // A settings file that cannot be read is not overwritten with one value.
    TempFolder other;
    std::filesystem::create_directories(other / "ZELMtilava" / "settings.ini");
    FileHive unreadable(other.Path());
    EXPECT_EQ(TRegi(unreadable).CitajHodnotu("ShowTime"), 0);
    try {
        unreadable.WriteString(HiveKey::Settings, "ShowTime", "6000");
        ADD_FAILURE() << "no error";
    } catch (const HiveError& error) {
        EXPECT_NE(std::string(error.what()).find("Nastavenie „ShowTime“ sa nedá uložiť: "),
                  std::string::npos)
            << error.what();
        EXPECT_NE(std::string(error.what()).find("settings.ini"), std::string::npos)
            << error.what();
    }
    EXPECT_TRUE(std::filesystem::is_directory(other / "ZELMtilava" / "settings.ini"));

    // A file where the autostart folder belongs.
    WriteBytes(config / "autostart", "not a folder");
    EXPECT_THROW(hive.WriteString(HiveKey::Startup, "ZelmTilava", "\"/usr/bin/tilava\""),
                 HiveError);
    EXPECT_THROW(hive.WriteString(HiveKey::Settings, "bad=name", "1"), HiveError);
    EXPECT_EQ(ReadBytes(hive.SettingsFile()), before);
    EXPECT_EQ(FolderEntries(config / "ZELMtilava"), std::vector<std::string>{"settings.ini"});
}

TEST(FileHive, UserHiveFollowsXdgConfigHome) {
    TempFolder config;
    const char* old = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = old ? old : "";
    setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
    {
        TRegi regi;
        regi.ZapisHodnotu("ShowTime", "7000");
        regi.NastavPamatat("True");
    }
    if (old) {
        setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    } else {
        unsetenv("XDG_CONFIG_HOME");
    }
    const std::string ini = ReadBytes(config / "ZELMtilava" / "settings.ini");
    EXPECT_NE(ini.find("[Settings]\nShowTime=7000\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("[Run]\nZelmTilavaP=True\n"), std::string::npos) << ini;
}

} // namespace
