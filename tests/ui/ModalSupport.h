#pragma once

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <functional>

namespace tilava::test {

// What happens to the window when the action has returned.
enum class AfterAction { Close, KeepOpen };

// The window is ready for keys and clicks: it is the active window, the window system has
// exposed it (on Windows it is laid out only then) and its keyboard focus has settled. On a
// busy machine a window is shown long before all of that holds.
inline bool ReadyForInput(QWidget& window) {
    if (!window.isVisible() || !window.isActiveWindow() || !window.windowHandle() ||
        !window.windowHandle()->isExposed())
        return false;
    if (window.focusWidget())
        return true;
    for (const QWidget* child : window.findChildren<QWidget*>())
        if (child->focusPolicy() & Qt::TabFocus)
            return false; // something will take the focus
    return true;
}

// Runs `action` on the first modal window of type T once it is ready for input, then closes the
// window if the action left it open (so a failed check inside the action never leaves a modal
// loop running). With KeepOpen the test closes it; a watchdog closes it after a minute. A
// window that never becomes ready is closed after a minute too, and `seen` stays false.
// Returns the poll, which a caller may delete to stop waiting.
template <typename T>
QTimer* WhenActive(std::function<void(T&)> action, bool* seen = nullptr,
                   AfterAction after = AfterAction::Close) {
    constexpr int watchdog = 60000;
    auto* poll = new QTimer(qApp);
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, action, seen, after] {
        auto* window = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!window || !ReadyForInput(*window))
            return;
        poll->stop();
        poll->deleteLater();
        if (seen)
            *seen = true;
        const QPointer<T> guard(window);
        if (after == AfterAction::KeepOpen)
            QTimer::singleShot(watchdog, window, &QWidget::close);
        action(*window);
        if (after == AfterAction::Close && guard && guard->isVisible())
            guard->close();
        else if (guard && !guard->isVisible())
            // The action closed the window inside one of its own waits, which took the wake-up
            // meant for the window's loop: on Windows that loop would sleep until the next
            // event came (the watchdog's, a minute later).
            QAbstractEventDispatcher::instance()->interrupt();
    });
    poll->start();
    QTimer::singleShot(watchdog, poll, [poll] {
        if (QWidget* window = QApplication::activeModalWidget())
            window->close();
        poll->deleteLater();
    });
    return poll;
}

} // namespace tilava::test
