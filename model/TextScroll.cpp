#include "model/TextScroll.h"

#include "core/Utf8.h"

namespace tilava {

std::string TextScroll::SetText(std::string_view text) {
    text_.assign(text);
    const std::u32string characters = Utf8ToUtf32(text);
    length_ = static_cast<int>(characters.size());
    doubled_ = characters + U"  " + characters;
    return Utf8Left(text_, static_cast<std::size_t>(count_));
}

std::string TextScroll::Step() {
    const auto start = static_cast<std::size_t>(position_ - 1);
    std::string description;
    if (start < doubled_.size())
        description = Utf32ToUtf8(
            std::u32string_view(doubled_).substr(start, static_cast<std::size_t>(count_)));
    ++position_;
    if (position_ >= length_)
        position_ = 1;
    return description;
}

} // namespace tilava
