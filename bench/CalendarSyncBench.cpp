// The calendar sync of a full year of notes (5,000 entries over the 366 day files) with a real
// calendar server: the first sync, which sends every entry, and a sync when nothing changed.
// The time spent waiting for the server's answers is counted apart (server_ms), the rest is
// the program's own (client_ms). Beside them, the download of a calendar of 1,000 or 5,000
// events into an empty notes folder and the sync after it with nothing to do, each timed for
// Tilava and for vdirsyncer (to a folder of .ics files) on the same calendar in the same run.
// Needs the server that bench/sync.sh starts.
#include "exchange/sync/CalendarSync.h"
#include "FullYearNotes.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
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

constexpr benchmark::TimeUnit kMs = benchmark::kMillisecond;

// A calendar of `events` birthdays spread over the year, put on the server in one request (the
// whole calendar at once: one PUT an event would take the server minutes for 5,000), made once
// for each size and shared by every repetition and both programs. Empty when it failed.
std::string FilledCalendar(const std::string& server, int events) {
    static std::map<int, std::string> made;
    if (const auto found = made.find(events); found != made.end()) {
        return found->second;
    }
    std::random_device random;
    const std::string calendar = server + "/alice/tilava-bench-download-" + std::to_string(events) +
                                 "-" + std::to_string(random()) + "/";
    std::string body = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Bench//EN\r\n";
    for (int i = 0; i < events; ++i) {
        const auto day = sys_days{1980y / 1 / 1} + days{i % 366};
        const year_month_day date{day};
        char start[16];
        std::snprintf(start, sizeof start, "1980%02u%02u", static_cast<unsigned>(date.month()),
                      static_cast<unsigned>(date.day()));
        body += "BEGIN:VEVENT\r\nUID:bench-" + std::to_string(i) +
                "\r\nDTSTAMP:20260101T000000Z\r\nDTSTART;VALUE=DATE:" + start +
                "\r\nRRULE:FREQ=YEARLY\r\nSUMMARY:Meno " + std::to_string(i) +
                " - narodeniny\r\nEND:VEVENT\r\n";
    }
    body += "END:VCALENDAR\r\n";
    // The server takes about 20 s for 5,000 events here, longer on a busy machine.
    tilava::HttpLimits patient;
    patient.totalTimeout = std::chrono::minutes(10);
    const auto client = tilava::CreateHttpClient("alice", "secret1", patient);
    try {
        const tilava::HttpResponse answer = client->Send(
            {"PUT", calendar, {{"Content-Type", "text/calendar; charset=utf-8"}}, body});
        return made[events] = answer.status == 201 ? calendar : std::string();
    } catch (const tilava::HttpError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return made[events] = std::string();
    }
}

// A notes folder and a state folder, empty, for a download.
struct Downloader {
    Downloader() {
        std::random_device random;
        const std::string name = "tilava-bench-download-" + std::to_string(random());
        notes = fs::temp_directory_path() / name;
        stateFolder = fs::temp_directory_path() / (name + "-state");
        fs::create_directories(notes);
        fs::create_directories(stateFolder);
    }
    ~Downloader() {
        fs::remove_all(notes);
        fs::remove_all(stateFolder);
    }
    Downloader(const Downloader&) = delete;
    Downloader& operator=(const Downloader&) = delete;

    // One sync, timed unless it only prepares; false (and the benchmark stopped) when it
    // failed or did not add `additions` entries.
    bool Sync(const std::string& calendar, int additions, benchmark::State& state,
              bool timed = true) {
        const tilava::SyncSettings settings{calendar, "alice", 0, false};
        const auto client = tilava::CreateHttpClient("alice", "secret1");
        const auto start = steady_clock::now();
        const tilava::SyncReport r = tilava::RunCalendarSync(notes, stateFolder, settings, *client);
        if (timed) {
            state.SetIterationTime(duration<double>(steady_clock::now() - start).count());
        }
        if (!r.Succeeded() || r.added != additions) {
            state.SkipWithError(("the sync failed: " + r.Text()).c_str());
            return false;
        }
        return true;
    }

    fs::path notes;
    fs::path stateFolder;
};

