#include "exchange/sync/DesktopSync.h"

#include "exchange/sync/CalendarSync.h"
#include "net/FakeServer.h"

#include "platform/net/MemorySecretStore.h"
#include "platform/SecretMemory.h"
#include "support/TempNotes.h"

#include <gtest/gtest.h>

#include <sys/prctl.h>
#include <sys/resource.h>

#include <chrono>

namespace tilava {
namespace {

int Dumpable() {
    return prctl(PR_GET_DUMPABLE, 0, 0, 0, 0);
}

rlim_t CoreLimit() {
    rlimit limit{};
    getrlimit(RLIMIT_CORE, &limit);
    return limit.rlim_cur;
}

// The desktop's store as the sync sees it, noting whether the process could dump core while
// the password was handed out.
class WatchedStore final : public SecretStore {
public:
    std::optional<std::string> Lookup(const std::string& calendarUrl,
                                      const std::string& user) override {
        dumpableAtLookup = Dumpable();
        coreLimitAtLookup = CoreLimit();
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
    rlim_t coreLimitAtLookup = 1;
};

TEST(DesktopSyncPosix, NoCoreDumpWhileThePasswordIsHeld) {
    ASSERT_EQ(Dumpable(), 1);
    rlimit unlimited{};
    getrlimit(RLIMIT_CORE, &unlimited);
    unlimited.rlim_cur = unlimited.rlim_max;
    ASSERT_EQ(setrlimit(RLIMIT_CORE, &unlimited), 0);
    {
        const SecretHold outer;
        EXPECT_EQ(Dumpable(), 0);
        { const SecretHold inner; }
        EXPECT_EQ(Dumpable(), 0) << "the inner hold ended while the outer one still holds";
        EXPECT_EQ(CoreLimit(), 0u);
    }
    EXPECT_EQ(Dumpable(), 1);
    EXPECT_EQ(CoreLimit(), unlimited.rlim_cur);

    // A sync, here to a server that is not there, holds the password only while it runs; one
    // without a password kept holds nothing afterwards either.
    test::TempNotesFolder notes;
    test::TempFolder state{"tilava-sync-state"};
    const SyncSettings settings{"http://127.0.0.1:1/alice/calendar/", "alice", 0, false};
    WatchedStore store;
    ExchangeResult result;
    const std::string& message = result.message;
    SyncWithSecretStore(notes.TempPath(), state.Path(), settings, store, {}, result);
    EXPECT_FALSE(result.success);
    EXPECT_NE(message.find("nie je uložené heslo"), std::string::npos) << message;
    EXPECT_EQ(store.dumpableAtLookup, 0);
    EXPECT_EQ(Dumpable(), 1);

    store.kept.Store(settings.calendarUrl, settings.user, "secret1");
    store.dumpableAtLookup = -1;
    SyncWithSecretStore(notes.TempPath(), state.Path(), settings, store, {}, result);
    EXPECT_FALSE(result.success);
    EXPECT_NE(message.find("Server 127.0.0.1:1 neodpovedá"), std::string::npos) << message;
    EXPECT_EQ(message.find("secret1"), std::string::npos) << message;
    EXPECT_EQ(store.dumpableAtLookup, 0);
    EXPECT_EQ(store.coreLimitAtLookup, 0u);
    EXPECT_EQ(Dumpable(), 1);
    EXPECT_EQ(CoreLimit(), unlimited.rlim_cur);
}

// A server that takes the request and never answers: the report says it did not answer in
// time, not that it cannot be reached, and that nothing changed.
TEST(DesktopSyncPosix, ASlowServerIsReportedAsLate) {
    const test::FakeServer server(test::FakeServer::Behaviour::Silent);
    test::TempNotesFolder notes;
    test::TempFolder state{"tilava-sync-state"};
    notes.WriteDay(15, 3, test::DayFileLines({{2, 1980, "Jano"}}));
    HttpLimits limits;
    limits.connectTimeout = std::chrono::seconds(1);
    limits.totalTimeout = std::chrono::seconds(1);
    const auto client = CreateHttpClient("alice", "secret1", limits);
    const SyncSettings settings{server.Url() + "alice/calendar/", "alice", 0, false};
    const SyncReport r = RunCalendarSync(notes.TempPath(), state.Path(), settings, *client);
    EXPECT_FALSE(r.Succeeded());
    const std::string port = server.Url().substr(17, server.Url().size() - 18);
    EXPECT_NE(r.Text().find("Server 127.0.0.1:" + port +
                            " neodpovedal včas: celá odpoveď neprišla do 1 s. Poznámky aj "
                            "kalendár na serveri ostali, ako boli."),
              std::string::npos)
        << r.Text();
}

} // namespace
} // namespace tilava
