#include "net/FakeServer.h"
#include "platform/net/HttpClient.h"
#include "platform/net/ServerAddress.h"
#include "platform/SecretMemory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

namespace tilava {
namespace {

using test::FakeServer;
using Behaviour = FakeServer::Behaviour;

struct Misbehaviour {
    const char* what;
    Behaviour behaviour;
    int requests; // the last one gets no whole answer
    HttpError::Kind kind;
    std::string messageHolds;
};

// A server that takes the connection and then answers slowly, or not at all, is a server that
// did not answer in time, never one that cannot be reached.
TEST(HttpClientPosix, TellsASlowServerFromOneThatBrokeOff) {
    using Kind = HttpError::Kind;
    const std::vector<Misbehaviour> rows = {
        {"takes the request and never answers", Behaviour::Silent, 1, Kind::Timeout,
         "neodpovedal včas: celá odpoveď neprišla do 2 s"},
        {"answers once, then keeps the open connection silent", Behaviour::OnceThenMute, 2,
         Kind::Timeout, "neodpovedal včas: celá odpoveď neprišla do 2 s"},
        {"sends its answer a byte at a time", Behaviour::Trickle, 1, Kind::Timeout,
         "neodpovedal včas: celá odpoveď neprišla do 2 s"},
        {"takes no connection", Behaviour::Full, 1, Kind::Timeout,
         "neodpovedal včas: spojenie sa nenadviazalo do 1 s"},
        {"resets the connection halfway through its answer", Behaviour::CutShort, 1,
         Kind::NoConnection, "neodpovedá: spojenie sa prerušilo skôr, ako prišla celá odpoveď"},
    };
    HttpLimits limits;
    limits.connectTimeout = std::chrono::seconds(1);
    limits.totalTimeout = std::chrono::seconds(2);
    for (const Misbehaviour& row : rows) {
        SCOPED_TRACE(row.what);
        FakeServer server(row.behaviour);
        const auto client = CreateHttpClient("alice", "secret1", limits);
        for (int i = 1; i < row.requests; ++i)
            EXPECT_EQ(client->Send({"GET", server.Url(), {}, ""}).status, 200);
        const auto start = std::chrono::steady_clock::now();
        try {
            const HttpResponse answer = client->Send({"PROPFIND", server.Url(), {}, ""});
            ADD_FAILURE() << "answered " << answer.status;
        } catch (const HttpError& e) {
            EXPECT_EQ(e.kind, row.kind) << e.what();
            EXPECT_NE(std::string(e.what()).find(row.messageHolds), std::string::npos) << e.what();
        }
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    }
}

TEST(HttpClientPosix, KnowsTheAddressesOfThisComputer) {
    const std::vector<std::pair<std::string, bool>> hosts = {
        {"127.0.0.1", true},
        {"127.45.6.200", true},
        {"localhost", true},
        {"calendar.localhost", true},
        {"::1", true},
        {"0:0:0:0:0:0:0:1", true},
        {"::0001", true},
        {"::ffff:127.0.0.1", true},
        {"128.0.0.1", false},
        {"127.0.0.256", false},
        {"127.0.0", false},
        {"127.example.org", false},
        {"localhost.evil.org", false},
        {"1::1", false},
        {"::", false},
        {"::ffff:10.0.0.1", false},
        {"10.127.0.1", false},
        {"::11", false},
    };
    for (const auto& [host, loopback] : hosts)
        EXPECT_EQ(IsLoopbackHost(host), loopback) << host;
}

TEST(HttpClientPosix, AWipedSecretLeavesOnlyZerosInItsMemory) {
    std::string secret(40, 'p');
    secret.reserve(64);
    const char* memory = secret.data();
    WipeSecret(secret);
    EXPECT_TRUE(secret.empty());
    // The string still owns the memory it had: every byte the password held is zero.
    EXPECT_TRUE(std::all_of(memory, memory + 40, [](char c) { return c == '\0'; }));
}

} // namespace
} // namespace tilava
