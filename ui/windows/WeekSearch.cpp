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
#include <QPalette>
#include <QString>

#include <algorithm>
#include <cstddef>

namespace tilava {

WeekSearch::WeekSearch(QWidget* window, int width) : QObject(window), width_(width) {
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
        resultTexts_[k] =
            week::SetUpLabel(new PaintedLabel(window), QStringLiteral("Label%1Text").arg(k + 1),
                             QPoint(left[k], 506), week::Font(11, true), palette::kWeekNavy);
        results_[k] = week::Button(window, QStringLiteral("Label%1").arg(k + 1),
                                   resultTexts_[k]->geometry(), {});
    }
    const auto arrow = [window](const char* name, int x, const char* picture) {
        PictureButton* button =
            week::Button(window, QLatin1String(name), QRect(x, 503, 13, 22), {},
                         LoadSkinPicture(QLatin1String(picture), palette::kWeekSky, QSize(13, 22)));
        button->hide();
        return button;
    };
    imgFminus = arrow("imgFminus", 0, "week_results_prev");
    imgFplus = arrow("imgFplus", 512, "week_results_next");

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
        results_[k]->hide();
    }
}

void WeekSearch::HideArrows() {
    imgFminus->hide();
    imgFplus->hide();
}

void WeekSearch::ShowResults(const TTyzden& week) {
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
            l->move(x, 506);
            x += l->width() + between;
        }
    }
    for (std::size_t k = 0; k < 3; ++k) {
        PictureButton* button = results_[k];
        button->setGeometry(resultTexts_[k]->geometry());
        button->setText(resultTexts_[k]->text());
        button->setToolTip(whole[k]);
        button->setAccessibleName(whole[k]);
        button->setVisible(!whole[k].isEmpty());
    }
    imgFminus->setVisible(week.ViacVysledkov());
    imgFplus->setVisible(week.ViacVysledkov());
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
