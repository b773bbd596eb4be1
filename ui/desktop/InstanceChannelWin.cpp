#include "ui/desktop/InstanceChannel.h"

#include <QDeadlineTimer>
#include <QThread>
#include <QWinEventNotifier>

#include <windows.h>

namespace tilava {

namespace {

// A named event in the user's session, beside the single-instance mutex "Tilava|Tilava": the
// running copy waits on it, a second copy sets it. It resets itself when the waiter wakes.
constexpr const wchar_t* kEventName = L"Tilava|Ukaz";

} // namespace

InstanceChannel::~InstanceChannel() {
    if (auto* notifier = findChild<QWinEventNotifier*>()) {
        const HANDLE event = notifier->handle();
        delete notifier;
        CloseHandle(event);
    }
}

bool InstanceChannel::Listen() {
    if (listening_)
        return true;
    const HANDLE event = CreateEventW(nullptr, FALSE, FALSE, kEventName);
    if (event == nullptr)
        return false;
    auto* notifier = new QWinEventNotifier(event, this);
    connect(notifier, &QWinEventNotifier::activated, this, &InstanceChannel::Ukaz);
    listening_ = true;
    return true;
}

bool InstanceChannel::AskToShow(int timeoutMs) {
    // The running copy creates its event shortly after its widget is up: keep trying a while.
    const QDeadlineTimer end(timeoutMs);
    while (true) {
        if (const HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, kEventName)) {
            const bool set = SetEvent(event) != FALSE;
            CloseHandle(event);
            return set;
        }
        if (end.hasExpired())
            return false;
        QThread::msleep(100);
    }
}

} // namespace tilava
