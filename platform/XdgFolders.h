#pragma once

#include <filesystem>

namespace tilava {

// The user's base folders after the XDG Base Directory rules (Linux). A variable that is unset,
// empty or not an absolute path is ignored; the home folder comes from $HOME or the user
// database.
std::filesystem::path XdgConfigHome(); // $XDG_CONFIG_HOME or ~/.config
std::filesystem::path XdgDataHome();   // $XDG_DATA_HOME or ~/.local/share
std::filesystem::path XdgStateHome();  // $XDG_STATE_HOME or ~/.local/state
std::filesystem::path XdgRuntimeDir(); // $XDG_RUNTIME_DIR, or empty when it is not set

} // namespace tilava
