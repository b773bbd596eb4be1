#include "ui/controls/ReminderText.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextOption>

#include <cmath>

namespace tilava {

ReminderText::ReminderText(QWidget* parent, qreal gap) : QLabel(parent), gap_(gap) {
    setTextFormat(Qt::PlainText);
}

ReminderText::~ReminderText() = default;

std::unique_ptr<QTextLayout> ReminderText::LayOut(const QString& text, int width, qreal top) const {
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    auto layout = std::make_unique<QTextLayout>(text, font());
    layout->setTextOption(option);
    layout->beginLayout();
    qreal y = top;
    for (int n = 0; n < MaxLines; ++n) {
        QTextLine line = layout->createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(width);
        line.setPosition({0, y});
        y += line.height();
    }
    layout->endLayout();
    return layout;
}

void ReminderText::SetParagraphs(const QStringList& paragraphs, int width) {
    paragraphs_.clear();
    qreal y = 0;
    for (QString text : paragraphs) {
        text.remove(QLatin1Char('\r'));
        text.replace(QLatin1Char('\n'), QChar::LineSeparator);
        // An empty reminder still gets its line, as its bar does.
        if (text.isEmpty())
            text = QChar::Nbsp;
        if (!paragraphs_.empty())
            y += gap_;
        auto layout = LayOut(text, width, y);
        const QTextLine last = layout->lineAt(layout->lineCount() - 1);
        if (last.textStart() + last.textLength() < text.size()) {
            // The last line shows as much of the rest as fits, then "…".
            QString rest = text.mid(last.textStart());
            rest.replace(QChar::LineSeparator, QLatin1Char(' '));
            layout = LayOut(text.left(last.textStart()) +
                                QFontMetrics(font()).elidedText(rest, Qt::ElideRight, width),
                            width, y);
        }
        const QTextLine bottom = layout->lineAt(layout->lineCount() - 1);
        y = bottom.y() + bottom.height();
        paragraphs_.push_back(std::move(layout));
    }
    // setText switches mouse tracking off for plain text; the widget follows the pointer over
    // the reminders too.
    const bool sledovanie = hasMouseTracking();
    setText(paragraphs.join(QLatin1Char('\n')));
    setMouseTracking(sledovanie);
    update();
}

QRectF ReminderText::Paragraph(int i) const {
    const QTextLayout& l = *paragraphs_.at(static_cast<std::size_t>(i));
    const QTextLine first = l.lineAt(0);
    const QTextLine last = l.lineAt(l.lineCount() - 1);
    return {0, first.y(), width() * 1.0, last.y() + last.height() - first.y()};
}

int ReminderText::Height() const {
    return paragraphs_.empty()
               ? 0
               : static_cast<int>(std::ceil(Paragraph(ParagraphCount() - 1).bottom()));
}

void ReminderText::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setPen(palette().color(QPalette::WindowText));
    for (const auto& l : paragraphs_)
        l->draw(&p, {0, 0});
}

} // namespace tilava
