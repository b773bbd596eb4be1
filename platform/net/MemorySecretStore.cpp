#include "platform/net/MemorySecretStore.h"

namespace tilava {

std::optional<std::string> MemorySecretStore::Lookup(const std::string& calendarUrl,
                                                     const std::string& user) {
    CheckAccount(SecretAction::Lookup, calendarUrl, user);
    const std::lock_guard lock(mutex_);
    ThrowWhenUnreachable(SecretAction::Lookup, calendarUrl, user);
    const auto found = passwords_.find({calendarUrl, user});
    if (found == passwords_.end()) {
        return std::nullopt;
    }
    return found->second;
}

void MemorySecretStore::Store(const std::string& calendarUrl, const std::string& user,
                              const std::string& password) {
    CheckPasswordToKeep(calendarUrl, user, password);
    const std::lock_guard lock(mutex_);
    ThrowWhenUnreachable(SecretAction::Store, calendarUrl, user);
    passwords_[{calendarUrl, user}] = password;
}

void MemorySecretStore::Clear(const std::string& calendarUrl, const std::string& user) {
    CheckAccount(SecretAction::Clear, calendarUrl, user);
    const std::lock_guard lock(mutex_);
    ThrowWhenUnreachable(SecretAction::Clear, calendarUrl, user);
    passwords_.erase({calendarUrl, user});
}

void MemorySecretStore::SetUnreachable(bool unreachable) {
    const std::lock_guard lock(mutex_);
    unreachable_ = unreachable;
}

std::size_t MemorySecretStore::Count() const {
    const std::lock_guard lock(mutex_);
    return passwords_.size();
}

void MemorySecretStore::ThrowWhenUnreachable(SecretAction action, const std::string& calendarUrl,
                                             const std::string& user) const {
    if (unreachable_) {
        throw SecretStoreFailure(action, calendarUrl, user, "úložisko hesiel nie je dostupné");
    }
}

} // namespace tilava
