#pragma once

#include "model/Reminders.h"
#include "ui/skin/WidgetPicture.h"

#include <QPixmap>

#include <cstddef>
#include <vector>

class QColor;
class QLabel;
class QObject;
class QWidget;

namespace tilava {

class ReminderText;

// The coloured bars behind the widget's reminder text: one bar a line, blue for a note, green
// for a birthday, red for an anniversary, purple for the days the program did not run, slate
// for a day file that cannot be read and navy for the last bar when the screen has no room for
// the others (it tells how many are left out). The bars are labels of the window named Pruh1,
// Pruh2, ..., created when first needed and kept for later rebuilds, and they lie below all
// the window's other controls.
class ReminderBars {
public:
    // Each bar has this much room above its text, and two bars have this much background
    // between them, so bars of one colour stay apart.
    static constexpr int Indent = 2;
    static constexpr int Gap = 1;

    // The bars are made on `window`; `watcher` gets their mouse events.
    ReminderBars(QWidget& window, QObject& watcher);

    // Shows a bar for each of `lines` (the first `missed` of them missed days, and with `more`
    // the last one the bar that tells how many are left out) behind the paragraphs of `text`,
    // from `top` down, across the window; hides the bars left over. Returns the bottom of the
    // last bar, `top` when there are none.
    int Show(const std::vector<ReminderLine>& lines, std::size_t missed, const ReminderText& text,
             int top, bool more = false);

    // The bars made so far, shown or not.
    std::size_t Count() const { return bars_.size(); }
    // The bars shown now, the one that tells the rest included.
    std::size_t Shown() const { return shown_; }
    // The bar that tells how many are left out, when it is shown.
    const QLabel* MoreBar() const { return more_ ? bars_[shown_ - 1] : nullptr; }
    QLabel* Bar(std::size_t i) const { return bars_[i]; }
    bool IsBar(const QObject* object) const;

private:
    const QPixmap& Picture(const ReminderLine& line, bool missed);
    static const QPixmap& Plain(QPixmap& picture, const QColor& colour);

    QWidget& window_;
    QObject& watcher_;
    std::vector<QLabel*> bars_;
    WidgetPicture note_{QStringLiteral("main_bar_note")};
    WidgetPicture birthday_{QStringLiteral("main_bar_birthday")};
    WidgetPicture anniversary_{QStringLiteral("main_bar_anniversary")};
    WidgetPicture missed_{QStringLiteral("main_bar_missed")};
    QPixmap error_;
    QPixmap rest_;
    std::size_t shown_ = 0;
    bool more_ = false;
};

} // namespace tilava
