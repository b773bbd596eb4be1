#include "exchange/VcardImport.h"

#include "core/Utf8.h"
#include "store/uPoznamky.h"

#include "support/FileBytes.h"
#include "support/TempFolder.h"
#include "support/TempNotes.h"

#include <gtest/gtest.h>

#include <optional>

namespace tilava {
namespace {

using namespace std::chrono;
using test::FolderSnapshot;

TEST(ParseBirthdayTest, FormsOfBday) {
    const struct {
        const char* value;
        std::optional<BirthDate> born;
    } cases[] = {
        {"1980-03-05", BirthDate{March / 5, 1980}},
        {"19800305", BirthDate{March / 5, 1980}},
        {"--03-05", BirthDate{March / 5, 0}},
        {"--0305", BirthDate{March / 5, 0}},
        {"1980-03-05T10:30:00Z", BirthDate{March / 5, 1980}},
        {"19800305T103000", BirthDate{March / 5, 1980}},
        {" --02-29 ", BirthDate{February / 29, 0}},
        {"2000-02-29", BirthDate{February / 29, 2000}},
        {"1981-02-29", std::nullopt}, // no such day
        {"1980-13-01", std::nullopt},
        {"--04-31", std::nullopt},
        {"1980-03", std::nullopt}, // no day
        {"---05", std::nullopt},
        {"circa 1800", std::nullopt},
        {"198O0305", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& p : cases) {
        EXPECT_EQ(ParseBirthday(p.value), p.born) << p.value;
    }
}

// The day file bytes that an import leaves, for the kinds of vCard files address books write.
TEST(VcardImportTest, DayFilesAfterImport) {
    const std::string jano1980 = "!\r\n-1\r\n2\r\n1980\r\nJano\r\n";
    // A record that breaks off in its year: the day cannot be read.
    const std::string broken = "!\r\n-1\r\n2\r\nx1980\r\nJano\r\n";
    // Names as long as an entry may be, and one longer.
    const std::string longestName(kLongestEntryText, 'b');
    const std::string tooLongName(kLongestEntryText + 1, 'a');
    auto card = [](const std::string& name, const char* born) {
        return "BEGIN:VCARD\nFN:" + name + "\nBDAY:" + born + "\nEND:VCARD\n";
    };
    // 130 names of the longest length on one day make a file of more than 4 MiB.
    std::string hugeDay;
    for (int i = 0; i < 130; ++i) {
        hugeDay += card(std::to_string(i) + longestName.substr(3), "1980-03-05");
    }
    std::string controlNames;
    for (const char* name : {"Jano\x1B[2J", "Be\al", "Vl\vk", "Fe\fro", "Ta\tbu", "De\x7Fl",
                             "Csi\xC2\x9B"
                             "2J",
                             "Posledn\xC3\xBD\x1B"}) {
        controlNames += card(name, "1990-01-01");
    }
    controlNames += card(std::string("Nu\0l", 4), "1990-01-01") + card("Eva", "1990-01-01");
    const struct {
        const char* name;
        FolderSnapshot before;            // day files before the import
        std::optional<std::string> vcard; // nothing: the file does not exist
        FolderSnapshot after;
        bool success;
        std::size_t added, skipped, errors;
        std::string inMessage; // found in the report
    } cases[] = {
        // clang-format off
        {"3.0 with CR LF, folding, a group, a parameter and a time",
         {}, "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Nov\xC3\xA1k;J\xC3\xA1n;;;\r\nFN:J\xC3\xA1n\r\n"
         "  Nov\xC3\xA1k\r\nitem1.BDAY;VALUE=date:1980-03-05T10:00:00Z\r\nitem1.X-ABLabel:x\r\n"
         "END:VCARD\r\n",
         {{"0305.txt", "!\r\n-1\r\n2\r\n1980\r\nJ\xE1n Nov\xE1k\r\n"}},
         true, 1, 0, 0,
         "Ján Novák – 5. 3. 1980"},
        {"4.0 with LF, --MM-DD, N without FN, a tab fold",
         {}, "BEGIN:VCARD\nVERSION:4.0\nN:Kov\xC3\xA1\xC4\x8D\n\tov\xC3\xA1;Eva;;Ing.;\n"
         "BDAY:--02-29\nEND:VCARD\n",
         {{"0229.txt", "!\r\n-1\r\n2\r\n0\r\nIng. Eva Kov\xE1\xE8ov\xE1\r\n"}},
         true, 1, 0, 0,
         "Ing. Eva Kováčová – 29. 2."},
        {"YYYYMMDD, escapes, quoted-printable with a soft line break, no birthday",
         {},
         "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Peter\\, ml.\\; \\\\ 2\r\nBDAY:19991231\r\nEND:VCARD\r\n"
         "BEGIN:VCARD\r\nVERSION:2.1\r\nFN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=C5=BDofia =\r\n"
         "=C5=A0t=C3=BAr\r\nBDAY:1970-01-01\r\nEND:VCARD\r\n"
         "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Bez d\xC3\xA1tumu\r\nEND:VCARD\r\n",
         {{"1231.txt", "!\r\n-1\r\n2\r\n1999\r\nPeter, ml.; \\ 2\r\n"},
          {"0101.txt", "!\r\n-1\r\n2\r\n1970\r\n\x8E"
                       "ofia \x8At\xFAr\r\n"}},
         true, 2, 0, 0,
         "Kontakty bez dátumu narodenia: 1"},
        {"a birthday the day has, twice in the file, and one of another year",
         {{"0305.txt", "x\r\n-1\r\n2\r\n1980\r\nJano\r\n0\r\n1\r\n2024\r\nZub\xE1r\r\n"}},
         "BEGIN:VCARD\nFN:Jano\nBDAY:1980-03-05\nEND:VCARD\n"
         "BEGIN:VCARD\nFN:Jano\nBDAY:1981-03-05\nEND:VCARD\n"
         "BEGIN:VCARD\nFN:Jano\nBDAY:19810305\nEND:VCARD\n",
         {{"0305.txt", "x\r\n-1\r\n2\r\n1980\r\nJano\r\n0\r\n1\r\n2024\r\nZub\xE1r\r\n"
                       "-1\r\n2\r\n1981\r\nJano\r\n"}},
         true, 1, 2, 0,
         "Jano – 5. 3. 1980: už je v poznámkach."},
        {"a name Windows-1250 cannot hold is refused, its day still gets the others",
         {}, "BEGIN:VCARD\nFN:Li \xE2\x98\x83\nBDAY:1990-01-01\nEND:VCARD\n"
         "BEGIN:VCARD\nFN:Eva\nBDAY:1990-01-01\nEND:VCARD\n",
         {{"0101.txt", "!\r\n-1\r\n2\r\n1990\r\nEva\r\n"}},
         false, 1, 0, 1,
         "„Li ☃“ – 1. 1. 1990: meno obsahuje znak „☃“ (U+2603)"},
        {"a day file that cannot be read stays as it is, the other days are imported",
         {{"0305.txt", broken}},
         "BEGIN:VCARD\nFN:Eva\nBDAY:1980-03-05\nEND:VCARD\n"
         "BEGIN:VCARD\nFN:Jano\nBDAY:1980-03-06\nEND:VCARD\n",
         {{"0305.txt", broken}, {"0306.txt", jano1980}},
         false, 1, 0, 1,
         "0305.txt"},
        {"control characters in names are refused and shown as codes in the report",
         {}, controlNames,
         {{"0101.txt", "!\r\n-1\r\n2\r\n1990\r\nEva\r\n"}},
         false, 1, 0, 9,
         "„JanoU+001B[2J“ – 1. 1. 1990: meno obsahuje riadiaci znak U+001B, ktorý sa v "
         "poznámkach nedá zobraziť, narodeniny sa nepridali."},
        {"a name longer than an entry may be is refused, one as long as it may be is added",
         {}, card(tooLongName, "1990-01-01") + card(longestName, "1990-01-01"),
         {{"0101.txt", "!\r\n-1\r\n2\r\n1990\r\n" + longestName + "\r\n"}},
         false, 1, 0, 1,
         "„" + tooLongName.substr(0, 80) +
             "…“ – 1. 1. 1990: meno má 32768 znakov, no záznam v "
             "poznámkach môže mať najviac 32767"},
        {"a day that would grow past the size of a day file keeps its file as it was",
         {{"0305.txt", jano1980}},
         hugeDay,
         {{"0305.txt", jano1980}},
         false, 0, 0, 1,
         "0305.txt“: deň by mal viac ako 4 MiB, a taký súbor dňa by sa už nedal načítať; nič sa "
         "neuložilo a súbor ostal, ako bol."},
        {"an unreadable birthday and a card without a name are skipped",
         {}, "BEGIN:VCARD\nFN:Eva\nBDAY;VALUE=text:circa 1800\nEND:VCARD\n"
         "BEGIN:VCARD\nBDAY:1980-03-05\nEND:VCARD\n",
         {},
         true, 0, 2, 0,
         "Kontakt na riadku 5 (5. 3. 1980) nemá meno"},
        {"a file that is not a vCard imports nothing",
         {}, "Meno;Datum\nJano;1980-03-05\n",
         {},
         false, 0, 0, 1,
         "neobsahuje žiadny kontakt"},
        {"a missing vCard file imports nothing",
         {}, std::nullopt,
         {},
         false, 0, 0, 1,
         "neexistuje"},
        // clang-format on
    };
    for (const auto& p : cases) {
        SCOPED_TRACE(p.name);
        const test::TempFolder folder("tilava-vcard");
        const test::TempFolder contacts("tilava-vcf");
        for (const auto& [subor, bytes] : p.before) {
            test::WriteBytes(folder / subor, bytes);
        }
        if (p.vcard) {
            test::WriteBytes(contacts / "kontakty.vcf", *p.vcard);
        }
        const ImportReport r = ImportVcardFile(contacts / "kontakty.vcf", folder.Path());
        EXPECT_EQ(test::SnapshotWithout(folder.Path(), std::string(kNotesLockName)), p.after);
        EXPECT_EQ(r.Succeeded(), p.success);
        EXPECT_EQ(r.added.size(), p.added);
        EXPECT_EQ(r.skipped.size(), p.skipped);
        EXPECT_EQ(r.errors.size(), p.errors);
        EXPECT_NE(r.Text().find(p.inMessage), std::string::npos) << r.Text();
        EXPECT_EQ(PrintableText(r.Text()), r.Text()) << "a raw control character in the report";
    }
}

} // namespace
} // namespace tilava
