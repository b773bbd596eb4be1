#include "store/DayFile.h"

#include "core/Cp1250.h"
#include "core/Utf8.h"
#include "store/NotesError.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <unordered_map>

namespace tilava {

namespace {

constexpr std::string_view kKoniecRiadka = "\r\n";
constexpr std::string_view kZnackaUtf8 = "\xEF\xBB\xBF";

// Hands out the lines of the file one by one; past the end every line is empty, so a last
// record that lacks only its text still loads. Lines end in LF or CR LF; a file with no LF at
// all but with CRs (saved with the line ends of old Macs) has its lines end in CR.
class Lines {
public:
    explicit Lines(std::string_view bytes)
        : bytes_(bytes), quitting_(bytes.find('\n') == std::string_view::npos &&
                                           bytes.find('\r') != std::string_view::npos
                                       ? '\r'
                                       : '\n') {}

    bool NaKonci() const { return pos_ >= bytes_.size(); }
    // Number of the line that Dalsi returned last, from 1.
    int Cislo() const { return cislo_; }
    // The line returned last lay past the end of the file.
    bool ZaKoncom() const { return zaKoncom_; }

    std::string_view Dalsi() {
        ++cislo_;
        zaKoncom_ = NaKonci();
        if (zaKoncom_) {
            return {};
        }
        const std::size_t lf = bytes_.find(quitting_, pos_);
        const std::size_t end = lf == std::string_view::npos ? bytes_.size() : lf;
        std::string_view line = bytes_.substr(pos_, end - pos_);
        if (quitting_ == '\n' && lf != std::string_view::npos && !line.empty() &&
            line.back() == '\r') {
            line.remove_suffix(1);
        }
        pos_ = lf == std::string_view::npos ? bytes_.size() : lf + 1;
        return line;
    }

private:
    std::string_view bytes_;
    char quitting_;
    std::size_t pos_ = 0;
    int cislo_ = 0;
    bool zaKoncom_ = false;
};

// The file's texts: Windows-1250, or UTF-8 when the file begins with the UTF-8 byte-order
// mark (a day file saved by a text editor).
class Texty {
public:
    explicit Texty(bool utf8) : utf8_(utf8) {}
    // The line as UTF-8; nothing when it is not valid UTF-8 in a UTF-8 file.
    std::optional<std::string> Text(std::string_view line) const {
        if (!utf8_) {
            return DecodeCp1250(line);
        }
        std::size_t pos = 0;
        while (pos < line.size()) {
            const std::size_t start = pos;
            if (Utf8Next(line, pos) == U'\uFFFD' &&
                line.substr(start, pos - start) != "\xEF\xBF\xBD") {
                return std::nullopt;
            }
        }
        return std::string(line);
    }

private:
    bool utf8_;
};

// An optional sign and at least one decimal digit.
bool JeCeleCislo(std::string_view s) {
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        s.remove_prefix(1);
    }
    if (s.empty()) {
        return false;
    }
    for (const char c : s) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

enum class Cislo { Ok, NieJeCislo, MimoRozsahu };

Cislo CitajCislo(std::string_view s, std::int32_t& out) {
    if (!JeCeleCislo(s)) {
        return Cislo::NieJeCislo;
    }
    const bool zaporne = s.front() == '-';
    if (s.front() == '+' || s.front() == '-') {
        s.remove_prefix(1);
    }
    // The magnitude of INT32_MIN is one more than INT32_MAX.
    const std::int64_t hranica = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t value = 0;
    for (const char c : s) {
        value = value * 10 + (c - '0');
        if (value > hranica) {
            return Cislo::MimoRozsahu;
        }
    }
    if (zaporne) {
        value = -value;
    }
    if (value > std::numeric_limits<std::int32_t>::max()) {
        return Cislo::MimoRozsahu;
    }
    out = static_cast<std::int32_t>(value);
    return Cislo::Ok;
}

bool RovnakeBezVelkosti(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        if (x >= 'A' && x <= 'Z') {
            x = static_cast<char>(x - 'A' + 'a');
        }
        if (x != b[i]) {
            return false;
        }
    }
    return true;
}

// A number (non-zero is true) or True / False in any letter case.
std::optional<bool> CitajPotvrdenie(std::string_view s) {
    if (JeCeleCislo(s)) {
        return s.find_first_of("123456789") != std::string_view::npos;
    }
    if (RovnakeBezVelkosti(s, "true")) {
        return true;
    }
    if (RovnakeBezVelkosti(s, "false")) {
        return false;
    }
    return std::nullopt;
}

// A piece of text for a message: at most 30 characters, control characters made visible.
std::string Ukazka(std::string_view utf8) {
    constexpr std::size_t kNajviac = 30;
    std::string out;
    for (const char32_t c : Utf8ToUtf32(Utf8Left(utf8, kNajviac))) {
        AppendUtf8(out, (c < 0x20 || c == 0x7F) ? U'\uFFFD' : c);
    }
    if (Utf8Length(utf8) > kNajviac) {
        out += "…";
    }
    return out;
}

// What the line holds instead of what was expected.
std::string CoTamJe(const Lines& lines, std::string_view line) {
    if (lines.ZaKoncom()) {
        return "súbor sa skončil";
    }
    if (line.empty()) {
        return "riadok je prázdny";
    }
    // Only lines that are not a number or a flag get here; bytes that are not UTF-8 are shown
    // as replacement characters either way.
    return "je tam „" + Ukazka(DecodeCp1250(line)) + "“";
}

[[noreturn]] void Chybny(const std::filesystem::path& subor, const Lines& lines,
                         std::string_view line, const std::string& expected) {
    throw NotesError(NotesError::Kind::Format, subor, lines.Cislo(),
                     expected + ", no " + CoTamJe(lines, line) + ".");
}

std::int32_t CitajCeleCislo(const std::filesystem::path& subor, Lines& lines,
                            const std::string& expected) {
    const std::string_view line = lines.Dalsi();
    std::int32_t value = 0;
    switch (CitajCislo(line, value)) {
    case Cislo::Ok:
        return value;
    case Cislo::MimoRozsahu:
        throw NotesError(NotesError::Kind::Format, subor, lines.Cislo(),
                         expected + ", no číslo „" + Ukazka(line) +
                             "“ je mimo rozsahu od -2147483648 do 2147483647.");
    case Cislo::NieJeCislo:
        break;
    }
    Chybny(subor, lines, line, expected);
}

} // namespace

