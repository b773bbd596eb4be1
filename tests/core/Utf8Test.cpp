#include "core/Utf8.h"

#include <gtest/gtest.h>

using namespace tilava;

TEST(Utf8, LengthAndCutCountCharactersNotBytes) {
    struct Case {
        std::string text;
        std::size_t length;
        std::size_t count;
        std::string start;
    };
    const Case cases[] = {
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
    for (const auto& p : cases) {
        EXPECT_EQ(Utf8Length(p.text), p.length) << p.text;
        EXPECT_EQ(Utf8Left(p.text, p.count), p.start) << p.text;
        EXPECT_EQ(Utf8Left(p.text, p.length + 5), p.text) << p.text;
    }
}

TEST(Utf8, EncodesBoundaryCodePoints) {
    const std::pair<char32_t, std::string> cases[] = {
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
    for (const auto& [c, bytes] : cases) {
        std::string out = "x";
        AppendUtf8(out, c);
        EXPECT_EQ(out, "x" + bytes) << std::hex << static_cast<unsigned>(c);
        if (bytes != "\xEF\xBF\xBD" || c == 0xFFFD) {
            EXPECT_EQ(Utf8ToUtf32(bytes), std::u32string(1, c)) << std::hex << unsigned(c);
        }
    }
}

TEST(Utf8, MalformedBytesCountOneEachAndDecodeToReplacement) {
    const char32_t r = 0xFFFD;
    struct Case {
        std::string bytes;
        std::u32string characters;
    };
    const Case cases[] = {
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
    for (const auto& p : cases) {
        EXPECT_EQ(Utf8ToUtf32(p.bytes), p.characters);
        EXPECT_EQ(Utf8Length(p.bytes), p.characters.size());
        // a cut counts bad bytes the same way and keeps the bytes as they were
        for (std::size_t n = 0; n <= p.characters.size(); ++n) {
            const std::string start = Utf8Left(p.bytes, n);
            EXPECT_EQ(Utf8ToUtf32(start), p.characters.substr(0, n));
            EXPECT_EQ(p.bytes.compare(0, start.size(), start), 0);
        }
    }
}

TEST(Utf8, RoundTripAndCutsNeverSplitACharacter) {
    const std::string text = "Žofia Řehoř – 😀 „Ľudmila“ ďťňĺŕô €";
    const std::u32string characters = Utf8ToUtf32(text);
    ASSERT_EQ(characters.size(), Utf8Length(text));
    EXPECT_EQ(Utf32ToUtf8(characters), text);
    for (std::size_t n = 0; n <= characters.size(); ++n) {
        const std::string start = Utf8Left(text, n);
        EXPECT_EQ(Utf8ToUtf32(start), characters.substr(0, n)) << n;
        EXPECT_EQ(text.compare(0, start.size(), start), 0) << n;
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
