#include "core/Utf8.h"

#include <cstdio>

namespace tilava {

namespace {

constexpr char32_t kNahradny = U'\uFFFD';

bool JePokracovanie(unsigned char b) {
    return (b & 0xC0) == 0x80;
}

} // namespace

char32_t Utf8Next(std::string_view text, std::size_t& pos) {
    const auto byteValue = [&](std::size_t k) { return static_cast<unsigned char>(text[pos + k]); };
    const unsigned char b0 = byteValue(0);
    if (b0 < 0x80) {
        ++pos;
        return b0;
    }
    // Length of the sequence and the allowed range of its second byte; the narrowed ranges
    // refuse overlong forms, surrogates and code points above U+10FFFF.
    std::size_t length = 0;
    unsigned char od = 0x80, later = 0xBF;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3;
        if (b0 == 0xE0) {
            od = 0xA0;
        } else if (b0 == 0xED) {
            later = 0x9F;
        }
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4;
        if (b0 == 0xF0) {
            od = 0x90;
        } else if (b0 == 0xF4) {
            later = 0x8F;
        }
    }
    if (length == 0 || text.size() - pos < length || byteValue(1) < od || byteValue(1) > later) {
        ++pos;
        return kNahradny;
    }
    char32_t c = b0 & (0xFF >> (length + 1));
    for (std::size_t k = 1; k < length; ++k) {
        if (!JePokracovanie(byteValue(k))) {
            ++pos;
            return kNahradny;
        }
        c = (c << 6) | (byteValue(k) & 0x3F);
    }
    pos += length;
    return c;
}

std::size_t Utf8Length(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < text.size(); ++count) {
        Utf8Next(text, pos);
    }
    return count;
}

std::string Utf8Left(std::string_view text, std::size_t count) {
    std::size_t pos = 0;
    for (std::size_t n = 0; n < count && pos < text.size(); ++n) {
        Utf8Next(text, pos);
    }
    return std::string(text.substr(0, pos));
}

std::string Utf8Shorten(std::string_view text, std::size_t count) {
    std::string head = Utf8Left(text, count);
    if (head.size() < text.size()) {
        head += "…";
    }
    return head;
}

std::u32string Utf8ToUtf32(std::string_view text) {
    std::u32string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        out.push_back(Utf8Next(text, pos));
    }
    return out;
}

std::string Utf32ToUtf8(std::u32string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char32_t c : text) {
        AppendUtf8(out, c);
    }
    return out;
}

void AppendUtf8(std::string& out, char32_t c) {
    if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) {
        c = kNahradny;
    }
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

std::string PrintableText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const unsigned char b = static_cast<unsigned char>(text[pos]);
        if (b >= 0x20 && b < 0x7F) {
            out += static_cast<char>(b);
            ++pos;
            continue;
        }
        const char32_t c = Utf8Next(text, pos);
        if (c == U'\n' || (c >= 0x20 && c < 0x7F) || c > 0x9F) {
            AppendUtf8(out, c);
        } else {
            char code[8];
            std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
            out += code;
        }
    }
    return out;
}

} // namespace tilava
