// The calendar sync of a full year of notes (5,000 entries over the 366 day files) with a real
// calendar server: the first sync, which sends every entry, and a sync when nothing changed.
// The time spent waiting for the server's answers is counted apart (server_ms), the rest is
// the program's own (client_ms). Needs the server that bench/sync.sh starts.
#include "exchange/sync/CalendarSync.h"
#include "FullYearNotes.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono;

constexpr int kEntries = 5000;

// The client of the sync, timing every answer it waits for.
class TimedClient : public tilava::HttpClient {
public:
    TimedClient() : client_(tilava::CreateHttpClient("alice", "secret1")) {}
    tilava::HttpResponse Send(const tilava::HttpRequest& request) override {
        const auto start = steady_clock::now();
        tilava::HttpResponse answer = client_->Send(request);
        waited += steady_clock::now() - start;
        ++requests;
        return answer;
    }
    duration<double, std::milli> waited{0};
    int requests = 0;

private:
    std::unique_ptr<tilava::HttpClient> client_;
};

struct Setup {
    fs::path notes;
    fs::path stateFolder;
    tilava::SyncSettings settings;
};

std::string ServerUrl() {
    const char* folder = std::getenv("TILAVA_TEST_DAV");
    std::string url;
    if (folder) {
        std::ifstream(std::string(folder) + "/url") >> url;
    }
    return url;
}

// A full year of notes (5,000 entries), a state folder and a calendar
// of their own.
Setup MakeSetup(const std::string& server) {
    std::random_device random;
    const std::string name = "tilava-bench-sync-" + std::to_string(random());
    Setup s{fs::temp_directory_path() / name,
            fs::temp_directory_path() / (name + "-state"),
            {server + "/alice/" + name + "/", "alice", 0, false}};
    tilava::bench::WriteFullYearNotes(s.notes);
    fs::create_directories(s.stateFolder);
    // The calendar is made beforehand, as the settings dialog does it: the sync makes none.
    tilava::CreateHttpClient("alice", "secret1")
        ->Send({"MKCALENDAR", s.settings.calendarUrl, {{"Content-Type", "application/xml"}}, {}});
    return s;
}

void Remove(const Setup& s) {
    fs::remove_all(s.notes);
    fs::remove_all(s.stateFolder);
}

bool Sync(const Setup& s, TimedClient& client, int uploads, benchmark::State& state) {
    tilava::SyncOptions options;
    options.now = sys_days{2026y / 1 / 1};
    const tilava::SyncReport r =
        tilava::RunCalendarSync(s.notes, s.stateFolder, s.settings, client, options);
    if (!r.Succeeded() || r.uploaded != uploads) {
        state.SkipWithError(("the sync failed: " + r.Text()).c_str());
        return false;
    }
    return true;
}

void Report(benchmark::State& state, duration<double, std::milli> total, const TimedClient& c) {
    const double runs = static_cast<double>(state.iterations());
    state.counters["server_ms"] = c.waited.count() / runs;
    state.counters["client_ms"] = (total - c.waited).count() / runs;
    state.counters["requests"] = c.requests / runs;
}

void BM_FirstSync(benchmark::State& state) {
    const std::string server = ServerUrl();
    if (server.empty()) {
        state.SkipWithError("no calendar server (bench/sync.sh starts one)");
        return;
    }
    TimedClient client;
    duration<double, std::milli> total{0};
    for (auto _ : state) {
        state.PauseTiming();
        const Setup s = MakeSetup(server);
        state.ResumeTiming();
        const auto start = steady_clock::now();
        const bool done = Sync(s, client, kEntries, state);
        total += steady_clock::now() - start;
        state.PauseTiming();
        Remove(s);
        state.ResumeTiming();
        if (!done) {
            break;
        }
    }
    Report(state, total, client);
}
BENCHMARK(BM_FirstSync)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

// The calendar of the first sync, made once for every repetition of the no-change sync (a
// first sync of 5,000 entries takes minutes on this server) and removed at the end.
struct Seeded {
    Setup setup;
    bool ready = false;
    ~Seeded() {
        if (!setup.notes.empty()) {
            Remove(setup);
        }
    }
};

void BM_NoChangeSync(benchmark::State& state) {
    const std::string server = ServerUrl();
    if (server.empty()) {
        state.SkipWithError("no calendar server (bench/sync.sh starts one)");
        return;
    }
    static Seeded seeded;
    if (!seeded.ready) {
        seeded.setup = MakeSetup(server);
        TimedClient first;
        if (!Sync(seeded.setup, first, kEntries, state)) {
            return;
        }
        seeded.ready = true;
    }
    TimedClient client;
    duration<double, std::milli> total{0};
    for (auto _ : state) {
        const auto start = steady_clock::now();
        if (!Sync(seeded.setup, client, 0, state)) {
            break;
        }
        total += steady_clock::now() - start;
    }
    Report(state, total, client);
}
// One sync a repetition: --benchmark_repetitions=N gives the median of N syncs.
BENCHMARK(BM_NoChangeSync)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

} // namespace
