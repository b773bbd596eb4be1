#include "support/FileBytes.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace tilava::test {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + file.string());
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
        throw std::runtime_error("cannot write " + file.string());
    }
}

std::vector<std::string> FolderEntries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const auto name = entry.path().filename().u8string();
        names.emplace_back(name.begin(), name.end());
    }
    std::sort(names.begin(), names.end());
    return names;
}

FolderSnapshot Snapshot(const fs::path& root) {
    FolderSnapshot snapshot;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const fs::path relative = fs::relative(entry.path(), root);
        snapshot[relative] = entry.is_directory() ? "<folder>" : ReadBytes(entry.path());
    }
    return snapshot;
}

FolderSnapshot SnapshotWithout(const fs::path& root, const fs::path& leftOut) {
    FolderSnapshot snapshot = Snapshot(root);
    snapshot.erase(leftOut);
    return snapshot;
}

} // namespace tilava::test
