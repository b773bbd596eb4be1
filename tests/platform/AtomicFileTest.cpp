#include "platform/AtomicFile.h"
#include "platform/ReadFileIfExists.h"

#include "support/FileBytes.h"
#include "support/TempFolder.h"
#include "SymbolicLinkSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace tilava;
using namespace tilava::test;

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::filesystem::path U8(const char8_t* text) {
    return std::filesystem::path(text);
}

std::string Message(const std::exception& error) {
    return error.what();
}

TEST(AtomicFile, WritesExactBytesOverOldFileAndNewFile) {
    // Line ends, zero bytes and Windows-1250 bytes must pass untouched (no text mode).
    std::string binary("a\r\nb\nc\rd\0e\x8a\x9e\xff", 14);
    const std::string big(3 * 1024 * 1024 + 7, 'x');
    const struct {
        const char* what;
        bool oldFileExists;
        std::string bytes;
    } cases[] = {
        {"new file", false, "0101"},    {"over a longer file", true, "kratsi"},
        {"binary bytes", true, binary}, {"empty", true, ""},
        {"large", true, big},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        const auto file = folder / "0101.txt";
        if (c.oldFileExists) {
            WriteBytes(file, std::string(5000, 'o'));
        }
        ReplaceFileAtomically(file, c.bytes);
        EXPECT_EQ(ReadBytes(file), c.bytes);
        EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"0101.txt"});
    }
}

TEST(AtomicFile, SlovakFileNameRoundTrips) {
    TempFolder folder;
    const auto file = folder / U8(u8"Ľubomír Žofia Řehoř.txt");
    ReplaceFileAtomically(file, "obsah");
    ReplaceFileAtomically(file, "nový obsah");
    EXPECT_EQ(ReadFileIfExists(file).value_or("?"), "nový obsah");
    EXPECT_EQ(FolderEntries(folder.Path()),
              std::vector<std::string>{reinterpret_cast<const char*>(u8"Ľubomír Žofia Řehoř.txt")});
}

TEST(AtomicFile, FailureNamesTheFileAndLeavesNothingBehind) {
    TempFolder folder;
    std::filesystem::create_directory(folder / "0202.txt");
    WriteBytes(folder / "0202.txt" / "inside", "keep");

    const struct {
        const char* what;
        std::filesystem::path file;
        const char* reason;
    } cases[] = {
        {"a folder where the file should be", folder / "0202.txt", "na jeho mieste je priečinok"},
        {"a missing folder", folder / "missing" / "0303.txt", "neexistuje"},
#ifndef _WIN32
        // (Wine reports a name too long for the host as a missing file.)
        {"a name too long", folder / (std::string(250, 'n') + ".txt"), "názov je príliš dlhý"},
#endif
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            ReplaceFileAtomically(c.file, "new");
            ADD_FAILURE() << "no error";
        } catch (const FileError& error) {
            EXPECT_EQ(error.path, c.file);
            const auto fileName = c.file.filename().string();
            EXPECT_NE(Message(error).find("„"), std::string::npos) << error.what();
            EXPECT_NE(Message(error).find(fileName), std::string::npos) << error.what();
            EXPECT_NE(Message(error).find("sa nedá zapísať: "), std::string::npos) << error.what();
            EXPECT_NE(Message(error).find(c.reason), std::string::npos) << error.what();
        }
        EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"0202.txt"});
        EXPECT_EQ(ReadBytes(folder / "0202.txt" / "inside"), "keep");
    }
}

TEST(AtomicFile, RemoveFileAcceptsMissingFileAndReportsOtherFailures) {
    TempFolder folder;
    WriteBytes(folder / "0404.txt", "x");
    RemoveFile(folder / "0404.txt");
    EXPECT_TRUE(FolderEntries(folder.Path()).empty());
    EXPECT_NO_THROW(RemoveFile(folder / "0404.txt"));
    EXPECT_NO_THROW(RemoveFile(folder / "missing" / "0404.txt"));

    std::filesystem::create_directory(folder / "0505.txt");
    try {
        RemoveFile(folder / "0505.txt");
        ADD_FAILURE() << "a folder was taken for a file";
    } catch (const FileError& error) {
        EXPECT_NE(Message(error).find("0505.txt“ sa nedá zmazať: "), std::string::npos)
            << error.what();
    }
    EXPECT_TRUE(std::filesystem::is_directory(folder / "0505.txt"));
}

