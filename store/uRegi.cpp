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
    int number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc{} || end != text.data() + text.size()) {
        return 0;
    }
    return number;
}

} // namespace

TRegi::TRegi() : own_(CreateUserSettingsHive()), hive_(*own_) {}

TRegi::TRegi(SettingsHive& hive) : hive_(hive) {}

TRegi::~TRegi() = default;

int TRegi::CitajHodnotu(std::string_view meno) const {
    return AkoCislo(ReadText(meno));
}

std::string TRegi::ReadText(std::string_view meno) const {
    try {
        if (!hive_.KeyExists(HiveKey::Settings)) {
            return {};
        }
        HiveValue value = hive_.ReadValue(HiveKey::Settings, meno);
        return value.IsString() ? std::move(value.text) : std::string{};
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

void TRegi::ZapisHodnotu(std::string_view meno, int value) {
    ZapisHodnotu(meno, std::to_string(value));
}

std::string TRegi::StartupCommand(std::string_view path) {
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"') {
        return std::string(path);
    }
    return "\"" + std::string(path) + "\"";
}

void TRegi::NastavStartup(std::string_view text) {
    Set(kStartup, text.empty() ? std::string() : StartupCommand(text));
}

void TRegi::NastavStale(std::string_view text) {
    Set(kStale, text);
}

void TRegi::NastavPamatat(std::string_view text) {
    Set(kPamatat, text);
}

void TRegi::Set(std::string_view meno, std::string_view text) {
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

bool TRegi::Exists(std::string_view meno) const {
    try {
        if (!hive_.KeyExists(HiveKey::Startup)) {
            return false;
        }
        const HiveValue value = hive_.ReadValue(HiveKey::Startup, meno);
        return value.IsString() && !value.text.empty();
    } catch (const std::exception&) {
        return false;
    }
}

bool TRegi::JeStartup() const {
    return Exists(kStartup);
}

bool TRegi::JeStale() const {
    return Exists(kStale);
}

bool TRegi::JePamatat() const {
    return Exists(kPamatat);
}

} // namespace tilava
