#pragma once

#include <QObject>

namespace tilava {

// How a second start reaches the copy that runs already. On Linux a desktop may have no tray,
// so starting the program again is the way back to a hidden widget: the running copy owns the
// name sk.zelm.Tilava on the session bus, and a second copy calls its method Ukaz (object
// /sk/zelm/Tilava, interface sk.zelm.Tilava), then ends. Without a session bus the
// single-instance lock alone keeps one copy and the second one ends without a word. On Windows
// the second copy always ends silently: the tray icon is the way back there.
class InstanceChannel final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "sk.zelm.Tilava")
public:
    explicit InstanceChannel(QObject* parent = nullptr);
    ~InstanceChannel() override;
    InstanceChannel(const InstanceChannel&) = delete;
    InstanceChannel& operator=(const InstanceChannel&) = delete;

    // The running copy: takes the name on the session bus and answers the calls of later
    // copies. False without a session bus, when another program owns the name, or on Windows.
    bool Pocuvaj();

    // A second copy: asks the running one to show its widget, trying for a while in case it is
    // still starting and does not own its name yet. True when the running copy answered; false
    // at once without a session bus and on Windows.
    static bool PoziadajOZobrazenie(int casMs = 3000);

public slots:
    // Called over the bus by a second copy.
    Q_SCRIPTABLE void Ukaz();

signals:
    void zobrazit();

private:
    bool pocuva_ = false;
};

} // namespace tilava
