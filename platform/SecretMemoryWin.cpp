#include "platform/SecretMemory.h"

#include <windows.h>

namespace tilava {

void WipeSecret(std::string& secret) noexcept {
    // SecureZeroMemory is never left out as a store to memory no one reads again would be.
    if (!secret.empty())
        SecureZeroMemory(secret.data(), secret.size());
    secret.clear();
}

// Windows writes no core dump of its own accord; a crash report is the user's choice.
SecretHold::SecretHold() = default;
SecretHold::~SecretHold() = default;

} // namespace tilava