TEST(AtomicFile, ReadOnlyFileIsNeitherReplacedNorRemoved) {
    TempFolder folder;
    const auto file = folder / "0808.txt";
    WriteBytes(file, "old");
    std::filesystem::permissions(file,
                                 std::filesystem::perms::owner_write |
                                     std::filesystem::perms::group_write |
                                     std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
    const struct {
        const char* what;
        void (*action)(const std::filesystem::path&);
        const char* message;
    } cases[] = {
        {"replace", [](const std::filesystem::path& f) { ReplaceFileAtomically(f, "new"); },
         "0808.txt“ sa nedá zapísať: súbor je len na čítanie"},
        {"remove", [](const std::filesystem::path& f) { RemoveFile(f); },
         "0808.txt“ sa nedá zmazať: súbor je len na čítanie"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            c.action(file);
            ADD_FAILURE() << "no error";
        } catch (const FileError& error) {
            EXPECT_NE(Message(error).find(c.message), std::string::npos) << error.what();
        }
        EXPECT_EQ(ReadBytes(file), "old");
        EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"0808.txt"});
    }
    std::filesystem::permissions(file, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
}

// Every name below `root`, relative and sorted, links marked with the text they hold.
void AddTree(const fs::path& root, const fs::path& folder, std::vector<std::string>& names) {
    for (const auto& entry : fs::directory_iterator(folder)) {
        std::string name = entry.path().lexically_relative(root).generic_string();
        const auto status = fs::symlink_status(entry.path());
        if (fs::is_symlink(status)) {
            name += " -> " + fs::read_symlink(entry.path()).generic_string();
        } else if (fs::is_directory(status)) {
            AddTree(root, entry.path(), names);
        }
        names.push_back(name);
    }
}

std::vector<std::string> Tree(const fs::path& root) {
    std::vector<std::string> names;
    AddTree(root, root, names);
    std::sort(names.begin(), names.end());
    return names;
}

