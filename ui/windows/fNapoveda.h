#pragma once

#include <QByteArray>
#include <QDialog>
#include <QString>

#include <filesystem>

class QTextBrowser;

namespace tilava {

class Notifier;

// The help window: a tool window "Nápoveda" with the program's user guide. Each time it becomes
// the active window it writes the built-in document into the notes folder as Help.html
// (Windows-1250, CR LF) and shows that file. When the file cannot be written the user is told
// which file and why, once until a write succeeds again, and the window shows the document
// from memory instead.
class TfrmNapoveda final : public QDialog {
    Q_OBJECT
public:
    static constexpr int Width = 675; // client area
    static constexpr int Height = 596;

    // `folder` is the notes folder; `notifier` shows the message of a failed write. Both must
    // outlive the window.
    TfrmNapoveda(std::filesystem::path folder, Notifier& notifier, QWidget* parent = nullptr);
    ~TfrmNapoveda() override;

    // The built-in document as kept in the program: UTF-8, lines ended by LF.
    static QByteArray Document();
    // Writes the document as <folder>/Help.html, creating the folder when it is missing:
    // Windows-1250, every line ended by CR LF, the old file replaced atomically (a symbolic link
    // there is replaced itself, never written through). Returns the
    // file's path; throws FileError (with the file and the reason in Slovak) when it fails.
    static std::filesystem::path WriteDocument(const std::filesystem::path& folder);

    // The activation: writes the file and shows it (or the document from memory).
    void FormActivate();

    // The text the view was last given, and whether it came from the written file.
    const QString& ShownText() const { return shown_; }
    bool FromFile() const { return fromFile_; }

protected:
    bool event(QEvent* event) override;

private:
    void Ukaz(const QString& html, const QUrl& address);

    std::filesystem::path folder_;
    Notifier& notifier_;
    QString lastError_; // the failure last reported, so it is not repeated at every return
    QString shown_;
    bool fromFile_ = false;
    bool filledOnShow_ = false; // the window was filled when shown and not activated since
    QTextBrowser* WebBrowser1 = nullptr;
};

} // namespace tilava
