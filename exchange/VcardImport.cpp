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
    const auto zaciatok = s.find_first_not_of(" \t");
    if (zaciatok == std::string_view::npos) {
        return {};
    }
    return s.substr(zaciatok, s.find_last_not_of(" \t") - zaciatok + 1);
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
    int hodnota = 0;
    if (s.empty() ||
        !std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    std::from_chars(s.data(), s.data() + s.size(), hodnota);
    return hodnota;
}

// The part of a content line before its value: name and parameters.
std::string_view Hlavicka(std::string_view riadok) {
    return riadok.substr(0, std::min(riadok.find(':'), riadok.size()));
}

// Logical lines with the number of their first physical line. Besides folding, 2.1's
// quoted-printable values go on after a line that ends in "=" (a soft line break).
std::vector<std::pair<int, std::string>> LogickeRiadky(std::string_view bajty) {
    std::vector<std::pair<int, std::string>> riadky;
    int cislo = 0;
    bool mekkyKoniec = false;
    std::size_t pos = 0;
    while (pos < bajty.size()) {
        const std::size_t koniec = bajty.find('\n', pos);
        std::string_view riadok = bajty.substr(
            pos, koniec == std::string_view::npos ? std::string_view::npos : koniec - pos);
        pos = koniec == std::string_view::npos ? bajty.size() : koniec + 1;
        ++cislo;
        if (riadok.ends_with('\r')) {
            riadok.remove_suffix(1);
        }
        if (mekkyKoniec) {
            riadky.back().second.pop_back();
            riadky.back().second += riadok;
        } else if (!riadky.empty() && !riadok.empty() && (riadok[0] == ' ' || riadok[0] == '\t')) {
            riadky.back().second += riadok.substr(1);
        } else if (!riadok.empty()) {
            riadky.emplace_back(cislo, std::string(riadok));
        }
        mekkyKoniec =
            !riadky.empty() && riadky.back().second.ends_with('=') &&
            Velke(Hlavicka(riadky.back().second)).find("QUOTED-PRINTABLE") != std::string::npos;
    }
    return riadky;
}

