#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace tilava {

// The whole file as bytes, or nothing when it does not exist. Any other failure (no access, a
// folder in its place) throws FileError naming the file and the reason in Slovak.
std::optional<std::string> ReadFileIfExists(const std::filesystem::path& path);

} // namespace tilava
