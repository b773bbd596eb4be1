#include "platform/net/ServerAddress.h"

#include <algorithm>
#include <stdexcept>

namespace tilava {

namespace {

HttpError BadAddress(const std::string& reason) {
    return HttpError(HttpError::Kind::BadAddress, "Adresa servera " + reason);
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Lowered(std::string_view text) {
    std::string lowered(text);
    std::transform(lowered.begin(), lowered.end(), lowered.begin(), Lower);
    return lowered;
}

bool IsHostCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '-' || c == '_' || c == '~';
}

bool IsIpv6Character(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') || c == ':' ||
           c == '.';
}

// The path and query as they go on the wire: what a URL may not hold raw is percent-encoded
// (a calendar named with "š" is common); control characters cannot be meant.
std::string Target(std::string_view rest) {
    rest = rest.substr(0, rest.find('#'));
    std::string target = rest.starts_with('/') ? "" : "/";
    constexpr std::string_view kEncoded = " \"<>\\^`{|}";
    constexpr char kHex[] = "0123456789ABCDEF";
    for (const char c : rest) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            throw BadAddress("obsahuje riadiaci znak.");
        if (byte >= 0x80 || kEncoded.find(c) != std::string_view::npos) {
            target += '%';
            target += kHex[byte >> 4];
            target += kHex[byte & 0x0F];
        } else {
            target += c;
        }
    }
    return target;
}

} // namespace

std::string ServerAddress::HostAndPort() const {
    const bool ipv6 = host.find(':') != std::string::npos;
    return (ipv6 ? "[" + host + "]" : host) + ":" + std::to_string(port);
}

std::string ServerAddress::Url() const {
    return std::string(secure ? "https://" : "http://") + HostAndPort() + target;
}

ServerAddress ReadServerAddress(std::string_view url) {
    while (!url.empty() && (url.front() == ' ' || url.front() == '\t'))
        url.remove_prefix(1);
    while (!url.empty() && (url.back() == ' ' || url.back() == '\t'))
        url.remove_suffix(1);
    // Messages never repeat the whole URL: it might carry a password.
    ServerAddress server;
    const std::size_t schemeEnd = url.find("://");
    const std::string scheme =
        schemeEnd == std::string_view::npos ? "" : Lowered(url.substr(0, schemeEnd));
    if (scheme == "https")
        server.secure = true;
    else if (scheme != "http")
        throw BadAddress("musí začínať https:// (alebo http://, ak je server na tomto počítači).");
    std::string_view rest = url.substr(schemeEnd + 3);
    const std::size_t authorityEnd = rest.find_first_of("/?#");
    std::string_view authority = rest.substr(0, authorityEnd);
    rest = authorityEnd == std::string_view::npos ? std::string_view{} : rest.substr(authorityEnd);
    if (authority.find('@') != std::string_view::npos)
        throw BadAddress("nesmie obsahovať meno ani heslo; tie sa zadávajú v nastaveniach zvlášť.");

    std::string_view portText;
    bool portGiven = false;
    if (authority.starts_with('[')) {
        const std::size_t close = authority.find(']');
        if (close == std::string_view::npos)
            throw BadAddress("má neúplnú adresu IPv6 (chýba „]“).");
        const std::string_view inside = authority.substr(1, close - 1);
        if (inside.find(':') == std::string_view::npos ||
            !std::all_of(inside.begin(), inside.end(), IsIpv6Character))
            throw BadAddress("má neplatnú adresu IPv6.");
        server.host = Lowered(inside);
        const std::string_view after = authority.substr(close + 1);
        if (!after.empty() && !after.starts_with(':'))
            throw BadAddress("má za adresou IPv6 nečakané znaky.");
        portGiven = !after.empty();
        portText = after.empty() ? after : after.substr(1);
    } else {
        const std::size_t colon = authority.find(':');
        const std::string_view host = authority.substr(0, colon);
        if (host.empty() || !std::all_of(host.begin(), host.end(), IsHostCharacter))
            throw BadAddress("neobsahuje platné meno servera.");
        server.host = Lowered(host);
        portGiven = colon != std::string_view::npos;
        portText = portGiven ? authority.substr(colon + 1) : std::string_view{};
    }
    if (!portGiven) {
        server.port = server.secure ? 443 : 80;
    } else {
        unsigned long port = 0;
        if (portText.empty())
            throw BadAddress("má za dvojbodkou prázdne číslo portu.");
        for (const char c : portText) {
            if (c < '0' || c > '9' || port > 65535)
                throw BadAddress("má neplatné číslo portu.");
            port = port * 10 + static_cast<unsigned long>(c - '0');
        }
        if (port == 0 || port > 65535)
            throw BadAddress("má neplatné číslo portu.");
        server.port = static_cast<unsigned short>(port);
    }
    server.target = Target(rest);

    const bool thisComputer =
        server.host == "127.0.0.1" || server.host == "::1" || server.host == "localhost";
    if (!server.secure && !thisComputer)
        throw BadAddress("http://" + server.HostAndPort() +
                         " nie je šifrovaná: heslo by išlo sieťou ako čitateľný text. Zadajte "
                         "adresu https://; http:// je dovolené len pre server na tomto počítači.");
    return server;
}

