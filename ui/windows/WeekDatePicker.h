#pragma once

#include <QCalendarWidget>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QWheelEvent>

#include <algorithm>
#include <functional>
#include <utility>

namespace tilava {

// The date field. A whole date or any part of it is typed as in other date fields: Tab into
// the field and type "18.4.2025" (a full stop, comma, slash, dash or blank moves on to the next
// part, and one right after a part that filled itself is skipped), or type over the part that
// a click or the keyboard selected; a two-digit year is of this century. A typed date is taken
// on Enter and when the field is left; the arrow keys, the mouse wheel and the calendar take
// theirs at once. Tab leaves the field at once, as it leaves every other field.
class DatePicker final : public QDateEdit {
public:
    // `chosen` is told of each date taken, `made` of the calendar once it has been made.
    DatePicker(QWidget* parent, std::function<void()> chosen,
               std::function<void(QCalendarWidget*)> made)
        : QDateEdit(parent), chosen_(std::move(chosen)), made_(std::move(made)) {
        connect(this, &QDateEdit::dateChanged, this, [this] {
            if (!typing_)
                chosen_();
        });
        connect(this, &QAbstractSpinBox::editingFinished, this, [this] {
            if (std::exchange(typing_, false))
                chosen_();
        });
        lineEdit()->installEventFilter(this);
    }

protected:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
            if (tab && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
                const bool forward =
                    key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier);
                if (QWidget::focusNextPrevChild(forward))
                    return true;
            }
        }
        return QDateEdit::event(event);
    }

    void keyPressEvent(QKeyEvent* event) override {
        const QString text = event->text();
        const bool digit = text.size() == 1 && text[0].isDigit();
        const bool separator = text.size() == 1 && QStringLiteral(".,/- ").contains(text[0]);
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            ExpandShortYear();
            break;
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            typing_ = false;
            break;
        case Qt::Key_Backspace:
        case Qt::Key_Delete:
            typing_ = true;
            break;
        default:
            break;
        }
        if (separator) {
            typing_ = true;
            event->accept();
            // The part that filled itself has already moved on.
            if (!std::exchange(advanced_, false) && currentSectionIndex() + 1 < sectionCount())
                SelectPart(currentSectionIndex() + 1);
            return;
        }
        if (digit) {
            typing_ = true;
            // Typing over a selection of several parts starts with the first of them.
            const QLineEdit* edit = lineEdit();
            if (edit->hasSelectedText() && edit->selectedText().contains(QLatin1Char('.')))
                SelectPart(PartAt(edit->selectionStart()));
        }
        const int before = currentSectionIndex();
        QDateEdit::keyPressEvent(event);
        advanced_ = digit && currentSectionIndex() != before;
    }

    void focusOutEvent(QFocusEvent* event) override {
        ExpandShortYear();
        QDateEdit::focusOutEvent(event);
    }

    void wheelEvent(QWheelEvent* event) override {
        typing_ = false;
        QDateEdit::wheelEvent(event);
    }

    void mousePressEvent(QMouseEvent* event) override {
        typing_ = false; // the calendar's choice is taken at once
        QDateEdit::mousePressEvent(event);
        if (made_)
            if (auto* calendar = findChild<QCalendarWidget*>())
                std::exchange(made_, nullptr)(calendar);
    }

    // A click into the text selects the part under it, to be typed over.
    bool eventFilter(QObject* object, QEvent* event) override {
        if (object == lineEdit() && event->type() == QEvent::MouseButtonRelease &&
            !lineEdit()->hasSelectedText())
            SelectPart(PartAt(lineEdit()->cursorPosition()));
        return QDateEdit::eventFilter(object, event);
    }

private:
    // The part (0 day, 1 month, 2 year) at a position of the text.
    int PartAt(int position) const {
        return static_cast<int>(lineEdit()->text().left(position).count(QLatin1Char('.')));
    }

    void SelectPart(int part) {
        setCurrentSectionIndex(std::clamp(part, 0, sectionCount() - 1));
        setSelectedSection(currentSection());
    }

    // "18.4.25" is 18.4.2025.
    void ExpandShortYear() {
        static const QRegularExpression shortYear(
            QStringLiteral("^(\\d{1,2})\\.(\\d{1,2})\\.(\\d{1,2})$"));
        const QRegularExpressionMatch m = shortYear.match(lineEdit()->text());
        if (!m.hasMatch())
            return;
        const QDate typed(2000 + m.captured(3).toInt(), m.captured(2).toInt(),
                          m.captured(1).toInt());
        if (typed.isValid())
            setDate(typed);
    }

    std::function<void()> chosen_;
    std::function<void(QCalendarWidget*)> made_;
    bool typing_ = false;   // typed text waits for Enter or for leaving the field
    bool advanced_ = false; // the last digit filled its part and moved on to the next
};

} // namespace tilava
