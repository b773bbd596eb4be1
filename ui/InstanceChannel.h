#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace tilava {

// How a second start reaches the copy that runs already. On Linux a desktop may have no tray,
// so starting the program again is the way back to a hidden widget: the second copy asks the
// running one over a local socket to show it, then ends. On Windows the second copy ends
// silently and the tray icon is the way back.
class InstanceChannel final : public QObject {
    Q_OBJECT
public:
    explicit InstanceChannel(QObject* parent = nullptr);

    // The running copy: listens for requests. Call it only while holding the single-instance
    // claim, since it removes a socket left behind by a copy that crashed.
    bool Pocuvaj(const QString& meno = NazovKanala());

    // A second copy: asks the running one to show its widget, trying for a while in case it is
    // still starting. True when the request was delivered; false at once on Windows.
    static bool PoziadajOZobrazenie(const QString& meno = NazovKanala(), int casMs = 3000);

    // The socket in the user's runtime folder (or the temporary folder, named with the user id).
    static QString NazovKanala();
    // Whether a second copy asks the running one to show its widget on this system.
    static bool DruhaKopiaZobrazi();

signals:
    void zobrazit();

private:
    void PrijmiSpojenie();

    QLocalServer* server_ = nullptr;
};

} // namespace tilava
