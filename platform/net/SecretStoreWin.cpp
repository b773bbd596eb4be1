#include "platform/net/SecretStore.h"

#include "platform/net/SecretStoreChecks.h"
#include "platform/SystemErrorText.h"
#include "platform/WideText.h"

#include <windows.h>

#include <wincred.h>

#include <vector>

namespace tilava {

namespace {

// The entry's name in the Credential Manager: "Tilava CalDAV:alice@https://server/cal/". The
// user comes first with its "%" and "@" written as %25 and %40, so the first "@" ends it and
// no two accounts share a name.
std::wstring TargetName(const std::string& calendarUrl, const std::string& user) {
    std::string escaped;
    for (const char c : user) {
        if (c == '%') {
            escaped += "%25";
        } else if (c == '@') {
            escaped += "%40";
        } else {
            escaped += c;
        }
    }
    return Utf8ToWide("Tilava CalDAV:" + escaped + "@" + calendarUrl);
}

// ERROR_NOT_FOUND: no entry has the name (Windows, and Wine 8.0 too). ERROR_ENVVAR_NOT_FOUND,
// reported for some Wine builds, means the same and nothing else there.
bool NothingKept(DWORD error) {
    return error == ERROR_NOT_FOUND || error == ERROR_ENVVAR_NOT_FOUND;
}

class DesktopSecretStore final : public SecretStore {
public:
    std::optional<std::string> Lookup(const std::string& calendarUrl,
                                      const std::string& user) override {
        CheckAccount(SecretAction::Lookup, calendarUrl, user);
        PCREDENTIALW credential = nullptr;
        if (!CredReadW(TargetName(calendarUrl, user).c_str(), CRED_TYPE_GENERIC, 0, &credential)) {
            const DWORD error = GetLastError();
            if (NothingKept(error)) {
                return std::nullopt;
            }
            throw SecretStoreFailure(SecretAction::Lookup, calendarUrl, user,
                                     SystemErrorText(error));
        }
        // Made in place and given back as it is: no copy is left behind unwiped.
        std::optional<std::string> password(
            std::in_place, reinterpret_cast<const char*>(credential->CredentialBlob),
            credential->CredentialBlobSize);
        SecureZeroMemory(credential->CredentialBlob, credential->CredentialBlobSize);
        CredFree(credential);
        return password;
    }

    void Store(const std::string& calendarUrl, const std::string& user,
               const std::string& password) override {
        CheckPasswordToKeep(calendarUrl, user, password);
        if (password.size() > CRED_MAX_CREDENTIAL_BLOB_SIZE) {
            throw SecretStoreFailure(SecretAction::Store, calendarUrl, user,
                                     "Správca poverení Windows uchová heslo najviac " +
                                         std::to_string(CRED_MAX_CREDENTIAL_BLOB_SIZE) +
                                         " bajtov dlhé");
        }
        std::wstring target = TargetName(calendarUrl, user);
        std::wstring userName = Utf8ToWide(user);
        std::vector<BYTE> blob(password.begin(), password.end());
        CREDENTIALW credential{};
        credential.Type = CRED_TYPE_GENERIC;
        credential.TargetName = target.data();
        credential.UserName = userName.data();
        credential.CredentialBlobSize = static_cast<DWORD>(blob.size());
        credential.CredentialBlob = blob.data();
        credential.Persist = CRED_PERSIST_LOCAL_MACHINE;
        const bool written = CredWriteW(&credential, 0);
        const DWORD error = GetLastError();
        SecureZeroMemory(blob.data(), blob.size());
        if (!written) {
            throw SecretStoreFailure(SecretAction::Store, calendarUrl, user,
                                     SystemErrorText(error));
        }
    }

    void Clear(const std::string& calendarUrl, const std::string& user) override {
        CheckAccount(SecretAction::Clear, calendarUrl, user);
        if (!CredDeleteW(TargetName(calendarUrl, user).c_str(), CRED_TYPE_GENERIC, 0)) {
            const DWORD error = GetLastError();
            if (!NothingKept(error)) {
                throw SecretStoreFailure(SecretAction::Clear, calendarUrl, user,
                                         SystemErrorText(error));
            }
        }
    }
};

} // namespace

std::unique_ptr<SecretStore> CreateDesktopSecretStore() {
    return std::make_unique<DesktopSecretStore>();
}

} // namespace tilava
