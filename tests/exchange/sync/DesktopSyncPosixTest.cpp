#include "exchange/sync/DesktopSync.h"

#include "platform/net/MemorySecretStore.h"
#include "platform/net/SecretMemory.h"
#include "support/TempNotes.h"

#include <gtest/gtest.h>

#include <sys/prctl.h>

namespace tilava {
namespace {

int Dumpable() {
    return prctl(PR_GET_DUMPABLE, 0, 0, 0, 0);
}

// The desktop's store as the sync sees it, noting whether the process could dump core while
// the password was handed out.
class WatchedStore final : public SecretStore {
public:
    std::optional<std::string> Lookup(const std::string& calendarUrl,
                                      const std::string& user) override {
        dumpableAtLookup = Dumpable();
        return kept.Lookup(calendarUrl, user);
    }
    void Store(const std::string& calendarUrl, const std::string& user,
               const std::string& password) override {
        kept.Store(calendarUrl, user, password);
    }
    void Clear(const std::string& calendarUrl, const std::string& user) override {
        kept.Clear(calendarUrl, user);
    }

    MemorySecretStore kept;
    int dumpableAtLookup = -1;
};

TEST(DesktopSyncPosix, NoCoreDumpWhileThePasswordIsHeld) {
    ASSERT_EQ(Dumpable(), 1);
    {
        const SecretHold outer;
        EXPECT_EQ(Dumpable(), 0);
        { const SecretHold inner; }
        EXPECT_EQ(Dumpable(), 0) << "the inner hold ended while the outer one still holds";
    }
    EXPECT_EQ(Dumpable(), 1);

    // A sync, here to a server that is not there, holds the password only while it runs; one
    // without a password kept holds nothing afterwards either.
    test::TempNotesFolder notes;
    test::TempFolder state{"tilava-sync-state"};
    const SyncSettings settings{"http://127.0.0.1:1/alice/calendar/", "alice", 0, false};
    WatchedStore store;
    std::string message;
    bool remarks = false;
    EXPECT_FALSE(
        SyncWithSecretStore(notes.TempPath(), state.Path(), settings, store, message, remarks));
    EXPECT_NE(message.find("nie je uložené heslo"), std::string::npos) << message;
    EXPECT_EQ(store.dumpableAtLookup, 0);
    EXPECT_EQ(Dumpable(), 1);

    store.kept.Store(settings.calendarUrl, settings.user, "secret1");
    store.dumpableAtLookup = -1;
    EXPECT_FALSE(
        SyncWithSecretStore(notes.TempPath(), state.Path(), settings, store, message, remarks));
    EXPECT_NE(message.find("Server 127.0.0.1:1 neodpovedá"), std::string::npos) << message;
    EXPECT_EQ(message.find("secret1"), std::string::npos) << message;
    EXPECT_EQ(store.dumpableAtLookup, 0);
    EXPECT_EQ(Dumpable(), 1);
}

} // namespace
} // namespace tilava
