#include "platform/FinalPath.h"

#include <windows.h>

namespace tilava {

std::wstring FinalPathName(void* handle) {
    std::wstring name(MAX_PATH, L'\0');
    DWORD length = GetFinalPathNameByHandleW(handle, name.data(), static_cast<DWORD>(name.size()),
                                             FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length >= name.size()) {
        name.resize(length);
        length = GetFinalPathNameByHandleW(handle, name.data(), static_cast<DWORD>(name.size()),
                                           FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    }
    if (length == 0 || length >= name.size()) {
        return {};
    }
    name.resize(length);
    if (name.starts_with(L"\\\\?\\UNC\\")) {
        return L"\\\\" + name.substr(8);
    }
    if (name.starts_with(L"\\\\?\\")) {
        return name.substr(4);
    }
    return name;
}

} // namespace tilava
