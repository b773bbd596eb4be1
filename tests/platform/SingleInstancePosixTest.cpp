#include "platform/SingleInstance.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <memory>
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
        const char answer = instance.JePrva() ? 'F' : 'S';
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
    ASSERT_TRUE(parent.JePrva());
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
    EXPECT_FALSE(SingleInstance(kName).JePrva());
    Kill(child);
    EXPECT_TRUE(SingleInstance(kName).JePrva());
}

TEST(SingleInstancePosix, ProgramsStartedByTheHolderDoNotKeepTheClaim) {
    // The widget opens web pages; a browser that outlives it must not block the next start.
    auto holder = std::make_unique<SingleInstance>(kName);
    ASSERT_TRUE(holder->JePrva());
    const pid_t browser = fork();
    ASSERT_GE(browser, 0);
    if (browser == 0) {
        execl("/bin/sleep", "sleep", "30", static_cast<char*>(nullptr));
        _exit(127);
    }
    usleep(100 * 1000); // let exec happen
    holder.reset();
    EXPECT_TRUE(SingleInstance(kName).JePrva());
    Kill(browser);
}

TEST(SingleInstancePosix, LockLivesInTheRuntimeFolder) {
    SingleInstance instance("Tilava|Tilava");
    EXPECT_TRUE(instance.JePrva());
    EXPECT_TRUE(std::filesystem::exists(RuntimeFolder() / "Tilava|Tilava.lock"));
}

} // namespace
