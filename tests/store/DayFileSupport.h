#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace tilava::test {

// A fresh empty folder under the temporary folder, removed with everything in it at the end.
class TempFolder {
public:
    explicit TempFolder(const std::filesystem::path& name = "tilava-notes");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Every file and folder below `root` (relative path -> bytes; folders map to "<folder>").
using FolderSnapshot = std::map<std::filesystem::path, std::string>;
FolderSnapshot Snapshot(const std::filesystem::path& root);

void WriteBytes(const std::filesystem::path& file, std::string_view bytes);
std::string ReadBytes(const std::filesystem::path& file);

} // namespace tilava::test
