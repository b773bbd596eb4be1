#include "core/Cp1250.h"

#include "core/Utf8.h"

#include <gtest/gtest.h>

using namespace tilava;

TEST(Cp1250, EveryByteDecodesToOneCharacterAndEncodesBack) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all.push_back(static_cast<char>(b));
    }
    const std::string text = DecodeCp1250(all);
    const std::u32string characters = Utf8ToUtf32(text);
    ASSERT_EQ(characters.size(), 256u);
    for (int b = 0; b < 128; ++b) {
        EXPECT_EQ(characters[b], static_cast<char32_t>(b));
    }
    // Bytes 0x80..0xFF in order; the five unassigned ones are the C1 controls of their number.
    const std::string upperHalf = "€\u0081‚\u0083„…†‡\u0088‰Š‹ŚŤŽŹ\u0090‘’“”•–—\u0098™š›śťžź"
                                  "\u00A0ˇ˘Ł¤Ą¦§¨©Ş«¬\u00AD®Ż°±˛ł´µ¶·¸ąş»Ľ˝ľż"
                                  "ŔÁÂĂÄĹĆÇČÉĘËĚÍÎĎĐŃŇÓÔŐÖ×ŘŮÚŰÜÝŢß"
                                  "ŕáâăäĺćçčéęëěíîďđńňóôőö÷řůúűüýţ˙";
    EXPECT_EQ(Utf32ToUtf8(characters.substr(128)), upperHalf);
    EXPECT_FALSE(FirstUnencodable(text).has_value());
    EXPECT_EQ(EncodeCp1250(text), all);
}

TEST(Cp1250, SlovakAndCzechLettersHaveTheirBytes) {
    const std::pair<const char*, unsigned char> letters[] = {
        {"ľ", 0xBE}, {"Ľ", 0xBC}, {"š", 0x9A},      {"Š", 0x8A}, {"č", 0xE8}, {"Č", 0xC8},
        {"ť", 0x9D}, {"Ť", 0x8D}, {"ž", 0x9E},      {"Ž", 0x8E}, {"ý", 0xFD}, {"Ý", 0xDD},
        {"á", 0xE1}, {"Á", 0xC1}, {"í", 0xED},      {"Í", 0xCD}, {"é", 0xE9}, {"É", 0xC9},
        {"ú", 0xFA}, {"Ú", 0xDA}, {"ä", 0xE4},      {"Ä", 0xC4}, {"ň", 0xF2}, {"Ň", 0xD2},
        {"ô", 0xF4}, {"Ô", 0xD4}, {"ŕ", 0xE0},      {"Ŕ", 0xC0}, {"ĺ", 0xE5}, {"Ĺ", 0xC5},
        {"ď", 0xEF}, {"Ď", 0xCF}, {"ř", 0xF8},      {"Ř", 0xD8}, {"ů", 0xF9}, {"Ů", 0xD9},
        {"ě", 0xEC}, {"Ě", 0xCC}, {"ó", 0xF3},      {"Ó", 0xD3}, {"„", 0x84}, {"“", 0x93},
        {"€", 0x80}, {"–", 0x96}, {"\u00A0", 0xA0}, {"§", 0xA7}, {"ˇ", 0xA1}, {"˙", 0xFF},
    };
    std::string text, bytes;
    for (const auto& [letter, byteValue] : letters) {
        EXPECT_EQ(EncodeCp1250(letter), std::string(1, static_cast<char>(byteValue))) << letter;
        EXPECT_EQ(DecodeCp1250(std::string(1, static_cast<char>(byteValue))), letter) << letter;
        text += letter;
        bytes.push_back(static_cast<char>(byteValue));
    }
    EXPECT_EQ(EncodeCp1250("Ján: " + text + "\r\n"), "J\xE1n: " + bytes + "\r\n");
}

// Exactly the 256 characters of the table are encodable, each to the byte that decodes to it.
TEST(Cp1250, OnlyTheTableIsEncodable) {
    int count = 0;
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        if (c == 0xD800) {
            c = 0xE000; // surrogates are no characters
        }
        if (!CanEncodeCp1250(c)) {
            continue;
        }
        ++count;
        std::string codePoint;
        AppendUtf8(codePoint, c);
        const std::string byteValue = EncodeCp1250(codePoint);
        ASSERT_EQ(byteValue.size(), 1u) << std::hex << static_cast<unsigned>(c);
        ASSERT_EQ(DecodeCp1250(byteValue), codePoint) << std::hex << static_cast<unsigned>(c);
    }
    EXPECT_EQ(count, 256);
}

TEST(Cp1250, UnencodableCharactersAreRefusedAndNamed) {
    struct Case {
        std::string text;
        char32_t codePoint;
        std::string meno; // how the message names it
    };
    const Case cases[] = {
        {"Ahoj 😀!", 0x1F600, "„😀“ (U+1F600)"},
        {"Юлия", 0x042E, "„Ю“ (U+042E)"},
        {"Ján 𝔄", 0x1D504, "„𝔄“ (U+1D504)"},
        {"Łódź ñ", 0x00F1, "„ñ“ (U+00F1)"},
        {"Ż\u0080", 0x0080, "U+0080"},       // a control character Windows-1250 has no byte for
        {"a\u200Bb", 0x200B, "U+200B"},      // zero-width space
        {"e\u0301", 0x0301, "„◌́“ (U+0301)"}, // a combining accent
        {"ok \xC3", 0xFFFD, "„\uFFFD“ (U+FFFD)"}, // a malformed byte
    };
    for (const auto& p : cases) {
        EXPECT_EQ(FirstUnencodable(p.text), p.codePoint) << p.text;
        try {
            EncodeCp1250(p.text);
            ADD_FAILURE() << "no error for " << p.text;
        } catch (const Cp1250Error& e) {
            EXPECT_EQ(e.codePoint, p.codePoint);
            EXPECT_EQ(std::string(e.what()),
                      "Znak " + p.meno + " sa nedá uložiť v kódovaní Windows-1250.");
        }
    }
    EXPECT_EQ(FirstUnencodable("Žofia Řehoř „Ľudmila“ € ďťňĺŕ"), std::nullopt);
}
