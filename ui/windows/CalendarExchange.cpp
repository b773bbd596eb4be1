#include "ui/windows/CalendarExchange.h"

#include "exchange/CalendarExchange.h"
#include "ui/desktop/Notifier.h"

#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QString>

namespace tilava {

namespace fs = std::filesystem;

namespace {

fs::path TempPath(const QString& subor) {
    return fs::path(subor.toStdU16String());
}

// Runs the work with the wait cursor and shows its report.
template <typename F> void Vykonaj(QWidget* owner, Notifier& notifier, F&& praca) {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const ExchangeResult v = praca();
    QGuiApplication::restoreOverrideCursor();
    notifier.Message(owner, QString::fromStdString(v.message).trimmed());
}

} // namespace

void ExportCalendarTo(QWidget* owner, const fs::path& folder, Notifier& notifier) {
    QFileDialog dialog(owner, QStringLiteral("Exportovať do kalendára"), QDir::homePath(),
                       QStringLiteral("Kalendár (*.ics)"));
    // The tray icon keeps working while it is open.
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("ics"));
    dialog.selectFile(QDir::home().filePath(QStringLiteral("Tilava.ics")));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const fs::path subor = TempPath(dialog.selectedFiles().constFirst());
    // The dialog has asked before an existing file is replaced.
    Vykonaj(owner, notifier,
            [&] { return ExportCalendarFile(folder, subor, ExistingExport::Any); });
}

void ImportContacts(QWidget* owner, const fs::path& folder, Notifier& notifier) {
    QFileDialog dialog(owner, QStringLiteral("Importovať kontakty"), QDir::homePath(),
                       QStringLiteral("Kontakty (*.vcf *.vcard)"));
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const fs::path subor = TempPath(dialog.selectedFiles().constFirst());
    Vykonaj(owner, notifier, [&] { return ImportContactsFile(folder, subor); });
}

} // namespace tilava
