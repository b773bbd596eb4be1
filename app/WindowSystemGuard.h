#pragma once

#include <QString>
#include <QtGlobal>

#include <mutex>
#include <string>
#include <vector>

namespace tilava {

// Qt ends the program with an abort when it cannot reach a window system: no display, a
// display that does not answer, a platform that does not start. Made just before the
// application object, this turns that end into a Slovak report on standard error and exit
// status 1. What Qt says meanwhile is held back (its English account of the failure would only
// stand beside the report) and passed on by Release once the application stands.
class WindowSystemGuard {
public:
    // The arguments as the program got them, before Qt takes its own out.
    WindowSystemGuard(int argc, char* argv[]);
    ~WindowSystemGuard();
    WindowSystemGuard(const WindowSystemGuard&) = delete;
    WindowSystemGuard& operator=(const WindowSystemGuard&) = delete;

    void Release();

private:
    struct HeldMessage {
        QtMsgType type;
        QByteArray file;
        int line;
        QByteArray function;
        QByteArray category;
        QString text;
    };
    static void Hold(QtMsgType type, const QMessageLogContext& context, const QString& text);

    std::string report_;
    QtMessageHandler previous_ = nullptr;
    std::mutex mutex_;
    std::vector<HeldMessage> held_;
    bool released_ = false;
};

} // namespace tilava
