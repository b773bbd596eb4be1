#pragma once

#include "platform/ExportTarget.h"

#include <cstdint>
#include <filesystem>
#include <string>

namespace tilava {

// The calendar export as the program calls it: the notes in `folder` written to `subor`,
// events stamped `timeNow` (seconds since 1970, UTC), an existing file replaced as `existing`
// allows (see ExportCalendar). Fills `message` with the report for the
// user and says whether everything went well.
//
// On Linux it lives in a module of its own (kExportModuleName), loaded at the first
// export, so that a start of the widget maps neither libical nor the iCalendar writer.
using ExportEntry = bool (*)(const std::filesystem::path& folder,
                             const std::filesystem::path& subor, std::int64_t timeNow,
                             ExistingExport existing, std::string& message);

// The entry's name carries the number of its signature: a module of an older build that the
// program finds beside it is then refused, not called with the wrong arguments.
inline constexpr const char* kExportEntryName = "tilava_export_calendar_2";
inline constexpr const char* kExportModuleName = "calendar-export.so";

} // namespace tilava
