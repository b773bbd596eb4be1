#include "platform/SyncStateFolder.h"

#include "platform/SettingsHive.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

unsigned Mode(const fs::path& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 0777 : 0;
}

// The state lies beside settings.ini, in a folder made private when missing; something else
// in its place is not used.
TEST(SyncStateFolderPosix, IsTheSettingsFolderMadePrivateAndNeverALink) {
    tilava::test::TempFolder root;
    const fs::path home = root / "home";
    const std::string savedHome = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";
    const char* savedConfig = std::getenv("XDG_CONFIG_HOME");
    const std::string savedConfigText = savedConfig != nullptr ? savedConfig : "";
    const struct {
        const char* what;
        const char* configHome; // nullptr: XDG_CONFIG_HOME unset
        std::function<void(const fs::path&)> prepare;
        bool used;
    } cases[] = {
        {"set", "config", nullptr, true},
        {"unset", nullptr, nullptr, true},
        {"kept when it exists", "config", nullptr, true},
        {"a link in its place", "linked",
         [&](const fs::path& folder) {
             fs::create_directories(root / "elsewhere");
             fs::create_directories(folder.parent_path());
             fs::create_directory_symlink(root / "elsewhere", folder);
         },
         false},
        {"a file in its place", "file",
         [&](const fs::path& folder) {
             fs::create_directories(folder.parent_path());
             std::ofstream(folder) << "x";
         },
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ::setenv("HOME", home.c_str(), 1);
        c.configHome != nullptr ? ::setenv("XDG_CONFIG_HOME", (root / c.configHome).c_str(), 1)
                                : ::unsetenv("XDG_CONFIG_HOME");
        const fs::path configHome =
            c.configHome != nullptr ? root / c.configHome : home / ".config";
        const fs::path expected = configHome / "ZELMtilava";
        if (c.prepare) {
            c.prepare(expected);
        }
        const auto folder = tilava::SyncStateFolder();
        if (!c.used) {
            EXPECT_EQ(folder, std::nullopt);
            EXPECT_FALSE(fs::exists(root / "elsewhere" / "ZELMtilava"));
            continue;
        }
        ASSERT_EQ(folder, expected);
        EXPECT_EQ(folder, tilava::UserSettingsFolder());
        EXPECT_TRUE(fs::is_directory(expected));
        EXPECT_EQ(Mode(expected), 0700u);
        EXPECT_EQ(Mode(configHome), 0700u) << "the XDG rules' mode for a new base folder";
    }
    ::setenv("HOME", savedHome.c_str(), 1);
    savedConfig != nullptr ? ::setenv("XDG_CONFIG_HOME", savedConfigText.c_str(), 1)
                           : ::unsetenv("XDG_CONFIG_HOME");
}

} // namespace
