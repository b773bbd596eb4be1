#include "platform/SingleInstance.h"

#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using tilava::SingleInstance;

namespace {

const std::string kName = "Tilava|SingleInstancePosixTest";

// Lock files go to a runtime folder of the test's own.
std::unique_ptr<tilava::test::TempFolder> runtime;

const std::filesystem::path& RuntimeFolder() {
    return runtime->Path();
}

class RuntimeFolderEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        runtime = std::make_unique<tilava::test::TempFolder>();
        setenv("XDG_RUNTIME_DIR", runtime->Path().c_str(), 1);
    }
    void TearDown() override { runtime.reset(); }
};

[[maybe_unused]] const auto* const environment =
    ::testing::AddGlobalTestEnvironment(new RuntimeFolderEnvironment);

// Runs `body` in a child that reports one byte through a pipe and then waits to be killed.
pid_t ChildHolding(const std::string& name, char& report) {
    int channel[2];
    if (pipe(channel) != 0) {
        return -1;
    }
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        SingleInstance instance(name);
        const char answer = instance.IsFirst() ? 'F' : 'S';
        (void)!write(channel[1], &answer, 1);
        for (;;) {
            pause();
        }
    }
    close(channel[1]);
    if (read(channel[0], &report, 1) != 1) {
        report = '?';
    }
    close(channel[0]);
    return child;
}

void Kill(pid_t child) {
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
}

TEST(SingleInstancePosix, ChildProcessSeesTheParentsClaim) {
    SingleInstance parent(kName);
    ASSERT_TRUE(parent.IsFirst());
    char report = 0;
    const pid_t child = ChildHolding(kName, report);
    ASSERT_GT(child, 0);
    EXPECT_EQ(report, 'S');
    Kill(child);
}

TEST(SingleInstancePosix, ClaimEndsWhenTheHolderIsKilled) {
    char report = 0;
    const pid_t child = ChildHolding(kName, report);
    ASSERT_GT(child, 0);
    ASSERT_EQ(report, 'F');
    EXPECT_FALSE(SingleInstance(kName).IsFirst());
    Kill(child);
    EXPECT_TRUE(SingleInstance(kName).IsFirst());
}

TEST(SingleInstancePosix, ProgramsStartedByTheHolderDoNotKeepTheClaim) {
    // The widget opens web pages; a browser that outlives it must not block the next start.
    auto holder = std::make_unique<SingleInstance>(kName);
    ASSERT_TRUE(holder->IsFirst());
    const pid_t browser = fork();
    ASSERT_GE(browser, 0);
    if (browser == 0) {
        execl("/bin/sleep", "sleep", "30", static_cast<char*>(nullptr));
        _exit(127);
    }
    usleep(100 * 1000); // let exec happen
    holder.reset();
    EXPECT_TRUE(SingleInstance(kName).IsFirst());
    Kill(browser);
}

TEST(SingleInstancePosix, LockLivesInTheRuntimeFolder) {
    SingleInstance instance("Tilava|Tilava");
    EXPECT_TRUE(instance.IsFirst());
    EXPECT_TRUE(std::filesystem::exists(RuntimeFolder() / "Tilava|Tilava.lock"));
}

// Sets an environment variable for one scope and puts the old value back.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        if (value) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedVariable() {
        if (old_) {
            setenv(name_, old_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

uid_t Nobody() {
    const passwd* user = getpwnam("nobody");
    return user ? user->pw_uid : 65534;
}

// Where the lock goes and what another local user can no longer do to it: take the name so
// that Tilava ends at every start, or put a link or a folder there so that two copies run.
TEST(SingleInstancePosix, LockStaysInAFolderOnlyTheUserCanWrite) {
    namespace fs = std::filesystem;
    using Setup = std::function<void(const fs::path& runtime, const fs::path& state)>;
    const fs::path lockName = "Tilava|Tilava.lock";
    struct Case {
        const char* name;
        bool withRuntime;
        bool needsRoot; // to make files of another user
        Setup setup;
        bool problem;       // the user is told that the lock cannot be used
        const char* lockIn; // "runtime", "state" or "" (no lock file made by us)
    } cases[] = {
        {"private runtime folder", true, false, [](auto&, auto&) {}, false, "runtime"},
        {"no runtime folder", false, false, [](auto&, auto&) {}, false, "state"},
        {"runtime folder others can write", true, false,
         [](const fs::path& folder, auto&) { chmod(folder.c_str(), 01777); }, false, "state"},
        {"runtime folder of another user", true, true,
         [](const fs::path& folder, auto&) { (void)!chown(folder.c_str(), Nobody(), -1); }, false,
         "state"},
        {"state folder others can write", false, false,
         [](auto&, const fs::path& state) {
             fs::create_directories(state / "ZelmTilava");
             chmod((state / "ZelmTilava").c_str(), 0777);
         },
         true, ""},
        {"lock name taken by another user", false, true,
         [&](auto&, const fs::path& state) {
             fs::create_directories(state / "ZelmTilava");
             chmod((state / "ZelmTilava").c_str(), 0700);
             tilava::test::WriteBytes(state / "ZelmTilava" / lockName, "x");
             (void)!chown((state / "ZelmTilava" / lockName).c_str(), Nobody(), -1);
         },
         true, ""},
        {"lock name is a link", false, false,
         [&](auto&, const fs::path& state) {
             fs::create_directories(state / "ZelmTilava");
             chmod((state / "ZelmTilava").c_str(), 0700);
             tilava::test::WriteBytes(state / "victim", "keep");
             fs::create_symlink(state / "victim", state / "ZelmTilava" / lockName);
         },
         true, ""},
        {"lock name is a folder", false, false,
         [&](auto&, const fs::path& state) {
             fs::create_directories(state / "ZelmTilava" / lockName);
             chmod((state / "ZelmTilava").c_str(), 0700);
         },
         true, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.needsRoot && geteuid() != 0) {
            continue;
        }
        tilava::test::TempFolder runtimeFolder, state;
        chmod(runtimeFolder.Path().c_str(), 0700);
        c.setup(runtimeFolder.Path(), state.Path());
        const ScopedVariable runtimeVariable(
            "XDG_RUNTIME_DIR", c.withRuntime ? runtimeFolder.Path().c_str() : nullptr);
        const ScopedVariable stateVariable("XDG_STATE_HOME", state.Path().c_str());
        {
            SingleInstance instance;
            EXPECT_TRUE(instance.IsFirst());
            EXPECT_EQ(!instance.Problem().empty(), c.problem) << instance.Problem();
            const std::string in = c.lockIn;
            EXPECT_EQ(fs::is_regular_file(runtimeFolder / lockName), in == "runtime");
            if (in == "state") {
                EXPECT_TRUE(fs::is_regular_file(state / "ZelmTilava" / lockName));
                EXPECT_EQ(fs::status(state / "ZelmTilava").permissions() & fs::perms::all,
                          fs::perms::owner_all);
                EXPECT_FALSE(SingleInstance().IsFirst()) << "the lock must hold";
            }
        }
        if (fs::exists(state / "victim")) {
            EXPECT_EQ(tilava::test::ReadBytes(state / "victim"), "keep");
        }
        chmod(runtimeFolder.Path().c_str(), 0700);
        (void)!chown(runtimeFolder.Path().c_str(), getuid(), -1);
    }
}

} // namespace
