#include "platform/net/SecretStore.h"
#include "platform/net/MemorySecretStore.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <random>

using tilava::SecretStore;
using tilava::SecretStoreError;

namespace {

// A calendar address no earlier run has used: the Credential Manager of a Wine prefix keeps
// its entries between runs.
std::string FreshCalendar() {
    std::random_device random;
    return "https://kalendár.example.org/dav/alice/tilava-" +
           std::to_string(std::chrono::system_clock::now().time_since_epoch().count()) + "-" +
           std::to_string(random()) + "/";
}

// One user's way through the store: keep, read, replace, a second user of the same calendar,
// refused passwords that change nothing, forget. The memory store of the sync's tests must
// behave as the desktop's does.
TEST(SecretStore, KeepsReplacesAndForgetsThePasswordOfEachUser) {
    const struct {
        const char* what;
        std::function<std::unique_ptr<SecretStore>()> make;
    } stores[] = {
        {"desktop", [] { return tilava::CreateDesktopSecretStore(); }},
        {"memory", [] { return std::make_unique<tilava::MemorySecretStore>(); }},
    };
    for (const auto& s : stores) {
        SCOPED_TRACE(s.what);
        const auto store = s.make();
        const std::string calendar = FreshCalendar();
        const std::string other = FreshCalendar();
        const std::string password = "heslo s medzerou a ľ";

        EXPECT_EQ(store->Lookup(calendar, "alice"), std::nullopt);
        store->Store(calendar, "alice", "secret1");
        EXPECT_EQ(store->Lookup(calendar, "alice"), "secret1");
        store->Store(calendar, "alice", password);
        EXPECT_EQ(store->Lookup(calendar, "alice"), password);
        store->Store(calendar, "bob@example.org", "bobovo heslo");
        store->Store(other, "alice", "iný kalendár");
        EXPECT_EQ(store->Lookup(calendar, "alice"), password);
        EXPECT_EQ(store->Lookup(calendar, "bob@example.org"), "bobovo heslo");
        EXPECT_EQ(store->Lookup(calendar, "bob"), std::nullopt);

        const struct {
            const char* what;
            std::string user;
            std::string password;
        } refused[] = {
            {"a NUL in the password", "alice", std::string("pred\0po", 7)},
            {"a password over 4096 bytes", "alice", std::string(4097, 'x')},
            {"a password that is not UTF-8", "alice", "heslo \xBE"},
            {"a line feed in the user", "alice\nbob", "secret1"},
            {"no user", "", "secret1"},
        };
        for (const auto& r : refused) {
            SCOPED_TRACE(r.what);
            try {
                store->Store(calendar, r.user, r.password);
                ADD_FAILURE() << "kept";
            } catch (const SecretStoreError& error) {
                EXPECT_NE(std::string(error.what()).find("zostalo, čo v ňom bolo"),
                          std::string::npos)
                    << error.what();
            }
            EXPECT_EQ(store->Lookup(calendar, "alice"), password) << "the kept one stays";
        }

        store->Clear(calendar, "alice");
        EXPECT_EQ(store->Lookup(calendar, "alice"), std::nullopt);
        EXPECT_NO_THROW(store->Clear(calendar, "alice")) << "nothing kept is no failure";
        EXPECT_EQ(store->Lookup(calendar, "bob@example.org"), "bobovo heslo");
        EXPECT_EQ(store->Lookup(other, "alice"), "iný kalendár");
        store->Clear(calendar, "bob@example.org");
        store->Clear(other, "alice");
        EXPECT_EQ(store->Lookup(other, "alice"), std::nullopt);
    }
}

} // namespace
