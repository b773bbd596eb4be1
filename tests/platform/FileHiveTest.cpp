// The settings file as it comes from users' disks: too large, in UTF-16 as Windows editors save
// it, or changed by another program while the hive keeps it in memory. Runs on Linux and, built
// for Windows, under Wine.
#include "platform/FileHive.h"

#include "platform/HiveError.h"
#include "store/uRegi.h"

#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace tilava {
namespace {

using test::FolderEntries;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

// UTF-16 bytes of the text, byte-order mark first, written out here apart from the hive's own
// conversion.
std::string Utf16(std::u16string_view text, bool bigEndian) {
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t unit : text) {
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        out += bigEndian ? high : low;
        out += bigEndian ? low : high;
    }
    return out;
}

std::filesystem::path SettingsFile(const TempFolder& config) {
    std::filesystem::create_directories(config / "ZELMtilava");
    return config / "ZELMtilava" / "settings.ini";
}

const std::string kSmall = "[Settings]\r\nShowTime=5000\r\nNow=8. 12. 2026\r\n\r\n"
                           "[Run]\r\nZelmTilavaS=True\r\n";

TEST(FileHive, RefusedFileReadsAsDefaultsAndStaysByteForByte) {
    const std::string padding(FileHive::kLargestSettingsFile, ';');
    const struct {
        const char* what;
        std::string bytes;
        const char* told; // a part of the refusal
    } files[] = {
        {"5 MiB", kSmall + std::string(5 * 1024 * 1024, ';'), "príliš veľký (5 242 951 bajtov)"},
        {"one byte over", kSmall + padding.substr(kSmall.size() - 1),
         "príliš veľký (1 048 577 bajtov)"},
        {"UTF-16 without its mark", Utf16(u"[Settings]\r\nShowTime=5000\r\n", false).substr(2),
         "bez značky poradia bajtov"},
        {"UTF-32", std::string("\xFF\xFE\0\0[\0\0\0", 8), "UTF-32"},
        {"UTF-16 with an odd byte", Utf16(u"[Settings]\r\nShowTime=5000\r\n", false) + "x",
         "nepárny počet bajtov"},
        {"UTF-16 with a lone surrogate", Utf16(u"[Settings]\r\nShowTime=5000\r\n;\xD800\r\n", true),
         "neúplný znak"},
    };
    for (const auto& file : files) {
        SCOPED_TRACE(file.what);
        TempFolder config;
        WriteBytes(SettingsFile(config), file.bytes);
        FileHive hive(config.Path());
        TRegi regi(hive);
        EXPECT_EQ(regi.CitajHodnotu("ShowTime"), 0);
        EXPECT_FALSE(regi.JeStale());
        EXPECT_NE(regi.Refusal().find(file.told), std::string::npos) << regi.Refusal();
        EXPECT_NE(regi.Refusal().find("settings.ini"), std::string::npos);
        EXPECT_THROW(regi.ZapisHodnotu("Now", "9. 12. 2026"), HiveError);
        EXPECT_THROW(regi.NastavStale("True"), HiveError);
        try {
            regi.ZapisHodnotu("ShowTime", "7000");
            ADD_FAILURE() << "the write was not refused";
        } catch (const HiveError& error) {
            EXPECT_NE(std::string(error.what()).find(file.told), std::string::npos);
        }
        EXPECT_TRUE(ReadBytes(SettingsFile(config)) == file.bytes) << "the file was changed";
        EXPECT_EQ(FolderEntries(config / "ZELMtilava"), std::vector<std::string>{"settings.ini"});
    }

    // A file right at the limit is still read and written.
    TempFolder config;
    WriteBytes(SettingsFile(config), kSmall + padding.substr(kSmall.size()));
    FileHive hive(config.Path());
    TRegi regi(hive);
    EXPECT_EQ(regi.Refusal(), "");
    EXPECT_EQ(regi.CitajHodnotu("ShowTime"), 5000);
    EXPECT_THROW(regi.ZapisHodnotu("Now", "10. 12. 2026"), HiveError)
        << "the written file would exceed what is read";
    regi.ZapisHodnotu("Now", "9. 12. 2026");
    EXPECT_EQ(ReadBytes(SettingsFile(config)).size(), FileHive::kLargestSettingsFile);
}

