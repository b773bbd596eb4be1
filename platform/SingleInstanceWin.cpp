#include "platform/SingleInstance.h"

#include "platform/WideText.h"

#include <windows.h>

namespace tilava {

SingleInstance::SingleInstance(const std::string& name) {
    handle_ = CreateMutexW(nullptr, TRUE, Utf8ToWide(name).c_str());
    // No handle, or a mutex that already existed: another copy runs.
    first_ = handle_ != nullptr && GetLastError() != ERROR_ALREADY_EXISTS;
}

SingleInstance::~SingleInstance() {
    if (handle_ != nullptr) {
        if (first_) {
            ReleaseMutex(handle_);
        }
        CloseHandle(handle_);
    }
}

} // namespace tilava
