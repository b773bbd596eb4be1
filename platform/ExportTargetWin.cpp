#include "platform/ExportTarget.h"

#include "platform/FinalPath.h"
#include "platform/SystemErrorText.h"

#include <windows.h>

namespace tilava {

namespace fs = std::filesystem;

namespace {

constexpr DWORD kHeadSize = 4096;

// An open handle of an existing file or folder, closed at the end.
class Handle {
public:
    explicit Handle(const fs::path& path)
        : handle_(CreateFileW(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)) {}
    ~Handle() {
        if (handle_ != INVALID_HANDLE_VALUE) {
            CloseHandle(handle_);
        }
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

} // namespace

fs::path ExistingRealPath(const fs::path& path) {
    const Handle handle(path);
    return handle.IsOpen() ? fs::path(FinalPathName(handle.Get())) : fs::path();
}

ExportTargetFacts InspectExportTarget(const fs::path& target) {
    ExportTargetFacts facts;
    facts.real = RealPath(target);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    const Handle handle(target);
    if (attributes == INVALID_FILE_ATTRIBUTES && !handle.IsOpen()) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
            throw FileError(target, "Súbor „" + PathText(target) +
                                        "“ sa nedá preskúmať: " + SystemErrorText(error));
        }
        return facts;
    }
    facts.exists = true;
    // A device name such as NUL or COM1 opens as something other than a file on a disk.
    facts.regular = handle.IsOpen() && attributes != INVALID_FILE_ATTRIBUTES &&
                    (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
                    GetFileType(handle.Get()) == FILE_TYPE_DISK;
    LARGE_INTEGER size{};
    facts.empty = facts.regular && GetFileSizeEx(handle.Get(), &size) && size.QuadPart == 0;
    if (facts.regular) {
        facts.head.resize(kHeadSize);
        DWORD length = 0;
        if (!ReadFile(handle.Get(), facts.head.data(), kHeadSize, &length, nullptr)) {
            length = 0;
        }
        facts.head.resize(length);
    }
    return facts;
}

bool LiesWithin(const fs::path& real, const fs::path& folder) {
    const std::wstring base = ExistingRealPath(folder).wstring();
    if (base.empty()) {
        return false;
    }
    const std::wstring full = real.wstring();
    if (full.size() < base.size() ||
        CompareStringOrdinal(full.c_str(), static_cast<int>(base.size()), base.c_str(),
                             static_cast<int>(base.size()), TRUE) != CSTR_EQUAL) {
        return false;
    }
    return full.size() == base.size() || base.ends_with(L'\\') || full[base.size()] == L'\\' ||
           full[base.size()] == L'/';
}

} // namespace tilava
