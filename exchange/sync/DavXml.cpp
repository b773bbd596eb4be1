#include "exchange/sync/DavXml.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>

namespace tilava {

namespace {

constexpr std::string_view kDavSpace = "DAV:";
constexpr std::string_view kCalDavSpace = "urn:ietf:params:xml:ns:caldav";
constexpr std::string_view kXmlSpace = "http://www.w3.org/XML/1998/namespace";

// Every element costs memory beyond its bytes: 64 MiB of "<a/>" would otherwise become
// gigabytes of tree. A listing of 5,000 events has about 30,000 elements.
constexpr std::size_t kMostXmlElements = 1'000'000;
// An element of a WebDAV answer has a few namespace declarations at most.
constexpr std::size_t kMostXmlAttributes = 256;

// Where the characters of a body stop being well-formed UTF-8 or become a character XML does
// not allow (controls but tab, line feed and carriage return; U+FFFE, U+FFFF); npos when
// nowhere.
std::size_t FirstBadCharacter(std::string_view text) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    std::size_t i = 0;
    while (i < text.size()) {
        const unsigned char lead = bytes[i];
        if (lead < 0x80) {
            if (lead < 0x20 && lead != '\t' && lead != '\n' && lead != '\r')
                return i;
            ++i;
            continue;
        }
        std::size_t length = 0;
        char32_t code = 0;
        char32_t smallest = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            code = lead & 0x1Fu;
            smallest = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            code = lead & 0x0Fu;
            smallest = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            code = lead & 0x07u;
            smallest = 0x10000;
        } else {
            return i;
        }
        if (text.size() - i < length)
            return i;
        for (std::size_t k = 1; k < length; ++k) {
            if ((bytes[i + k] & 0xC0u) != 0x80)
                return i;
            code = (code << 6) | (bytes[i + k] & 0x3Fu);
        }
        if (code < smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF) ||
            code == 0xFFFE || code == 0xFFFF)
            return i;
        i += length;
    }
    return std::string_view::npos;
}

bool IsXmlCharacter(char32_t code) {
    return code == 0x9 || code == 0xA || code == 0xD || (code >= 0x20 && code <= 0xD7FF) ||
           (code >= 0xE000 && code <= 0xFFFD) || (code >= 0x10000 && code <= 0x10FFFF);
}

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Name characters, a little wider than XML's own table: every byte of a multi-byte UTF-8
// character is taken (the whole body is checked as UTF-8 beforehand).
bool IsNameStart(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || byte >= 0x80;
}

