// Feeds arbitrary bytes to the XML reader of the calendar sync and checks what must hold for
// every input: it refuses only with XmlError; a tree it reads keeps the depth limit and has only
// UTF-8 text; the tree written out again (every namespace declared anew, every text escaped)
// reads back as the same tree; the bytes as the text of one element read back unchanged exactly
// when they are characters XML allows; and a multistatus gives members with an address and an
// HTTP status.
#include "exchange/sync/DavXml.h"
#include "fuzz/Broken.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

using tilava::XmlElement;
using tilava::XmlError;
using tilava::fuzz::Broken;

// True when the text is UTF-8 of characters XML allows: tab, line feed, carriage return and
// everything from U+0020 but surrogates, U+FFFE and U+FFFF. Written apart from the reader's own
// check, so that each checks the other.
bool IsXmlText(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        int extra = 0;
        if (lead >= 0xF0 && lead < 0xF8)
            extra = 3;
        else if (lead >= 0xE0 && lead < 0xF0)
            extra = 2;
        else if (lead >= 0xC0 && lead < 0xE0)
            extra = 1;
        else if (lead >= 0x80)
            return false;
        if (text.size() - i <= static_cast<std::size_t>(extra))
            return false;
        std::uint32_t code = extra == 0 ? lead : lead & (0x3Fu >> extra);
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            if (next < 0x80 || next > 0xBF)
                return false;
            code = code << 6 | (next & 0x3Fu);
        }
        const std::uint32_t shortest[] = {0, 0x80, 0x800, 0x10000};
        if (code < shortest[extra] || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000) ||
            code == 0xFFFE || code == 0xFFFF ||
            (code < 0x20 && code != 9 && code != 10 && code != 13))
            return false;
        i += static_cast<std::size_t>(extra) + 1;
    }
    return true;
}

int Depth(const XmlElement& element) {
    int deepest = 0;
    for (const XmlElement& child : element.children) {
        const int depth = Depth(child);
        deepest = depth > deepest ? depth : deepest;
    }
    return deepest + 1;
}

void CheckNames(const XmlElement& element) {
    if (element.name.empty() || element.name.find(':') != std::string::npos)
        Broken("an element name that is empty or keeps its prefix");
    if (!IsXmlText(element.text) || !IsXmlText(element.space))
        Broken("text or a namespace that is not XML characters");
    for (const XmlElement& child : element.children)
        CheckNames(child);
}

void Write(const XmlElement& element, std::string& out) {
    out += "<" + element.name + " xmlns=\"" + tilava::XmlEscape(element.space) + "\">";
    out += tilava::XmlEscape(element.text);
    for (const XmlElement& child : element.children)
        Write(child, out);
    out += "</" + element.name + ">";
}

bool Same(const XmlElement& a, const XmlElement& b) {
    if (a.space != b.space || a.name != b.name || a.text != b.text ||
        a.children.size() != b.children.size())
        return false;
    for (std::size_t i = 0; i < a.children.size(); ++i)
        if (!Same(a.children[i], b.children[i]))
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    try {
        const XmlElement root = tilava::ParseXml(bytes);
        if (Depth(root) > tilava::kDeepestXml)
            Broken("a tree deeper than the limit");
        CheckNames(root);
        std::string written;
        Write(root, written);
        if (!Same(tilava::ParseXml(written), root))
            Broken("the tree written out reads back differently");
    } catch (const XmlError&) {
    }

    bool readBack = false;
    try {
        readBack = tilava::ParseXml("<m>" + tilava::XmlEscape(bytes) + "</m>").text == bytes;
    } catch (const XmlError&) {
    }
    if (readBack != IsXmlText(bytes))
        Broken("escaped text does not read back exactly when it is XML characters");

    try {
        for (const tilava::DavMember& member : tilava::ReadMultiStatus(bytes).members) {
            if (member.href.empty() || member.href.front() == ' ' || member.href.back() == ' ')
                Broken("a member without a trimmed address");
            if (member.status < 100 || member.status > 999)
                Broken("a member status that is no HTTP status");
        }
    } catch (const XmlError&) {
    }
    tilava::IsInvalidSyncToken(bytes);
    return 0;
}
