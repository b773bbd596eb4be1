#pragma once

#include <string>

namespace tilava {

// The function `entryName` of the program's module `moduleName` (Linux), loaded at the first
// call and kept for the run: where an installation puts it, then beside the program (the build
// folder). Gives nullptr and the reason, in Slovak for the user, when the module cannot be
// found or loaded; `refusal` begins that reason ("Export do kalendára sa nedá spustiť: jeho
// súčasť"). Threads may call it at once (the sync runs on a worker thread of the widget).
void* LoadedModuleEntry(const char* moduleName, const char* entryName, const std::string& refusal,
                        std::string& error);

} // namespace tilava
