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
    static constexpr int Sirka = 675; // client area
    static constexpr int Vyska = 596;

    // `priecinok` is the notes folder; `oznamy` shows the message of a failed write. Both must
    // outlive the window.
    TfrmNapoveda(std::filesystem::path priecinok, Notifier& oznamy, QWidget* parent = nullptr);
    ~TfrmNapoveda() override;

    // The built-in document as kept in the program: UTF-8, lines ended by LF.
    static QByteArray Dokument();
    // Writes the document as <priecinok>/Help.html, creating the folder when it is missing:
    // Windows-1250, every line ended by CR LF, the old file replaced atomically (a symbolic link
    // there is replaced itself, never written through). Returns the
    // file's path; throws FileError (with the file and the reason in Slovak) when it fails.
    static std::filesystem::path ZapisDokument(const std::filesystem::path& priecinok);

    // The activation: writes the file and shows it (or the document from memory).
    void FormActivate();

    // The text the view was last given, and whether it came from the written file.
    const QString& ZobrazenyText() const { return zobrazene_; }
    bool ZoSuboru() const { return zoSuboru_; }

protected:
    bool event(QEvent* udalost) override;

private:
    void Ukaz(const QString& html, const QUrl& adresa);

    std::filesystem::path priecinok_;
    Notifier& oznamy_;
    QString poslednaChyba_; // the failure last reported, so it is not repeated at every return
    QString zobrazene_;
    bool zoSuboru_ = false;
    bool filledOnShow_ = false; // the window was filled when shown and not activated since
    QTextBrowser* WebBrowser1 = nullptr;
};

} // namespace tilava