namespace {

// 127.x.x.x written as four decimal numbers.
bool IsLoopbackIpv4(std::string_view host) {
    int parts = 0;
    std::size_t start = 0;
    for (;;) {
        const std::size_t dot = host.find('.', start);
        const std::string_view part = host.substr(start, dot - start);
        if (part.empty() || part.size() > 3 ||
            !std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; }) ||
            std::stoi(std::string(part)) > 255)
            return false;
        if (++parts == 1 && part != "127")
            return false;
        if (dot == std::string_view::npos)
            return parts == 4;
        start = dot + 1;
    }
}

} // namespace

bool IsLoopbackHost(std::string_view host) {
    if (host == "localhost" || host == "localhost." || host.ends_with(".localhost") ||
        host.ends_with(".localhost."))
        return true;
    if (IsLoopbackIpv4(host))
        return true;
    if (host.starts_with("::ffff:"))
        return IsLoopbackIpv4(host.substr(7));
    // ::1 in any spelling: groups of zeros and "::", then a last group of value 1.
    const std::size_t last = host.rfind(':');
    if (last == std::string_view::npos || host.find(':') == last)
        return false;
    const std::string_view lastGroup = host.substr(last + 1);
    const std::string_view before = host.substr(0, last);
    return !lastGroup.empty() && lastGroup.size() <= 4 &&
           lastGroup.find_first_not_of('0') == lastGroup.size() - 1 && lastGroup.back() == '1' &&
           before.find_first_not_of("0:") == std::string_view::npos;
}

void CheckHeaders(const std::vector<HttpHeader>& headers) {
    for (const HttpHeader& header : headers)
        if (header.name.empty() || header.name.find_first_of("\r\n: ") != std::string::npos ||
            header.value.find_first_of("\r\n") != std::string::npos)
            throw std::invalid_argument("Hlavička požiadavky „" + header.name +
                                        "“ je neplatná alebo obsahuje koniec riadka; požiadavka "
                                        "sa neposlala.");
}

HttpError ServerError(HttpError::Kind kind, const ServerAddress& server, std::string_view reason) {
    std::string start;
    switch (kind) {
    case HttpError::Kind::Tls:
        start = "Spojenie so serverom " + server.HostAndPort() + " nie je bezpečné: ";
        break;
    case HttpError::Kind::TooLarge:
        start = "Odpoveď servera " + server.HostAndPort() + " sa neprečítala: ";
        break;
    case HttpError::Kind::BadAddress:
        start = "Server " + server.HostAndPort() + " sa nedá použiť: ";
        break;
    case HttpError::Kind::NoConnection:
        start = "Server " + server.HostAndPort() + " neodpovedá: ";
        break;
    case HttpError::Kind::Timeout:
        start = "Server " + server.HostAndPort() + " neodpovedal včas: ";
        break;
    }
    return HttpError(kind, start + std::string(reason) + ".");
}

HttpError TooLargeError(const ServerAddress& server, std::size_t largestBody) {
    constexpr std::size_t kMebibyte = std::size_t{1} << 20;
    const std::string limit = largestBody >= kMebibyte && largestBody % kMebibyte == 0
                                  ? std::to_string(largestBody / kMebibyte) + " MiB"
                                  : std::to_string(largestBody) + " bajtov";
    return ServerError(HttpError::Kind::TooLarge, server, "je dlhšia ako " + limit);
}

} // namespace tilava
