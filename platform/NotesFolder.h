#pragma once

#include <filesystem>

namespace tilava {

// The user's local application data folder: CSIDL_LOCAL_APPDATA on Windows
// (C:\Users\<user>\AppData\Local), $XDG_DATA_HOME or ~/.local/share on Linux.
std::filesystem::path DajPriecinok();

// DajPriecinok() + "ZelmTilava", created when missing (on Linux with the XDG folders above it,
// which a fresh account may not have yet). A folder that cannot be created is left to the
// notes store to report when it saves.
std::filesystem::path NotesFolder();

} // namespace tilava
