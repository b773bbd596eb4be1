#pragma once

#include <QObject>

namespace tilava {

// The end of the session, which must reach the program as "Ukončit" does, so that open windows
// save before it ends: on Linux the termination signals SIGTERM (logout, shutdown,
// `systemctl --user stop`), SIGINT and SIGHUP; on Windows the session manager's end of session
// (WM_QUERYENDSESSION), after which Windows ends the process.
class SessionEnd final : public QObject {
    Q_OBJECT
public:
    explicit SessionEnd(QObject* parent = nullptr);
    ~SessionEnd() override;
    SessionEnd(const SessionEnd&) = delete;
    SessionEnd& operator=(const SessionEnd&) = delete;

signals:
    // Emitted on the window thread. On Windows the process may end as soon as the receivers
    // return, so they must finish their saving before that (a direct connection).
    void ending();
};

} // namespace tilava
