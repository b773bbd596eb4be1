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

[[noreturn]] void chybnyZoznam(char jazyk, int mesiac, std::string_view miesto) {
    throw std::logic_error("Chybný zoznam mien (" + std::string(1, jazyk) + ", mesiac " +
                           std::to_string(mesiac) + "): \"" + std::string(miesto) + "\"");
}

// Takes the text up to the next separator off the front of `zvysok`.
std::string_view odober(std::string_view& zvysok, std::string_view oddelovac) {
    const auto koniec = zvysok.find(oddelovac);
    const auto kus = zvysok.substr(0, koniec);
    zvysok = koniec == std::string_view::npos ? std::string_view{}
                                              : zvysok.substr(koniec + oddelovac.size());
    return kus;
}

// Adds one month line in the notation of NameDays.h, day by day and entry by entry.
void pridajMesiac(TRok& rok, char jazyk, int mesiac, std::string_view riadok) {
    while (!riadok.empty()) {
        const auto skupina = odober(riadok, oddelovacDni);
        const auto dvojbodka = skupina.find(": ");
        if (dvojbodka == std::string_view::npos)
            chybnyZoznam(jazyk, mesiac, skupina);
        int den = 0;
        const char* koniecDna = skupina.data() + dvojbodka;
        const auto cislo = std::from_chars(skupina.data(), koniecDna, den);
        if (cislo.ec != std::errc{} || cislo.ptr != koniecDna || den < 1 || den > 31)
            chybnyZoznam(jazyk, mesiac, skupina);
        auto zaznamy = skupina.substr(dvojbodka + 2);
        if (zaznamy.empty())
            chybnyZoznam(jazyk, mesiac, skupina);
        while (!zaznamy.empty()) {
            auto nazov = odober(zaznamy, oddelovacMien);
            const bool sviatok = nazov.ends_with(znackaSviatku);
            if (sviatok)
                nazov.remove_suffix(znackaSviatku.size());
            if (nazov.empty())
                chybnyZoznam(jazyk, mesiac, skupina);
            rok.Pridaj(den, mesiac, jazyk, std::string(nazov), sviatok);
        }
    }
}

const TSviatky& prazdnyDen() {
    static const TSviatky prazdny;
    return prazdny;
}

} // namespace

void TRok::Naplnit() {
    for (int mesiac = 1; mesiac <= 12; ++mesiac)
        pridajMesiac(*this, 's', mesiac, MenaSK[static_cast<std::size_t>(mesiac - 1)]);
    for (int mesiac = 1; mesiac <= 12; ++mesiac)
        pridajMesiac(*this, 'c', mesiac, MenaCZ[static_cast<std::size_t>(mesiac - 1)]);
}

void TRok::Pridaj(int den, int mesiac, char jazyk, std::string nazov, bool sviatok) {
    if (den < 1 || den > 31 || mesiac < 1 || mesiac > 12)
        throw std::out_of_range("Deň " + std::to_string(den) + "." + std::to_string(mesiac) +
                                ". nie je v kalendári.");
    Tabulka& tabulka = jazyk == 's' ? TabulkaSK : TabulkaCZ;
    tabulka[static_cast<std::size_t>(den - 1)][static_cast<std::size_t>(mesiac - 1)].Pridaj(
        std::move(nazov), sviatok);
}

const TSviatky& TRok::DajDen(int den, int mesiac) const {
    if (den < 1 || den > 31 || mesiac < 1 || mesiac > 12)
        return prazdnyDen();
    const Tabulka& tabulka = JazykSK ? TabulkaSK : TabulkaCZ;
    return tabulka[static_cast<std::size_t>(den - 1)][static_cast<std::size_t>(mesiac - 1)];
}

const TSviatky& TRok::DajDatum(std::chrono::year_month_day datum) const {
    return DajDen(static_cast<int>(static_cast<unsigned>(datum.day())),
                  static_cast<int>(static_cast<unsigned>(datum.month())));
}

const TSviatky& TRok::DajDatum(std::chrono::sys_days datum) const {
    return DajDatum(std::chrono::year_month_day{datum});
}

const TSviatky& TRok::DajDatum(const LocalDateTime& datum) const {
    return DajDatum(datum.den);
}

} // namespace tilava
