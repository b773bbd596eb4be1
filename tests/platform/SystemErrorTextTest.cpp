#include "platform/SystemErrorText.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#endif

using tilava::SystemErrorText;

namespace {

#ifdef _WIN32
// The system's own (English) words for a code.
std::string EnglishText(DWORD code) {
    char buffer[512] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, code, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                                        buffer, sizeof buffer, nullptr);
    std::string text(buffer, length);
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == '.')) {
        text.pop_back();
    }
    return text;
}
#endif

// Every reason the file code can meet has Slovak words of its own: not the fallback and not the
// system's English text, the same for the plain code and for a std::error_code.
TEST(SystemErrorText, EveryReasonTheFileCodeMeetsIsSlovak) {
    const int errnos[] = {
        ENAMETOOLONG, ELOOP,  ENOSPC,  EROFS,   EACCES, EPERM,    ENOENT,    ENOTDIR,
        EISDIR,       EEXIST, EBUSY,   EIO,     EMFILE, ENFILE,   ENOMEM,    EXDEV,
        EINVAL,       EFBIG,  EAGAIN,  EINTR,   EBADF,  ENODEV,   ENXIO,     ENOSYS,
        ENOTEMPTY,    EMLINK, ENOTSUP, ETXTBSY, ENOLCK, ENOTCONN, ETIMEDOUT, EOVERFLOW,
#ifdef EDQUOT
        EDQUOT,       ESTALE,
#endif
    };
    for (const int e : errnos) {
        SCOPED_TRACE(std::strerror(e));
        const std::string text = tilava::ErrnoText(e);
        EXPECT_EQ(text.find("neznáma"), std::string::npos) << text;
        EXPECT_EQ(text.find(std::strerror(e)), std::string::npos) << text;
        EXPECT_EQ(SystemErrorText(std::make_error_code(static_cast<std::errc>(e))), text);
#ifndef _WIN32
        EXPECT_EQ(SystemErrorText(static_cast<unsigned long>(e)), text);
        EXPECT_EQ(SystemErrorText(std::error_code(e, std::system_category())), text);
#endif
    }
#ifdef _WIN32
    const DWORD codes[] = {
        ERROR_ACCESS_DENIED,
        ERROR_FILE_NOT_FOUND,
        ERROR_PATH_NOT_FOUND,
        ERROR_INVALID_DRIVE,
        ERROR_DISK_FULL,
        ERROR_HANDLE_DISK_FULL,
        1295 /* disk quota exceeded */,
        ERROR_WRITE_PROTECT,
        ERROR_NOT_READY,
        ERROR_SHARING_VIOLATION,
        ERROR_LOCK_VIOLATION,
        ERROR_FILENAME_EXCED_RANGE,
        ERROR_INVALID_NAME,
        ERROR_DIRECTORY,
        ERROR_ALREADY_EXISTS,
        ERROR_FILE_EXISTS,
        ERROR_NOT_SAME_DEVICE,
        ERROR_CANT_RESOLVE_FILENAME,
        ERROR_TOO_MANY_OPEN_FILES,
        ERROR_NOT_ENOUGH_MEMORY,
        ERROR_OUTOFMEMORY,
        ERROR_CRC,
        ERROR_WRITE_FAULT,
        ERROR_BAD_NETPATH,
        ERROR_NETNAME_DELETED,
        ERROR_INVALID_PARAMETER,
        ERROR_DELETE_PENDING,
        ERROR_USER_MAPPED_FILE,
        ERROR_FILE_TOO_LARGE,
        ERROR_KEY_DELETED,
        ERROR_REGISTRY_IO_FAILED,
    };
    for (const DWORD code : codes) {
        SCOPED_TRACE(code);
        const std::string text = SystemErrorText(code);
        EXPECT_EQ(text.find("neznáma"), std::string::npos) << text;
        const std::string english = EnglishText(code);
        if (!english.empty()) {
            EXPECT_EQ(text.find(english), std::string::npos) << text;
        }
        EXPECT_EQ(SystemErrorText(std::error_code(static_cast<int>(code), std::system_category())),
                  text);
    }
#endif
}

TEST(SystemErrorText, UnknownCodeHasSlovakFallbackWithTheNumber) {
    EXPECT_EQ(SystemErrorText(4242ul), "neznáma chyba systému (kód 4242)");
    EXPECT_EQ(SystemErrorText(std::error_code(4242, std::generic_category())),
              "neznáma chyba systému (kód 4242)");
}

} // namespace