void ParseDayFile(std::string_view bytes, const std::filesystem::path& subor, DayFile& date) {
    const bool utf8 = bytes.starts_with(kZnackaUtf8);
    if (utf8) {
        bytes.remove_prefix(kZnackaUtf8.size());
    }
    const Texty texty(utf8);
    Lines lines(bytes);
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
        throw NotesError(NotesError::Kind::Format, subor, 1,
                         "súbor je uložený v kódovaní UTF-16, no súbor dňa musí byť v kódovaní "
                         "Windows-1250 (alebo UTF-8). Uložte ho v textovom editore v jednom "
                         "z nich.");
    }
    if (lines.NaKonci()) {
        return;
    }
    const std::string_view znacka = lines.Dalsi();
    // A zero byte in the first line means a file that is no text at all (one filled with
    // zeros by a crash of another program, or UTF-16 without its mark): reading on would
    // make up a day without entries.
    if (znacka.find('\0') != std::string_view::npos) {
        throw NotesError(NotesError::Kind::Format, subor, 1,
                         "riadok obsahuje nulový bajt, takže súbor nie je textový súbor dňa.");
    }
    date.Pripomenut = znacka == "!";
    while (!lines.NaKonci()) {
        TNote entry;
        const std::string_view potvrdenie = lines.Dalsi();
        const std::optional<bool> confirmed = CitajPotvrdenie(potvrdenie);
        if (!confirmed) {
            Chybny(subor, lines, potvrdenie,
                   "očakávalo sa potvrdenie záznamu (číslo ako -1 či 0, alebo True či False)");
        }
        entry.Potvrdena = *confirmed;
        // An unknown kind code leaves the default kind, a birthday.
        switch (
            CitajCeleCislo(subor, lines, "očakával sa druh záznamu (celé číslo 1, 2 alebo 3)")) {
        case 1:
            entry.Druh = EntryKind::Poznamka;
            break;
        case 2:
            entry.Druh = EntryKind::Narodeniny;
            break;
        case 3:
            entry.Druh = EntryKind::Vyrocie;
            break;
        default:
            break;
        }
        entry.Rok = CitajCeleCislo(subor, lines, "očakával sa rok (celé číslo)");
        std::optional<std::string> text = texty.Text(lines.Dalsi());
        if (!text) {
            throw NotesError(NotesError::Kind::Format, subor, lines.Cislo(),
                             "súbor začína značkou kódovania UTF-8, no text na tomto riadku nie "
                             "je platný text UTF-8.");
        }
        entry.Text = std::move(*text);
        date.Entries.push_back(std::move(entry));
    }
}

