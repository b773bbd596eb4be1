#include "exchange/VcardImport.h"

#include "core/Cp1250.h"
#include "core/Utf8.h"
#include "platform/AtomicFile.h"
#include "platform/ReadFileIfExists.h"
#include "platform/SystemErrorText.h"
#include "store/DayFile.h"
#include "store/NotesError.h"
#include "store/uPoznamky.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <functional>
#include <map>
#include <unordered_set>
#include <utility>

namespace tilava {

namespace fs = std::filesystem;
using namespace std::chrono;

namespace {

std::string_view Orez(std::string_view s) {
    const auto start = s.find_first_not_of(" \t");
    if (start == std::string_view::npos) {
        return {};
    }
    return s.substr(start, s.find_last_not_of(" \t") - start + 1);
}

std::string Velke(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return out;
}

std::optional<int> Cislo(std::string_view s) {
    int value = 0;
    if (s.empty() ||
        !std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    std::from_chars(s.data(), s.data() + s.size(), value);
    return value;
}

// The part of a content line before its value: name and parameters.
std::string_view Hlavicka(std::string_view line) {
    return line.substr(0, std::min(line.find(':'), line.size()));
}

// Logical lines with the number of their first physical line. Besides folding, 2.1's
// quoted-printable values go on after a line that ends in "=" (a soft line break).
std::vector<std::pair<int, std::string>> LogickeRiadky(std::string_view bytes) {
    std::vector<std::pair<int, std::string>> lines;
    int number = 0;
    bool mekkyKoniec = false;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t end = bytes.find('\n', pos);
        std::string_view line =
            bytes.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
        pos = end == std::string_view::npos ? bytes.size() : end + 1;
        ++number;
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (mekkyKoniec) {
            lines.back().second.pop_back();
            lines.back().second += line;
        } else if (!lines.empty() && !line.empty() && (line[0] == ' ' || line[0] == '\t')) {
            lines.back().second += line.substr(1);
        } else if (!line.empty()) {
            lines.emplace_back(number, std::string(line));
        }
        mekkyKoniec =
            !lines.empty() && lines.back().second.ends_with('=') &&
            Velke(Hlavicka(lines.back().second)).find("QUOTED-PRINTABLE") != std::string::npos;
    }
    return lines;
}

struct Vlastnost {
    std::string meno;                                           // upper case, without its group
    std::vector<std::pair<std::string, std::string>> parametre; // key upper case ("" when bare)
    std::string value;
};

// Splits at `oddelovac` outside double quotes.
std::vector<std::string_view> Rozdel(std::string_view s, char oddelovac) {
    std::vector<std::string_view> casti;
    bool uvodzovky = false;
    std::size_t od = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '"') {
            uvodzovky = !uvodzovky;
        } else if (s[i] == oddelovac && !uvodzovky) {
            casti.push_back(s.substr(od, i - od));
            od = i + 1;
        }
    }
    casti.push_back(s.substr(od));
    return casti;
}

std::optional<Vlastnost> RozoberRiadok(std::string_view line) {
    bool uvodzovky = false;
    std::size_t dvojbodka = 0;
    for (; dvojbodka < line.size(); ++dvojbodka) {
        if (line[dvojbodka] == '"') {
            uvodzovky = !uvodzovky;
        } else if (line[dvojbodka] == ':' && !uvodzovky) {
            break;
        }
    }
    if (dvojbodka == line.size()) {
        return std::nullopt;
    }
    Vlastnost v;
    const std::vector<std::string_view> casti = Rozdel(line.substr(0, dvojbodka), ';');
    std::string_view meno = casti.front();
    if (const auto bodka = meno.rfind('.'); bodka != std::string_view::npos) {
        meno.remove_prefix(bodka + 1); // "item1.BDAY"
    }
    v.meno = Velke(Orez(meno));
    for (std::size_t i = 1; i < casti.size(); ++i) {
        const auto rovnasa = casti[i].find('=');
        std::string_view key = rovnasa == std::string_view::npos ? "" : casti[i].substr(0, rovnasa);
        std::string_view value =
            rovnasa == std::string_view::npos ? casti[i] : casti[i].substr(rovnasa + 1);
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
            value = value.substr(1, value.size() - 2);
        }
        v.parametre.emplace_back(Velke(Orez(key)), std::string(value));
    }
    v.value = std::string(line.substr(dvojbodka + 1));
    return v;
}

