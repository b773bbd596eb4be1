#include "platform/net/SecretStore.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

using tilava::SecretStore;
using tilava::SecretStoreError;

namespace {

const std::string kCalendar = "http://127.0.0.1:5232/alice/tilava/";

// Each action ends in a Slovak SecretStoreError whose message holds `reason`.
void ExpectEveryActionRefused(SecretStore& store, const std::string& reason) {
    const struct {
        const char* what;
        std::function<void()> action;
    } actions[] = {
        {"lookup", [&] { store.Lookup(kCalendar, "alice"); }},
        {"store", [&] { store.Store(kCalendar, "alice", "nové heslo"); }},
        {"clear", [&] { store.Clear(kCalendar, "alice"); }},
    };
    for (const auto& a : actions) {
        SCOPED_TRACE(a.what);
        try {
            a.action();
            ADD_FAILURE() << "no failure";
        } catch (const SecretStoreError& error) {
            EXPECT_NE(std::string(error.what()).find(reason), std::string::npos) << error.what();
            EXPECT_NE(std::string(error.what()).find("„alice“"), std::string::npos);
        }
    }
}

// Outside a desktop session (cron, ssh) there is no session bus: every call says so at once
// instead of starting a bus of its own or waiting. This must run before any test of this
// process reaches the bus, which GLib then keeps: the programs run one test each.
TEST(SecretStorePosix, WithoutASessionBusEveryCallSaysSo) {
    tilava::test::TempFolder folder;
    const std::string address = "unix:path=" + (folder / "no-bus").string();
    const std::string saved = std::getenv("DBUS_SESSION_BUS_ADDRESS") != nullptr
                                  ? std::getenv("DBUS_SESSION_BUS_ADDRESS")
                                  : "";
    setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);
    const auto store = tilava::CreateDesktopSecretStore();
    ExpectEveryActionRefused(*store, "zbernica D-Bus");
    setenv("DBUS_SESSION_BUS_ADDRESS", saved.c_str(), 1);
}

// A kept password in a keyring that stays locked (its prompt cannot be shown here, as when the
// user closes it) is no "nothing kept": the sync must not ask for a new password then.
TEST(SecretStorePosix, ALockedKeyringIsNoEmptyOne) {
    const auto store = tilava::CreateDesktopSecretStore();
    store->Store(kCalendar, "alice", "secret1");
    ASSERT_EQ(std::system("dbus-send --session --print-reply --dest=org.freedesktop.secrets "
                          "/org/freedesktop/secrets org.freedesktop.Secret.Service.Lock "
                          "array:objpath:/org/freedesktop/secrets/collection/login >/dev/null"),
              0);
    ExpectEveryActionRefused(*store, "zamknutý");
}

} // namespace
