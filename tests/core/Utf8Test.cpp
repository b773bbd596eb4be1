#include "core/Utf8.h"

#include <gtest/gtest.h>

using namespace tilava;

TEST(Utf8, LengthAndCutCountCharactersNotBytes) {
    struct Pripad {
        std::string text;
        std::size_t dlzka;
        std::size_t pocet;
        std::string zaciatok;
    };
    const Pripad pripady[] = {
        {"", 0, 3, ""},
        {"Eva", 3, 5, "Eva"},
        {"Ľubomír", 7, 2, "Ľu"},
        {"Ľubomír", 7, 6, "Ľubomí"},
        {"Řehoř, Žofia", 12, 5, "Řehoř"},
        {"€ „Ján“", 7, 3, "€ „"},
        {"a😀b", 3, 2, "a😀"},
        {"😀😀😀", 3, 1, "😀"},
        {"Veľkonočná nedeľa", 17, 15, "Veľkonočná nede"},
        {"ďťňľ", 4, 0, ""},
    };
    for (const auto& p : pripady) {
        EXPECT_EQ(Utf8Length(p.text), p.dlzka) << p.text;
        EXPECT_EQ(Utf8Left(p.text, p.pocet), p.zaciatok) << p.text;
        EXPECT_EQ(Utf8Left(p.text, p.dlzka + 5), p.text) << p.text;
    }
}

TEST(Utf8, EncodesBoundaryCodePoints) {
    const std::pair<char32_t, std::string> pripady[] = {
        {U'\0', std::string(1, '\0')},
        {0x7F, "\x7F"},
        {0x80, "\xC2\x80"},
        {0x7FF, "\xDF\xBF"},
        {0x800, "\xE0\xA0\x80"},
        {0xFFFD, "\xEF\xBF\xBD"},
        {0xFFFF, "\xEF\xBF\xBF"},
        {0x10000, "\xF0\x90\x80\x80"},
        {0x1F600, "\xF0\x9F\x98\x80"},
        {0x10FFFF, "\xF4\x8F\xBF\xBF"},
        // not characters: written as U+FFFD
        {0xD800, "\xEF\xBF\xBD"},
        {0xDFFF, "\xEF\xBF\xBD"},
        {0x110000, "\xEF\xBF\xBD"},
    };
    for (const auto& [c, bajty] : pripady) {
        std::string out = "x";
        AppendUtf8(out, c);
        EXPECT_EQ(out, "x" + bajty) << std::hex << static_cast<unsigned>(c);
        if (bajty != "\xEF\xBF\xBD" || c == 0xFFFD) {
            EXPECT_EQ(Utf8ToUtf32(bajty), std::u32string(1, c)) << std::hex << unsigned(c);
        }
    }
}

TEST(Utf8, MalformedBytesCountOneEachAndDecodeToReplacement) {
    const char32_t r = 0xFFFD;
    struct Pripad {
        std::string bajty;
        std::u32string znaky;
    };
    const Pripad pripady[] = {
        {"\x80", {r}},        // stray continuation byte
        {"a\xC3", {U'a', r}}, // cut off at the end
        {"\xC3(", {r, U'('}}, // lead byte without continuation
        {"\xE2\x82"
         "A",
         {r, r, U'A'}},                     // three-byte character cut short
        {"\xC0\xAF", {r, r}},               // overlong '/'
        {"\xE0\x80\xAF", {r, r, r}},        // overlong '/'
        {"\xF0\x80\x80\xAF", {r, r, r, r}}, // overlong '/'
        {"\xED\xA0\x80", {r, r, r}},        // surrogate
        {"\xF4\x90\x80\x80", {r, r, r, r}}, // above U+10FFFF
        {"\xF5\x80", {r, r}},               // never a lead byte
        {"\xFF\xFE", {r, r}},               //
        {"\xC5\xBD"
         "\xBD",
         {U'Ž', r}},                 // good character, then a stray byte
        {"\xF0\x9F\x98", {r, r, r}}, // emoji cut short
    };
    for (const auto& p : pripady) {
        EXPECT_EQ(Utf8ToUtf32(p.bajty), p.znaky);
        EXPECT_EQ(Utf8Length(p.bajty), p.znaky.size());
        // a cut counts bad bytes the same way and keeps the bytes as they were
        for (std::size_t n = 0; n <= p.znaky.size(); ++n) {
            const std::string zaciatok = Utf8Left(p.bajty, n);
            EXPECT_EQ(Utf8ToUtf32(zaciatok), p.znaky.substr(0, n));
            EXPECT_EQ(p.bajty.compare(0, zaciatok.size(), zaciatok), 0);
        }
    }
}

TEST(Utf8, RoundTripAndCutsNeverSplitACharacter) {
    const std::string text = "Žofia Řehoř – 😀 „Ľudmila“ ďťňĺŕô €";
    const std::u32string znaky = Utf8ToUtf32(text);
    ASSERT_EQ(znaky.size(), Utf8Length(text));
    EXPECT_EQ(Utf32ToUtf8(znaky), text);
    for (std::size_t n = 0; n <= znaky.size(); ++n) {
        const std::string zaciatok = Utf8Left(text, n);
        EXPECT_EQ(Utf8ToUtf32(zaciatok), znaky.substr(0, n)) << n;
        EXPECT_EQ(text.compare(0, zaciatok.size(), zaciatok), 0) << n;
    }
}

TEST(Utf8, PrintableTextShowsControlCharactersAsCodes) {
    const struct {
        std::string text;
        std::string printable;
    } cases[] = {
        {"Ján Novák „Ľ“ 😀", "Ján Novák „Ľ“ 😀"},
        {"a\nb", "a\nb"},
        {"\x1B[31mred\x1B[0m", "U+001B[31mredU+001B[0m"},
        {std::string("N\0L", 3), "NU+0000L"},
        {"\a\t\v\f\r\x1F\x7F", "U+0007U+0009U+000BU+000CU+000DU+001FU+007F"},
        {"\xC2\x80\xC2\x9B\xC2\x9F\xC2\xA0",
         "U+0080U+009BU+009F\xC2\xA0"}, // C1, then no-break space
        {"\x9B"
         "2J\xE2\x82",
         "\xEF\xBF\xBD"
         "2J\xEF\xBF\xBD\xEF\xBF\xBD"}, // a lone CSI byte and a cut character
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PrintableText(c.text), c.printable) << c.printable;
        EXPECT_EQ(PrintableText(c.printable), c.printable) << "printable text stays as it is";
    }
}