std::string Parameter(const Vlastnost& v, std::string_view key) {
    for (const auto& [k, value] : v.parametre) {
        if (k == key) {
            return value;
        }
    }
    return {};
}

std::string DekodujQuotedPrintable(std::string_view s) {
    auto hex = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        return -1;
    };
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '=' && i + 2 < s.size() && hex(s[i + 1]) >= 0 && hex(s[i + 2]) >= 0) {
            out += static_cast<char>(hex(s[i + 1]) * 16 + hex(s[i + 2]));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

// The value's bytes as UTF-8: quoted-printable undone, a declared single-byte charset decoded.
std::string Text(const Vlastnost& v) {
    bool qp = false;
    for (const auto& [k, value] : v.parametre) {
        if ((k == "ENCODING" || k.empty()) && Velke(value) == "QUOTED-PRINTABLE") {
            qp = true;
        }
    }
    std::string bytes = qp ? DekodujQuotedPrintable(v.value) : v.value;
    const std::string znakova = Velke(Parameter(v, "CHARSET"));
    if (znakova == "WINDOWS-1250" || znakova == "CP1250") {
        return DecodeCp1250(bytes);
    }
    if (znakova == "ISO-8859-1" || znakova == "LATIN1") {
        std::string utf8;
        for (const unsigned char c : bytes) {
            AppendUtf8(utf8, c);
        }
        return utf8;
    }
    return bytes;
}

// Undoes the text escapes of one value (or one component of a structured value).
std::string Odescapuj(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) {
            const char c = s[++i];
            if (c == 'n' || c == 'N') {
                out += '\n';
            } else if (c == ',' || c == ';' || c == '\\' || c == ':') {
                out += c;
            } else {
                out += '\\';
                out += c;
            }
        } else {
            out += s[i];
        }
    }
    return out;
}

// Splits at `oddelovac` where it is not escaped.
std::vector<std::string_view> RozdelNeescapovane(std::string_view s, char oddelovac) {
    std::vector<std::string_view> casti;
    std::size_t od = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\') {
            ++i;
        } else if (s[i] == oddelovac) {
            casti.push_back(s.substr(od, i - od));
            od = i + 1;
        }
    }
    casti.push_back(s.substr(od));
    return casti;
}

// N is "family;given;additional;prefixes;suffixes"; a name reads "prefix given additional
// family suffix".
std::string MenoZN(std::string_view n) {
    const std::vector<std::string_view> zlozky = RozdelNeescapovane(n, ';');
    std::string meno;
    for (const std::size_t i : {3u, 1u, 2u, 0u, 4u}) {
        if (i >= zlozky.size()) {
            continue;
        }
        for (const std::string_view cast : RozdelNeescapovane(zlozky[i], ',')) {
            const std::string word(Orez(Odescapuj(cast)));
            if (!word.empty()) {
                meno += (meno.empty() ? "" : " ") + word;
            }
        }
    }
    return meno;
}

std::string Datum(const BirthDate& d) {
    std::string text = std::to_string(static_cast<unsigned>(d.date.day())) + ". " +
                       std::to_string(static_cast<unsigned>(d.date.month())) + ".";
    if (d.rok != 0) {
        text += " " + std::to_string(d.rok);
    }
    return text;
}

// The first control character of the text (U+0000–U+001F, U+007F–U+009F), if any.
std::optional<char32_t> FirstControlCharacter(std::string_view text) {
    for (const char32_t c : Utf8ToUtf32(text)) {
        if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) {
            return c;
        }
    }
    return std::nullopt;
}

