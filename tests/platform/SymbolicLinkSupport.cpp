#include "SymbolicLinkSupport.h"

#ifdef _WIN32
#include <windows.h>

#include <chrono>
#include <string>
#include <thread>
#endif

namespace tilava::test {

namespace fs = std::filesystem;

#ifndef _WIN32

bool MakeSymbolicLink(const fs::path& link, const fs::path& target) {
    std::error_code error;
    fs::create_symlink(target, link, error);
    return !error;
}

bool UnderWine() {
    return false;
}

#else

namespace {

using UnixName = char*(__cdecl*)(const wchar_t*);

UnixName UnixNameFunction() {
    return reinterpret_cast<UnixName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
}

// The host's name of a Windows path, as Wine maps it.
std::wstring HostName(const fs::path& path) {
    char* name = UnixNameFunction()(path.c_str());
    if (name == nullptr) {
        return {};
    }
    const std::string text(name);
    HeapFree(GetProcessHeap(), 0, name);
    return std::wstring(text.begin(), text.end());
}

} // namespace

bool UnderWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

bool MakeSymbolicLink(const fs::path& link, const fs::path& target) {
    if (!UnderWine()) {
        return CreateSymbolicLinkW(link.c_str(), target.c_str(), 0x2 /* unprivileged */) != 0;
    }
    // Wine's CreateSymbolicLinkW makes nothing; the host's ln does, started as Wine starts any
    // host program.
    std::wstring targetText = target.is_absolute() ? HostName(target) : target.generic_wstring();
    const std::wstring linkText = HostName(link);
    if (targetText.empty() || linkText.empty()) {
        return false;
    }
    std::wstring command = L"/bin/ln -s -- \"" + targetText + L"\" \"" + linkText + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(L"Z:\\bin\\ln", command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        return false;
    }
    WaitForSingleObject(process.hProcess, 5000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    // The host process may end after Wine's handle says so; a link to an existing file shows up
    // as that file.
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    const fs::path seen = target.is_absolute() ? target : link.parent_path() / target;
    while (std::chrono::steady_clock::now() < end) {
        if (GetFileAttributesW(link.c_str()) != INVALID_FILE_ATTRIBUTES ||
            GetFileAttributesW(seen.c_str()) == INVALID_FILE_ATTRIBUTES) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

#endif

} // namespace tilava::test
