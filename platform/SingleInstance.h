#pragma once

#include <string>

namespace tilava {

// One running copy per user. Windows: the named mutex "Tilava|Tilava"; Linux: an exclusive
// lock on a file in $XDG_RUNTIME_DIR (or the temporary folder), which the system releases when
// the process ends, however it ends. The first copy holds its claim until the object is
// destroyed; tests pass a name of their own.
class SingleInstance {
public:
    explicit SingleInstance(const std::string& name = "Tilava|Tilava");
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // False when another copy (in this or another process) already holds the name.
    bool JePrva() const { return first_; }

private:
    bool first_ = false;
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
};

} // namespace tilava
