#pragma once

#include "platform/ExportTarget.h"

#include <filesystem>
#include <string>

class QWidget;

namespace tilava {

class Notifier;

// The outcome of an export or an import: whether everything went well, and the report for
// the user (Slovak, one item a line).
struct ExchangeResult {
    bool uspech = false;
    std::string sprava;
};

// The calendar export and the contact import of the notes in `priecinok`, shared by the tray
// menu and the command line. An existing file is replaced as `existing` allows.
ExchangeResult ExportCalendarFile(const std::filesystem::path& priecinok,
                                  const std::filesystem::path& subor, ExistingExport existing);
ExchangeResult ImportContactsFile(const std::filesystem::path& priecinok,
                                  const std::filesystem::path& subor);

// The tray menu's commands: each asks for the file, runs the export or the import and shows
// its report in a message box. Nothing happens when the user cancels the file dialog.
void ExportujKalendar(QWidget* owner, const std::filesystem::path& priecinok, Notifier& oznamy);
void ImportujKontakty(QWidget* owner, const std::filesystem::path& priecinok, Notifier& oznamy);

} // namespace tilava
