#include "exchange/sync/RemovedEntries.h"

#include "platform/AtomicFile.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace tilava {
namespace {

using namespace std::chrono;

const sys_seconds kNoon = sys_days{2026y / December / 10} + hours{12} + minutes{5} + seconds{9};

TEST(RemovedEntries, KeepsEachRemovedEntryAsADayFileRecordAndStaysSmall) {
    test::TempFolder folder;
    const std::vector<RemovedEntry> removed = {
        {March / 15, {EntryKind::Narodeniny, 1980, true, "Ľubomír"}},
        {February / 29, {EntryKind::Poznamka, 2024, false, "zubár"}},
    };
    KeepRemovedEntries(folder.Path(), removed, kNoon);
    KeepRemovedEntries(folder.Path(), {}, kNoon);
    const std::string records =
        "Odstránené synchronizáciou 2026-12-10 12:05:09 UTC z dňa 15. 3. (0315.txt):\n"
        "-1\n2\n1980\nĽubomír\n\n"
        "Odstránené synchronizáciou 2026-12-10 12:05:09 UTC z dňa 29. 2. (0229.txt):\n"
        "0\n1\n2024\nzubár\n\n";
    const auto file = folder / kRemovedEntriesName;
    EXPECT_EQ(test::ReadBytes(file), records);
    KeepRemovedEntries(folder.Path(), removed, kNoon);
    EXPECT_EQ(test::ReadBytes(file), records + records);

    // A file near its limit is set aside whole (replacing the older one) and a new one begins.
    const std::string full(kLargestRemovedEntries - 10, 'x');
    test::WriteBytes(file, full);
    test::WriteBytes(folder / kOlderRemovedEntriesName, "older");
    KeepRemovedEntries(folder.Path(), removed, kNoon);
    EXPECT_EQ(test::ReadBytes(folder / kOlderRemovedEntriesName), full);
    EXPECT_EQ(test::ReadBytes(file), records);

    // Anything but a regular file is refused, and nothing is kept.
    std::filesystem::remove(file);
    std::filesystem::create_directory(file);
    EXPECT_THROW(KeepRemovedEntries(folder.Path(), removed, kNoon), FileError);
    EXPECT_TRUE(std::filesystem::is_directory(file));
}

} // namespace
} // namespace tilava