// Why the name cannot become the text of an entry; nothing when it can.
std::optional<std::string> DovodOdmietnutia(const std::string& meno) {
    if (Utf32ToUtf8(Utf8ToUtf32(meno)) != meno) {
        return "meno nie je platný text v kódovaní UTF-8 (súbor kontaktov má zrejme iné "
               "kódovanie), narodeniny sa nepridali.";
    }
    if (meno.find_first_of("\r\n") != std::string::npos) {
        return "meno má viac riadkov a záznam v poznámkach má len jeden, narodeniny sa "
               "nepridali. Opravte meno v kontaktoch.";
    }
    // Control characters show nothing, yet they would reach the notes, the calendar export
    // and the terminal as they are (an escape sequence, a zero byte that hides the rest).
    if (const auto control = FirstControlCharacter(meno)) {
        return "meno obsahuje riadiaci znak " + DescribeCharacter(*control) +
               ", ktorý sa v poznámkach nedá zobraziť, narodeniny sa nepridali. Opravte meno v "
               "kontaktoch.";
    }
    if (const std::size_t length = Utf8Length(meno); length > kLongestEntryText) {
        return "meno má " + std::to_string(length) +
               " znakov, no záznam v poznámkach môže mať "
               "najviac " +
               std::to_string(kLongestEntryText) +
               ", narodeniny sa nepridali. Opravte meno v kontaktoch.";
    }
    if (const auto codePoint = FirstUnencodable(meno)) {
        return "meno obsahuje znak " + DescribeCharacter(*codePoint) +
               ", ktorý sa do súboru poznámok (Windows-1250) nedá uložiť, narodeniny sa "
               "nepridali. Opravte meno v kontaktoch alebo pridajte narodeniny v Tilave ručne.";
    }
    return std::nullopt;
}

// A name or a date as the report shows it: at most 80 characters, so that a name of megabytes
// does not make a report of megabytes. Control characters are shown as codes when the report
// is put together.
std::string Shortened(std::string_view text) {
    constexpr std::size_t kMostCharacters = 80;
    if (Utf8Length(text) <= kMostCharacters) {
        return std::string(text);
    }
    return Utf8Left(text, kMostCharacters) + "…";
}

// The year and name of a birthday, for finding the same birthday among many.
struct BirthdayKey {
    std::int32_t year;
    std::string_view name;
    friend bool operator==(const BirthdayKey&, const BirthdayKey&) = default;
};

struct BirthdayKeyHash {
    std::size_t operator()(const BirthdayKey& k) const noexcept {
        return std::hash<std::string_view>{}(k.name) * 31 + std::hash<std::int32_t>{}(k.year);
    }
};

using BirthdaySet = std::unordered_set<BirthdayKey, BirthdayKeyHash>;

// The first 20 names, and how many more there are.
std::string DayList(const std::vector<std::string>& names) {
    constexpr std::size_t kMostNames = 20;
    std::string text;
    for (std::size_t i = 0; i < names.size() && i < kMostNames; ++i) {
        text += (text.empty() ? "" : ", ") + names[i];
    }
    if (names.size() > kMostNames) {
        text += " a ďalšie (" + std::to_string(names.size() - kMostNames) + ")";
    }
    return text;
}

} // namespace

std::optional<BirthDate> ParseBirthday(std::string_view value) {
    value = Orez(value);
    value = value.substr(0, value.find('T'));
    std::optional<int> rok = 0;
    std::string_view mesiacDen;
    if (value.starts_with("--")) {
        mesiacDen = value.substr(2);
    } else if (value.size() == 10 && value[4] == '-' && value[7] == '-') {
        rok = Cislo(value.substr(0, 4));
        mesiacDen = value.substr(5);
    } else if (value.size() == 8) {
        rok = Cislo(value.substr(0, 4));
        mesiacDen = value.substr(4);
    } else {
        return std::nullopt;
    }
    std::optional<int> m, d;
    if (mesiacDen.size() == 5 && mesiacDen[2] == '-') {
        m = Cislo(mesiacDen.substr(0, 2));
        d = Cislo(mesiacDen.substr(3));
    } else if (mesiacDen.size() == 4) {
        m = Cislo(mesiacDen.substr(0, 2));
        d = Cislo(mesiacDen.substr(2));
    }
    if (!rok || !m || !d) {
        return std::nullopt;
    }
    const month_day date{month{static_cast<unsigned>(*m)}, day{static_cast<unsigned>(*d)}};
    if (!date.ok() || (*rok != 0 && !year_month_day{year{*rok}, date.month(), date.day()}.ok())) {
        return std::nullopt;
    }
    return BirthDate{date, *rok};
}

