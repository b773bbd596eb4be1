#include "core/uRok.h"

#include "core/NameDays.h"

#include <charconv>
#include <stdexcept>
#include <utility>

namespace tilava {

namespace {

constexpr std::string_view oddelovacDni = "; ";
constexpr std::string_view oddelovacMien = ", ";
constexpr std::string_view znackaSviatku = " [H]";

[[noreturn]] void chybnyZoznam(char language, int monthNumber, std::string_view place) {
    throw std::logic_error("Chybný zoznam mien (" + std::string(1, language) + ", mesiac " +
                           std::to_string(monthNumber) + "): \"" + std::string(place) + "\"");
}

// Takes the text up to the next separator off the front of `zvysok`.
std::string_view odober(std::string_view& zvysok, std::string_view oddelovac) {
    const auto end = zvysok.find(oddelovac);
    const auto kus = zvysok.substr(0, end);
    zvysok =
        end == std::string_view::npos ? std::string_view{} : zvysok.substr(end + oddelovac.size());
    return kus;
}

// Adds one month line in the notation of NameDays.h, day by day and entry by entry.
void pridajMesiac(TRok& rok, char language, int monthNumber, std::string_view line) {
    while (!line.empty()) {
        const auto skupina = odober(line, oddelovacDni);
        const auto dvojbodka = skupina.find(": ");
        if (dvojbodka == std::string_view::npos)
            chybnyZoznam(language, monthNumber, skupina);
        int date = 0;
        const char* koniecDna = skupina.data() + dvojbodka;
        const auto number = std::from_chars(skupina.data(), koniecDna, date);
        if (number.ec != std::errc{} || number.ptr != koniecDna || date < 1 || date > 31)
            chybnyZoznam(language, monthNumber, skupina);
        auto entries = skupina.substr(dvojbodka + 2);
        if (entries.empty())
            chybnyZoznam(language, monthNumber, skupina);
        while (!entries.empty()) {
            auto name = odober(entries, oddelovacMien);
            const bool nameDay = name.ends_with(znackaSviatku);
            if (nameDay)
                name.remove_suffix(znackaSviatku.size());
            if (name.empty())
                chybnyZoznam(language, monthNumber, skupina);
            rok.Pridaj(date, monthNumber, language, std::string(name), nameDay);
        }
    }
}

const TSviatky& prazdnyDen() {
    static const TSviatky empty;
    return empty;
}

} // namespace

void TRok::Naplnit() {
    for (int monthNumber = 1; monthNumber <= 12; ++monthNumber)
        pridajMesiac(*this, 's', monthNumber, NamesSK[static_cast<std::size_t>(monthNumber - 1)]);
    for (int monthNumber = 1; monthNumber <= 12; ++monthNumber)
        pridajMesiac(*this, 'c', monthNumber, NamesCZ[static_cast<std::size_t>(monthNumber - 1)]);
}

void TRok::Pridaj(int date, int monthNumber, char language, std::string name, bool nameDay) {
    if (date < 1 || date > 31 || monthNumber < 1 || monthNumber > 12)
        throw std::out_of_range("Deň " + std::to_string(date) + "." + std::to_string(monthNumber) +
                                ". nie je v kalendári.");
    Table& table = language == 's' ? TabulkaSK : TabulkaCZ;
    table[static_cast<std::size_t>(date - 1)][static_cast<std::size_t>(monthNumber - 1)].Pridaj(
        std::move(name), nameDay);
}

const TSviatky& TRok::DajDen(int date, int monthNumber) const {
    if (date < 1 || date > 31 || monthNumber < 1 || monthNumber > 12)
        return prazdnyDen();
    const Table& table = JazykSK ? TabulkaSK : TabulkaCZ;
    return table[static_cast<std::size_t>(date - 1)][static_cast<std::size_t>(monthNumber - 1)];
}

const TSviatky& TRok::DajDatum(std::chrono::year_month_day datum) const {
    return DajDen(static_cast<int>(static_cast<unsigned>(datum.day())),
                  static_cast<int>(static_cast<unsigned>(datum.month())));
}

const TSviatky& TRok::DajDatum(std::chrono::sys_days datum) const {
    return DajDatum(std::chrono::year_month_day{datum});
}

const TSviatky& TRok::DajDatum(const LocalDateTime& datum) const {
    return DajDatum(datum.date);
}

} // namespace tilava