TEST(AtomicFile, LinkedFileIsSavedAndRemovedWhereItReallyIs) {
    // Users keep day files and the settings file in a synced folder and link them.
    const struct {
        const char* what;
        std::vector<std::pair<const char*, const char*>> links; // made in this order
        const char* target;      // holds "old" before the save; nullptr: none
        const char* saveRefused; // the reason, nullptr when the save must succeed
        bool removeRefused;
        std::vector<std::string> afterRemove;
        // Windows follows a chain in one step, so the link in the middle stays (Wine lists no
        // link that leads to nothing, so there it cannot be seen).
        const char* leftOnWindows;
        bool onWine; // Wine shows a Windows program no link to nothing and no loop
    } cases[] = {
        // clang-format off
        {"an absolute link", {{"notes/0305.txt", "@/sync/0305.txt"}}, "sync/0305.txt", nullptr,
         false, {"notes", "sync"}, nullptr, true},
        {"a relative link", {{"notes/0305.txt", "../sync/0305.txt"}}, "sync/0305.txt", nullptr,
         false, {"notes", "sync"}, nullptr, true},
        {"a chain of links, relative to the folder of each",
         {{"sync/deep/link.txt", "../real/0305.txt"}, {"notes/0305.txt", "../sync/deep/link.txt"}},
         "sync/real/0305.txt", nullptr, false, {"notes", "sync", "sync/deep", "sync/real"},
         "sync/deep/link.txt", true},
        {"a link to nothing", {{"notes/0305.txt", "../sync/gone.txt"}}, nullptr,
         "symbolický odkaz vedie na ", false, {"notes", "sync"}, nullptr, false},
#ifndef _WIN32
        {"a link to itself", {{"notes/0305.txt", "0305.txt"}}, nullptr,
         "príliš veľa symbolických odkazov", true, {"notes", "notes/0305.txt -> 0305.txt", "sync"},
         nullptr, false},
#endif
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (UnderWine() && !c.onWine) {
            continue;
        }
        TempFolder root;
        fs::create_directories(root / "notes");
        fs::create_directories(root / "sync");
        for (const auto& [link, target] : c.links) {
            fs::create_directories((root / link).parent_path());
        }
        if (c.target != nullptr) {
            fs::create_directories((root / c.target).parent_path());
            WriteBytes(root / c.target, "old");
        }
        bool made = true;
        for (const auto& [link, target] : c.links) {
            const std::string text = target;
            made =
                made && MakeSymbolicLink(root / link, text.starts_with("@") ? root / text.substr(2)
                                                                            : fs::path(text));
        }
        if (!made) {
            GTEST_SKIP() << "this system does not let the test make symbolic links";
        }
        const auto before = Tree(root.Path());
        const auto day = root / "notes" / "0305.txt";
        try {
            ReplaceFileAtomically(day, "new");
            EXPECT_EQ(c.saveRefused, nullptr) << "saved";
        } catch (const FileError& error) {
            ASSERT_NE(c.saveRefused, nullptr) << error.what();
            EXPECT_NE(Message(error).find("0305.txt“ sa nedá zapísať: "), std::string::npos)
                << error.what();
            EXPECT_NE(Message(error).find(c.saveRefused), std::string::npos) << error.what();
        }
        // The links stay links, nothing else appears, and the target holds what was saved.
        EXPECT_EQ(Tree(root.Path()), before);
        if (c.target != nullptr) {
            EXPECT_EQ(ReadBytes(root / c.target), "new");
            EXPECT_EQ(ReadBytes(day), "new");
        }

        if (c.removeRefused) {
            EXPECT_THROW(RemoveFile(day), FileError);
        } else {
            RemoveFile(day);
        }
        auto afterRemove = c.afterRemove;
#ifdef _WIN32
        if (c.leftOnWindows != nullptr && !UnderWine()) {
            afterRemove.push_back(c.leftOnWindows);
            std::sort(afterRemove.begin(), afterRemove.end());
        }
#endif
        EXPECT_EQ(Tree(root.Path()), afterRemove);
    }
}

