#include "core/Cp1250.h"

#include "core/Utf8.h"

#include <array>
#include <cstdint>
#include <cstdio>

namespace tilava {

namespace {

// The character of every byte. The five bytes Windows-1250 leaves unassigned (0x81, 0x83,
// 0x88, 0x90, 0x98) stand for the control characters of the same number, as Windows reads them.
constexpr std::array<char16_t, 256> kZnaky = {
    0x0000, 0x0001, 0x0002, 0x0003, 0x0004, 0x0005, 0x0006, 0x0007,
    0x0008, 0x0009, 0x000A, 0x000B, 0x000C, 0x000D, 0x000E, 0x000F, // 0_
    0x0010, 0x0011, 0x0012, 0x0013, 0x0014, 0x0015, 0x0016, 0x0017,
    0x0018, 0x0019, 0x001A, 0x001B, 0x001C, 0x001D, 0x001E, 0x001F, // 1_
    0x0020, 0x0021, 0x0022, 0x0023, 0x0024, 0x0025, 0x0026, 0x0027,
    0x0028, 0x0029, 0x002A, 0x002B, 0x002C, 0x002D, 0x002E, 0x002F, // 2_
    0x0030, 0x0031, 0x0032, 0x0033, 0x0034, 0x0035, 0x0036, 0x0037,
    0x0038, 0x0039, 0x003A, 0x003B, 0x003C, 0x003D, 0x003E, 0x003F, // 3_
    0x0040, 0x0041, 0x0042, 0x0043, 0x0044, 0x0045, 0x0046, 0x0047,
    0x0048, 0x0049, 0x004A, 0x004B, 0x004C, 0x004D, 0x004E, 0x004F, // 4_
    0x0050, 0x0051, 0x0052, 0x0053, 0x0054, 0x0055, 0x0056, 0x0057,
    0x0058, 0x0059, 0x005A, 0x005B, 0x005C, 0x005D, 0x005E, 0x005F, // 5_
    0x0060, 0x0061, 0x0062, 0x0063, 0x0064, 0x0065, 0x0066, 0x0067,
    0x0068, 0x0069, 0x006A, 0x006B, 0x006C, 0x006D, 0x006E, 0x006F, // 6_
    0x0070, 0x0071, 0x0072, 0x0073, 0x0074, 0x0075, 0x0076, 0x0077,
    0x0078, 0x0079, 0x007A, 0x007B, 0x007C, 0x007D, 0x007E, 0x007F, // 7_
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021,
    0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179, // 8_
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, // 9_
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B, // A_
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C, // B_
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, // C_
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, // D_
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, // E_
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9, // F_
};

// Every character of the table lies below this bound (the highest is U+2122).
constexpr std::size_t kHranica = 0x2200;

// Byte of each character below kHranica; 0 where Windows-1250 has none. Built once by the
// compiler, so encoding is one bounds check and one load per character.
constexpr std::array<std::uint8_t, kHranica> kBajty = [] {
    std::array<std::uint8_t, kHranica> bytes{};
    for (std::size_t b = 0; b < kZnaky.size(); ++b) {
        bytes[kZnaky[b]] = static_cast<std::uint8_t>(b);
    }
    return bytes;
}();

// Byte of a character; -1 when Windows-1250 cannot hold it. U+0000 is byte 0.
int Bajt(char32_t c) {
    if (c >= kHranica) {
        return -1;
    }
    const int b = kBajty[c];
    return (b == 0 && c != 0) ? -1 : b;
}

// Characters that show nothing when printed alone: control and formatting characters.
bool JeNeviditelny(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0xAD || (c >= 0x200B && c <= 0x200F) ||
           (c >= 0x2028 && c <= 0x202E) || (c >= 0x2060 && c <= 0x206F) ||
           (c >= 0xD800 && c <= 0xDFFF) || (c >= 0xFE00 && c <= 0xFE0F) || c == 0xFEFF ||
           (c >= 0xFFF9 && c <= 0xFFFB) || (c >= 0xE0000 && c <= 0xE0FFF) || c > 0x10FFFF;
}

// Combining marks are shown on a dotted circle, or they would sit on the quotation mark.
bool JeKombinujuci(char32_t c) {
    return (c >= 0x0300 && c <= 0x036F) || (c >= 0x1AB0 && c <= 0x1AFF) ||
           (c >= 0x1DC0 && c <= 0x1DFF) || (c >= 0x20D0 && c <= 0x20FF) ||
           (c >= 0xFE20 && c <= 0xFE2F);
}

[[noreturn]] void Odmietni(char32_t c) {
    throw Cp1250Error(c,
                      "Znak " + DescribeCharacter(c) + " sa nedá uložiť v kódovaní Windows-1250.");
}

} // namespace

bool CanEncodeCp1250(char32_t c) {
    return Bajt(c) >= 0;
}

std::string DecodeCp1250(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (const char b : bytes) {
        const char16_t c = kZnaky[static_cast<unsigned char>(b)];
        if (c < 0x80) {
            out.push_back(b);
        } else {
            AppendUtf8(out, c);
        }
    }
    return out;
}

std::string EncodeCp1250(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        const auto b0 = static_cast<unsigned char>(utf8[pos]);
        if (b0 < 0x80) {
            out.push_back(static_cast<char>(b0));
            ++pos;
            continue;
        }
        const char32_t c = Utf8Next(utf8, pos);
        const int b = Bajt(c);
        if (b < 0) {
            Odmietni(c);
        }
        out.push_back(static_cast<char>(b));
    }
    return out;
}

std::optional<char32_t> FirstUnencodable(std::string_view utf8) {
    for (std::size_t pos = 0; pos < utf8.size();) {
        const char32_t c = Utf8Next(utf8, pos);
        if (Bajt(c) < 0) {
            return c;
        }
    }
    return std::nullopt;
}

std::string DescribeCharacter(char32_t c) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
    if (JeNeviditelny(c)) {
        return code;
    }
    std::string out = "„";
    if (JeKombinujuci(c)) {
        AppendUtf8(out, U'\u25CC');
    }
    AppendUtf8(out, c);
    out += "“ (";
    out += code;
    out += ')';
    return out;
}

} // namespace tilava
