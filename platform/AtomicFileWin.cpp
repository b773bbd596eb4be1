#include "platform/AtomicFile.h"

#include "platform/FinalPath.h"
#include "platform/SystemErrorText.h"

#include <windows.h>

#include <atomic>
#include <chrono>
#include <map>
#include <set>
#include <vector>

namespace tilava {

namespace {

namespace fs = std::filesystem;

constexpr const char* kReadOnly = "súbor je len na čítanie";

bool Exists(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES;
}

bool IsFolder(DWORD attributes) {
    return Exists(attributes) && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsReadOnlyFile(DWORD attributes) {
    return Exists(attributes) && (attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
           !IsFolder(attributes);
}

bool IsNotFound(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

std::wstring FullName(const fs::path& path) {
    const DWORD length = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (length == 0) {
        return path.wstring();
    }
    std::wstring name(length, L'\0');
    const DWORD written = GetFullPathNameW(path.c_str(), length, name.data(), nullptr);
    name.resize(written < length ? written : 0);
    return name;
}

// What a path names once its links are followed.
struct Target {
    fs::path file;         // the file itself: where the links lead, or the path
    bool linked = false;   // `path` leads elsewhere (a symbolic link, or a linked folder)
    bool dangling = false; // a link that leads to nothing
    DWORD error = 0;       // why a link cannot be followed
};

// A file opened normally follows symbolic links and other reparse points to the end; its final
// name is where a save must go, so a file kept in a synced folder and linked here is saved
// there and the link stays a link.
Target Follow(const fs::path& path, LinkRule rule = LinkRule::FollowAll) {
    Target target{path, false, false, 0};
    if (rule == LinkRule::ReplaceLink) {
        return target;
    }
    HANDLE file = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        // GetFileAttributesW does not follow a link: it sees the link even when its target is
        // missing (Wine shows no links as such, so there a link to nothing looks missing).
        const DWORD own = GetFileAttributesW(path.c_str());
        if (Exists(own) && (own & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
            target.linked = true;
            target.dangling = IsNotFound(error);
            target.error = error;
        }
        return target;
    }
    const std::wstring final = FinalPathName(file);
    CloseHandle(file);
    if (!final.empty() &&
        CompareStringOrdinal(final.c_str(), -1, FullName(path).c_str(), -1, TRUE) != CSTR_EQUAL) {
        target.file = final;
        target.linked = true;
    }
    return target;
}

std::string Reason(const Target& target, const std::string& reason) {
    if (!target.linked) {
        return reason;
    }
    return reason + " (odkaz vedie na „" + PathText(target.file) + "“)";
}

[[noreturn]] void Fail(const fs::path& path, const std::string& reason) {
    throw FileError(path, "Súbor „" + PathText(path) + "“ sa nedá zapísať: " + reason);
}

[[noreturn]] void FailRemove(const fs::path& path, const std::string& reason) {
    throw FileError(path, "Súbor „" + PathText(path) + "“ sa nedá zmazať: " + reason);
}

// The temporary file of a save of "NAME" is ".NAME.tilava-<process id>-<count>.tmp" beside
// it: a name no user picks for a file of their own, so the start-up clean-up can tell it apart.
constexpr std::wstring_view kTemporaryMark = L".tilava-";
constexpr std::wstring_view kTemporaryEnd = L".tmp";

fs::path TemporaryName(const fs::path& file) {
    static std::atomic<unsigned> counter{0};
    std::wstring name = L"." + file.filename().wstring();
    name += std::wstring(kTemporaryMark) + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter) + std::wstring(kTemporaryEnd);
    return file.parent_path() / name;
}

// The name of the file whose temporary `name` is; empty when it is none.
std::wstring TemporaryOf(std::wstring_view name) {
    if (!name.starts_with(L".") || !name.ends_with(kTemporaryEnd)) {
        return {};
    }
    name.remove_prefix(1);
    name.remove_suffix(kTemporaryEnd.size());
    for (const wchar_t separator : {L'-', L'-'}) {
        std::size_t digits = 0;
        while (digits < name.size() && name[name.size() - 1 - digits] >= L'0' &&
               name[name.size() - 1 - digits] <= L'9') {
            ++digits;
        }
        if (digits == 0 || digits == name.size() || name[name.size() - 1 - digits] != separator) {
            return {};
        }
        name.remove_suffix(digits + 1);
    }
    // The mark's own "-" was taken by the loop above.
    const std::wstring_view mark = kTemporaryMark.substr(0, kTemporaryMark.size() - 1);
    if (!name.ends_with(mark) || name.size() == mark.size()) {
        return {};
    }
    name.remove_suffix(mark.size());
    return std::wstring(name);
}

// Whether the file was last changed more than kStaleAfter ago.
bool IsStale(const FILETIME& changed) {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const auto ticks = [](const FILETIME& t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    const unsigned long long age = std::chrono::seconds(kStaleAfter).count() * 10000000ull;
    return ticks(now) > ticks(changed) && ticks(now) - ticks(changed) > age;
}

// Removes, in `folder`, the files that are temporaries of a save: of one of `files` when they
// are given, of any name otherwise. Returns the other plain files, for their links to be
// followed.
std::vector<fs::path> RemoveTemporaries(const fs::path& folder,
                                        const std::set<std::wstring>& files) {
    std::vector<fs::path> others;
    WIN32_FIND_DATAW entry{};
    HANDLE find = FindFirstFileW((folder / L"*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) {
        return others;
    }
    std::vector<fs::path> temporaries;
    do {
        // Only what a save leaves: never a folder, and never a link or what it leads to.
        if ((entry.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT |
                                       FILE_ATTRIBUTE_READONLY)) != 0) {
            continue;
        }
        const std::wstring of = TemporaryOf(entry.cFileName);
        if (!of.empty() && (files.empty() || files.contains(of))) {
            if (IsStale(entry.ftLastWriteTime)) {
                temporaries.push_back(folder / entry.cFileName);
            }
        } else {
            others.push_back(folder / entry.cFileName);
        }
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    // A running save opens its temporary file without FILE_SHARE_DELETE: it cannot go.
    for (const fs::path& temporary : temporaries) {
        DeleteFileW(temporary.c_str());
    }
    return others;
}

} // namespace

fs::path SaveTarget(const fs::path& path, LinkRule links) {
    return Follow(path, links).file;
}

void ReplaceFileAtomically(const fs::path& path, std::string_view bytes, FolderFlush,
                           SaveRules rules) {
    // A link to nothing is refused rather than replaced by a file of its own: the folder it
    // leads to may be a synced one that is not there just now. The mode rule has nothing to
    // do here: a new file takes its folder's permissions.
    const Target target = Follow(path, rules.links);
    if (target.dangling) {
        Fail(path, "symbolický odkaz vedie na súbor, ktorý neexistuje");
    }
    if (target.error != 0) {
        Fail(path, SystemErrorText(target.error));
    }
    const fs::path& file = target.file;

    const DWORD attributes = GetFileAttributesW(file.c_str());
    if (IsFolder(attributes)) {
        Fail(path, Reason(target, SystemErrorText(ERROR_DIRECTORY)));
    }
    // A file the user marked read-only is not replaced (Windows refuses it; Wine would not).
    if (IsReadOnlyFile(attributes)) {
        Fail(path, Reason(target, kReadOnly));
    }

    fs::path temporary;
    HANDLE handle = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && handle == INVALID_HANDLE_VALUE; ++attempt) {
        temporary = TemporaryName(file);
        handle = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) {
            break;
        }
    }
    if (handle == INVALID_HANDLE_VALUE) {
        Fail(path, Reason(target, SystemErrorText(GetLastError())));
    }

    auto abandon = [&](DWORD error) {
        CloseHandle(handle);
        DeleteFileW(temporary.c_str());
        Fail(path, Reason(target, SystemErrorText(error)));
    };

    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const DWORD chunk = left > 0x40000000 ? 0x40000000 : static_cast<DWORD>(left);
        DWORD written = 0;
        if (!WriteFile(handle, data, chunk, &written, nullptr)) {
            abandon(GetLastError());
        }
        data += written;
        left -= written;
    }
    if (!FlushFileBuffers(handle)) {
        abandon(GetLastError());
    }
    CloseHandle(handle);
    // A reader that has the file open for a moment (the widget, a sync tool, a virus scanner)
    // makes the replace fail with "access denied" or a sharing violation: it is tried again for
    // up to a second before the save fails and the old file stays.
    for (int attempt = 1;; ++attempt) {
        if (MoveFileExW(temporary.c_str(), file.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return;
        const DWORD error = GetLastError();
        const bool held = error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ||
                          error == ERROR_LOCK_VIOLATION;
        if (!held || attempt == 50) {
            DeleteFileW(temporary.c_str());
            Fail(path, Reason(target, SystemErrorText(error)));
        }
        Sleep(20);
    }
}

void FlushFolder(const fs::path&) {}

void RemoveFile(const fs::path& path, FolderFlush) {
    // A linked file is removed where it really is and then the link, so the removal reaches the
    // linked copy and no link is left leading to nothing.
    const Target target = Follow(path);
    if (!target.dangling) {
        if (target.error != 0) {
            FailRemove(path, SystemErrorText(target.error));
        }
        if (IsReadOnlyFile(GetFileAttributesW(target.file.c_str()))) {
            FailRemove(path, Reason(target, kReadOnly));
        }
        if (!DeleteFileW(target.file.c_str())) {
            const DWORD error = GetLastError();
            if (!IsNotFound(error)) {
                FailRemove(path, Reason(target, SystemErrorText(error)));
            }
        }
    }
    if (target.linked && !DeleteFileW(path.c_str())) {
        const DWORD error = GetLastError();
        if (!IsNotFound(error)) {
            FailRemove(path, "odkaz sa nedá zmazať: " + SystemErrorText(error));
        }
    }
}

void RemoveStaleTemporaries(const fs::path& folder) noexcept {
    try {
        // A linked file's temporaries lie beside its target.
        std::map<fs::path, std::set<std::wstring>> targets;
        for (const fs::path& file : RemoveTemporaries(folder, {})) {
            const Target target = Follow(file);
            if (target.linked && target.error == 0) {
                targets[target.file.parent_path()].insert(target.file.filename().wstring());
            }
        }
        for (const auto& [targetFolder, names] : targets) {
            RemoveTemporaries(targetFolder, names);
        }
    } catch (...) {
        // Left-overs that cannot go now go at a later start.
    }
}

} // namespace tilava
