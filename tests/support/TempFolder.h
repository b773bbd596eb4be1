#pragma once

#include <filesystem>

namespace tilava::test {

// A fresh empty folder under the system's temporary folder, removed with everything in it at
// the end, also when a test has taken away permissions inside it. Its name starts with `name`
// (which may hold any letters a test needs in a path) and ends in a number of its own.
class TempFolder {
public:
    explicit TempFolder(const std::filesystem::path& name = "tilava-test");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::filesystem::path& name) const {
        return path_ / name;
    }

private:
    std::filesystem::path path_;
};

} // namespace tilava::test
