#include "ui/windows/WeekSearch.h"

#include "model/uTyzden.h"
#include "ui/controls/PaintedLabel.h"
#include "ui/controls/PictureButton.h"
#include "ui/skin/Palette.h"
#include "ui/skin/Pictures.h"
#include "ui/windows/WeekLook.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPalette>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cstddef>

namespace tilava {

namespace {

// The results row lies between the search box and the footer of the background picture.
constexpr int kBoxBottom = 505;
constexpr int kFooterTop = 524;
// Of a query quoted back to the user.
constexpr int kLongestQuoted = 40;

int RowTop(const QWidget* w) {
    return kBoxBottom + (kFooterTop - kBoxBottom - w->height() + 1) / 2;
}

// An arrow out of use: its chevron faint over the background it lies on.
QPixmap Dimmed(const QPixmap& arrow, const QPixmap& background, QPoint place) {
    if (arrow.isNull() || background.isNull())
        return arrow;
    const qreal ratio = background.devicePixelRatio();
    const QSizeF size = arrow.deviceIndependentSize();
    QPixmap dimmed = background.copy(QRectF(QPointF(place) * ratio, size * ratio).toRect());
    dimmed.setDevicePixelRatio(ratio);
    QPainter p(&dimmed);
    p.setOpacity(0.3);
    p.drawPixmap(QRectF(QPointF(0, 0), size), arrow, QRectF(arrow.rect()));
    return dimmed;
}

// "1 výsledok", "3 výsledky", "12 výsledkov".
QString ResultCount(int count) {
    const char* word = count == 1                 ? "výsledok"
                       : count >= 2 && count <= 4 ? "výsledky"
                                                  : "výsledkov";
    return QString::number(count) + QLatin1Char(' ') + QString::fromUtf8(word);
}

// A change of the name is told only when there is one: assistive technology hears each once.
void Rename(QWidget* w, const QString& name) {
    if (w->accessibleName() != name)
        w->setAccessibleName(name);
}

} // namespace

WeekSearch::WeekSearch(QWidget* window, int width, const QPixmap& background)
    : QObject(window), width_(width) {
    txtFind = new QLineEdit(window);
    txtFind->setObjectName(QStringLiteral("txtFind"));
    txtFind->setGeometry(184, 485, 131, 18);
    txtFind->setFrame(false);
    txtFind->setFont(week::Font(11, false));
    {
        QPalette p = txtFind->palette();
        p.setColor(QPalette::Base, Qt::white);
        p.setColor(QPalette::Text, palette::kWeekNavy);
        txtFind->setPalette(p);
    }
    const int left[] = {56, 168, 312};
    for (std::size_t k = 0; k < 3; ++k) {
        // The focus frame of the button lies over the text.
        QLabel* text =
            week::SetUpLabel(new PaintedLabel(window), QStringLiteral("Label%1Text").arg(k + 1),
                             QPoint(left[k], 506), week::Font(11, true), palette::kWeekNavy);
        text->move(left[k], RowTop(text));
        // Assistive technology does not see the painted text (the button over it is the
        // result), so it is not told of its changes either.
        text->setAccessibleName(QStringLiteral("-"));
        resultTexts_[k] = text;
        results_[k] =
            week::Button(window, QStringLiteral("Label%1").arg(k + 1), text->geometry(), {});
        results_[k]->setAccessibleName(QStringLiteral("%1. výsledok hľadania").arg(k + 1));
        results_[k]->hide();
    }
    lblHladanie = week::Label(window, QStringLiteral("lblHladanie"), QPoint(0, 506),
                              week::Font(11, false), palette::kWeekNavy, QStringLiteral(" "));
    lblHladanie->setAlignment(Qt::AlignCenter);
    lblHladanie->setGeometry(16, RowTop(lblHladanie), width_ - 32, lblHladanie->height());
    lblHladanie->hide();

    const auto arrow = [window, &background, this](const char* name, int x, const char* picture,
                                                   std::size_t k) {
        arrowPictures_[k] =
            LoadSkinPicture(QLatin1String(picture), palette::kWeekSky, QSize(13, 22));
        PictureButton* button =
            week::Button(window, QLatin1String(name), QRect(x, 503, 13, 22), {}, arrowPictures_[k]);
        dimmedArrows_[k] = Dimmed(arrowPictures_[k], background, button->pos());
        button->hide();
        return button;
    };
    imgFminus = arrow("imgFminus", 0, "week_results_prev", 0);
    imgFplus = arrow("imgFplus", 512, "week_results_next", 1);
    HideArrows();

    txtFind->setAccessibleName(QStringLiteral("Hľadať meno"));
    imgFminus->setAccessibleName(QStringLiteral("Predchádzajúce výsledky"));
    imgFplus->setAccessibleName(QStringLiteral("Ďalšie výsledky"));

    txtFind->installEventFilter(this);
    imgFminus->installEventFilter(this);
    imgFplus->installEventFilter(this);
    for (PictureButton* result : results_)
        result->installEventFilter(this);
}

bool WeekSearch::HasResult(int k) const {
    return !Result(k)->text().isEmpty();
}

bool WeekSearch::Searchable() const {
    return txtFind->text().toUcs4().size() > 2;
}

void WeekSearch::ClearResults() {
    for (std::size_t k = 0; k < 3; ++k) {
        resultTexts_[k]->clear();
        resultTexts_[k]->hide();
        results_[k]->setText({});
        results_[k]->setToolTip({});
        results_[k]->hide();
        Rename(results_[k], QStringLiteral("%1. výsledok hľadania").arg(k + 1));
    }
}

void WeekSearch::HideArrows() {
    for (PictureButton* arrow : {imgFminus, imgFplus}) {
        arrow->hide();
        arrow->setEnabled(false);
    }
}

void WeekSearch::Say(const QString& note, const QString& told) {
    if (lblHladanie->text() != note)
        lblHladanie->setText(note);
    lblHladanie->setVisible(!note.isEmpty());
    if (txtFind->accessibleDescription() != told)
        txtFind->setAccessibleDescription(told);
}

void WeekSearch::ShowTooShort() {
    const QString note =
        txtFind->text().isEmpty() ? QString() : QStringLiteral("Napíšte aspoň tri písmená.");
    Say(note, note);
}

void WeekSearch::ShowResults(const TTyzden& week) {
    const int found = week.ResultCount();
    if (found == 0) {
        QString query = txtFind->text().simplified();
        if (query.size() > kLongestQuoted)
            query = query.left(kLongestQuoted - 1) + QChar(0x2026);
        const QString note =
            QStringLiteral("Meno ani sviatok „%1“ sa v kalendári nenašli.").arg(query);
        Say(lblHladanie->fontMetrics().elidedText(note, Qt::ElideMiddle, lblHladanie->width()),
            note);
    }

    constexpr int margin = 16; // the arrows at both ends
    constexpr int gap = 8;
    int count = 0;
    int width = 0;
    std::array<QString, 3> whole;
    for (std::size_t k = 0; k < 3; ++k) {
        QLabel* l = resultTexts_[k];
        whole[k] = week::Text(week.Vysledok(static_cast<int>(k) + 1));
        l->setText(whole[k]);
        l->adjustSize();
        l->setVisible(!whole[k].isEmpty());
        if (!whole[k].isEmpty()) {
            ++count;
            width += l->width();
        }
    }
    if (count > 0) {
        // Long holiday texts are shortened so that all three fit between the arrows; the
        // hint keeps the whole text.
        const int place = width_ - 2 * margin - (count + 1) * gap;
        if (width > place) {
            width = 0;
            for (std::size_t k = 0; k < 3; ++k) {
                QLabel* l = resultTexts_[k];
                if (l->isHidden())
                    continue;
                l->setText(l->fontMetrics().elidedText(whole[k], Qt::ElideRight, place / count));
                l->adjustSize();
                width += l->width();
            }
        }
        const int between = (width_ - width) / (count + 1);
        int x = between;
        for (QLabel* l : resultTexts_) {
            if (l->isHidden())
                continue;
            l->move(x, RowTop(l));
            x += l->width() + between;
        }
    }
    QStringList shown;
    for (std::size_t k = 0; k < 3; ++k) {
        PictureButton* button = results_[k];
        button->setGeometry(resultTexts_[k]->geometry());
        button->setText(resultTexts_[k]->text());
        button->setToolTip(whole[k]);
        Rename(button,
               whole[k].isEmpty() ? QStringLiteral("%1. výsledok hľadania").arg(k + 1) : whole[k]);
        button->setVisible(!whole[k].isEmpty());
        if (!whole[k].isEmpty())
            shown << whole[k];
    }
    if (found > 0) {
        // Said to assistive technology only: the results row shows the results themselves.
        QString told = ResultCount(found);
        if (found > count)
            told += QStringLiteral(", zobrazené %1. až %2.")
                        .arg(week.Posun() + 1)
                        .arg(week.Posun() + count);
        Say({}, told + QStringLiteral(": ") + shown.join(QStringLiteral(", ")));
    }

    const bool more = week.ViacVysledkov();
    imgFminus->setVisible(more);
    imgFplus->setVisible(more);
    SetArrowUsable(imgFminus, week.Posun() > 0, results_[0]);
    SetArrowUsable(imgFplus, week.Posun() + count < found, results_[2]);
}

void WeekSearch::SetArrowUsable(PictureButton* arrow, bool usable, QWidget* heir) {
    const std::size_t k = arrow == imgFminus ? 0 : 1;
    if (arrow->hasFocus() && !usable && heir->isVisible())
        heir->setFocus(Qt::OtherFocusReason);
    arrow->setPictures(usable ? arrowPictures_[k] : dimmedArrows_[k]);
    arrow->setEnabled(usable);
    arrow->setCursor(usable ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

bool WeekSearch::Holds(const QObject* object) const {
    return object && (object == txtFind || object == imgFminus || object == imgFplus ||
                      std::find(results_.begin(), results_.end(), object) != results_.end());
}

bool WeekSearch::eventFilter(QObject* object, QEvent* event) {
    // txtFindExit: leaving the search for another control of this window, not for a message.
    if (event->type() == QEvent::FocusOut && Holds(object)) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
            !Holds(QApplication::focusWidget())) {
            HideArrows();
            txtFind->clear();
        }
    }
    return QObject::eventFilter(object, event);
}

} // namespace tilava
