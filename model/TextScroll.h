#pragma once

#include <string>
#include <string_view>

namespace tilava {

// The stepping of a scrolling label: a window of Pocet characters that moves on by one
// character over the text, two blanks and the text again, so the text runs through the label.
// Characters are counted as the user sees them (code points), never bytes.
class TextScroll {
public:
    // Text := text; the caption is then its first Pocet characters (the whole text when it is
    // shorter, empty when Pocet is 0). The position stays where it was.
    std::string SetText(std::string_view text);
    // Stores the count only; the caption follows at the next SetText or Step. A negative
    // count shows nothing.
    void SetCount(int count) { count_ = count < 0 ? 0 : count; }

    // One step: the caption is the Pocet characters of the doubled text from the position
    // (fewer where it ends sooner); the position then moves on by one and starts again at 1
    // before it would reach the last character of the text.
    std::string Step();

    const std::string& Text() const { return text_; }
    int Pocet() const { return count_; }
    // 1-based position, in the doubled text, of the first character the next step shows.
    int Position() const { return position_; }

private:
    std::string text_;
    std::u32string doubled_; // text, two blanks, text
    int length_ = 0;         // characters of the text
    int count_ = 0;
    int position_ = 1;
};

} // namespace tilava
