#pragma once

#include "platform/net/SecretStore.h"

#include <cstddef>
#include <string>

namespace tilava {

// What a secret store was asked to do, for its messages.
enum class SecretAction { Store, Lookup, Clear };

// The longest password a store keeps, in bytes of UTF-8; no real password comes near it.
inline constexpr std::size_t kLongestPassword = 4096;

// The Slovak message of a failed `action` on the password of `user` at `calendarUrl`: what
// failed, `reason`, and, where the store would have changed, that it stayed as it was.
SecretStoreError SecretStoreFailure(SecretAction action, const std::string& calendarUrl,
                                    const std::string& user, const std::string& reason);

// Throws SecretStoreFailure when the address or the user cannot name a kept password: empty,
// not UTF-8, or holding a control character.
void CheckAccount(SecretAction action, const std::string& calendarUrl, const std::string& user);

// CheckAccount for a Store, and throws when the password cannot be kept as it is: it holds a
// NUL (the stores keep text), is longer than kLongestPassword or is not UTF-8.
void CheckPasswordToKeep(const std::string& calendarUrl, const std::string& user,
                         const std::string& password);

} // namespace tilava
