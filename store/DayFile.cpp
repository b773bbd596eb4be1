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
class Riadky {
public:
    explicit Riadky(std::string_view bytes)
        : bytes_(bytes), koniec_(bytes.find('\n') == std::string_view::npos &&
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
        const std::size_t lf = bytes_.find(koniec_, pos_);
        const std::size_t koniec = lf == std::string_view::npos ? bytes_.size() : lf;
        std::string_view riadok = bytes_.substr(pos_, koniec - pos_);
        if (koniec_ == '\n' && lf != std::string_view::npos && !riadok.empty() &&
            riadok.back() == '\r') {
            riadok.remove_suffix(1);
        }
        pos_ = lf == std::string_view::npos ? bytes_.size() : lf + 1;
        return riadok;
    }

private:
    std::string_view bytes_;
    char koniec_;
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
    std::optional<std::string> Text(std::string_view riadok) const {
        if (!utf8_) {
            return DecodeCp1250(riadok);
        }
        std::size_t pos = 0;
        while (pos < riadok.size()) {
            const std::size_t zaciatok = pos;
            if (Utf8Next(riadok, pos) == U'\uFFFD' &&
                riadok.substr(zaciatok, pos - zaciatok) != "\xEF\xBF\xBD") {
                return std::nullopt;
            }
        }
        return std::string(riadok);
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
    std::int64_t hodnota = 0;
    for (const char c : s) {
        hodnota = hodnota * 10 + (c - '0');
        if (hodnota > hranica) {
            return Cislo::MimoRozsahu;
        }
    }
    if (zaporne) {
        hodnota = -hodnota;
    }
    if (hodnota > std::numeric_limits<std::int32_t>::max()) {
        return Cislo::MimoRozsahu;
    }
    out = static_cast<std::int32_t>(hodnota);
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
std::string CoTamJe(const Riadky& riadky, std::string_view riadok) {
    if (riadky.ZaKoncom()) {
        return "súbor sa skončil";
    }
    if (riadok.empty()) {
        return "riadok je prázdny";
    }
    // Only lines that are not a number or a flag get here; bytes that are not UTF-8 are shown
    // as replacement characters either way.
    return "je tam „" + Ukazka(DecodeCp1250(riadok)) + "“";
}

[[noreturn]] void Chybny(const std::filesystem::path& subor, const Riadky& riadky,
                         std::string_view riadok, const std::string& ocakavane) {
    throw NotesError(NotesError::Kind::Format, subor, riadky.Cislo(),
                     ocakavane + ", no " + CoTamJe(riadky, riadok) + ".");
}

std::int32_t CitajCeleCislo(const std::filesystem::path& subor, Riadky& riadky,
                            const std::string& ocakavane) {
    const std::string_view riadok = riadky.Dalsi();
    std::int32_t hodnota = 0;
    switch (CitajCislo(riadok, hodnota)) {
    case Cislo::Ok:
        return hodnota;
    case Cislo::MimoRozsahu:
        throw NotesError(NotesError::Kind::Format, subor, riadky.Cislo(),
                         ocakavane + ", no číslo „" + Ukazka(riadok) +
                             "“ je mimo rozsahu od -2147483648 do 2147483647.");
    case Cislo::NieJeCislo:
        break;
    }
    Chybny(subor, riadky, riadok, ocakavane);
}

} // namespace

void ParseDayFile(std::string_view bytes, const std::filesystem::path& subor, DayFile& den) {
    const bool utf8 = bytes.starts_with(kZnackaUtf8);
    if (utf8) {
        bytes.remove_prefix(kZnackaUtf8.size());
    }
    const Texty texty(utf8);
    Riadky riadky(bytes);
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
        throw NotesError(NotesError::Kind::Format, subor, 1,
                         "súbor je uložený v kódovaní UTF-16, no súbor dňa musí byť v kódovaní "
                         "Windows-1250 (alebo UTF-8). Uložte ho v textovom editore v jednom "
                         "z nich.");
    }
    if (riadky.NaKonci()) {
        return;
    }
    const std::string_view znacka = riadky.Dalsi();
    // A zero byte in the first line means a file that is no text at all (one filled with
    // zeros by a crash of another program, or UTF-16 without its mark): reading on would
    // make up a day without entries.
    if (znacka.find('\0') != std::string_view::npos) {
        throw NotesError(NotesError::Kind::Format, subor, 1,
                         "riadok obsahuje nulový bajt, takže súbor nie je textový súbor dňa.");
    }
    den.Pripomenut = znacka == "!";
    while (!riadky.NaKonci()) {
        TNote zaznam;
        const std::string_view potvrdenie = riadky.Dalsi();
        const std::optional<bool> potvrdena = CitajPotvrdenie(potvrdenie);
        if (!potvrdena) {
            Chybny(subor, riadky, potvrdenie,
                   "očakávalo sa potvrdenie záznamu (číslo ako -1 či 0, alebo True či False)");
        }
        zaznam.Potvrdena = *potvrdena;
        // An unknown kind code leaves the default kind, a birthday.
        switch (
            CitajCeleCislo(subor, riadky, "očakával sa druh záznamu (celé číslo 1, 2 alebo 3)")) {
        case 1:
            zaznam.Druh = TDruh::Poznamka;
            break;
        case 2:
            zaznam.Druh = TDruh::Narodeniny;
            break;
        case 3:
            zaznam.Druh = TDruh::Vyrocie;
            break;
        default:
            break;
        }
        zaznam.Rok = CitajCeleCislo(subor, riadky, "očakával sa rok (celé číslo)");
        std::optional<std::string> text = texty.Text(riadky.Dalsi());
        if (!text) {
            throw NotesError(NotesError::Kind::Format, subor, riadky.Cislo(),
                             "súbor začína značkou kódovania UTF-8, no text na tomto riadku nie "
                             "je platný text UTF-8.");
        }
        zaznam.Text = std::move(*text);
        den.Zaznamy.push_back(std::move(zaznam));
    }
}

