#pragma once

#include "platform/AtomicFile.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tilava {

// Which existing file an export may replace.
enum class ExistingExport {
    // Only an iCalendar file (a swapped option such as "--export-ics contacts.vcf" must not
    // destroy the address book). An empty file holds nothing to lose and may be replaced too.
    CalendarOnly,
    // Any regular file: the user has already confirmed it (the save dialog asks).
    Any,
};

// How an export replaces its file: only through links that the user's own, and never with
// permissions wider than the umask allows.
inline constexpr SaveRules kExportSaveRules{LinkRule::FollowTrusted, ModeRule::WithinUmask};

// What lies at the path an export would replace, once the links a save follows are followed.
struct ExportTargetFacts {
    std::filesystem::path real; // the full real path, every link on the way resolved
    bool exists = false;
    bool regular = false; // a plain file (not a folder, a named pipe, a device, ...)
    bool empty = false;   // a regular file of no bytes
    std::string head;     // the first bytes of an existing regular file (none when unreadable)
};

// The real path of an existing file or folder: full, with every link resolved (on Windows
// also short names made long). Empty when it does not exist or the system cannot tell.
std::filesystem::path ExistingRealPath(const std::filesystem::path& path);

// The real path of `path`: its nearest existing folder's real path, and the rest as given.
std::filesystem::path RealPath(const std::filesystem::path& path);

// Looks at `target` (the file a save would write, see SaveTarget). Throws FileError when the
// path cannot be looked at.
ExportTargetFacts InspectExportTarget(const std::filesystem::path& target);

// Whether the real path `real` is the folder `folder` or lies inside it, compared through
// links (and on Windows without regard to case). A folder that does not exist holds nothing.
bool LiesWithin(const std::filesystem::path& real, const std::filesystem::path& folder);

// Whether `head` begins an iCalendar file: BEGIN:VCALENDAR (in any case) after an optional
// UTF-8 byte-order mark and blanks.
bool StartsAsCalendar(std::string_view head);

// Refuses a target an export must not replace: a path inside one of `ownFolders` (the notes
// folder, the settings folder), something that is not a regular file, a link that is not the
// user's (see LinkRule::FollowTrusted), or (under ExistingExport::CalendarOnly) an existing
// file that is not a calendar. Throws FileError with the reason in Slovak; returns quietly
// when the export may go ahead.
void CheckExportTarget(const std::filesystem::path& target,
                       const std::vector<std::filesystem::path>& ownFolders,
                       ExistingExport existing);

} // namespace tilava
