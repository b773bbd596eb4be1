#include "support/TempFolder.h"

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <string>

namespace tilava::test {

namespace fs = std::filesystem;

TempFolder::TempFolder(const fs::path& name) {
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    const fs::path base = fs::temp_directory_path() / name;
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path candidate = base;
        candidate += "-" + std::to_string(stamp) + "-" + std::to_string(++counter);
        // Only a folder made here counts: another test program may run at the same time.
        if (fs::create_directory(candidate)) {
            path_ = std::move(candidate);
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder " + base.string());
}

TempFolder::~TempFolder() {
    std::error_code error;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, error);
    // Folders and files made read-only by a test must become writable again before they can
    // go. Links are left as they are, so nothing outside the folder changes.
    for (auto it = fs::recursive_directory_iterator(path_, error);
         !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        std::error_code ignored;
        if (!it->is_symlink(ignored)) {
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        }
    }
    fs::remove_all(path_, error);
}

} // namespace tilava::test
