#include "ui/CalendarExchange.h"

#include "model/VcardImport.h"
#include "ui/Notifier.h"

#if TILAVA_CALENDAR_EXPORT == 2
#include "ui/ExportModule.h"
#elif TILAVA_CALENDAR_EXPORT
#include "model/export/CalendarExport.h"
#endif

#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QString>

#include <chrono>

namespace tilava {

namespace fs = std::filesystem;

ExchangeResult ExportCalendarFile(const fs::path& priecinok, const fs::path& subor,
                                  ExistingExport existing) {
#if TILAVA_CALENDAR_EXPORT
    // The events' time stamp is a moment in UTC, not the user's day: the injectable clock
    // holds only local time, so this one reading comes from the system.
    const auto teraz = std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
#if TILAVA_CALENDAR_EXPORT == 2
    ExchangeResult v;
    if (const ExportEntry exportuj = LoadExportModule(v.sprava))
        v.uspech = exportuj(priecinok, subor, teraz.time_since_epoch().count(), existing, v.sprava);
    return v;
#else
    const ExportReport r = ExportCalendar(priecinok, subor, teraz, existing);
    return {r.Uspech(), r.Text(subor)};
#endif
#else
    (void)priecinok;
    (void)subor;
    (void)existing;
    return {false, "Táto zostava Tilavy export do kalendára nemá (bola zostavená bez knižnice "
                   "libical).\n"};
#endif
}

ExchangeResult ImportContactsFile(const fs::path& priecinok, const fs::path& subor) {
    const ImportReport r = ImportVcardFile(subor, priecinok);
    return {r.Uspech(), r.Text()};
}

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
