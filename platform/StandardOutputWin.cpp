#include "platform/StandardOutput.h"

#include "platform/WideText.h"

#include <windows.h>

#include <algorithm>
#include <string>

namespace tilava {

namespace {

// The console of the program that started this one, opened once; null without one.
HANDLE ParentConsole() {
    static const HANDLE console = [] {
        if (!AttachConsole(ATTACH_PARENT_PROCESS))
            return HANDLE{nullptr};
        const HANDLE handle =
            CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        return handle == INVALID_HANDLE_VALUE ? HANDLE{nullptr} : handle;
    }();
    return console;
}

HANDLE StreamHandle(StandardStream stream) {
    const HANDLE own =
        GetStdHandle(stream == StandardStream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    if (own != nullptr && own != INVALID_HANDLE_VALUE)
        return own;
    return ParentConsole();
}

bool WriteAll(HANDLE handle, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
        if (!WriteFile(handle, bytes.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

} // namespace

bool WriteStandard(StandardStream stream, std::string_view utf8) {
    const HANDLE handle = StreamHandle(stream);
    if (handle == nullptr)
        return false;
    DWORD mode = 0;
    if (GetConsoleMode(handle, &mode)) {
        const std::wstring wide = Utf8ToWide(utf8);
        std::size_t done = 0;
        while (done < wide.size()) {
            DWORD written = 0;
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(wide.size() - done, 8192));
            if (!WriteConsoleW(handle, wide.data() + done, chunk, &written, nullptr) ||
                written == 0)
                return false;
            done += written;
        }
        return true;
    }
    std::string bytes;
    bytes.reserve(utf8.size() + utf8.size() / 32);
    for (const char c : utf8) {
        if (c == '\n')
            bytes += '\r';
        bytes += c;
    }
    return WriteAll(handle, bytes);
}

} // namespace tilava
