#include "platform/NotesFolder.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <sys/stat.h>

using tilava::test::TempFolder;

namespace {

// Sets or unsets an environment variable for one scope.
class EnvironmentValue {
public:
    EnvironmentValue(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        value ? setenv(name, value->c_str(), 1) : unsetenv(name);
    }
    ~EnvironmentValue() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }
    EnvironmentValue(const EnvironmentValue&) = delete;
    EnvironmentValue& operator=(const EnvironmentValue&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(NotesFolder, FollowsXdgDataHomeAndCreatesWhatIsMissing) {
    TempFolder root;
    const auto home = root / "home";
    std::filesystem::create_directory(home);
    const struct {
        const char* what;
        std::optional<std::string> dataHome;
        std::filesystem::path expected;
    } cases[] = {
        {"set", (root / "data").string(), root / "data" / "ZelmTilava"},
        {"unset", std::nullopt, home / ".local" / "share" / "ZelmTilava"},
        {"empty", std::string(), home / ".local" / "share" / "ZelmTilava"},
        {"relative is ignored", std::string("relative/data"),
         home / ".local" / "share" / "ZelmTilava"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EnvironmentValue homeValue("HOME", home.string());
        EnvironmentValue dataValue("XDG_DATA_HOME", c.dataHome);
        const auto folder = tilava::NotesFolder();
        EXPECT_EQ(folder, c.expected);
        EXPECT_TRUE(std::filesystem::is_directory(folder));
        EXPECT_EQ(tilava::DajPriecinok(), c.expected.parent_path());
        EXPECT_EQ(tilava::NotesFolder(), c.expected) << "an existing folder is kept";
    }
    struct stat info {};
    ASSERT_EQ(stat((root / "data").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u) << "a new data folder is the user's own";
}

} // namespace
