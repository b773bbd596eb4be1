#include "platform/AtomicFile.h"
#include "platform/ReadFileIfExists.h"

#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using tilava::FileError;
using tilava::ReadFileIfExists;
using tilava::RemoveFile;
using tilava::ReplaceFileAtomically;
using tilava::test::FolderEntries;
using tilava::test::ReadBytes;
using tilava::test::TempFolder;
using tilava::test::WriteBytes;

namespace {

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
    } cases[] = {
        {"a folder where the file should be", folder / "0202.txt"},
        {"a missing folder", folder / "missing" / "0303.txt"},
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
