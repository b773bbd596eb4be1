#pragma once

#include <filesystem>
#include <optional>

namespace tilava {

// The folder that keeps the calendar sync's state of this computer (what was synced, the
// server's change token), made when missing: beside settings.ini on Linux, a folder of its own
// under the local application data on Windows. Never the notes folder: users copy and sync
// that folder between computers, and the state belongs to one computer. Nothing when no such
// folder can be found or made.
std::optional<std::filesystem::path> SyncStateFolder();

} // namespace tilava
