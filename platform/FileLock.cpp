#include "platform/FileLock.h"

#include <algorithm>
#include <thread>

namespace tilava {

void FileLock::Poll(const std::filesystem::path& file, std::chrono::milliseconds wait,
                    const std::function<bool()>& tryOnce) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    std::chrono::microseconds pause{200};
    while (!tryOnce()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            throw FileLockError(
                FileLockError::Kind::Busy, file,
                "zámok drží iný program dlhšie ako " +
                    std::to_string(std::chrono::ceil<std::chrono::seconds>(wait).count()) + " s");
        }
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::microseconds{10'000});
    }
}

FileLock::~FileLock() {
    Release();
}

bool FileLock::Held() const {
    return handle_ != -1;
}

} // namespace tilava
