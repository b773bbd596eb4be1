#pragma once

#include <memory>
#include <string>

namespace tilava {

class FileLock;

// One running copy per user. Windows: the named mutex "Tilava|Tilava"; Linux: an exclusive
// lock on a file in a folder that only the user owns and can write: $XDG_RUNTIME_DIR, or,
// where that is missing or open to others, $XDG_STATE_HOME/ZelmTilava (~/.local/state). The
// system releases the lock when the process ends, however it ends. The first copy holds its
// claim until the object is destroyed; tests pass a name of their own.
class SingleInstance {
public:
    explicit SingleInstance(const std::string& name = "Tilava|Tilava");
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // False when another copy (in this or another process) already holds the name.
    bool IsFirst() const { return first_; }

    // Why the claim could not be checked at all, in Slovak for the user; empty when it could.
    // Such a copy counts as the first (running beats not starting), so the user must be told
    // that a second copy may start beside it.
    const std::string& Problem() const { return problem_; }

private:
    bool first_ = false;
    std::string problem_;
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    std::unique_ptr<FileLock> lock_;
#endif
};

} // namespace tilava
