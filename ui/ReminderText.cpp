#include "ui/ReminderText.h"

#include <QPainter>
#include <QTextOption>

#include <cmath>

namespace tilava {

ReminderText::ReminderText(QWidget* parent, qreal medzera) : QLabel(parent), medzera_(medzera) {
    setTextFormat(Qt::PlainText);
}

ReminderText::~ReminderText() = default;

void ReminderText::NastavOdseky(const QStringList& odseky, int sirka) {
    odseky_.clear();
    QTextOption volba;
    volba.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    qreal y = 0;
    for (QString text : odseky) {
        text.remove(QLatin1Char('\r'));
        text.replace(QLatin1Char('\n'), QChar::LineSeparator);
        // An empty reminder still gets its line, as its bar does.
        if (text.isEmpty())
            text = QChar::Nbsp;
        if (!odseky_.empty())
            y += medzera_;
        auto layout = std::make_unique<QTextLayout>(text, font());
        layout->setTextOption(volba);
        layout->beginLayout();
        for (QTextLine riadok = layout->createLine(); riadok.isValid();
             riadok = layout->createLine()) {
            riadok.setLineWidth(sirka);
            riadok.setPosition({0, y});
            y += riadok.height();
        }
        layout->endLayout();
        odseky_.push_back(std::move(layout));
    }
    // setText switches mouse tracking off for plain text; the widget follows the pointer over
    // the reminders too.
    const bool sledovanie = hasMouseTracking();
    setText(odseky.join(QLatin1Char('\n')));
    setMouseTracking(sledovanie);
    update();
}

QRectF ReminderText::Odsek(int i) const {
    const QTextLayout& l = *odseky_.at(static_cast<std::size_t>(i));
    const QTextLine prvy = l.lineAt(0);
    const QTextLine posledny = l.lineAt(l.lineCount() - 1);
    return {0, prvy.y(), width() * 1.0, posledny.y() + posledny.height() - prvy.y()};
}

int ReminderText::Vyska() const {
    return odseky_.empty() ? 0 : static_cast<int>(std::ceil(Odsek(PocetOdsekov() - 1).bottom()));
}

void ReminderText::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setPen(palette().color(QPalette::WindowText));
    for (const auto& l : odseky_)
        l->draw(&p, {0, 0});
}

} // namespace tilava
