#include "model/Collation.h"

#include "core/Utf8.h"

#include <array>

namespace tilava {

namespace {

// Two rows of equal length: a character of the upper row stands for the character below it;
// the first place of a character in the upper row counts.
constexpr std::u32string_view zdrojovyRiadok =
    U" aáäAÁbBcčCČdďDĎeéěEÉfFgGhHiíIjJkKlľLĽmMnňŇNoôóOÓpPqQrřRŘsšSŠtťTŤwWzžZŽuúůUÚyýYxXvV";
constexpr std::string_view cielovyRiadok =
    " AAAAABBCCCCDDDDEEEEEFFGGHHIIIJJKKLLLLMMNNNNOOOOOPPQQRRRRSSSSTTTTWWZZZZUUUUUYYYXXVV";
static_assert(zdrojovyRiadok.size() == 83 && cielovyRiadok.size() == 83);

// Every character of the upper row lies below U+0180 (Latin-1 and Latin Extended-A).
constexpr char32_t rozsahTabulky = 0x180;

constexpr std::array<char, rozsahTabulky> zostavTabulku() {
    std::array<char, rozsahTabulky> table{};
    for (std::size_t p = zdrojovyRiadok.size(); p-- > 0;)
        table[zdrojovyRiadok[p]] = cielovyRiadok[p]; // walking backwards, the first place wins
    return table;
}

constexpr std::array<char, rozsahTabulky> table = zostavTabulku();

} // namespace

void AppendNormalized(std::string& out, std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        const char32_t codePoint = Utf8Next(text, pos);
        out.push_back(codePoint < rozsahTabulky ? table[codePoint] : '\0');
    }
}

std::string Normalizuj(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    AppendNormalized(out, text);
    return out;
}

} // namespace tilava
