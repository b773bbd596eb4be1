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

fs::path Cesta(const QString& subor) {
    return fs::path(subor.toStdU16String());
}

// Runs the work with the wait cursor and shows its report.
template <typename F> void Vykonaj(QWidget* owner, Notifier& oznamy, F&& praca) {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const ExchangeResult v = praca();
    QGuiApplication::restoreOverrideCursor();
    oznamy.Message(owner, QString::fromStdString(v.sprava).trimmed());
}

} // namespace

void ExportujKalendar(QWidget* owner, const fs::path& priecinok, Notifier& oznamy) {
    QFileDialog dialog(owner, QStringLiteral("Exportovať do kalendára"), QDir::homePath(),
                       QStringLiteral("Kalendár (*.ics)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("ics"));
    dialog.selectFile(QDir::home().filePath(QStringLiteral("Tilava.ics")));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const fs::path subor = Cesta(dialog.selectedFiles().constFirst());
    // The dialog has asked before an existing file is replaced.
    Vykonaj(owner, oznamy,
            [&] { return ExportCalendarFile(priecinok, subor, ExistingExport::Any); });
}

void ImportujKontakty(QWidget* owner, const fs::path& priecinok, Notifier& oznamy) {
    const QString subor =
        QFileDialog::getOpenFileName(owner, QStringLiteral("Importovať kontakty"), QDir::homePath(),
                                     QStringLiteral("Kontakty (*.vcf *.vcard)"));
    if (subor.isEmpty())
        return;
    Vykonaj(owner, oznamy, [&] { return ImportContactsFile(priecinok, Cesta(subor)); });
}

} // namespace tilava
