#pragma once

#include <QTextBrowser>

namespace tilava {

// A read-only view of a rich-text document (a QTextBrowser) that assistive technology reads as
// one text: the view itself takes the focus and carries the name, its inner parts (the
// viewport and the scroll bars) are not shown, and the text is plain, with a line break where
// the document has a paragraph, a table or a table cell, never the document's internal marker
// characters. The text keeps one character per document position, so offsets, the caret and
// selections are the document's own.
class ReadingView final : public QTextBrowser {
    Q_OBJECT
public:
    explicit ReadingView(QWidget* parent);
};

} // namespace tilava
