#include "platform/SecretMemory.h"

#include <sys/prctl.h>
#include <sys/resource.h>

#include <cstring>
#include <mutex>

namespace tilava {

void WipeSecret(std::string& secret) noexcept {
    // explicit_bzero is never left out as a store to memory no one reads again would be.
    if (!secret.empty())
        explicit_bzero(secret.data(), secret.size());
    secret.clear();
}

namespace {

std::mutex holdMutex;
int holders = 0;
int dumpableBefore = 1;
rlimit coreBefore{};
bool coreLimited = false;

} // namespace

SecretHold::SecretHold() {
    const std::lock_guard lock(holdMutex);
    if (holders++ == 0) {
        const int found = prctl(PR_GET_DUMPABLE, 0, 0, 0, 0);
        // 2 (readable by root only) cannot be set back; the plain setting is.
        dumpableBefore = found == 0 ? 0 : 1;
        prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
        // A system that dumps even such processes for root (fs.suid_dumpable 2, a core
        // collector behind a pipe) still heeds a core size of 0.
        coreLimited = getrlimit(RLIMIT_CORE, &coreBefore) == 0;
        if (coreLimited) {
            rlimit none = coreBefore;
            none.rlim_cur = 0;
            setrlimit(RLIMIT_CORE, &none);
        }
    }
}

SecretHold::~SecretHold() {
    const std::lock_guard lock(holdMutex);
    if (--holders == 0) {
        if (coreLimited)
            setrlimit(RLIMIT_CORE, &coreBefore);
        prctl(PR_SET_DUMPABLE, dumpableBefore, 0, 0, 0);
    }
}

} // namespace tilava
