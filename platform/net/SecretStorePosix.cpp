#include "platform/net/SecretStore.h"

#include "core/Utf8.h"
#include "platform/net/SecretStoreChecks.h"

#include <libsecret/secret.h>

namespace tilava {

namespace {

// The passwords' kind in the Secret Service: one item per calendar address and user.
const SecretSchema& Schema() {
    static const SecretSchema schema = [] {
        SecretSchema made{};
        made.name = "org.zelm.tilava.CalDav";
        made.flags = SECRET_SCHEMA_NONE;
        made.attributes[0] = {"calendar", SECRET_SCHEMA_ATTRIBUTE_STRING};
        made.attributes[1] = {"user", SECRET_SCHEMA_ATTRIBUTE_STRING};
        return made;
    }();
    return schema;
}

// Owns a GError and frees it.
class ErrorHolder {
public:
    ErrorHolder() = default;
    ~ErrorHolder() {
        if (error_ != nullptr) {
            g_error_free(error_);
        }
    }
    ErrorHolder(const ErrorHolder&) = delete;
    ErrorHolder& operator=(const ErrorHolder&) = delete;

    GError** Out() { return &error_; }
    const GError* Get() const { return error_; }

private:
    GError* error_ = nullptr;
};

// Why the Secret Service did not do what was asked, in the user's words.
std::string ReasonFor(const GError* error) {
    if (error->domain == G_DBUS_ERROR) {
        switch (error->code) {
        case G_DBUS_ERROR_SERVICE_UNKNOWN:
        case G_DBUS_ERROR_NAME_HAS_NO_OWNER:
        case G_DBUS_ERROR_SPAWN_EXEC_FAILED:
        case G_DBUS_ERROR_SPAWN_CHILD_EXITED:
        case G_DBUS_ERROR_SPAWN_CHILD_SIGNALED:
        case G_DBUS_ERROR_SPAWN_FAILED:
        case G_DBUS_ERROR_SPAWN_SERVICE_NOT_FOUND:
            return "na pracovnej ploche nebeží úložisko hesiel (služba Secret Service)";
        case G_DBUS_ERROR_UNKNOWN_OBJECT:
            // The default keyring is missing and its making needs the user, who was not asked
            // or refused.
            return "predvolený zväzok kľúčov neexistuje a nedal sa vytvoriť";
        case G_DBUS_ERROR_NO_REPLY:
        case G_DBUS_ERROR_TIMEOUT:
        case G_DBUS_ERROR_TIMED_OUT:
            return "úložisko hesiel neodpovedalo včas";
        default:
            break;
        }
    }
    if (g_error_matches(error, SECRET_ERROR, SECRET_ERROR_IS_LOCKED) ||
        g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED)) {
        return "zväzok kľúčov je zamknutý a nebol odomknutý";
    }
    return "úložisko hesiel odmietlo požiadavku (" + PrintableText(error->message) + ")";
}

// Throws when this process has no session bus to reach the Secret Service by: outside a desktop
// session (cron, ssh) GLib would otherwise try to start a bus of its own.
void RequireSessionBus(SecretAction action, const std::string& calendarUrl,
                       const std::string& user) {
    ErrorHolder error;
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, error.Out());
    if (bus == nullptr) {
        throw SecretStoreFailure(action, calendarUrl, user,
                                 "nie je dostupná relačná zbernica D-Bus, cez ktorú sa pracovná "
                                 "plocha pýta úložiska hesiel (Tilava beží mimo prihlásenia do "
                                 "pracovnej plochy?)");
    }
    g_object_unref(bus);
}

class DesktopSecretStore final : public SecretStore {
public:
    std::optional<std::string> Lookup(const std::string& calendarUrl,
                                      const std::string& user) override {
        CheckAccount(SecretAction::Lookup, calendarUrl, user);
        RequireSessionBus(SecretAction::Lookup, calendarUrl, user);
        ErrorHolder error;
        gchar* found =
            secret_password_lookup_sync(&Schema(), nullptr, error.Out(), "calendar",
                                        calendarUrl.c_str(), "user", user.c_str(), nullptr);
        if (error.Get() != nullptr) {
            throw SecretStoreFailure(SecretAction::Lookup, calendarUrl, user,
                                     ReasonFor(error.Get()));
        }
        if (found != nullptr) {
            // Made in place and given back as it is: no copy is left behind unwiped.
            std::optional<std::string> password(std::in_place, found);
            secret_password_free(found); // wipes the store's copy
            return password;
        }
        ThrowWhenStillKept(SecretAction::Lookup, calendarUrl, user);
        return std::nullopt;
    }

    void Store(const std::string& calendarUrl, const std::string& user,
               const std::string& password) override {
        CheckPasswordToKeep(calendarUrl, user, password);
        RequireSessionBus(SecretAction::Store, calendarUrl, user);
        const std::string label = "Tilava: " + user + " @ " + calendarUrl;
        ErrorHolder error;
        const gboolean stored = secret_password_store_sync(
            &Schema(), SECRET_COLLECTION_DEFAULT, label.c_str(), password.c_str(), nullptr,
            error.Out(), "calendar", calendarUrl.c_str(), "user", user.c_str(), nullptr);
        if (!stored) {
            throw SecretStoreFailure(SecretAction::Store, calendarUrl, user,
                                     error.Get() != nullptr
                                         ? ReasonFor(error.Get())
                                         : std::string("úložisko hesiel ho neprijalo"));
        }
    }

    void Clear(const std::string& calendarUrl, const std::string& user) override {
        CheckAccount(SecretAction::Clear, calendarUrl, user);
        RequireSessionBus(SecretAction::Clear, calendarUrl, user);
        ErrorHolder error;
        // FALSE without an error means nothing was deleted: nothing was kept, or the keyring
        // that keeps it stayed locked.
        const gboolean cleared =
            secret_password_clear_sync(&Schema(), nullptr, error.Out(), "calendar",
                                       calendarUrl.c_str(), "user", user.c_str(), nullptr);
        if (error.Get() != nullptr) {
            throw SecretStoreFailure(SecretAction::Clear, calendarUrl, user,
                                     ReasonFor(error.Get()));
        }
        if (!cleared) {
            ThrowWhenStillKept(SecretAction::Clear, calendarUrl, user);
        }
    }

private:
    // After a call that found nothing to read or delete: when an item is there all the same, its
    // keyring is locked and the user did not unlock it (closed the prompt, or none could show).
    static void ThrowWhenStillKept(SecretAction action, const std::string& calendarUrl,
                                   const std::string& user) {
        ErrorHolder error;
        GList* items = secret_password_search_sync(&Schema(), SECRET_SEARCH_NONE, nullptr,
                                                   error.Out(), "calendar", calendarUrl.c_str(),
                                                   "user", user.c_str(), nullptr);
        if (error.Get() != nullptr) {
            throw SecretStoreFailure(action, calendarUrl, user, ReasonFor(error.Get()));
        }
        const bool kept = items != nullptr;
        g_list_free_full(items, g_object_unref);
        if (kept) {
            throw SecretStoreFailure(action, calendarUrl, user,
                                     "zväzok kľúčov je zamknutý a nebol odomknutý");
        }
    }
};

} // namespace

std::unique_ptr<SecretStore> CreateDesktopSecretStore() {
    return std::make_unique<DesktopSecretStore>();
}

} // namespace tilava
