#include "store/DayFileSupport.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace tilava::test {

namespace fs = std::filesystem;

TempFolder::TempFolder(const fs::path& name) {
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    path_ = fs::temp_directory_path() / name;
    path_ += "-" + std::to_string(stamp) + "-" + std::to_string(++counter);
    fs::create_directories(path_);
}

TempFolder::~TempFolder() {
    std::error_code ec;
    // A test may leave a folder without write permission behind.
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

FolderSnapshot Snapshot(const fs::path& root) {
    FolderSnapshot snapshot;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const fs::path relative = fs::relative(entry.path(), root);
        snapshot[relative] = entry.is_directory() ? "<folder>" : ReadBytes(entry.path());
    }
    return snapshot;
}

void WriteBytes(const fs::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
        throw std::runtime_error("cannot write " + file.string());
    }
}

std::string ReadBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + file.string());
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace tilava::test