std::string FormatDayFile(const DayFile& date, const std::filesystem::path& subor) {
    std::string out;
    out += date.Pripomenut ? "!" : "x";
    out += kKoniecRiadka;
    int order = 0;
    for (const TNote& entry : date.Entries) {
        ++order;
        const std::string ktory =
            "text " + std::to_string(order) + ". záznamu („" + Ukazka(entry.Text) + "“)";
        // A line feed would end the record early. A carriage return alone reads back as it
        // was, so a file that loads can always be saved again.
        if (entry.Text.find('\n') != std::string::npos) {
            throw NotesError(NotesError::Kind::Encoding, subor, 0,
                             ktory + " má viac riadkov, no záznam môže mať len jeden; "
                                     "nič sa neuložilo.");
        }
        std::string text;
        try {
            text = EncodeCp1250(entry.Text);
        } catch (const Cp1250Error& e) {
            throw NotesError(NotesError::Kind::Encoding, subor, 0,
                             ktory + " obsahuje znak " + DescribeCharacter(e.codePoint) +
                                 ", ktorý sa v kódovaní Windows-1250 nedá uložiť; "
                                 "nič sa neuložilo.");
        }
        out += entry.Potvrdena ? "-1" : "0";
        out += kKoniecRiadka;
        out += std::to_string(static_cast<int>(entry.Druh) + 1);
        out += kKoniecRiadka;
        out += std::to_string(entry.Rok);
        out += kKoniecRiadka;
        out += text;
        out += kKoniecRiadka;
        if (out.size() > kLargestDayFile) {
            throw NotesError(NotesError::Kind::TooLarge, subor, 0,
                             "deň by mal viac ako " +
                                 std::to_string(kLargestDayFile / (1024 * 1024)) +
                                 " MiB, a taký súbor dňa by sa už nedal načítať; nič sa "
                                 "neuložilo a súbor ostal, ako bol. Odstráňte alebo skráťte "
                                 "niektoré záznamy dňa.");
        }
    }
    return out;
}

std::size_t NoteHash::operator()(const TNote& note) const noexcept {
    std::size_t h = std::hash<std::string>{}(note.Text);
    const std::uint64_t rest = (std::uint64_t{static_cast<std::uint32_t>(note.Rok)} << 16) |
                               (std::uint64_t{static_cast<std::uint8_t>(note.Druh)} << 8) |
                               (note.Potvrdena ? 1u : 0u);
    return h ^ (std::hash<std::uint64_t>{}(rest) + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2));
}

namespace {

// How often one entry is in each version of the day, and what the join does with it.
struct NoteCounts {
    std::size_t base = 0, ours = 0, theirs = 0;
    std::size_t removedByThem = 0; // of ours, the first so many go: they removed or changed them
    std::size_t keptByThem = 0;    // of theirs, the first so many are the base's, not new
    std::size_t addedByUs = 0;     // of their new ones, so many we added alike: there once
};

} // namespace

DayFile MergeDays(const DayFile& base, const DayFile& ours, const DayFile& theirs) {
    // Entries are counted, not searched, so that a day of a hundred thousand entries joins
    // in linear time. Equal entries are alike, but their places in a list are not: where an
    // entry goes, the first of its equals goes.
    std::unordered_map<const TNote*, NoteCounts, NoteHash, SameNote> counts;
    counts.reserve(base.Entries.size() + ours.Entries.size() + theirs.Entries.size());
    for (const TNote& z : base.Entries) {
        ++counts[&z].base;
    }
    for (const TNote& z : ours.Entries) {
        ++counts[&z].ours;
    }
    for (const TNote& z : theirs.Entries) {
        ++counts[&z].theirs;
    }

    for (auto& entry : counts) {
        NoteCounts& c = entry.second;
        c.removedByThem = c.base > c.theirs ? c.base - c.theirs : 0;
        c.keptByThem = std::min(c.base, c.theirs);
        c.addedByUs = c.ours > c.base ? c.ours - c.base : 0;
    }

    DayFile result;
    result.Pripomenut = ours.Pripomenut;
    result.Entries.reserve(ours.Entries.size() + theirs.Entries.size());
    for (const TNote& z : ours.Entries) {
        NoteCounts& c = counts.find(&z)->second;
        if (c.removedByThem > 0) {
            --c.removedByThem;
        } else {
            result.Entries.push_back(z);
        }
    }
    // What they added comes after ours.
    for (const TNote& z : theirs.Entries) {
        NoteCounts& c = counts.find(&z)->second;
        if (c.keptByThem > 0) {
            --c.keptByThem;
        } else if (c.addedByUs > 0) {
            --c.addedByUs;
        } else {
            result.Entries.push_back(z);
        }
    }
    if (ours.Pripomenut == base.Pripomenut) {
        result.Pripomenut = theirs.Pripomenut;
    }
    return result;
}

} // namespace tilava
