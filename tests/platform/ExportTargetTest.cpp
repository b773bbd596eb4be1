#include "platform/ExportTarget.h"

#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace tilava;
using namespace tilava::test;

namespace {

namespace fs = std::filesystem;

// Which targets an export replaces, as the export does it: the check, then the save. The
// notes folder is "ZelmTilava" and the settings folder "ZELMtilava" (two folders on Linux,
// one on Windows, where names do not differ by case).
TEST(ExportTarget, ReplacesOnlyWhatAnExportMay) {
    constexpr bool kWindows =
#ifdef _WIN32
        true;
#else
        false;
#endif
    const std::string vcard = "BEGIN:VCARD\r\nFN:Eva\r\nEND:VCARD\r\n";
    const struct {
        const char* name;
        const char* target; // under the test's folder
        const char* before; // the target's bytes first; nullptr: none, "/": a folder
        ExistingExport existing;
        bool replaced;
    } cases[] = {
        {"new file beside", "out/Tilava.ics", nullptr, ExistingExport::CalendarOnly, true},
        {"day file", "ZelmTilava/0305.txt", "!\r\n", ExistingExport::Any, false},
        {"new file in the notes folder", "ZelmTilava/Tilava.ics", nullptr, ExistingExport::Any,
         false},
        {"deeper in the notes folder", "ZelmTilava/x/Tilava.ics", nullptr, ExistingExport::Any,
         false},
        {"the notes folder through ..", "out/../ZelmTilava/Tilava.ics", nullptr,
         ExistingExport::Any, false},
        {"another spelling of the notes folder", "ZELMTILAVA/Tilava.ics", nullptr,
         ExistingExport::Any, !kWindows},
        {"a folder that only starts alike", "ZelmTilava-old/Tilava.ics", nullptr,
         ExistingExport::CalendarOnly, true},
        {"settings file", "ZELMtilava/settings.ini", "[x]\n", ExistingExport::Any, false},
        {"a folder", "out/folder.ics", "/", ExistingExport::Any, false},
        {"address book", "out/kontakty.vcf", vcard.c_str(), ExistingExport::CalendarOnly, false},
        {"address book, confirmed", "out/kontakty.vcf", vcard.c_str(), ExistingExport::Any, true},
        {"calendar", "out/old.ics", "BEGIN:VCALENDAR\r\nEND:VCALENDAR\r\n",
         ExistingExport::CalendarOnly, true},
        {"calendar after a mark and blanks", "out/old.ics",
         "\xEF\xBB\xBF \r\n\tbegin:vcalendar\r\n", ExistingExport::CalendarOnly, true},
        {"empty file", "out/empty.ics", "", ExistingExport::CalendarOnly, true},
        {"blanks only", "out/blank.ics", " \r\n", ExistingExport::CalendarOnly, false},
        {"calendar later in the file", "out/notes.txt", "x\r\nBEGIN:VCALENDAR\r\n",
         ExistingExport::CalendarOnly, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder root;
        for (const char* folder : {"out", "ZelmTilava", "ZELMtilava", "ZelmTilava-old"}) {
            fs::create_directories(root / folder);
        }
        const fs::path target = root / c.target;
        if (c.before != nullptr && std::string(c.before) == "/") {
            fs::create_directories(target);
        } else if (c.before != nullptr) {
            WriteBytes(target, c.before);
        }
        bool refused = false;
        try {
            CheckExportTarget(target, {root / "ZelmTilava", root / "ZELMtilava"}, c.existing);
            fs::create_directories(target.parent_path());
            ReplaceFileAtomically(target, "BEGIN:VCALENDAR\r\nNEW\r\n", tilava::FolderFlush::Now,
                                  kExportSaveRules);
        } catch (const FileError& error) {
            refused = true;
            EXPECT_NE(std::string(error.what()).find("ostal nezmenený"), std::string::npos)
                << error.what();
        }
        EXPECT_EQ(refused, !c.replaced);
        std::error_code ec;
        if (c.replaced) {
            EXPECT_EQ(ReadBytes(target), "BEGIN:VCALENDAR\r\nNEW\r\n");
        } else if (c.before == nullptr) {
            EXPECT_FALSE(fs::exists(target, ec));
        } else if (std::string(c.before) == "/") {
            EXPECT_TRUE(fs::is_directory(target, ec));
        } else {
            EXPECT_EQ(ReadBytes(target), c.before);
        }
    }
}

} // namespace
