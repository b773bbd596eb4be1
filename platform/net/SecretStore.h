#pragma once

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

namespace tilava {

// The secret store cannot be reached or refused; the message is Slovak, for the user, and
// says what stayed as it was ("Heslo sa neuložilo: úložisko hesiel nie je dostupné …").
class SecretStoreError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Passwords of calendar accounts, kept by the desktop (Secret Service on Linux, the
// Credential Manager on Windows), one per calendar address and user. Never written into the
// settings file or anywhere else of the program's own.
class SecretStore {
public:
    virtual ~SecretStore() = default;

    // The password kept for `user` at `calendarUrl`; nothing when none is kept. Throws
    // SecretStoreError when the store cannot be reached.
    virtual std::optional<std::string> Lookup(const std::string& calendarUrl,
                                              const std::string& user) = 0;
    // Keeps the password, replacing one kept before. Throws SecretStoreError.
    virtual void Store(const std::string& calendarUrl, const std::string& user,
                       const std::string& password) = 0;
    // Forgets the password; nothing happens when none is kept. Throws SecretStoreError.
    virtual void Clear(const std::string& calendarUrl, const std::string& user) = 0;
};

// The desktop's store of this system.
std::unique_ptr<SecretStore> CreateDesktopSecretStore();

} // namespace tilava