TEST(FileHive, Utf16FileIsReadAndWrittenBackInItsEncoding) {
    const std::u16string before = u"\xFEFF; Ľubomír \xD83D\xDE00 upravil\r\n[Settings]\r\n"
                                  u"ShowTime=5000\r\nNow=8. 12. 2026\r\n\r\n[Run]\r\n"
                                  u"ZelmTilavaS=True\r\n";
    const std::u16string after = u"\xFEFF; Ľubomír \xD83D\xDE00 upravil\r\n[Settings]\r\n"
                                 u"ShowTime=5000\r\nNow=9. 12. 2026\r\nNowIso=2026-12-09\r\n"
                                 u"Meno=Žofia\r\n\r\n[Run]\r\n";
    for (const bool bigEndian : {false, true}) {
        SCOPED_TRACE(bigEndian ? "big-endian" : "little-endian");
        TempFolder config;
        // The byte-order mark is the first unit of the text here.
        WriteBytes(SettingsFile(config), Utf16(before, bigEndian).substr(2));
        FileHive hive(config.Path());
        TRegi regi(hive);
        EXPECT_EQ(regi.Refusal(), "");
        EXPECT_EQ(regi.CitajHodnotu("ShowTime"), 5000);
        EXPECT_TRUE(regi.JeStale());
        regi.ZapisHodnotu("Now", "9. 12. 2026");
        regi.ZapisHodnotu("NowIso", "2026-12-09");
        regi.ZapisHodnotu("Meno", "Žofia");
        regi.NastavStale("");
        EXPECT_EQ(ReadBytes(SettingsFile(config)), Utf16(after, bigEndian).substr(2));
        EXPECT_EQ(FileHive(config.Path()).ReadValue(HiveKey::Settings, "Meno").text, "Žofia");
        EXPECT_THROW(regi.ZapisHodnotu("Meno", "\xC5"), HiveError) << "not UTF-8";
        EXPECT_EQ(ReadBytes(SettingsFile(config)), Utf16(after, bigEndian).substr(2));
    }
}

TEST(FileHive, EightBitFileTakesNoUtf8Letters) {
    TempFolder config;
    // A comment saved in Windows-1250 by an editor.
    const std::string before = "; \xBEluteuk\xE1\r\n[Settings]\r\nShowTime=5000\r\n";
    WriteBytes(SettingsFile(config), before);
    FileHive hive(config.Path());
    TRegi regi(hive);
    EXPECT_EQ(regi.CitajHodnotu("ShowTime"), 5000);
    EXPECT_THROW(regi.ZapisHodnotu("Meno", "Žofia"), HiveError);
    EXPECT_EQ(ReadBytes(SettingsFile(config)), before);
    regi.ZapisHodnotu("Now", "9. 12. 2026");
    EXPECT_EQ(ReadBytes(SettingsFile(config)), before + "Now=9. 12. 2026\r\n");
}

TEST(FileHive, ChangesByAnotherProgramAreSeen) {
    TempFolder config;
    const auto file = SettingsFile(config);
    WriteBytes(file, kSmall);
    FileHive hive(config.Path());
    TRegi regi(hive);
    EXPECT_EQ(regi.CitajHodnotu("ShowTime"), 5000);
    const struct {
        const char* what;
        std::string bytes;
        int showTime;
    } changes[] = {
        {"same size, at once", "[Settings]\r\nShowTime=6000" + kSmall.substr(25), 6000},
        {"other size", "[Settings]\nShowTime=700\n", 700},
        {"removed", "", 0},
        {"too large", std::string(FileHive::kLargestSettingsFile + 1, ';'), 0},
        {"made whole again", "[Settings]\nShowTime=800\n", 800},
    };
    for (const auto& change : changes) {
        SCOPED_TRACE(change.what);
        if (change.bytes.empty()) {
            std::filesystem::remove(file);
        } else {
            WriteBytes(file, change.bytes);
        }
        EXPECT_EQ(regi.CitajHodnotu("ShowTime"), change.showTime);
    }
    // A write merges into what the other program left, never into the old copy in memory.
    regi.ZapisHodnotu("Dopredu", "2");
    EXPECT_EQ(ReadBytes(file), "[Settings]\nShowTime=800\nDopredu=2\n");
    WriteBytes(file, "[Settings]\nShowTime=900\nDopredu=2\n");
    regi.ZapisHodnotu("Upozornenie", "1");
    EXPECT_EQ(ReadBytes(file), "[Settings]\nShowTime=900\nDopredu=2\nUpozornenie=1\n");
}

} // namespace
} // namespace tilava