std::string FormatDayFile(const DayFile& den, const std::filesystem::path& subor) {
    std::string out;
    out += den.Pripomenut ? "!" : "x";
    out += kKoniecRiadka;
    int poradie = 0;
    for (const TNote& zaznam : den.Zaznamy) {
        ++poradie;
        const std::string ktory =
            "text " + std::to_string(poradie) + ". záznamu („" + Ukazka(zaznam.Text) + "“)";
        // A line feed would end the record early. A carriage return alone reads back as it
        // was, so a file that loads can always be saved again.
        if (zaznam.Text.find('\n') != std::string::npos) {
            throw NotesError(NotesError::Kind::Encoding, subor, 0,
                             ktory + " má viac riadkov, no záznam môže mať len jeden; "
                                     "nič sa neuložilo.");
        }
        std::string text;
        try {
            text = EncodeCp1250(zaznam.Text);
        } catch (const Cp1250Error& e) {
            throw NotesError(NotesError::Kind::Encoding, subor, 0,
                             ktory + " obsahuje znak " + DescribeCharacter(e.znak) +
                                 ", ktorý sa v kódovaní Windows-1250 nedá uložiť; "
                                 "nič sa neuložilo.");
        }
        out += zaznam.Potvrdena ? "-1" : "0";
        out += kKoniecRiadka;
        out += std::to_string(static_cast<int>(zaznam.Druh) + 1);
        out += kKoniecRiadka;
        out += std::to_string(zaznam.Rok);
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

DayFile ZlucDni(const DayFile& zaklad, const DayFile& nase, const DayFile& ich) {
    // Entries are counted, not searched, so that a day of a hundred thousand entries joins
    // in linear time. Equal entries are alike, but their places in a list are not: where an
    // entry goes, the first of its equals goes.
    std::unordered_map<const TNote*, NoteCounts, NoteHash, SameNote> counts;
    counts.reserve(zaklad.Zaznamy.size() + nase.Zaznamy.size() + ich.Zaznamy.size());
    for (const TNote& z : zaklad.Zaznamy) {
        ++counts[&z].base;
    }
    for (const TNote& z : nase.Zaznamy) {
        ++counts[&z].ours;
    }
    for (const TNote& z : ich.Zaznamy) {
        ++counts[&z].theirs;
    }

    for (auto& entry : counts) {
        NoteCounts& c = entry.second;
        c.removedByThem = c.base > c.theirs ? c.base - c.theirs : 0;
        c.keptByThem = std::min(c.base, c.theirs);
        c.addedByUs = c.ours > c.base ? c.ours - c.base : 0;
    }

    DayFile vysledok;
    vysledok.Pripomenut = nase.Pripomenut;
    vysledok.Zaznamy.reserve(nase.Zaznamy.size() + ich.Zaznamy.size());
    for (const TNote& z : nase.Zaznamy) {
        NoteCounts& c = counts.find(&z)->second;
        if (c.removedByThem > 0) {
            --c.removedByThem;
        } else {
            vysledok.Zaznamy.push_back(z);
        }
    }
    // What they added comes after ours.
    for (const TNote& z : ich.Zaznamy) {
        NoteCounts& c = counts.find(&z)->second;
        if (c.keptByThem > 0) {
            --c.keptByThem;
        } else if (c.addedByUs > 0) {
            --c.addedByUs;
        } else {
            vysledok.Zaznamy.push_back(z);
        }
    }
    if (nase.Pripomenut == zaklad.Pripomenut) {
        vysledok.Pripomenut = ich.Pripomenut;
    }
    return vysledok;
}

} // namespace tilava
