#include "platform/ProgramPath.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(ProgramPath, IsThisProgramsFile) {
    const auto path = tilava::ProgramPath();
    EXPECT_TRUE(path.is_absolute()) << path;
    EXPECT_TRUE(std::filesystem::is_regular_file(path)) << path;
    EXPECT_EQ(path.stem().string(), "platform_ProgramPathTest");
}

#ifndef _WIN32
TEST(ProgramPath, AppImageIsTheProgramNotItsMount) {
    setenv("APPIMAGE", "/home/ľudo/Aplikácie/Tilava-x86_64.AppImage", 1);
    const auto path = tilava::ProgramPath();
    unsetenv("APPIMAGE");
    EXPECT_EQ(path, "/home/ľudo/Aplikácie/Tilava-x86_64.AppImage");
}
#endif

} // namespace
