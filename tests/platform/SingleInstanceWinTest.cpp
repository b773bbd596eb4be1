#include "platform/SingleInstance.h"

#include "platform/ProgramPath.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>

using tilava::SingleInstance;

namespace {

const char* const kChildVariable = "TILAVA_SINGLE_INSTANCE_CHILD";
const std::string kName = "Tilava|SingleInstanceWinTest";

// The child half: this same program, started again with the variable set, claims the name and
// answers through its exit code.
TEST(SingleInstanceChild, ClaimsTheName) {
    const char* name = std::getenv(kChildVariable);
    if (name == nullptr) {
        GTEST_SKIP() << "runs only as the child of TwoProcesses";
    }
    SingleInstance instance(name);
    std::exit(instance.IsFirst() ? 10 : 20);
}

DWORD RunChild() {
    SetEnvironmentVariableA(kChildVariable, kName.c_str());
    std::wstring command = L"\"" + tilava::ProgramPath().wstring() +
                           L"\" --gtest_filter=SingleInstanceChild.ClaimsTheName";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0,
                                        nullptr, nullptr, &startup, &process);
    SetEnvironmentVariableA(kChildVariable, nullptr);
    if (!started) {
        return 0;
    }
    WaitForSingleObject(process.hProcess, 30000);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

TEST(SingleInstanceWin, NamedMutexIsSeenFromAnotherProcess) {
    EXPECT_EQ(RunChild(), 10u) << "nobody holds the name yet";
    {
        SingleInstance first(kName);
        ASSERT_TRUE(first.IsFirst());
        EXPECT_EQ(RunChild(), 20u) << "the second process must learn it is second";
    }
    EXPECT_EQ(RunChild(), 10u) << "the name must be free again";
}

TEST(SingleInstanceWin, TheProgramsOwnNameIsAMutex) {
    HANDLE before = OpenMutexW(SYNCHRONIZE, FALSE, L"Tilava|Tilava");
    if (before != nullptr) {
        CloseHandle(before);
        GTEST_SKIP() << "a copy of the program runs in this session";
    }
    SingleInstance instance;
    ASSERT_TRUE(instance.IsFirst());
    HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, L"Tilava|Tilava");
    EXPECT_NE(mutex, nullptr);
    if (mutex != nullptr) {
        CloseHandle(mutex);
    }
}

} // namespace