std::vector<VcardContact> ReadVcards(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    }
    std::vector<VcardContact> contacts;
    VcardContact kontakt;
    std::optional<std::string> fn, n;
    int hlbka = 0; // an embedded card (2.1's AGENT) is not a contact of its own
    for (const auto& [number, line] : LogickeRiadky(bytes)) {
        const std::optional<Vlastnost> v = RozoberRiadok(line);
        if (!v) {
            continue;
        }
        const bool karta = Velke(Orez(v->value)) == "VCARD";
        if (v->meno == "BEGIN" && karta) {
            if (hlbka++ == 0) {
                kontakt = VcardContact{};
                kontakt.line = number;
                fn.reset();
                n.reset();
            }
        } else if (v->meno == "END" && karta) {
            if (hlbka > 0 && --hlbka == 0) {
                kontakt.meno = fn && !fn->empty() ? *fn : n.value_or("");
                contacts.push_back(std::move(kontakt));
            }
        } else if (hlbka == 1) {
            if (v->meno == "FN" && !fn) {
                fn = std::string(Orez(Odescapuj(Text(*v))));
            } else if (v->meno == "N" && !n) {
                n = MenoZN(Text(*v));
            } else if (v->meno == "BDAY" && kontakt.bday.empty()) {
                kontakt.bday = std::string(Orez(Text(*v)));
                kontakt.born = ParseBirthday(kontakt.bday);
                // Some address books write a year-less birthday with a placeholder year and
                // name it in this parameter.
                const std::optional<int> bezRoku = Cislo(Parameter(*v, "X-APPLE-OMIT-YEAR"));
                if (kontakt.born && bezRoku && *bezRoku == kontakt.born->rok) {
                    kontakt.born->rok = 0;
                }
            }
        }
    }
    return contacts;
}

ImportReport ImportContacts(const std::vector<VcardContact>& contacts, const fs::path& folder) {
    ImportReport r;
    r.contactCount = static_cast<int>(contacts.size());
    enum class State { Nic, Pridany, Preskoceny, ErrorPrefix };
    std::vector<std::pair<State, std::string>> results(contacts.size());
    // Contacts by day of birth: each day file is loaded and saved once.
    std::map<std::pair<unsigned, unsigned>, std::vector<std::size_t>> dayList;
    for (std::size_t i = 0; i < contacts.size(); ++i) {
        const VcardContact& k = contacts[i];
        if (k.bday.empty()) {
            ++r.withoutBirthday;
            continue;
        }
        const std::string kto = k.meno.empty() ? "Kontakt na riadku " + std::to_string(k.line)
                                               : "„" + Shortened(k.meno) + "“";
        if (!k.born) {
            results[i] = {State::Preskoceny, kto + ": dátum narodenia „" + Shortened(k.bday) +
                                                 "“ sa nedá prečítať, narodeniny sa nepridali."};
        } else if (k.meno.empty()) {
            results[i] = {State::Preskoceny,
                          kto + " (" + Datum(*k.born) + ") nemá meno, narodeniny sa nepridali."};
        } else if (const auto reason = DovodOdmietnutia(k.meno)) {
            results[i] = {State::ErrorPrefix, kto + " – " + Datum(*k.born) + ": " + *reason};
        } else {
            dayList[{static_cast<unsigned>(k.born->date.month()),
                     static_cast<unsigned>(k.born->date.day())}]
                .push_back(i);
        }
    }

    std::vector<std::string> chybyDni;
    bool saved = false;
    for (const auto& [mesiacDen, indexy] : dayList) {
        auto description = [&](std::size_t i) {
            return Shortened(contacts[i].meno) + " – " + Datum(*contacts[i].born);
        };
        TDayNotes date(folder);
        try {
            // A leap year, so that 29 February has its day file too.
            date.Nacitaj(year{2024} / month{mesiacDen.first} / day{mesiacDen.second});
        } catch (const NotesError& e) {
            std::vector<std::string> names;
            for (const std::size_t i : indexy) {
                names.push_back(description(i));
            }
            chybyDni.push_back(std::string(e.what()) +
                               " Súbor ostal nezmenený a tieto narodeniny "
                               "sa doň nepridali: " +
                               DayList(names) + ".");
            continue;
        }
        // The day's birthdays, and those this import adds: each contact is looked up once.
        BirthdaySet inNotes;
        for (int j = 0; j < date.Pocet(); ++j) {
            const TNote& z = date.Polozka(j);
            if (z.Druh == EntryKind::Narodeniny) {
                inNotes.insert({z.Rok, z.Text});
            }
        }
        BirthdaySet addedNow;
        std::vector<std::size_t> nove;
        for (const std::size_t i : indexy) {
            const VcardContact& k = contacts[i];
            const BirthdayKey key{k.born->rok, k.meno};
            if (inNotes.contains(key)) {
                results[i] = {State::Preskoceny, description(i) + ": už je v poznámkach."};
            } else if (!addedNow.insert(key).second) {
                results[i] = {State::Preskoceny,
                              description(i) + ": v súbore kontaktov je viackrát, pridali sa raz."};
            } else {
                date.Pridaj(TNote{EntryKind::Narodeniny, k.born->rok, true, k.meno});
                nove.push_back(i);
            }
        }
        if (nove.empty()) {
            continue;
        }
        try {
            if (std::string oznam = date.Uloz(FolderFlush::Later); !oznam.empty()) {
                r.notices.push_back(std::move(oznam));
            }
            saved = true;
            for (const std::size_t i : nove) {
                results[i] = {State::Pridany, description(i)};
            }
        } catch (const NotesError& e) {
            std::vector<std::string> names;
            for (const std::size_t i : nove) {
                names.push_back(description(i));
            }
            chybyDni.push_back(std::string(e.what()) +
                               " Tieto narodeniny sa neuložili: " + DayList(names) + ".");
        }
    }
    if (saved) {
        try {
            FlushFolder(folder);
        } catch (const FileError& e) {
            chybyDni.push_back(e.what());
        }
    }

    // The report holds names and paths as the files have them: control characters in them
    // are shown as codes, so that printing the report cannot steer a terminal.
    for (auto& [state, text] : results) {
        switch (state) {
        case State::Pridany:
            r.added.push_back(PrintableText(text));
            break;
        case State::Preskoceny:
            r.skipped.push_back(PrintableText(text));
            break;
        case State::ErrorPrefix:
            r.errors.push_back(PrintableText(text));
            break;
        case State::Nic:
            break;
        }
    }
    for (const std::string& text : chybyDni) {
        r.errors.push_back(PrintableText(text));
    }
    for (std::string& text : r.notices) {
        text = PrintableText(text);
    }
    return r;
}

