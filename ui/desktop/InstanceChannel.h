#pragma once

#include <QObject>

namespace tilava {

// How a second start reaches the copy that runs already: starting the program again is a way
// back to a hidden widget (on Linux a desktop may have no tray at all). On Linux the running
// copy owns the name sk.zelm.Tilava on the session bus, and a second copy calls its method Ukaz
// (object /sk/zelm/Tilava, interface sk.zelm.Tilava), then ends. Without a session bus the
// single-instance lock alone keeps one copy and the second one ends without a word. On Windows
// the running copy waits on the named event "Tilava|Ukaz" of the user's session, and a second
// copy sets it, then ends.
class InstanceChannel final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "sk.zelm.Tilava")
public:
    explicit InstanceChannel(QObject* parent = nullptr);
    ~InstanceChannel() override;
    InstanceChannel(const InstanceChannel&) = delete;
    InstanceChannel& operator=(const InstanceChannel&) = delete;

    // The running copy: takes the name on the session bus (the event on Windows) and answers
    // later copies. False without a session bus or when another program owns the name.
    bool Listen();

    // A second copy: asks the running one to show its widget, trying for a while in case it is
    // still starting and does not own its name yet. True when the running copy was reached;
    // false at once without a session bus.
    static bool AskToShow(int timeoutMs = 3000);

public slots:
    // Called over the bus by a second copy.
    Q_SCRIPTABLE void Ukaz();

signals:
    void showRequested();

private:
    bool listening_ = false;
};

} // namespace tilava
