#pragma once

#include <filesystem>

namespace tilava {

// The full path of the running program file, for the start-up value. On Linux a program run
// from an AppImage is the AppImage file itself, not its temporary mount.
std::filesystem::path ProgramPath();

} // namespace tilava