ImportReport ImportVcardFile(const fs::path& subor, const fs::path& folder) {
    // Even a large address book is a few megabytes.
    constexpr std::uint64_t kNajvacsi = 256 * 1024 * 1024;
    ImportReport r;
    std::optional<std::string> bytes;
    try {
        bytes = ReadFileIfExists(subor, kNajvacsi);
    } catch (const FileError& e) {
        r.errors.push_back(PrintableText(std::string(e.what()) + " Nič sa neimportovalo."));
        return r;
    }
    if (!bytes) {
        r.errors.push_back(PrintableText("Súbor kontaktov „" + PathText(subor) +
                                         "“ neexistuje. Nič sa neimportovalo."));
        return r;
    }
    const std::vector<VcardContact> contacts = ReadVcards(*bytes);
    if (contacts.empty()) {
        r.errors.push_back(PrintableText("Súbor „" + PathText(subor) +
                                         "“ neobsahuje žiadny kontakt vo formáte vCard "
                                         "(BEGIN:VCARD … END:VCARD). Nič sa neimportovalo."));
        return r;
    }
    return ImportContacts(contacts, folder);
}

std::string ImportReport::Text() const {
    std::string text = Succeeded()         ? "Import kontaktov sa podaril.\n"
                       : contactCount == 0 ? "Import kontaktov sa nepodaril.\n"
                                           : "Import kontaktov sa nepodaril celý, pozrite chyby "
                                             "nižšie.\n";
    if (contactCount > 0) {
        text += "Kontaktov v súbore: " + std::to_string(contactCount) +
                ", pridané narodeniny: " + std::to_string(added.size()) +
                ", preskočené: " + std::to_string(skipped.size() + withoutBirthday) +
                ", chyby: " + std::to_string(errors.size()) + ".\n";
    }
    auto list = [&text](const char* nadpis, const std::vector<std::string>& lines) {
        if (lines.empty()) {
            return;
        }
        text += std::string("\n") + nadpis + "\n";
        for (const auto& line : lines) {
            text += "  " + line + "\n";
        }
    };
    list("Pridané narodeniny:", added);
    list("Preskočené:", skipped);
    if (withoutBirthday > 0) {
        text += (skipped.empty() ? "\nPreskočené:\n" : "") +
                std::string("  Kontakty bez "
                            "dátumu narodenia: ") +
                std::to_string(withoutBirthday) + ".\n";
    }
    list("Chyby:", errors);
    list("Zlúčené so zmenami iného programu:", notices);
    return text;
}

} // namespace tilava
