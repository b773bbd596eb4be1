#pragma once

#include <QLabel>
#include <QRectF>
#include <QStringList>
#include <QTextLayout>

#include <memory>
#include <vector>

namespace tilava {

// The widget's reminder text: one paragraph a reminder, wrapped at the label's width, with a
// fixed gap between two paragraphs so that each can stand on a bar of its own. It lays the
// paragraphs out with QTextLayout alone, which the widget's other labels load anyway; a rich
// text label would bring in Qt's whole document and HTML machinery at every start.
// text() holds the paragraphs joined by '\n', for screen readers and tests.
class ReminderText final : public QLabel {
public:
    explicit ReminderText(QWidget* parent, qreal gap);
    ~ReminderText() override;

    // The paragraphs laid out at width `width`; line breaks within one stay line breaks. A
    // paragraph takes at most MaxLines lines; the last of them ends in "…" when more is left.
    void SetParagraphs(const QStringList& paragraphs, int width);
    static constexpr int MaxLines = 3;
    int ParagraphCount() const { return static_cast<int>(paragraphs_.size()); }
    // Where paragraph `i` stands in the label, from the top of its first line to the bottom
    // of its last.
    QRectF Paragraph(int i) const;
    // The height of the laid-out paragraphs, whole pixels.
    int Height() const;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    // `text` laid out from height `top`, at most MaxLines lines.
    std::unique_ptr<QTextLayout> LayOut(const QString& text, int width, qreal top) const;

    qreal gap_;
    std::vector<std::unique_ptr<QTextLayout>> paragraphs_;
};

} // namespace tilava