struct Vlastnost {
    std::string meno;                                           // upper case, without its group
    std::vector<std::pair<std::string, std::string>> parametre; // key upper case ("" when bare)
    std::string hodnota;
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

std::optional<Vlastnost> RozoberRiadok(std::string_view riadok) {
    bool uvodzovky = false;
    std::size_t dvojbodka = 0;
    for (; dvojbodka < riadok.size(); ++dvojbodka) {
        if (riadok[dvojbodka] == '"') {
            uvodzovky = !uvodzovky;
        } else if (riadok[dvojbodka] == ':' && !uvodzovky) {
            break;
        }
    }
    if (dvojbodka == riadok.size()) {
        return std::nullopt;
    }
    Vlastnost v;
    const std::vector<std::string_view> casti = Rozdel(riadok.substr(0, dvojbodka), ';');
    std::string_view meno = casti.front();
    if (const auto bodka = meno.rfind('.'); bodka != std::string_view::npos) {
        meno.remove_prefix(bodka + 1); // "item1.BDAY"
    }
    v.meno = Velke(Orez(meno));
    for (std::size_t i = 1; i < casti.size(); ++i) {
        const auto rovnasa = casti[i].find('=');
        std::string_view key = rovnasa == std::string_view::npos ? "" : casti[i].substr(0, rovnasa);
        std::string_view hodnota =
            rovnasa == std::string_view::npos ? casti[i] : casti[i].substr(rovnasa + 1);
        if (hodnota.size() >= 2 && hodnota.front() == '"' && hodnota.back() == '"') {
            hodnota = hodnota.substr(1, hodnota.size() - 2);
        }
        v.parametre.emplace_back(Velke(Orez(key)), std::string(hodnota));
    }
    v.hodnota = std::string(riadok.substr(dvojbodka + 1));
    return v;
}

std::string Parameter(const Vlastnost& v, std::string_view key) {
    for (const auto& [k, hodnota] : v.parametre) {
        if (k == key) {
            return hodnota;
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
    for (const auto& [k, hodnota] : v.parametre) {
        if ((k == "ENCODING" || k.empty()) && Velke(hodnota) == "QUOTED-PRINTABLE") {
            qp = true;
        }
    }
    std::string bajty = qp ? DekodujQuotedPrintable(v.hodnota) : v.hodnota;
    const std::string znakova = Velke(Parameter(v, "CHARSET"));
    if (znakova == "WINDOWS-1250" || znakova == "CP1250") {
        return DecodeCp1250(bajty);
    }
    if (znakova == "ISO-8859-1" || znakova == "LATIN1") {
        std::string utf8;
        for (const unsigned char c : bajty) {
            AppendUtf8(utf8, c);
        }
        return utf8;
    }
    return bajty;
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
            const std::string slovo(Orez(Odescapuj(cast)));
            if (!slovo.empty()) {
                meno += (meno.empty() ? "" : " ") + slovo;
            }
        }
    }
    return meno;
}

std::string Datum(const BirthDate& d) {
    std::string text = std::to_string(static_cast<unsigned>(d.den.day())) + ". " +
                       std::to_string(static_cast<unsigned>(d.den.month())) + ".";
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
    if (const auto znak = FirstUnencodable(meno)) {
        return "meno obsahuje znak " + DescribeCharacter(*znak) +
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
std::string Zoznam(const std::vector<std::string>& mena) {
    constexpr std::size_t kMostNames = 20;
    std::string text;
    for (std::size_t i = 0; i < mena.size() && i < kMostNames; ++i) {
        text += (text.empty() ? "" : ", ") + mena[i];
    }
    if (mena.size() > kMostNames) {
        text += " a ďalšie (" + std::to_string(mena.size() - kMostNames) + ")";
    }
    return text;
}

} // namespace

std::optional<BirthDate> ParseBirthday(std::string_view hodnota) {
    hodnota = Orez(hodnota);
    hodnota = hodnota.substr(0, hodnota.find('T'));
    std::optional<int> rok = 0;
    std::string_view mesiacDen;
    if (hodnota.starts_with("--")) {
        mesiacDen = hodnota.substr(2);
    } else if (hodnota.size() == 10 && hodnota[4] == '-' && hodnota[7] == '-') {
        rok = Cislo(hodnota.substr(0, 4));
        mesiacDen = hodnota.substr(5);
    } else if (hodnota.size() == 8) {
        rok = Cislo(hodnota.substr(0, 4));
        mesiacDen = hodnota.substr(4);
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
    const month_day den{month{static_cast<unsigned>(*m)}, day{static_cast<unsigned>(*d)}};
    if (!den.ok() || (*rok != 0 && !year_month_day{year{*rok}, den.month(), den.day()}.ok())) {
        return std::nullopt;
    }
    return BirthDate{den, *rok};
}

std::vector<VcardContact> ReadVcards(std::string_view bajty) {
    if (bajty.starts_with("\xEF\xBB\xBF")) {
        bajty.remove_prefix(3);
    }
    std::vector<VcardContact> kontakty;
    VcardContact kontakt;
    std::optional<std::string> fn, n;
    int hlbka = 0; // an embedded card (2.1's AGENT) is not a contact of its own
    for (const auto& [cislo, riadok] : LogickeRiadky(bajty)) {
        const std::optional<Vlastnost> v = RozoberRiadok(riadok);
        if (!v) {
            continue;
        }
        const bool karta = Velke(Orez(v->hodnota)) == "VCARD";
        if (v->meno == "BEGIN" && karta) {
            if (hlbka++ == 0) {
                kontakt = VcardContact{};
                kontakt.riadok = cislo;
                fn.reset();
                n.reset();
            }
        } else if (v->meno == "END" && karta) {
            if (hlbka > 0 && --hlbka == 0) {
                kontakt.meno = fn && !fn->empty() ? *fn : n.value_or("");
                kontakty.push_back(std::move(kontakt));
            }
        } else if (hlbka == 1) {
            if (v->meno == "FN" && !fn) {
                fn = std::string(Orez(Odescapuj(Text(*v))));
            } else if (v->meno == "N" && !n) {
                n = MenoZN(Text(*v));
            } else if (v->meno == "BDAY" && kontakt.bday.empty()) {
                kontakt.bday = std::string(Orez(Text(*v)));
                kontakt.narodeny = ParseBirthday(kontakt.bday);
                // Some address books write a year-less birthday with a placeholder year and
                // name it in this parameter.
                const std::optional<int> bezRoku = Cislo(Parameter(*v, "X-APPLE-OMIT-YEAR"));
                if (kontakt.narodeny && bezRoku && *bezRoku == kontakt.narodeny->rok) {
                    kontakt.narodeny->rok = 0;
                }
            }
        }
    }
    return kontakty;
}

ImportReport ImportContacts(const std::vector<VcardContact>& kontakty, const fs::path& priecinok) {
    ImportReport r;
    r.kontaktov = static_cast<int>(kontakty.size());
    enum class Stav { Nic, Pridany, Preskoceny, Chyba };
    std::vector<std::pair<Stav, std::string>> vysledky(kontakty.size());
    // Contacts by day of birth: each day file is loaded and saved once.
    std::map<std::pair<unsigned, unsigned>, std::vector<std::size_t>> dni;
    for (std::size_t i = 0; i < kontakty.size(); ++i) {
        const VcardContact& k = kontakty[i];
        if (k.bday.empty()) {
            ++r.bezNarodenin;
            continue;
        }
        const std::string kto = k.meno.empty() ? "Kontakt na riadku " + std::to_string(k.riadok)
                                               : "„" + Shortened(k.meno) + "“";
        if (!k.narodeny) {
            vysledky[i] = {Stav::Preskoceny, kto + ": dátum narodenia „" + Shortened(k.bday) +
                                                 "“ sa nedá prečítať, narodeniny sa nepridali."};
        } else if (k.meno.empty()) {
            vysledky[i] = {Stav::Preskoceny, kto + " (" + Datum(*k.narodeny) +
                                                 ") nemá meno, narodeniny sa nepridali."};
        } else if (const auto dovod = DovodOdmietnutia(k.meno)) {
            vysledky[i] = {Stav::Chyba, kto + " – " + Datum(*k.narodeny) + ": " + *dovod};
        } else {
            dni[{static_cast<unsigned>(k.narodeny->den.month()),
                 static_cast<unsigned>(k.narodeny->den.day())}]
                .push_back(i);
        }
    }

    std::vector<std::string> chybyDni;
    bool ulozene = false;
    for (const auto& [mesiacDen, indexy] : dni) {
        auto popis = [&](std::size_t i) {
            return Shortened(kontakty[i].meno) + " – " + Datum(*kontakty[i].narodeny);
        };
        TDayNotes den(priecinok);
        try {
            // A leap year, so that 29 February has its day file too.
            den.Nacitaj(year{2024} / month{mesiacDen.first} / day{mesiacDen.second});
        } catch (const NotesError& e) {
            std::vector<std::string> mena;
            for (const std::size_t i : indexy) {
                mena.push_back(popis(i));
            }
            chybyDni.push_back(std::string(e.what()) +
                               " Súbor ostal nezmenený a tieto narodeniny "
                               "sa doň nepridali: " +
                               Zoznam(mena) + ".");
            continue;
        }
        // The day's birthdays, and those this import adds: each contact is looked up once.
        BirthdaySet inNotes;
        for (int j = 0; j < den.Pocet(); ++j) {
            const TNote& z = den.Polozka(j);
            if (z.Druh == TDruh::Narodeniny) {
                inNotes.insert({z.Rok, z.Text});
            }
        }
        BirthdaySet addedNow;
        std::vector<std::size_t> nove;
        for (const std::size_t i : indexy) {
            const VcardContact& k = kontakty[i];
            const BirthdayKey key{k.narodeny->rok, k.meno};
            if (inNotes.contains(key)) {
                vysledky[i] = {Stav::Preskoceny, popis(i) + ": už je v poznámkach."};
            } else if (!addedNow.insert(key).second) {
                vysledky[i] = {Stav::Preskoceny,
                               popis(i) + ": v súbore kontaktov je viackrát, pridali sa raz."};
            } else {
                den.Pridaj(TNote{TDruh::Narodeniny, k.narodeny->rok, true, k.meno});
                nove.push_back(i);
            }
        }
        if (nove.empty()) {
            continue;
        }
        try {
            if (std::string oznam = den.Uloz(FolderFlush::Later); !oznam.empty()) {
                r.oznamenia.push_back(std::move(oznam));
            }
            ulozene = true;
            for (const std::size_t i : nove) {
                vysledky[i] = {Stav::Pridany, popis(i)};
            }
        } catch (const NotesError& e) {
            std::vector<std::string> mena;
            for (const std::size_t i : nove) {
                mena.push_back(popis(i));
            }
            chybyDni.push_back(std::string(e.what()) +
                               " Tieto narodeniny sa neuložili: " + Zoznam(mena) + ".");
        }
    }
    if (ulozene) {
        try {
            FlushFolder(priecinok);
        } catch (const FileError& e) {
            chybyDni.push_back(e.what());
        }
    }

    // The report holds names and paths as the files have them: control characters in them
    // are shown as codes, so that printing the report cannot steer a terminal.
    for (auto& [stav, text] : vysledky) {
        switch (stav) {
        case Stav::Pridany:
            r.pridane.push_back(PrintableText(text));
            break;
        case Stav::Preskoceny:
            r.preskocene.push_back(PrintableText(text));
            break;
        case Stav::Chyba:
            r.chyby.push_back(PrintableText(text));
            break;
        case Stav::Nic:
            break;
        }
    }
    for (const std::string& text : chybyDni) {
        r.chyby.push_back(PrintableText(text));
    }
    for (std::string& text : r.oznamenia) {
        text = PrintableText(text);
    }
    return r;
}

ImportReport ImportVcardFile(const fs::path& subor, const fs::path& priecinok) {
    // Even a large address book is a few megabytes.
    constexpr std::uint64_t kNajvacsi = 256 * 1024 * 1024;
    ImportReport r;
    std::optional<std::string> bajty;
    try {
        bajty = ReadFileIfExists(subor, kNajvacsi);
    } catch (const FileError& e) {
        r.chyby.push_back(PrintableText(std::string(e.what()) + " Nič sa neimportovalo."));
        return r;
    }
    if (!bajty) {
        r.chyby.push_back(PrintableText("Súbor kontaktov „" + PathText(subor) +
                                        "“ neexistuje. Nič sa neimportovalo."));
        return r;
    }
    const std::vector<VcardContact> kontakty = ReadVcards(*bajty);
    if (kontakty.empty()) {
        r.chyby.push_back(PrintableText("Súbor „" + PathText(subor) +
                                        "“ neobsahuje žiadny kontakt vo formáte vCard "
                                        "(BEGIN:VCARD … END:VCARD). Nič sa neimportovalo."));
        return r;
    }
    return ImportContacts(kontakty, priecinok);
}

std::string ImportReport::Text() const {
    std::string text = Uspech()         ? "Import kontaktov sa podaril.\n"
                       : kontaktov == 0 ? "Import kontaktov sa nepodaril.\n"
                                        : "Import kontaktov sa nepodaril celý, pozrite chyby "
                                          "nižšie.\n";
    if (kontaktov > 0) {
        text += "Kontaktov v súbore: " + std::to_string(kontaktov) +
                ", pridané narodeniny: " + std::to_string(pridane.size()) +
                ", preskočené: " + std::to_string(preskocene.size() + bezNarodenin) +
                ", chyby: " + std::to_string(chyby.size()) + ".\n";
    }
    auto zoznam = [&text](const char* nadpis, const std::vector<std::string>& riadky) {
        if (riadky.empty()) {
            return;
        }
        text += std::string("\n") + nadpis + "\n";
        for (const auto& riadok : riadky) {
            text += "  " + riadok + "\n";
        }
    };
    zoznam("Pridané narodeniny:", pridane);
    zoznam("Preskočené:", preskocene);
    if (bezNarodenin > 0) {
        text += (preskocene.empty() ? "\nPreskočené:\n" : "") +
                std::string("  Kontakty bez "
                            "dátumu narodenia: ") +
                std::to_string(bezNarodenin) + ".\n";
    }
    zoznam("Chyby:", chyby);
    zoznam("Zlúčené so zmenami iného programu:", oznamenia);
    return text;
}

} // namespace tilava
