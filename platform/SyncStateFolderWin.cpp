#include "platform/SyncStateFolder.h"

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

namespace tilava {

std::optional<std::filesystem::path> SyncStateFolder() {
    PWSTR local = nullptr;
    std::optional<std::filesystem::path> folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_CREATE, nullptr, &local)) &&
        local != nullptr && *local != L'\0') {
        // Not "ZelmTilava" under any case: that is the notes folder (NTFS ignores case), which
        // users copy to their other computers, and the state belongs to this one.
        folder = std::filesystem::path(local) / L"TilavaSync";
    }
    CoTaskMemFree(local);
    if (!folder) {
        return std::nullopt;
    }
    if (!CreateDirectoryW(folder->c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        return std::nullopt;
    }
    // A junction or a file in its place is not used.
    const DWORD attributes = GetFileAttributesW(folder->c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
        (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        return std::nullopt;
    }
    return folder;
}

} // namespace tilava
