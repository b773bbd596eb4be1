#include "platform/NotesFolder.h"

#include <windows.h>

#include <shlobj.h>

namespace tilava {

std::filesystem::path DajPriecinok() {
    wchar_t buffer[MAX_PATH + 1] = {};
    if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, buffer)) &&
        buffer[0] != L'\0') {
        return buffer;
    }
    // Without the shell's answer: the environment, then the temporary folder.
    if (const DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", buffer, MAX_PATH + 1);
        length > 0 && length <= MAX_PATH) {
        return buffer;
    }
    std::error_code error;
    return std::filesystem::temp_directory_path(error);
}

std::filesystem::path NotesFolder() {
    const std::filesystem::path folder = DajPriecinok() / L"ZelmTilava";
    // One level; when it fails, the save of a day file tells the user why.
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

} // namespace tilava
