#include "store/uRegi.h"

#include <charconv>
#include <limits>
#include <utility>

namespace tilava {

namespace {

constexpr std::string_view kStartup = "ZelmTilava";
constexpr std::string_view kStale = "ZelmTilavaS";
constexpr std::string_view kPamatat = "ZelmTilavaP";

// Decimal integer with an optional sign and surrounding blanks; anything else is 0.
int AkoCislo(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') {
            return 0;
        }
    }
    int cislo = 0;
    const auto [koniec, chyba] = std::from_chars(text.data(), text.data() + text.size(), cislo);
    if (chyba != std::errc{} || koniec != text.data() + text.size()) {
        return 0;
    }
    return cislo;
}

} // namespace

TRegi::TRegi() : own_(CreateUserSettingsHive()), hive_(*own_) {}

TRegi::TRegi(SettingsHive& hive) : hive_(hive) {}

TRegi::~TRegi() = default;

int TRegi::CitajHodnotu(std::string_view meno) const {
    return AkoCislo(CitajText(meno));
}

std::string TRegi::CitajText(std::string_view meno) const {
    try {
        if (!hive_.KeyExists(HiveKey::Settings)) {
            return {};
        }
        HiveValue hodnota = hive_.ReadValue(HiveKey::Settings, meno);
        return hodnota.IsString() ? std::move(hodnota.text) : std::string{};
    } catch (const std::exception&) {
        return {};
    }
}

void TRegi::ZapisHodnotu(std::string_view meno, std::string_view text) {
    if (hive_.KeyExists(HiveKey::Settings)) {
        const HiveValue stara = hive_.ReadValue(HiveKey::Settings, meno);
        if (stara.IsString() && stara.text == text) {
            return;
        }
    }
    hive_.WriteString(HiveKey::Settings, meno, text);
}

void TRegi::ZapisHodnotu(std::string_view meno, int hodnota) {
    ZapisHodnotu(meno, std::to_string(hodnota));
}

std::string TRegi::StartupCommand(std::string_view cesta) {
    if (cesta.size() >= 2 && cesta.front() == '"' && cesta.back() == '"') {
        return std::string(cesta);
    }
    return "\"" + std::string(cesta) + "\"";
}

void TRegi::NastavStartup(std::string_view text) {
    Nastav(kStartup, text.empty() ? std::string() : StartupCommand(text));
}

void TRegi::NastavStale(std::string_view text) {
    Nastav(kStale, text);
}

void TRegi::NastavPamatat(std::string_view text) {
    Nastav(kPamatat, text);
}

void TRegi::Nastav(std::string_view meno, std::string_view text) {
    if (!hive_.KeyExists(HiveKey::Startup)) {
        return;
    }
    const HiveValue stara = hive_.ReadValue(HiveKey::Startup, meno);
    if (text.empty()) {
        if (stara.kind != ValueKind::Missing) {
            hive_.DeleteValue(HiveKey::Startup, meno);
        }
    } else if (!stara.IsString() || stara.text != text) {
        hive_.WriteString(HiveKey::Startup, meno, text);
    }
}

bool TRegi::Je(std::string_view meno) const {
    try {
        if (!hive_.KeyExists(HiveKey::Startup)) {
            return false;
        }
        const HiveValue hodnota = hive_.ReadValue(HiveKey::Startup, meno);
        return hodnota.IsString() && !hodnota.text.empty();
    } catch (const std::exception&) {
        return false;
    }
}

bool TRegi::JeStartup() const {
    return Je(kStartup);
}

bool TRegi::JeStale() const {
    return Je(kStale);
}

bool TRegi::JePamatat() const {
    return Je(kPamatat);
}

} // namespace tilava
