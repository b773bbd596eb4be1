#include "platform/SingleInstance.h"

#include "platform/SystemErrorText.h"
#include "platform/WideText.h"

#include <windows.h>

namespace tilava {

SingleInstance::SingleInstance(const std::string& name) {
    handle_ = CreateMutexW(nullptr, TRUE, Utf8ToWide(name).c_str());
    const DWORD error = GetLastError();
    if (handle_ == nullptr && error == ERROR_ACCESS_DENIED) {
        // The mutex exists with rights of its own: a copy started as administrator holds it.
        first_ = false;
        return;
    }
    if (handle_ == nullptr) {
        // No mutex at all tells nothing about another copy; running beats not starting.
        first_ = true;
        problem_ = "Tilava nemôže overiť, či už beží, a preto sa môže spustiť aj druhýkrát: "
                   "zámok spustenej kópie sa nedá vytvoriť – " +
                   SystemErrorText(error) + ".";
        return;
    }
    first_ = error != ERROR_ALREADY_EXISTS;
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
