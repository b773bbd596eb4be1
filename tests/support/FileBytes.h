#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace tilava::test {

// The whole file as it is on disk; throws when it cannot be opened.
std::string ReadBytes(const std::filesystem::path& file);
// Writes the bytes as they are, replacing the file; throws when that fails.
void WriteBytes(const std::filesystem::path& file, std::string_view bytes);

// Names of the entries of a folder, sorted (UTF-8).
std::vector<std::string> FolderEntries(const std::filesystem::path& folder);

// Every file and folder below `root` (relative path -> bytes; folders map to "<folder>").
using FolderSnapshot = std::map<std::filesystem::path, std::string>;
FolderSnapshot Snapshot(const std::filesystem::path& root);
// The same without the file `leftOut` directly below `root`, which the code under test keeps
// there on purpose (and which a test of its own checks).
FolderSnapshot SnapshotWithout(const std::filesystem::path& root,
                               const std::filesystem::path& leftOut);

} // namespace tilava::test