bool IsNameCharacter(char c) {
    return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

class XmlReader {
public:
    explicit XmlReader(std::string_view document) : document_(document) {}

    XmlElement Document() {
        if (document_.size() > kLargestXml)
            throw XmlError("Odpoveď servera je príliš dlhá (viac ako " +
                           std::to_string(kLargestXml >> 20) + " MiB); nečíta sa.");
        const std::size_t bad = FirstBadCharacter(document_);
        if (bad != std::string_view::npos) {
            at_ = bad;
            Fail("obsahuje znak, ktorý nie je platný v UTF-8 alebo v XML");
        }
        if (LooksAt("\xEF\xBB\xBF"))
            at_ += 3;
        if (LooksAt("<?xml") && document_.size() > at_ + 5 &&
            (IsSpace(document_[at_ + 5]) || document_[at_ + 5] == '?'))
            SkipUntil("?>", "deklarácia XML sa neskončila");
        SkipMisc();
        if (LooksAt("<!"))
            Fail("obsahuje deklaráciu typu dokumentu (DOCTYPE), ktorá sa z bezpečnosti nečíta");
        if (!LooksAt("<"))
            Fail("chýba koreňový prvok");
        XmlElement root = Element(1);
        SkipMisc();
        if (at_ != document_.size())
            Fail("za koreňovým prvkom nasleduje ďalší obsah");
        return root;
    }

private:
    [[noreturn]] void Fail(std::string_view reason) const {
        std::size_t line = 1;
        for (std::size_t i = 0; i < at_ && i < document_.size(); ++i)
            line += document_[i] == '\n';
        throw XmlError("Odpoveď servera nie je platné XML: " + std::string(reason) + " (riadok " +
                       std::to_string(line) + ").");
    }

    bool LooksAt(std::string_view text) const { return document_.substr(at_).starts_with(text); }

    bool AtEnd() const { return at_ >= document_.size(); }

    bool SkipSpace() {
        const std::size_t start = at_;
        while (!AtEnd() && IsSpace(document_[at_]))
            ++at_;
        return at_ != start;
    }

    // Moves past the next `end`, or fails with the reason.
    std::string_view SkipUntil(std::string_view end, std::string_view reason) {
        const std::size_t found = document_.find(end, at_);
        if (found == std::string_view::npos)
            Fail(reason);
        const std::string_view skipped = document_.substr(at_, found - at_);
        at_ = found + end.size();
        return skipped;
    }

    void Comment() {
        at_ += 4;
        const std::string_view body = SkipUntil("-->", "komentár sa neskončil");
        if (body.find("--") != std::string_view::npos || body.ends_with("-"))
            Fail("komentár obsahuje „--“");
    }

    void ProcessingInstruction() {
        at_ += 2;
        const std::string_view target = Name();
        if (target.size() == 3 && (target[0] | 0x20) == 'x' && (target[1] | 0x20) == 'm' &&
            (target[2] | 0x20) == 'l')
            Fail("deklarácia XML nie je na začiatku");
        if (!LooksAt("?>") && !SkipSpace())
            Fail("pokyn na spracovanie nemá medzeru za menom");
        SkipUntil("?>", "pokyn na spracovanie sa neskončil");
    }

    // Whitespace, comments and processing instructions around the root element.
    void SkipMisc() {
        for (;;) {
            SkipSpace();
            if (LooksAt("<!--"))
                Comment();
            else if (LooksAt("<?"))
                ProcessingInstruction();
            else
                return;
        }
    }

    // A name, prefix included; at most one colon, inside.
    std::string_view Name() {
        const std::size_t start = at_;
        if (AtEnd() || !IsNameStart(document_[at_]))
            Fail("očakáva sa meno");
        bool colon = false;
        while (!AtEnd()) {
            const char c = document_[at_];
            if (c == ':') {
                if (colon || at_ + 1 >= document_.size() || !IsNameStart(document_[at_ + 1]))
                    Fail("meno s nesprávnou predponou");
                colon = true;
            } else if (!IsNameCharacter(c)) {
                break;
            }
            ++at_;
        }
        return document_.substr(start, at_ - start);
    }

    // An entity or a character reference, decoded onto `out`.
    void Reference(std::string& out) {
        const std::size_t start = at_ + 1;
        const std::size_t end = document_.find(';', start);
        if (end == std::string_view::npos)
            Fail("znak „&“ nezačína odkaz na znak");
        const std::string_view name = document_.substr(start, end - start);
        if (name == "lt")
            out += '<';
        else if (name == "gt")
            out += '>';
        else if (name == "amp")
            out += '&';
        else if (name == "quot")
            out += '"';
        else if (name == "apos")
            out += '\'';
        else if (name.starts_with('#'))
            AppendUtf8(out, CharacterReference(name.substr(1)));
        else
            Fail("neznáma entita &" + std::string(name.substr(0, 40)) + ";");
        at_ = end + 1;
    }

    char32_t CharacterReference(std::string_view digits) {
        int base = 10;
        if (digits.starts_with('x')) {
            base = 16;
            digits.remove_prefix(1);
        }
        if (digits.empty())
            Fail("odkaz na znak bez čísla");
        char32_t code = 0;
        for (const char c : digits) {
            int digit = 0;
            if (c >= '0' && c <= '9')
                digit = c - '0';
            else if (base == 16 && c >= 'a' && c <= 'f')
                digit = c - 'a' + 10;
            else if (base == 16 && c >= 'A' && c <= 'F')
                digit = c - 'A' + 10;
            else
                Fail("odkaz na znak s neplatnou číslicou");
            code = code * static_cast<char32_t>(base) + static_cast<char32_t>(digit);
            if (code > 0x10FFFF)
                Fail("odkaz na znak mimo Unicode");
        }
        if (!IsXmlCharacter(code))
            Fail("odkaz na znak, ktorý XML nedovoľuje");
        return code;
    }

    std::string AttributeValue() {
        if (AtEnd() || (document_[at_] != '"' && document_[at_] != '\''))
            Fail("hodnota atribútu nie je v úvodzovkách");
        const char quote = document_[at_++];
        std::string value;
        for (;;) {
            if (AtEnd())
                Fail("hodnota atribútu sa neskončila");
            const char c = document_[at_];
            if (c == quote) {
                ++at_;
                return value;
            }
            if (c == '<')
                Fail("hodnota atribútu obsahuje „<“");
            if (c == '&') {
                Reference(value);
            } else {
                value += c;
                ++at_;
            }
        }
    }

    void Declare(const std::string& prefix, const std::string& space) {
        spaces_[prefix].push_back(space);
        declared_.push_back(prefix);
    }

    void Forget(std::size_t outerDeclarations) {
        while (declared_.size() > outerDeclarations) {
            spaces_[declared_.back()].pop_back();
            declared_.pop_back();
        }
    }

    std::string Resolve(std::string_view prefix) {
        if (prefix == "xml")
            return std::string(kXmlSpace);
        const auto found = spaces_.find(std::string(prefix));
        if (found != spaces_.end() && !found->second.empty())
            return found->second.back();
        if (!prefix.empty())
            Fail("predpona „" + std::string(prefix) + "“ nie je deklarovaná");
        return {};
    }

    static std::pair<std::string_view, std::string_view> Split(std::string_view name) {
        const std::size_t colon = name.find(':');
        if (colon == std::string_view::npos)
            return {{}, name};
        return {name.substr(0, colon), name.substr(colon + 1)};
    }

    // The element that starts at '<', with everything inside it.
    XmlElement Element(int depth) {
        if (depth > kDeepestXml)
            Fail("prvky sú vnorené hlbšie ako " + std::to_string(kDeepestXml) + " úrovní");
        if (++elements_ > kMostXmlElements)
            Fail("má viac ako " + std::to_string(kMostXmlElements) + " prvkov");
        ++at_;
        const std::string_view qualified = Name();
        const std::size_t outerDeclarations = declared_.size();
        std::vector<std::pair<std::string_view, std::string>> attributes;
        for (;;) {
            const bool spaced = SkipSpace();
            if (LooksAt("/>") || LooksAt(">"))
                break;
            if (!spaced)
                Fail("atribút nie je oddelený medzerou");
            const std::string_view name = Name();
            SkipSpace();
            if (!LooksAt("="))
                Fail("za menom atribútu chýba „=“");
            ++at_;
            SkipSpace();
            if (attributes.size() == kMostXmlAttributes)
                Fail("prvok má viac ako " + std::to_string(kMostXmlAttributes) + " atribútov");
            attributes.emplace_back(name, AttributeValue());
        }
        std::vector<std::string_view> names;
        for (const auto& attribute : attributes)
            names.push_back(attribute.first);
        std::sort(names.begin(), names.end());
        if (const auto twice = std::adjacent_find(names.begin(), names.end()); twice != names.end())
            Fail("atribút " + std::string(*twice) + " je v prvku dvakrát");
        for (auto& [name, value] : attributes) {
            if (name == "xmlns") {
                Declare({}, value);
            } else if (name.starts_with("xmlns:")) {
                const std::string_view prefix = name.substr(6);
                if (prefix == "xmlns" || value.empty() || (prefix == "xml") != (value == kXmlSpace))
                    Fail("nedovolená deklarácia predpony " + std::string(prefix));
                Declare(std::string(prefix), value);
            }
        }
        for (const auto& [name, value] : attributes)
            if (!name.starts_with("xmlns:"))
                Resolve(Split(name).first);

        XmlElement element;
        for (auto& [name, value] : attributes)
            if (name != "xmlns" && name.find(':') == std::string_view::npos)
                element.attributes.emplace_back(std::string(name), std::move(value));
        const auto [prefix, local] = Split(qualified);
        element.space = Resolve(prefix);
        element.name = local;
        if (LooksAt("/>")) {
            at_ += 2;
            Forget(outerDeclarations);
            return element;
        }
        ++at_;
        for (;;) {
            if (AtEnd())
                Fail("prvok <" + std::string(qualified) + "> sa neuzavrel");
            const char c = document_[at_];
            if (c == '&') {
                Reference(element.text);
            } else if (c != '<') {
                const std::size_t end = document_.find_first_of("<&", at_);
                const std::string_view run =
                    document_.substr(at_, end == std::string_view::npos ? end : end - at_);
                if (run.find("]]>") != std::string_view::npos)
                    Fail("text obsahuje „]]>“");
                // Line ends are kept as sent: calendar data is text with CR LF line ends.
                element.text += run;
                at_ += run.size();
            } else if (LooksAt("</")) {
                at_ += 2;
                const std::string_view closing = Name();
                if (closing != qualified)
                    Fail("koncová značka </" + std::string(closing) + "> nepatrí k <" +
                         std::string(qualified) + ">");
                SkipSpace();
                if (!LooksAt(">"))
                    Fail("koncová značka sa neskončila");
                ++at_;
                break;
            } else if (LooksAt("<!--")) {
                Comment();
            } else if (LooksAt("<![CDATA[")) {
                at_ += 9;
                element.text += SkipUntil("]]>", "sekcia CDATA sa neskončila");
            } else if (LooksAt("<?")) {
                ProcessingInstruction();
            } else if (LooksAt("<!")) {
                Fail("obsahuje deklaráciu, ktorá sa z bezpečnosti nečíta");
            } else {
                element.children.push_back(Element(depth + 1));
            }
        }
        Forget(outerDeclarations);
        return element;
    }

    std::string_view document_;
    std::size_t at_ = 0;
    std::size_t elements_ = 0;
    // The namespaces in scope: for each prefix ("" for the default) its declarations, the
    // innermost last; and the prefixes in the order they were declared, to leave each scope.
    // A lookup costs the same however many declarations a body piles up.
    std::unordered_map<std::string, std::vector<std::string>> spaces_;
    std::vector<std::string> declared_;
};

// "HTTP/1.1 404 Not Found" → 404.
int StatusCode(std::string_view line) {
    const std::string_view trimmed = XmlTrimmed(line);
    const std::size_t space = trimmed.find(' ');
    std::string_view rest =
        space == std::string_view::npos ? std::string_view{} : trimmed.substr(space + 1);
    while (!rest.empty() && rest.front() == ' ')
        rest.remove_prefix(1);
    const bool valid = trimmed.starts_with("HTTP/") && rest.size() >= 3 &&
                       (rest.size() == 3 || rest[3] == ' ') && rest[0] >= '1' && rest[0] <= '9' &&
                       rest[1] >= '0' && rest[1] <= '9' && rest[2] >= '0' && rest[2] <= '9';
    if (!valid)
        throw XmlError("Odpoveď servera má nečitateľný stav položky: „" +
                       std::string(trimmed.substr(0, 80)) + "“.");
    return (rest[0] - '0') * 100 + (rest[1] - '0') * 10 + (rest[2] - '0');
}

bool IsSuccess(int status) {
    return status >= 200 && status <= 299;
}

void ReadResponse(const XmlElement& response, std::vector<DavMember>& members) {
    std::vector<std::string> hrefs;
    const XmlElement* ownStatus = nullptr;
    std::vector<const XmlElement*> propstats;
    for (const XmlElement& child : response.children) {
        if (child.space != kDavSpace)
            continue;
        if (child.name == "href")
            hrefs.emplace_back(XmlTrimmed(child.text));
        else if (child.name == "status" && !ownStatus)
            ownStatus = &child;
        else if (child.name == "propstat")
            propstats.push_back(&child);
    }
    if (hrefs.empty() || hrefs.front().empty())
        throw XmlError("V odpovedi servera je položka bez adresy (href).");

    DavMember member;
    if (ownStatus) {
        member.status = StatusCode(ownStatus->text);
    } else {
        // The properties asked for that the item has come in a propstat of status 200; those
        // it lacks come empty in one of status 404.
        for (const XmlElement* propstat : propstats) {
            const XmlElement* status = propstat->Find(kDavSpace, "status");
            if (!status)
                throw XmlError("V odpovedi servera je vlastnosť položky bez stavu.");
            const int code = StatusCode(status->text);
            if (member.status == 0 || (IsSuccess(code) && !IsSuccess(member.status)))
                member.status = code;
            const XmlElement* properties = propstat->Find(kDavSpace, "prop");
            if (!IsSuccess(code) || !properties)
                continue;
            if (const XmlElement* etag = properties->Find(kDavSpace, "getetag"))
                member.etag = XmlTrimmed(etag->text);
            if (const XmlElement* data = properties->Find(kCalDavSpace, "calendar-data"))
                member.calendarData = data->text;
            if (const XmlElement* type = properties->Find(kDavSpace, "resourcetype"))
                member.collection = type->Find(kDavSpace, "collection") != nullptr;
            if (const XmlElement* type = properties->Find(kDavSpace, "getcontenttype"))
                member.contentType = XmlTrimmed(type->text);
        }
        if (member.status == 0)
            throw XmlError("V odpovedi servera je položka bez stavu.");
    }
    // A response may name several items that share one status.
    for (std::string& href : hrefs) {
        if (href.empty())
            throw XmlError("V odpovedi servera je položka bez adresy (href).");
        member.href = std::move(href);
        members.push_back(member);
    }
}

} // namespace

