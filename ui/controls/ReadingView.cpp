#include "ui/controls/ReadingView.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QScrollBar>
#include <QTextCursor>

#include <algorithm>

namespace tilava {

namespace {

// Where a table or a table cell begins and ends (QTextBeginningOfFrame, QTextEndOfFrame).
constexpr char16_t FrameStart = 0xFDD0;
constexpr char16_t FrameEnd = 0xFDD1;

// `text` with every marker of the document's structure made a line break (and a no-break space
// a space), one character for one, as the document's own plain text has them.
QString PlainText(QString text) {
    for (QChar& c : text) {
        switch (c.unicode()) {
        case FrameStart:
        case FrameEnd:
        case QChar::ParagraphSeparator:
        case QChar::LineSeparator:
            c = QLatin1Char('\n');
            break;
        case QChar::Nbsp:
            c = QLatin1Char(' ');
            break;
        default:
            break;
        }
    }
    return text;
}

class ReadingViewAccessible final : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit ReadingViewAccessible(ReadingView* view)
        : QAccessibleWidget(view, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        state.multiLine = true;
        state.selectableText = true;
        return state;
    }
    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value)
            return text(0, characterCount());
        return QAccessibleWidget::text(kind);
    }

    // The text is the document: the viewport, which holds the focus with the view, and the
    // scroll bars have nothing of their own to say.
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QString text(int startOffset, int endOffset) const override {
        QTextCursor cursor = Cursor(startOffset);
        cursor.setPosition(Clamped(endOffset), QTextCursor::KeepAnchor);
        return PlainText(cursor.selectedText());
    }
    int characterCount() const override {
        QTextCursor cursor(view()->document());
        cursor.movePosition(QTextCursor::End);
        return cursor.position();
    }
    int cursorPosition() const override { return view()->textCursor().position(); }
    void setCursorPosition(int position) override { view()->setTextCursor(Cursor(position)); }

    void selection(int selectionIndex, int* startOffset, int* endOffset) const override {
        const QTextCursor cursor = view()->textCursor();
        const bool has = selectionIndex == 0 && cursor.hasSelection();
        *startOffset = has ? cursor.selectionStart() : 0;
        *endOffset = has ? cursor.selectionEnd() : 0;
    }
    int selectionCount() const override { return view()->textCursor().hasSelection() ? 1 : 0; }
    void addSelection(int startOffset, int endOffset) override {
        setSelection(0, startOffset, endOffset);
    }
    void removeSelection(int selectionIndex) override {
        if (selectionIndex != 0)
            return;
        QTextCursor cursor = view()->textCursor();
        cursor.clearSelection();
        view()->setTextCursor(cursor);
    }
    void setSelection(int, int startOffset, int endOffset) override {
        QTextCursor cursor = Cursor(startOffset);
        cursor.setPosition(Clamped(endOffset), QTextCursor::KeepAnchor);
        view()->setTextCursor(cursor);
    }

    QRect characterRect(int offset) const override {
        QTextCursor cursor = Cursor(offset);
        QRect place = view()->cursorRect(cursor);
        cursor.setPosition(Clamped(offset + 1), QTextCursor::KeepAnchor);
        const QString character = cursor.selectedText();
        place.setWidth(QFontMetrics(cursor.charFormat().font()).horizontalAdvance(character));
        place.moveTo(view()->viewport()->mapToGlobal(place.topLeft()));
        return place;
    }
    int offsetAtPoint(const QPoint& point) const override {
        const QPoint inside = view()->viewport()->mapFromGlobal(point);
        if (!view()->viewport()->rect().contains(inside))
            return -1;
        return view()->cursorForPosition(inside).position();
    }
    void scrollToSubstring(int startIndex, int) override {
        const QRect place = view()->cursorRect(Cursor(startIndex));
        if (place.top() < 0 || place.bottom() > view()->viewport()->height())
            view()->verticalScrollBar()->setValue(view()->verticalScrollBar()->value() +
                                                  place.top());
    }
    QString attributes(int, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

private:
    ReadingView* view() const { return static_cast<ReadingView*>(widget()); }
    int Clamped(int offset) const { return std::clamp(offset, 0, characterCount()); }
    QTextCursor Cursor(int offset) const {
        QTextCursor cursor(view()->document());
        cursor.setPosition(Clamped(offset));
        return cursor;
    }
};

QAccessibleInterface* ReadingViewFactory(const QString& className, QObject* object) {
    if (className != QLatin1String(ReadingView::staticMetaObject.className()))
        return nullptr;
    auto* view = qobject_cast<ReadingView*>(object);
    return view ? new ReadingViewAccessible(view) : nullptr;
}

} // namespace

ReadingView::ReadingView(QWidget* parent) : QTextBrowser(parent) {
    [[maybe_unused]] static const bool installed = [] {
        QAccessible::installFactory(&ReadingViewFactory);
        return true;
    }();
}

} // namespace tilava
