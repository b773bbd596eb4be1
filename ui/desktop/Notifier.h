#pragma once

#include <QStringList>

class QSystemTrayIcon;
class QWidget;

namespace tilava {

// The windows' way to the user's ears and to message boxes; tests stand in for it and count.
class Notifier {
public:
    virtual ~Notifier() = default;

    // The system's default beep.
    virtual void Beep() = 0;
    // A message box with an OK button, titled with the application's title ("Tilava").
    virtual void Message(QWidget* parent, const QString& text) = 0;
    // A question in a warning box titled "Tilava" with a button for each of `choices`: the
    // first is the default and the answer to Escape, the others are destructive. Answers the
    // index of the choice taken.
    virtual int Ask(QWidget* parent, const QString& text, const QStringList& choices) = 0;
    // A short note that goes away by itself, from the tray icon (the desktop's notification
    // where it has them, else a balloon at the icon). False when it could not be shown: there
    // is no icon, or the icon is not in a tray.
    virtual bool Notify(QSystemTrayIcon* icon, const QString& text) = 0;
    // The same with a warning icon, for what went wrong or needs the user's eye.
    virtual bool Warn(QSystemTrayIcon* icon, const QString& text) { return Notify(icon, text); }
};

} // namespace tilava
