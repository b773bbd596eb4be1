// The week model's two hot paths: one keystroke of the name search, and one step to the
// next week, which saves the seven shown days and loads the seven of the next week.
#include "model/uTyzden.h"

#include "platform/MemoryHive.h"
#include "store/uRegi.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <random>

namespace {

using namespace tilava;
using namespace std::chrono;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

const TRok& Calendar() {
    static TRok rok;
    static const bool filled = (rok.Naplnit(), true);
    (void)filled;
    return rok;
}

// One search over the Slovak list, as typing the third character of "ale" runs it; the
// lists are prepared by the first search of the model, before the timing starts.
void BM_SearchKeystroke(benchmark::State& state, const char* searched) {
    MemoryHive hive;
    TRegi regi(hive);
    const FixedClock clock(2024y / 3 / 13);
    TTyzden week(Calendar(), regi, fs::temp_directory_path(), clock);
    week.SetSearched(searched);
    week.Vykonaj(TTyzden::Search);
    for (auto _ : state) {
        benchmark::DoNotOptimize(week.Vykonaj(TTyzden::Search));
        benchmark::DoNotOptimize(week.Vysledok(1).data());
    }
}
BENCHMARK_CAPTURE(BM_SearchKeystroke, matches, "ale")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SearchKeystroke, mar, "mar")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SearchKeystroke, lav, "lav")->Unit(benchmark::kMicrosecond);

// The first search of a model, which prepares the lists of the language.
void BM_FirstSearch(benchmark::State& state) {
    MemoryHive hive;
    TRegi regi(hive);
    const FixedClock clock(2024y / 3 / 13);
    for (auto _ : state) {
        TTyzden week(Calendar(), regi, fs::temp_directory_path() / "tilava-bench-none", clock);
        week.SetSearched("ale");
        benchmark::DoNotOptimize(week.Vykonaj(TTyzden::Search));
    }
}
BENCHMARK(BM_FirstSearch)->Unit(benchmark::kMicrosecond);

// One week step: the seven days of the shown week are saved (each holding five entries, one
// of them just edited, so every file is really written) and the seven of the other week,
// five entries each too, are loaded. Steps alternate forward and back. With `upravit` false
// nothing is edited, as when the user only browses: the days are loaded, none is written.
void BM_WeekStep(benchmark::State& state, bool upravit) {
    std::random_device nahoda;
    const fs::path folder =
        fs::temp_directory_path() / ("tilava-bench-" + std::to_string(nahoda()));
    fs::create_directories(folder);
    const std::string contents = "!\r\n"
                                 "-1\r\n2\r\n1980\r\nJano\r\n"
                                 "-1\r\n3\r\n2001\r\nsvadba Petra a Zuzany\r\n"
                                 "-1\r\n1\r\n2024\r\nZubár o 10.00\r\n"
                                 "-1\r\n2\r\n1955\r\nBabka Anna\r\n"
                                 "-1\r\n1\r\n2024\r\nKúpiť darček\r\n";
    for (int date = 4; date <= 17; ++date) {
        char meno[16];
        std::snprintf(meno, sizeof meno, "03%02d.txt", date);
        std::ofstream(folder / meno, std::ios::binary) << contents;
    }
    MemoryHive hive;
    TRegi regi(hive);
    const FixedClock clock(2024y / 3 / 6); // Wednesday; Monday 4 .. Sunday 10 March
    {
        TTyzden week(Calendar(), regi, folder, clock);
        int change = 0;
        // The editor changes the text of the row it is given.
        week.SetEditor([&change] {
            struct Upravovac final : IEventEditor {
                explicit Upravovac(int& z) : z(z) {}
                void SetExisting(bool) override {}
                bool Uprav(TNote& n, int) override {
                    n.Text = "Jano " + std::to_string(++z);
                    return true;
                }
                int& z;
            };
            return std::make_unique<Upravovac>(change);
        });
        week.NastavZaznam(1);
        bool daysAhead = true;
        for (auto _ : state) {
            if (upravit) {
                state.PauseTiming();
                for (int i = 1; i <= 7; ++i) {
                    week.VyberDen(i);
                    week.Vykonaj(TTyzden::EditEntry);
                }
                state.ResumeTiming();
            }
            const int result = week.Vykonaj(daysAhead ? TTyzden::WeekForward : TTyzden::WeekBack);
            if (result != TTyzden::Done || week.Poznamky(7).Pocet() != 5) {
                state.SkipWithError("the week step failed");
                break;
            }
            daysAhead = !daysAhead;
        }
    }
    fs::remove_all(folder);
}
BENCHMARK_CAPTURE(BM_WeekStep, save7_load7, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_WeekStep, browse_load7, false)->Unit(benchmark::kMicrosecond);

} // namespace