const XmlElement* XmlElement::Find(std::string_view childSpace, std::string_view childName) const {
    for (const XmlElement& child : children)
        if (child.space == childSpace && child.name == childName)
            return &child;
    return nullptr;
}

const std::string* XmlElement::Attribute(std::string_view attributeName) const {
    for (const auto& [key, value] : attributes)
        if (key == attributeName)
            return &value;
    return nullptr;
}

XmlElement ParseXml(std::string_view document) {
    return XmlReader(document).Document();
}

DavMultiStatus ReadMultiStatus(std::string_view body) {
    const XmlElement root = ParseXml(body);
    if (root.space != kDavSpace || root.name != "multistatus")
        throw XmlError("Server namiesto zoznamu položiek (WebDAV multistatus) poslal prvok „" +
                       root.name + "“.");
    DavMultiStatus result;
    if (const XmlElement* token = root.Find(kDavSpace, "sync-token"))
        result.syncToken = XmlTrimmed(token->text);
    for (const XmlElement& child : root.children)
        if (child.space == kDavSpace && child.name == "response")
            ReadResponse(child, result.members);
    return result;
}

bool IsInvalidSyncToken(std::string_view body) {
    try {
        const XmlElement root = ParseXml(body);
        return root.space == kDavSpace && root.name == "error" &&
               root.Find(kDavSpace, "valid-sync-token") != nullptr;
    } catch (const XmlError&) {
        return false;
    }
}

int DavStatusCode(std::string_view line) {
    return StatusCode(line);
}

std::string XmlEscape(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        case '\'':
            escaped += "&apos;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

std::string_view XmlTrimmed(std::string_view text) {
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace tilava
