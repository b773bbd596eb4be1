#pragma once

#include "platform/ExportTarget.h"

#include <chrono>
#include <filesystem>
#include <string>

namespace tilava {

// The outcome of an export or an import: whether everything went well, and the report for
// the user (Slovak, one item a line).
struct ExchangeResult {
    bool success = false;
    std::string message;
};

// The calendar export and the contact import of the notes in `folder`, shared by the tray
// menu and the command line. An existing file is replaced as `existing` allows.
ExchangeResult ExportCalendarFile(const std::filesystem::path& folder,
                                  const std::filesystem::path& subor, ExistingExport existing);
ExchangeResult ImportContactsFile(const std::filesystem::path& folder,
                                  const std::filesystem::path& subor);

// The export with its events stamped `now`, as this build reaches the iCalendar writer (linked
// in, loaded as a module, or missing: CalendarExport{Linked,Loaded,Missing}.cpp).
ExchangeResult ExportCalendarStamped(const std::filesystem::path& folder,
                                     const std::filesystem::path& subor,
                                     std::chrono::sys_seconds now, ExistingExport existing);

} // namespace tilava
