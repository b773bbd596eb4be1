#pragma once

#include "model/TextScroll.h"

#include <QLabel>

class QTimer;

namespace tilava {

// A label that can run a long text through a window of Pocet characters, one character further
// at every tick of its timer (500 ms unless Speed says otherwise). In every other respect it is
// an ordinary label: its caption (setText) stays writable and touches neither Text, the
// position nor the timer.
class TLabelScroll final : public QLabel {
    Q_OBJECT
    Q_PROPERTY(bool Active READ Active WRITE SetActive)
    Q_PROPERTY(int Speed READ Speed WRITE SetSpeed)
    Q_PROPERTY(int Pocet READ Pocet WRITE SetCount)
    Q_PROPERTY(QString Text READ Text WRITE SetText)
public:
    explicit TLabelScroll(QWidget* parent = nullptr);

    bool Active() const;
    // Stops the text where it stands, or runs it on from there.
    void SetActive(bool active);
    int Speed() const;
    void SetSpeed(int intervalMs);
    int Pocet() const { return scroll_.Pocet(); }
    // Stores the count; the caption follows at the next Text write or tick.
    void SetCount(int count) { scroll_.SetCount(count); }
    QString Text() const { return QString::fromStdString(scroll_.Text()); }
    // The full text; the caption becomes its first Pocet characters.
    void SetText(const QString& text);

    // One scrolling step, as a timer tick runs it.
    void Step();

private:
    TextScroll scroll_;
    QTimer* timer_ = nullptr;
};

} // namespace tilava
