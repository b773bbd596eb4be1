#include "platform/SystemErrorText.h"

#include "platform/WideText.h"

#include <windows.h>

namespace tilava {

std::string SystemErrorText(unsigned long code) {
    switch (code) {
    case ERROR_ACCESS_DENIED:
        return "prístup je zamietnutý";
    case ERROR_FILE_NOT_FOUND:
        return "súbor neexistuje";
    case ERROR_PATH_NOT_FOUND:
        return "priečinok neexistuje";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return "na disku nie je voľné miesto";
    case ERROR_WRITE_PROTECT:
        return "disk je chránený proti zápisu";
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return "súbor práve používa iný program";
    case ERROR_FILENAME_EXCED_RANGE:
        return "názov je príliš dlhý";
    case ERROR_INVALID_NAME:
        return "názov nie je platný";
    case ERROR_DIRECTORY:
        return "na jeho mieste je priečinok";
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return "nedostatok pamäte";
    default:
        break;
    }
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text;
    if (length > 0 && buffer != nullptr) {
        text.assign(buffer, length);
    }
    if (buffer != nullptr) {
        LocalFree(buffer);
    }
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ' ||
                             text.back() == L'.')) {
        text.pop_back();
    }
    const std::string number = "chyba " + std::to_string(code);
    return text.empty() ? number : WideToUtf8(text) + " (" + number + ")";
}

} // namespace tilava
