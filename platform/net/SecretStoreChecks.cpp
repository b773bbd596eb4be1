#include "platform/net/SecretStoreChecks.h"

#include "core/Utf8.h"

#include <string_view>

namespace tilava {

namespace {

enum class TextFault { None, NotUtf8, ControlCharacter, Nul };

TextFault FindFault(std::string_view text) {
    TextFault fault = TextFault::None;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t start = pos;
        const char32_t c = Utf8Next(text, pos);
        if (c == 0) {
            return TextFault::Nul;
        }
        if (c == U'\uFFFD' && pos - start == 1) {
            fault = TextFault::NotUtf8;
        } else if (fault == TextFault::None && (c < 0x20 || (c >= 0x7F && c <= 0x9F))) {
            fault = TextFault::ControlCharacter;
        }
    }
    return fault;
}

} // namespace

SecretStoreError SecretStoreFailure(SecretAction action, const std::string& calendarUrl,
                                    const std::string& user, const std::string& reason) {
    const std::string account = "Heslo používateľa „" + PrintableText(user) + "“ pre kalendár „" +
                                PrintableText(calendarUrl) + "“";
    switch (action) {
    case SecretAction::Store:
        return SecretStoreError(account + " sa neuložilo: " + reason +
                                ". V úložisku hesiel zostalo, čo v ňom bolo.");
    case SecretAction::Lookup:
        return SecretStoreError(account + " sa nedá prečítať: " + reason + ".");
    case SecretAction::Clear:
        break;
    }
    return SecretStoreError(account + " sa nedá zabudnúť: " + reason +
                            ". V úložisku hesiel zostalo, ako bolo.");
}

void CheckAccount(SecretAction action, const std::string& calendarUrl, const std::string& user) {
    for (const auto& [text, what] :
         {std::pair{&calendarUrl, "adresa kalendára"}, std::pair{&user, "meno používateľa"}}) {
        if (text->empty()) {
            throw SecretStoreFailure(action, calendarUrl, user, "chýba " + std::string(what));
        }
        if (FindFault(*text) != TextFault::None) {
            throw SecretStoreFailure(action, calendarUrl, user,
                                     std::string(what) +
                                         " obsahuje riadiaci znak alebo nie je v kódovaní UTF-8");
        }
    }
}

void CheckPasswordToKeep(const std::string& calendarUrl, const std::string& user,
                         const std::string& password) {
    CheckAccount(SecretAction::Store, calendarUrl, user);
    std::string reason;
    if (password.size() > kLongestPassword) {
        reason = "heslo je dlhšie ako " + std::to_string(kLongestPassword) + " bajtov";
    } else if (const TextFault fault = FindFault(password); fault == TextFault::Nul) {
        reason = "heslo obsahuje nulový znak (NUL)";
    } else if (fault == TextFault::NotUtf8) {
        reason = "heslo nie je v kódovaní UTF-8";
    }
    if (!reason.empty()) {
        throw SecretStoreFailure(SecretAction::Store, calendarUrl, user, reason);
    }
}

} // namespace tilava
