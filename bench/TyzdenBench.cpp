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

const TRok& Kalendar() {
    static TRok rok;
    static const bool naplneny = (rok.Naplnit(), true);
    (void)naplneny;
    return rok;
}

// One search over the Slovak list, as typing the third character of "ale" runs it; the
// lists are prepared by the first search of the model, before the timing starts.
void BM_SearchKeystroke(benchmark::State& state, const char* hladane) {
    MemoryHive hive;
    TRegi regi(hive);
    const FixedClock hodiny(2024y / 3 / 13);
    TTyzden tyzden(Kalendar(), regi, fs::temp_directory_path(), hodiny);
    tyzden.NastavHladane(hladane);
    tyzden.Vykonaj(TTyzden::Hladat);
    for (auto _ : state) {
        benchmark::DoNotOptimize(tyzden.Vykonaj(TTyzden::Hladat));
        benchmark::DoNotOptimize(tyzden.Vysledok(1).data());
    }
}
BENCHMARK_CAPTURE(BM_SearchKeystroke, ale, "ale")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SearchKeystroke, mar, "mar")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SearchKeystroke, lav, "lav")->Unit(benchmark::kMicrosecond);

// The first search of a model, which prepares the lists of the language.
void BM_FirstSearch(benchmark::State& state) {
    MemoryHive hive;
    TRegi regi(hive);
    const FixedClock hodiny(2024y / 3 / 13);
    for (auto _ : state) {
        TTyzden tyzden(Kalendar(), regi, fs::temp_directory_path() / "tilava-bench-none", hodiny);
        tyzden.NastavHladane("ale");
        benchmark::DoNotOptimize(tyzden.Vykonaj(TTyzden::Hladat));
    }
}
BENCHMARK(BM_FirstSearch)->Unit(benchmark::kMicrosecond);

// One week step: the seven days of the shown week are saved (each holding five entries, one
// of them just edited, so every file is really written) and the seven of the other week,
// five entries each too, are loaded. Steps alternate forward and back. With `upravit` false
// nothing is edited, as when the user only browses: the days are loaded, none is written.
void BM_WeekStep(benchmark::State& state, bool upravit) {
    std::random_device nahoda;
    const fs::path priecinok =
        fs::temp_directory_path() / ("tilava-bench-" + std::to_string(nahoda()));
    fs::create_directories(priecinok);
    const std::string obsah = "!\r\n"
                              "-1\r\n2\r\n1980\r\nJano\r\n"
                              "-1\r\n3\r\n2001\r\nsvadba Petra a Zuzany\r\n"
                              "-1\r\n1\r\n2024\r\nZubár o 10.00\r\n"
                              "-1\r\n2\r\n1955\r\nBabka Anna\r\n"
                              "-1\r\n1\r\n2024\r\nKúpiť darček\r\n";
    for (int den = 4; den <= 17; ++den) {
        char meno[16];
        std::snprintf(meno, sizeof meno, "03%02d.txt", den);
        std::ofstream(priecinok / meno, std::ios::binary) << obsah;
    }
    MemoryHive hive;
    TRegi regi(hive);
    const FixedClock hodiny(2024y / 3 / 6); // Wednesday; Monday 4 .. Sunday 10 March
    {
        TTyzden tyzden(Kalendar(), regi, priecinok, hodiny);
        int zmena = 0;
        // The editor changes the text of the row it is given.
        tyzden.NastavEditor([&zmena] {
            struct Upravovac final : IEventEditor {
                explicit Upravovac(int& z) : z(z) {}
                void NastavExistujucu(bool) override {}
                bool Uprav(TNote& n, int) override {
                    n.Text = "Jano " + std::to_string(++z);
                    return true;
                }
                int& z;
            };
            return std::make_unique<Upravovac>(zmena);
        });
        tyzden.NastavZaznam(1);
        bool dopredu = true;
        for (auto _ : state) {
            if (upravit) {
                state.PauseTiming();
                for (int i = 1; i <= 7; ++i) {
                    tyzden.VyberDen(i);
                    tyzden.Vykonaj(TTyzden::UpravitZaznam);
                }
                state.ResumeTiming();
            }
            const int vysledok =
                tyzden.Vykonaj(dopredu ? TTyzden::TyzdenDopredu : TTyzden::TyzdenSpat);
            if (vysledok != TTyzden::Hotovo || tyzden.Poznamky(7).Pocet() != 5) {
                state.SkipWithError("the week step failed");
                break;
            }
            dopredu = !dopredu;
        }
    }
    fs::remove_all(priecinok);
}
BENCHMARK_CAPTURE(BM_WeekStep, save7_load7, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_WeekStep, browse_load7, false)->Unit(benchmark::kMicrosecond);

} // namespace
