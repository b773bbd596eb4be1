#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tilava {

// A day of birth read from a vCard BDAY value. `rok` is 0 when the card gives no year: the
// entry editor shows a birthday of year 0 with an empty year field, so the user can add it.
struct BirthDate {
    std::chrono::month_day date;
    std::int32_t rok = 0;

    friend bool operator==(const BirthDate&, const BirthDate&) = default;
};

// YYYY-MM-DD, YYYYMMDD, --MM-DD and --MMDD, with any time part after "T" ignored. Nothing for
// another form ("1980-03", free text) or a day that does not exist (1981-02-29).
std::optional<BirthDate> ParseBirthday(std::string_view value);

// One card of a vCard file.
struct VcardContact {
    int line = 0;                  // the line of its BEGIN:VCARD, counted from 1
    std::string meno;              // FN, else the parts of N; UTF-8 as the file has it
    std::string bday;              // the BDAY value as written; empty when the card has none
    std::optional<BirthDate> born; // BDAY read; nothing when missing or unreadable
};

// The cards of a vCard file (3.0 and 4.0; 2.1's quoted-printable texts are read too). Lines
// end in CR LF or LF; a line starting with a space or a tab continues the one before. Property
// groups ("item1.BDAY") and parameters are accepted; text escapes (\, \; \n \\) are undone.
std::vector<VcardContact> ReadVcards(std::string_view bytes);

// What an import did, in the order of the cards. The texts are Slovak, for the user.
struct ImportReport {
    std::vector<std::string> added;   // "Jano Novák – 5. 3. 1980"
    std::vector<std::string> skipped; // already there, no name, an unreadable birthday
    std::vector<std::string> errors;  // refused names, unreadable files, failed saves
    std::vector<std::string> notices; // days joined with another program's changes
    int withoutBirthday = 0;          // cards without a birthday, left out
    int contactCount = 0;             // cards read

    bool Succeeded() const { return errors.empty(); }
    std::string Text() const;
};

// Adds the birthdays of the contacts to their day files in `folder` through the notes
// store, as confirmed birthdays: each day is loaded once, joined with its new entries and
// saved once. A birthday the day already holds (same year and name) is skipped; a name that
// Windows-1250 cannot hold, that holds a control character or that is longer than an entry
// may be (kLongestEntryText) is refused; a day whose file cannot be read, or would grow past
// the size a day file may have, is left untouched. The report's texts hold no control
// characters (they are shown as codes, see PrintableText).
ImportReport ImportContacts(const std::vector<VcardContact>& contacts,
                            const std::filesystem::path& folder);

// Reads the vCard file and imports its contacts; a file that cannot be read (or holds no card)
// is a failure and imports nothing.
ImportReport ImportVcardFile(const std::filesystem::path& subor,
                             const std::filesystem::path& folder);

} // namespace tilava
