#include "platform/ExportTarget.h"

#include "platform/SystemErrorText.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tilava {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kHeadSize = 4096;

} // namespace

fs::path ExistingRealPath(const fs::path& path) {
    char* real = ::realpath(path.c_str(), nullptr);
    if (real == nullptr) {
        return {};
    }
    fs::path result(real);
    std::free(real);
    return result;
}

ExportTargetFacts InspectExportTarget(const fs::path& target) {
    ExportTargetFacts facts;
    facts.real = RealPath(target);
    struct stat info {};
    if (::stat(target.c_str(), &info) != 0) {
        if (errno != ENOENT) {
            throw FileError(target, "Súbor „" + PathText(target) + "“ sa nedá preskúmať: " +
                                        SystemErrorText(static_cast<unsigned long>(errno)));
        }
        return facts;
    }
    facts.exists = true;
    facts.regular = S_ISREG(info.st_mode);
    facts.empty = facts.regular && info.st_size == 0;
    if (!facts.regular) {
        return facts;
    }
    // Without waiting: a named pipe swapped in meanwhile must not hold the export up.
    const int fd = ::open(target.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return facts; // unread: not known to be a calendar
    }
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        facts.head.resize(kHeadSize);
        const ssize_t length = ::read(fd, facts.head.data(), facts.head.size());
        facts.head.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    } else {
        facts.regular = false;
    }
    ::close(fd);
    return facts;
}

bool LiesWithin(const fs::path& real, const fs::path& folder) {
    const fs::path base = ExistingRealPath(folder);
    if (base.empty()) {
        return false;
    }
    const auto mismatch = std::mismatch(base.begin(), base.end(), real.begin(), real.end()).first;
    // "/a/b/" ends in an empty element, which matches the end of "/a/b".
    return mismatch == base.end() || (std::next(mismatch) == base.end() && mismatch->empty());
}

} // namespace tilava
