#pragma once

#include "platform/ExportTarget.h"

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace tilava {

// What a calendar export did. The texts are Slovak, for the user.
struct ExportReport {
    int events = 0;                   // events written
    int withoutText = 0;              // entries without text, which say nothing as an event
    int same = 0;                     // entries identical to one already written (one event each)
    std::vector<std::string> skipped; // entries that cannot be an event, and why
    std::vector<std::string> errors;  // day files that could not be read, a failed write
    std::vector<std::string> unread;  // the day files left out (file names)
    bool written = false;             // the file was written

    bool Succeeded() const { return errors.empty(); }
    std::string Text(const std::filesystem::path& subor) const;
};

// Writes every entry of the day files in `folder` (0101.txt … 1231.txt, 0229.txt too) as
// an iCalendar file, replaced atomically: birthdays and anniversaries as all-day events that
// recur every year from the year of birth or of the event, plain notes as one all-day event
// of their year. Each event's UID comes from the entry itself (kind, day, month, year, text),
// so a calendar that imports the file again updates its events instead of doubling them.
// A day file that cannot be read is reported and left out; the others are still exported.
// `timeNow` is the time stamp of the events (DTSTAMP). The file is written only where
// CheckExportTarget allows it (never into `folder` or the settings folder, never over
// something other than a regular file, an existing one under `existing`), through the user's
// own links only and with permissions within the umask.
ExportReport ExportCalendar(const std::filesystem::path& folder, const std::filesystem::path& subor,
                            std::chrono::sys_seconds timeNow, ExistingExport existing);

} // namespace tilava
