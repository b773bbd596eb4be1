#include "ui/windows/WeekDayRow.h"

#include "core/CalendarWords.h"
#include "core/Utf8.h"
#include "model/uTyzden.h"
#include "ui/controls/LabelScroll.h"
#include "ui/controls/PictureButton.h"
#include "ui/skin/Fonts.h"
#include "ui/skin/Palette.h"
#include "ui/windows/WeekLook.h"

#include <QColor>
#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>
#include <QPalette>
#include <QString>
#include <QStyledItemDelegate>

#include <cstddef>

namespace tilava {

namespace {

const QString listHint = QStringLiteral("Kliknutím vložíte udalosť");
const QColor listFrame(0xB5, 0xCB, 0xE6);
const QColor greyBase(0xF0, 0xF0, 0xF0);
const QColor greyText(0x80, 0x80, 0x80);

// Rows of 12 pixels: four entries fill the 50 pixels inside the list's frame, so a day with
// four shows them whole and without a scroll bar.
class CompactRows final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    static constexpr int Height = 12;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(Height);
        return size;
    }
};

} // namespace

QFont WeekDayRow::DigitsFont() {
    // The widest two digits fit the 48-pixel box with a margin on each side, so that they
    // keep apart from the names beside them.
    QFont digits = fonts::Font(fonts::kWeekNarrow, 40, true);
    while (digits.pixelSize() > 20 &&
           QFontMetrics(digits).horizontalAdvance(QStringLiteral("00")) > 40)
        digits.setPixelSize(digits.pixelSize() - 1);
    return digits;
}

WeekDayRow::WeekDayRow(QWidget* window, int i, const QFont& digits, PictureButton* area)
    : day_(i), area_(area) {
    const int y = 55 * i;
    const QColor color = i == 7 ? palette::kWeekRed : palette::kWeekNavy;
    date_ =
        week::Label(window, QStringLiteral("lblDen%1").arg(i), QPoint(13, y + 44), digits, color);
    date_->setGeometry(13, y + 44, 48, 48);
    date_->setAlignment(Qt::AlignCenter);
    weekday_ =
        week::Label(window, QStringLiteral("lblDenTyzdna%1").arg(i), QPoint(60, y + 43),
                    week::Font(11, true), color, week::Text(Dni[static_cast<std::size_t>(i)]));
    first_ = new TLabelScroll(window);
    first_->setObjectName(QStringLiteral("lblPrvy%1").arg(i));
    first_->setFont(week::Font(11, false));
    week::SetTextColor(first_, color);
    first_->move(60, y + 76);
    second_ = week::Label(window, QStringLiteral("lblDruhy%1").arg(i), QPoint(60, y + 63),
                          week::Font(11, false), color);
    // The labels lie over the day's click area, which takes their clicks.
    for (QWidget* w : {static_cast<QWidget*>(date_), static_cast<QWidget*>(weekday_),
                       static_cast<QWidget*>(first_), static_cast<QWidget*>(second_)})
        w->setAttribute(Qt::WA_TransparentForMouseEvents);

    list_ = new QListWidget(window);
    list_->setObjectName(QStringLiteral("lstDen%1").arg(i));
    list_->setGeometry(182, y + 42, 331, 52);
    list_->setProperty("tag", i);
    list_->setToolTip(listHint);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setFrameStyle(QFrame::Box | QFrame::Plain);
    list_->setFocusPolicy(Qt::StrongFocus);
    list_->setItemDelegate(new CompactRows(list_));
    SetLook(nullptr);
}

void WeekDayRow::ShowDay(const TTyzden& week) {
    date_->setText(week::Text(week.DayOfMonthText(day_)));
    // The first entry lies on the lower line, the second above it; both end before the day's
    // list.
    week::FitText(first_, week::Text(week.FirstEntry(day_)), week::Font(11, false), 120);
    week::FitText(second_, week::Text(week.SecondEntry(day_)), week::Font(11, false), 120);
    const QColor color = week.IsRed(day_) ? palette::kWeekRed : palette::kWeekNavy;
    for (QWidget* w : {static_cast<QWidget*>(date_), static_cast<QWidget*>(weekday_),
                       static_cast<QWidget*>(first_), static_cast<QWidget*>(second_)})
        week::SetTextColor(w, color);
    // The day and its names or holiday, as the row shows them beside the list.
    // Told to assistive technology only when they change.
    const QString title = week::Text(week.DayTitle(day_));
    const QString names = week::Text(week.DayNames(day_));
    for (QWidget* w : {static_cast<QWidget*>(list_), static_cast<QWidget*>(area_)}) {
        if (w->accessibleName() != title)
            w->setAccessibleName(title);
        if (w->accessibleDescription() != names)
            w->setAccessibleDescription(names);
    }
    ShowLines(week);
}

void WeekDayRow::ShowLines(const TTyzden& week) {
    list_->clear();
    QString hint = listHint;
    for (const WeekLine& line : week.Lines(day_)) {
        // A row shows one line and its hint a few: an entry of a megabyte from an import or a
        // hand edit would only hold up the window. The editor opens the whole text.
        auto* item = new QListWidgetItem(week::Text(Utf8Shorten(line.Text, 500)), list_);
        const QString text = week::Text(Utf8Shorten(line.Text, 2000));
        item->setToolTip(text);
        hint = text;
    }
    list_->setToolTip(hint);
    SetLook(&week);
}

void WeekDayRow::SetLook(const TTyzden* week) {
    const bool editable = !week || week->Editable(day_);
    QPalette p = list_->palette();
    p.setColor(QPalette::Base, editable ? QColor(Qt::white) : greyBase);
    p.setColor(QPalette::Text, editable ? palette::kWeekNavy : greyText);
    p.setColor(QPalette::WindowText, listFrame);
    list_->setPalette(p);
    if (!editable)
        list_->setToolTip(
            QStringLiteral("Súbor %1 sa nepodarilo prečítať celý: deň sa nedá upravovať.")
                .arg(QString::fromStdString(
                    week->Poznamky(day_).NazovSuboru().filename().string())));
}

} // namespace tilava
