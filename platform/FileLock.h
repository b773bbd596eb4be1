#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>

namespace tilava {

// A lock file that could not be taken; `reason` says why in Slovak, in the words of the other
// messages ("zámok drží iný program už 20 s"), without naming the file.
class FileLockError : public std::runtime_error {
public:
    enum class Kind {
        Busy,   // another holder kept the lock for the whole wait
        Failed, // the lock file is not a plain file of this user, or the system refused it
    };
    FileLockError(Kind error, std::filesystem::path lockFile, std::string why)
        : std::runtime_error(why), kind(error), file(std::move(lockFile)), reason(std::move(why)) {}

    Kind kind;
    std::filesystem::path file;
    std::string reason;
};

// An exclusive lock between processes (and between separate FileLock objects of one process)
// on the lock file `file`, held from construction to destruction; the system drops it when
// the process ends, however it ends. Linux: flock() on a file opened without following links,
// mode 0600, which must be a regular file of this user. Windows: LockFileEx on a hidden file.
// The file stays after the lock is released: removing it would let a waiter lock a file that
// is no longer the lock file.
//
// Waits at most `wait` for another holder; then throws FileLockError (Busy). A lock file that
// cannot be used throws FileLockError (Failed). When the lock file does not exist and its
// folder refuses to create it (no folder, not a folder, no right to write, a read-only disk),
// nothing is held and Held() is false: no program of this user can replace a file there
// either, so the caller's own write reports the failure.
class FileLock {
public:
    FileLock(const std::filesystem::path& file, std::chrono::milliseconds wait);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool Held() const;

private:
    // Calls `tryOnce` (true: the lock is had) with growing pauses up to 10 ms until it
    // succeeds or `wait` has passed, then throws FileLockError (Busy). Neither flock() nor
    // LockFileEx on a plain handle can wait for a limited time.
    static void Poll(const std::filesystem::path& file, std::chrono::milliseconds wait,
                     const std::function<bool()>& tryOnce);
    void Release() noexcept;

    // The file descriptor on Linux, the HANDLE on Windows; -1 when nothing is held.
    std::intptr_t handle_ = -1;
};

} // namespace tilava
