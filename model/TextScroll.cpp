#include "model/TextScroll.h"

#include "core/Utf8.h"

namespace tilava {

std::string TextScroll::NastavText(std::string_view text) {
    text_.assign(text);
    const std::u32string znaky = Utf8ToUtf32(text);
    dlzka_ = static_cast<int>(znaky.size());
    zdvojeny_ = znaky + U"  " + znaky;
    return Utf8Left(text_, static_cast<std::size_t>(pocet_));
}

std::string TextScroll::Krok() {
    const auto zaciatok = static_cast<std::size_t>(pozicia_ - 1);
    std::string popis;
    if (zaciatok < zdvojeny_.size())
        popis = Utf32ToUtf8(
            std::u32string_view(zdvojeny_).substr(zaciatok, static_cast<std::size_t>(pocet_)));
    ++pozicia_;
    if (pozicia_ >= dlzka_)
        pozicia_ = 1;
    return popis;
}

} // namespace tilava
