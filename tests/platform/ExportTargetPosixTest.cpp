#include "platform/ExportTarget.h"

#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tilava {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;

// Which links an export follows: a link "X.ics" in the folder "place" leads to the user's
// calendar "victim.ics" elsewhere. The kernel would follow a link in a sticky folder that
// belongs to the folder's owner; an export follows only the user's (or root's) own links in a
// folder nobody else can change.
TEST(ExportTargetPosix, FollowsOnlyLinksNobodyElseCouldHavePlanted) {
    const bool root = ::geteuid() == 0;
    const passwd* nobody = ::getpwnam("nobody");
    const uid_t me = ::geteuid();
    const uid_t other = nobody != nullptr ? nobody->pw_uid : 65534;
    const gid_t otherGroup = nobody != nullptr ? nobody->pw_gid : 65534;
    const struct {
        const char* name;
        mode_t folderMode;
        bool folderMine; // else the folder belongs to "nobody"
        bool groupMine;  // the folder's group is the user's own group, else nobody's
        bool linkMine;   // else the link belongs to "nobody"
        bool followed;
    } cases[] = {
        {"sticky folder open to all, another user's link", 01777, true, true, false, false},
        {"sticky folder of that user, that user's link", 01777, false, true, false, false},
        {"sticky folder open to all, own link", 01777, true, true, true, true},
        {"folder open to all without the sticky bit, own link", 0777, true, true, true, false},
        {"own closed folder, own link", 0755, true, true, true, true},
        {"another user's closed folder, own link", 0755, false, true, true, false},
        {"folder the own group may write, own link", 0775, true, true, true, true},
        {"folder another group may write, own link", 0775, true, false, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (!root && !(c.folderMine && c.groupMine && c.linkMine)) {
            continue; // only root can give files to another user
        }
        test::TempFolder folder;
        const auto place = folder / "place";
        const auto victim = folder / "victim.ics";
        const auto link = place / "X.ics";
        const std::string mine = "BEGIN:VCALENDAR\r\nX-MINE:1\r\nEND:VCALENDAR\r\n";
        test::WriteBytes(victim, mine);
        fs::create_directory(place);
        ASSERT_EQ(::symlink("../victim.ics", link.c_str()), 0);
        ASSERT_EQ(::lchown(link.c_str(), c.linkMine ? me : other, static_cast<gid_t>(-1)), 0);
        ASSERT_EQ(::chown(place.c_str(), c.folderMine ? me : other,
                          c.groupMine ? ::getegid() : otherGroup),
                  0);
        ASSERT_EQ(::chmod(place.c_str(), c.folderMode), 0);
        bool refused = false;
        try {
            ReplaceFileAtomically(link, "BEGIN:VCALENDAR\r\nNEW\r\n", FolderFlush::Now,
                                  kExportSaveRules);
        } catch (const FileError& error) {
            refused = true;
            EXPECT_NE(std::string(error.what()).find("symbolický odkaz"), std::string::npos)
                << error.what();
        }
        EXPECT_EQ(refused, !c.followed);
        EXPECT_EQ(ReadBytes(victim), c.followed ? "BEGIN:VCALENDAR\r\nNEW\r\n" : mine);
        EXPECT_TRUE(fs::is_symlink(link));
        ::chmod(place.c_str(), 0755);
    }
}

} // namespace
} // namespace tilava
