// Feeds arbitrary bytes to the settings file and checks what must hold for every input: a file
// the hive refuses stays byte for byte and every write to it fails; a file it takes keeps its
// other values through a write, and the written value reads back, also by a new reader.
#include "fuzz/Broken.h"
#include "platform/FileHive.h"
#include "platform/HiveError.h"

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace {

namespace fs = std::filesystem;
using tilava::FileHive;
using tilava::HiveKey;

const fs::path& Folder() {
    static const fs::path folder = [] {
        const fs::path f = fs::temp_directory_path() / ("tilava-fuzz-" + std::to_string(getpid()));
        fs::create_directories(f / "ZELMtilava");
        return f;
    }();
    return folder;
}

std::string Bytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

} // namespace

using tilava::fuzz::Broken;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const fs::path file = Folder() / "ZELMtilava" / "settings.ini";
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;

    FileHive hive(Folder());
    const auto before = hive.ReadValue(HiveKey::Settings, "ShowTime");
    const bool refused = !hive.Refusal().empty();
    try {
        hive.WriteString(HiveKey::Settings, "Now", "9.12.2026");
    } catch (const tilava::HiveError&) {
        if (refused && Bytes(file) != bytes)
            Broken("a refused file was changed");
        return 0;
    }
    if (refused)
        Broken("a refused file was written");
    const auto check = [&](const FileHive& reader) {
        const auto now = reader.ReadValue(HiveKey::Settings, "Now");
        if (!now.IsString() || now.text != "9.12.2026")
            Broken("the written value does not read back");
        const auto after = reader.ReadValue(HiveKey::Settings, "ShowTime");
        if (after.kind != before.kind || after.text != before.text)
            Broken("another value changed with a write");
    };
    check(hive);
    check(FileHive(Folder()));
    return 0;
}