// vdirsyncer with the calendar and a folder of .ics files of its own.
struct Vdirsyncer {
    explicit Vdirsyncer(const std::string& calendar) {
        std::random_device random;
        folder =
            fs::temp_directory_path() / ("tilava-bench-vdirsyncer-" + std::to_string(random()));
        fs::create_directories(folder / "calendar");
        std::ofstream(folder / "config")
            << "[general]\nstatus_path = \"" << (folder / "status/").string()
            << "\"\n[pair bench]\na = \"files\"\nb = \"server\"\ncollections = null\n"
               "[storage files]\ntype = \"filesystem\"\npath = \""
            << (folder / "calendar/").string()
            << "\"\nfileext = \".ics\"\n[storage server]\ntype = \"caldav\"\nurl = \"" << calendar
            << "\"\nusername = \"alice\"\npassword = \"secret1\"\n";
        ready = Run("discover");
    }
    ~Vdirsyncer() { fs::remove_all(folder); }
    Vdirsyncer(const Vdirsyncer&) = delete;
    Vdirsyncer& operator=(const Vdirsyncer&) = delete;

    bool Run(const std::string& command) const {
        return std::system(("timeout 1200 vdirsyncer -c '" + (folder / "config").string() + "' " +
                            command + " </dev/null >>'" + (folder / "log").string() + "' 2>&1")
                               .c_str()) == 0;
    }

    // One `vdirsyncer sync`, timed unless it only prepares; false (and the benchmark stopped)
    // when it failed or the folder does not hold `events` files after it.
    bool Sync(int events, benchmark::State& state, bool timed = true) const {
        const auto start = steady_clock::now();
        const bool done = ready && Run("sync");
        if (timed) {
            state.SetIterationTime(duration<double>(steady_clock::now() - start).count());
        }
        const auto files = std::distance(fs::directory_iterator(folder / "calendar"), {});
        if (!done || files != events) {
            state.SkipWithError(("vdirsyncer failed; see " + (folder / "log").string()).c_str());
            return false;
        }
        return true;
    }

    fs::path folder;
    bool ready = false;
};

// The calendar of this size, or the benchmark stopped with the reason.
std::string CalendarFor(benchmark::State& state) {
    const std::string server = ServerUrl();
    if (server.empty()) {
        state.SkipWithError("no calendar server (bench/sync.sh starts one)");
        return {};
    }
    const std::string calendar = FilledCalendar(server, static_cast<int>(state.range(0)));
    if (calendar.empty()) {
        state.SkipWithError("the calendar could not be filled");
    }
    return calendar;
}

void BM_Download(benchmark::State& state) {
    const std::string calendar = CalendarFor(state);
    const int events = static_cast<int>(state.range(0));
    for (auto _ : state) {
        if (calendar.empty() || !Downloader().Sync(calendar, events, state)) {
            break;
        }
    }
}

void BM_DownloadNoChange(benchmark::State& state) {
    const std::string calendar = CalendarFor(state);
    const int events = static_cast<int>(state.range(0));
    static std::map<int, std::unique_ptr<Downloader>> downloaded;
    std::unique_ptr<Downloader>& done = downloaded[events];
    if (!calendar.empty() && !done) {
        done = std::make_unique<Downloader>();
        if (!done->Sync(calendar, events, state, false)) {
            return;
        }
    }
    for (auto _ : state) {
        if (calendar.empty() || !done->Sync(calendar, 0, state)) {
            break;
        }
    }
}

void BM_VdirsyncerDownload(benchmark::State& state) {
    const std::string calendar = CalendarFor(state);
    const int events = static_cast<int>(state.range(0));
    for (auto _ : state) {
        if (calendar.empty() || !Vdirsyncer(calendar).Sync(events, state)) {
            break;
        }
    }
}

void BM_VdirsyncerNoChange(benchmark::State& state) {
    const std::string calendar = CalendarFor(state);
    const int events = static_cast<int>(state.range(0));
    static std::map<int, std::unique_ptr<Vdirsyncer>> downloaded;
    std::unique_ptr<Vdirsyncer>& done = downloaded[events];
    if (!calendar.empty() && !done) {
        done = std::make_unique<Vdirsyncer>(calendar);
        if (!done->Sync(events, state, false)) {
            return;
        }
    }
    for (auto _ : state) {
        if (calendar.empty() || !done->Sync(events, state)) {
            break;
        }
    }
}

// One sync a repetition, the wall time of the sync alone (its setting up is not counted);
// --benchmark_repetitions=N gives the median of N.
BENCHMARK(BM_Download)->Arg(1000)->Arg(5000)->Iterations(1)->UseManualTime()->Unit(kMs);
BENCHMARK(BM_VdirsyncerDownload)->Arg(1000)->Arg(5000)->Iterations(1)->UseManualTime()->Unit(kMs);
BENCHMARK(BM_DownloadNoChange)->Arg(1000)->Arg(5000)->Iterations(1)->UseManualTime()->Unit(kMs);
BENCHMARK(BM_VdirsyncerNoChange)->Arg(1000)->Arg(5000)->Iterations(1)->UseManualTime()->Unit(kMs);

} // namespace
