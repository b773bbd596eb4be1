#include "platform/StandardOutput.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace tilava {
namespace {

// Runs WriteStandard with standard output on a pipe; `readerOpen` false closes the pipe's
// other end first, as a reader that went away.
struct PipeRun {
    bool written;
    std::string bytes;
};
PipeRun WriteToPipe(std::string_view text, bool readerOpen) {
    HANDLE reader = nullptr, writer = nullptr;
    EXPECT_TRUE(CreatePipe(&reader, &writer, nullptr, 1 << 16));
    if (!readerOpen)
        CloseHandle(reader);
    const HANDLE before = GetStdHandle(STD_OUTPUT_HANDLE);
    SetStdHandle(STD_OUTPUT_HANDLE, writer);
    PipeRun run{WriteStandard(StandardStream::Output, text), {}};
    SetStdHandle(STD_OUTPUT_HANDLE, before);
    CloseHandle(writer);
    if (readerOpen) {
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(reader, buffer, sizeof buffer, &got, nullptr) && got > 0)
            run.bytes.append(buffer, got);
        CloseHandle(reader);
    }
    return run;
}

TEST(StandardOutputWin, APipeGetsUtf8WithWindowsLineEnds) {
    const PipeRun run = WriteToPipe("J\xC3\xA1n\nNov\xC3\xA1k\n", true);
    EXPECT_TRUE(run.written);
    EXPECT_EQ(run.bytes, "J\xC3\xA1n\r\nNov\xC3\xA1k\r\n");
}

TEST(StandardOutputWin, AReaderThatWentAwayIsAFailure) {
    EXPECT_FALSE(WriteToPipe("Kalend\xC3\xA1r sa ulo\xC5\xBEil.\n", false).written);
}

} // namespace
} // namespace tilava
