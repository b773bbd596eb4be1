#pragma once

#include "model/export/ExportEntry.h"

#include <string>

namespace tilava {

// Loads the calendar export's module once and keeps it for the run. Gives nullptr and the
// reason, in Slovak for the user, when the module cannot be found or loaded.
ExportEntry LoadExportModule(std::string& chyba);

} // namespace tilava
