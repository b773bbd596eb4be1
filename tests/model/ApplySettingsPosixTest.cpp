#include "model/ApplySettings.h"

#include "core/uRok.h"
#include "platform/FileHive.h"
#include "store/uRegi.h"

#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace tilava {
namespace {

// Start with the session on the desktop's own file: switching on writes the autostart entry
// that runs the program, switching off removes it.
TEST(SettingsXdg, StartupSwitchWritesAndRemovesTheAutostartEntry) {
    test::TempFolder config;
    FileHive hive(config.Path());
    TRegi regi(hive);
    TRok rok;
    WidgetSettings w;
    WidgetSettings z = w;
    z.Startup = z.Pamatat = true;
    const std::filesystem::path program = "/home/jana/Programy a hry/tilava";
    ASSERT_EQ(ApplySettings(z, true, rok, regi, w, program), "");
    EXPECT_TRUE(w.Startup && w.Pamatat);
    const std::string entry = test::ReadBytes(hive.AutostartFile());
    EXPECT_NE(entry.find("Exec=" + FileHive::ExecFor(program.string()) + "\n"), std::string::npos)
        << entry;
    EXPECT_NE(test::ReadBytes(hive.SettingsFile()).find("ZelmTilavaP=True"), std::string::npos);

    z.Startup = false;
    ASSERT_EQ(ApplySettings(z, true, rok, regi, w, program), "");
    EXPECT_FALSE(w.Startup);
    EXPECT_TRUE(w.Pamatat);
    EXPECT_FALSE(std::filesystem::exists(hive.AutostartFile()));
}

} // namespace
} // namespace tilava
