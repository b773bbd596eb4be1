#include "ui/controls/ReminderBars.h"

#include "store/uPoznamky.h"
#include "ui/controls/ReminderText.h"
#include "ui/skin/Palette.h"

#include <QLabel>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace tilava {

ReminderBars::ReminderBars(QWidget& window, QObject& watcher)
    : window_(window), watcher_(watcher) {}

bool ReminderBars::IsBar(const QObject* object) const {
    return std::find(bars_.begin(), bars_.end(), object) != bars_.end();
}

const QPixmap& ReminderBars::Plain(QPixmap& picture, const QColor& colour) {
    if (picture.isNull()) {
        picture = QPixmap(4, 4);
        picture.fill(colour);
    }
    return picture;
}

const QPixmap& ReminderBars::Picture(const ReminderLine& line, bool missed) {
    // Plain bars, unlike the three kinds of entries, under the white text.
    if (line.error)
        return Plain(error_, palette::kSlate);
    if (missed)
        return missed_();
    switch (line.kind) {
    case EntryKind::Poznamka:
        return note_();
    case EntryKind::Vyrocie:
        return anniversary_();
    case EntryKind::Narodeniny:
        break;
    }
    return birthday_();
}

int ReminderBars::Show(const std::vector<ReminderLine>& lines, std::size_t missed,
                       const ReminderText& text, int top, bool more) {
    for (QLabel* bar : bars_)
        bar->hide();
    shown_ = lines.size();
    more_ = more && shown_ > 0;
    int bottom = top;
    int height = 0; // of the text so far
    for (std::size_t n = 0; n < lines.size(); ++n) {
        if (n == bars_.size()) {
            auto* bar = new QLabel(&window_);
            bar->setObjectName(QStringLiteral("Pruh%1").arg(n + 1));
            bar->setScaledContents(true);
            bar->setMouseTracking(true);
            bar->installEventFilter(&watcher_);
            bars_.push_back(bar);
        }
        QLabel* bar = bars_[n];
        // Below the bar above, past the line of background between them.
        const int barTop = n == 0 ? top : top + Indent + height + Gap;
        bar->lower();
        const int textBottom =
            static_cast<int>(std::ceil(text.Paragraph(static_cast<int>(n)).bottom()));
        bar->setPixmap(more_ && n + 1 == shown_ ? Plain(rest_, palette::kNavy)
                                                : Picture(lines[n], n < missed));
        bar->setGeometry(0, barTop, window_.width(), top + Indent + textBottom - barTop);
        bar->show();
        height = textBottom;
        bottom = bar->y() + bar->height();
    }
    return bottom;
}

} // namespace tilava
