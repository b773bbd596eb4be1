#pragma once

#include <QElapsedTimer>
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>

namespace tilava {

// Tells when the day files of the notes folder may have changed: a file was added, removed,
// renamed or written in place, by this program or another (an import, a sync tool). A burst of
// changes is told once, when the folder has been quiet for `quiet`, and at the latest after
// `longest` of steady changes. Reading the files tells nothing, so a rebuild that follows the
// signal does not raise it again.
//
// The folder itself is watched for names that come and go, each day file ("MMDD.txt") for
// writes in place. A folder that is not there yet (no entry was ever saved) or was removed is
// looked for every few seconds; once it is there (an import made it, a sync tool put it back) it
// is watched and that is told as a change.
class NotesFolderWatch final : public QObject {
    Q_OBJECT
public:
    explicit NotesFolderWatch(const QString& folder, QObject* parent = nullptr,
                              std::chrono::milliseconds quiet = std::chrono::milliseconds{500},
                              std::chrono::milliseconds longest = std::chrono::seconds{3},
                              std::chrono::milliseconds lookAgain = std::chrono::seconds{3});

    const QString& Folder() const { return folder_; }

signals:
    // The day files may have changed since the last signal.
    void Changed();

private:
    void Touched();
    void Quiet();
    void WatchFiles();

    QString folder_;
    std::chrono::milliseconds longest_;
    QFileSystemWatcher watcher_;
    QTimer quiet_;
    QTimer absent_;         // while the folder is not there
    QElapsedTimer pending_; // since the first change not yet told
};

} // namespace tilava
