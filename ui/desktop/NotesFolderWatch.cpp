#include "ui/desktop/NotesFolderWatch.h"

#include <QDir>
#include <QSet>
#include <QStringList>

#include <algorithm>

namespace tilava {

namespace {

// "MMDD.txt" of a day that a year can have: at most 372 names, whatever else the folder holds.
bool IsDayFileName(const QString& name) {
    if (name.size() != 8 || !name.endsWith(QLatin1String(".txt")))
        return false;
    bool ok = false;
    const int number = name.left(4).toInt(&ok);
    const int month = number / 100;
    const int day = number % 100;
    return ok && month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

} // namespace

NotesFolderWatch::NotesFolderWatch(const QString& folder, QObject* parent,
                                   std::chrono::milliseconds quiet,
                                   std::chrono::milliseconds longest,
                                   std::chrono::milliseconds lookAgain)
    : QObject(parent), folder_(QDir::cleanPath(folder)), longest_(longest) {
    quiet_.setSingleShot(true);
    quiet_.setInterval(quiet);
    connect(&quiet_, &QTimer::timeout, this, &NotesFolderWatch::Quiet);
    absent_.setInterval(lookAgain);
    connect(&absent_, &QTimer::timeout, this, [this] {
        if (QDir(folder_).exists())
            Touched();
    });
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &NotesFolderWatch::Touched);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &NotesFolderWatch::Touched);
    WatchFiles();
}

void NotesFolderWatch::Touched() {
    if (!pending_.isValid())
        pending_.start();
    // Steady changes (a long sync) are told now and then, not only once they stop.
    const auto left = longest_ - std::chrono::milliseconds{pending_.elapsed()};
    quiet_.start(std::clamp(left, std::chrono::milliseconds{0}, quiet_.intervalAsDuration()));
}

void NotesFolderWatch::Quiet() {
    pending_.invalidate();
    WatchFiles();
    emit Changed();
}

void NotesFolderWatch::WatchFiles() {
    const QDir dir(folder_);
    if (!dir.exists()) {
        if (!watcher_.files().isEmpty())
            watcher_.removePaths(watcher_.files());
        absent_.start();
        return;
    }
    absent_.stop();
    if (!watcher_.directories().contains(folder_))
        watcher_.addPath(folder_);
    QSet<QString> days;
    for (const QString& name : dir.entryList({QStringLiteral("????.txt")}, QDir::Files))
        if (IsDayFileName(name))
            days.insert(dir.filePath(name));
    QStringList gone;
    for (const QString& file : watcher_.files())
        if (!days.remove(file))
            gone << file;
    if (!gone.isEmpty())
        watcher_.removePaths(gone);
    if (!days.isEmpty())
        watcher_.addPaths(QStringList(days.begin(), days.end()));
}

} // namespace tilava
