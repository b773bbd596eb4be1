#pragma once

#include <filesystem>

class QWidget;

namespace tilava {

class Notifier;

// The tray menu's commands: each asks for the file, runs the export or the import and shows
// its report in a message box. Nothing happens when the user cancels the file dialog.
void ExportCalendarTo(QWidget* owner, const std::filesystem::path& folder, Notifier& notifier);
void ImportContacts(QWidget* owner, const std::filesystem::path& folder, Notifier& notifier);

} // namespace tilava