TEST(AtomicFile, StartUpRemovesOnlyOldTemporariesOfInterruptedSaves) {
    enum Kind { File, Folder, Link };
    const struct {
        const char* name; // in the notes folder, or in "sync/" where a notes file links to
        Kind kind;
        bool old; // unchanged for longer than a save could take
        bool goes;
    } entries[] = {
#ifdef _WIN32
        {".0305.txt.tilava-1234-1.tmp", File, true, true},
        {".settings.ini.tilava-99-12.tmp", File, true, true},
        {"sync/.0305.txt.tilava-5-6.tmp", File, true, true},
        {"sync/.0306.txt.tilava-5-6.tmp", File, true, false}, // no file here links to 0306.txt
        {".0305.txt.tilava-7-8.tmp", File, false, false},     // a save may still be writing it
        {"0305.txt.1234.1.tmp", File, true, false},           // an older version's name
        {"0305.txt.tilava-1-2.tmp", File, true, false},
        {".0305.txt.tilava-12.tmp", File, true, false},
        {".0305.txt.tilava-a1-2.tmp", File, true, false},
        {".0305.txt.tilava-1-2.tmp.bak", File, true, false},
        {".tilava-1-2.tmp", File, true, false},
        {".0307.txt.tilava-1-2.tmp", Folder, true, false},
#else
        {".0305.txt.tilava-AbC123.tmp", File, true, true},
        {".settings.ini.tilava-x9Y8z7.tmp", File, true, true},
        {".ZelmTilava.desktop.tilava-000000.tmp", File, true, true},
        {"sync/.0305.txt.tilava-QwErTy.tmp", File, true, true},
        {"sync/.0306.txt.tilava-QwErTy.tmp", File, true, false}, // no file here links to it
        {".0305.txt.tilava-Fresh1.tmp", File, false, false},     // a save may still be writing it
        {".0305.txt.zaloha", File, true, false},     // the user's own hidden copies, named
        {".settings.ini.backup", File, true, false}, // as older versions named temporaries
        {".hidden", File, true, false},
        {"0305.txt.tilava-AbC123.tmp", File, true, false},
        {".0305.txt.tilava-AbC123", File, true, false},
        {".0305.txt.tilava-AbC12.tmp", File, true, false},
        {".0305.txt.tilava-AbC1234.tmp", File, true, false},
        {".0305.txt.tilava-AbC-12.tmp", File, true, false},
        {"..tilava-AbC123.tmp", File, true, false},
        {".0307.txt.tilava-Folder.tmp", Folder, true, false},
        {".0308.txt.tilava-Link12.tmp", Link, true, false},
#endif
        {"0305.txt", Link, true, false}, // leads to sync/0305.txt
        {"0306.txt", File, true, false},
        {"sync/0305.txt", File, true, false},
        {"sync/0306.txt", File, true, false},
        {"sync/keep.txt", File, true, false},
    };
    TempFolder root;
    const auto notes = root / "notes";
    fs::create_directories(notes);
    fs::create_directories(root / "sync");
    const auto longAgo = fs::file_time_type::clock::now() - tilava::kStaleAfter - 1min;
    for (const auto& e : entries) {
        const std::string name = e.name;
        const auto path = name.starts_with("sync/") ? root / name : notes / name;
        if (e.kind == File) {
            WriteBytes(path, "keep");
        } else if (e.kind == Folder) {
            fs::create_directory(path);
            WriteBytes(path / "inside", "keep");
        }
        if (e.kind == File && e.old) {
            fs::last_write_time(path, longAgo);
        } else if (e.kind == Folder) {
            std::error_code ignored; // a folder's time cannot be set on every system
            fs::last_write_time(path, longAgo, ignored);
        }
    }
    for (const auto& e : entries) {
        if (e.kind == Link && !MakeSymbolicLink(notes / e.name, std::string(e.name) == "0305.txt"
                                                                    ? "../sync/0305.txt"
                                                                    : "../sync/keep.txt")) {
            GTEST_SKIP() << "this system does not let the test make symbolic links";
        }
    }

    RemoveStaleTemporaries(notes);

    for (const auto& e : entries) {
        SCOPED_TRACE(e.name);
        const std::string name = e.name;
        const auto path = name.starts_with("sync/") ? root / name : notes / name;
        std::error_code error;
        EXPECT_EQ(fs::exists(fs::symlink_status(path, error)), !e.goes);
        if (!e.goes) {
            EXPECT_EQ(ReadBytes(e.kind == Folder ? path / "inside" : path), "keep");
        }
        if (e.kind == Link && !UnderWine()) {
            EXPECT_TRUE(fs::is_symlink(fs::symlink_status(path, error)));
        }
    }
    EXPECT_NO_THROW(RemoveStaleTemporaries(root / "missing"));
}

TEST(ReadFileIfExists, MissingIsNothingFolderIsAnError) {
    TempFolder folder;
    EXPECT_FALSE(ReadFileIfExists(folder / "0606.txt").has_value());
    WriteBytes(folder / "0606.txt", std::string("a\r\n\0b", 5));
    EXPECT_EQ(ReadFileIfExists(folder / "0606.txt"), std::string("a\r\n\0b", 5));
    std::filesystem::create_directory(folder / "0707.txt");
    try {
        ReadFileIfExists(folder / "0707.txt");
        ADD_FAILURE() << "a folder was read as a file";
    } catch (const FileError& error) {
        EXPECT_NE(Message(error).find("0707.txt“ sa nedá prečítať: "), std::string::npos)
            << error.what();
    }
}

} // namespace
