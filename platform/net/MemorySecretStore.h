#pragma once

#include "platform/net/SecretStore.h"
#include "platform/net/SecretStoreChecks.h"

#include <cstddef>
#include <map>
#include <mutex>
#include <string>
#include <utility>

namespace tilava {

// A secret store in memory for tests. It keeps the desktop stores' limits (a password with a
// NUL, too long or not UTF-8 is refused) and can stand for a store that cannot be reached.
// Safe to call from several threads, as the desktop stores are.
class MemorySecretStore final : public SecretStore {
public:
    std::optional<std::string> Lookup(const std::string& calendarUrl,
                                      const std::string& user) override;
    void Store(const std::string& calendarUrl, const std::string& user,
               const std::string& password) override;
    void Clear(const std::string& calendarUrl, const std::string& user) override;

    // Makes every further call throw SecretStoreError, as with no session bus or a keyring
    // that stays locked; nothing kept is lost.
    void SetUnreachable(bool unreachable);
    // How many passwords are kept.
    std::size_t Count() const;

private:
    void ThrowWhenUnreachable(SecretAction action, const std::string& calendarUrl,
                              const std::string& user) const;

    mutable std::mutex mutex_;
    std::map<std::pair<std::string, std::string>, std::string> passwords_;
    bool unreachable_ = false;
};

} // namespace tilava
