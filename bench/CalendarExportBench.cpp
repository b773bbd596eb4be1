// The calendar export of a full year of notes: 5,000 entries over the 366 day files.
#include "exchange/CalendarExport.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono;

void BM_ExportCalendar(benchmark::State& state) {
    std::random_device nahoda;
    const fs::path priecinok =
        fs::temp_directory_path() / ("tilava-bench-" + std::to_string(nahoda()));
    fs::create_directories(priecinok);
    int zaznamov = 0;
    int den = 0;
    for (unsigned m = 1; m <= 12; ++m) {
        const unsigned dni = static_cast<unsigned>((year{2024} / month{m} / last).day());
        for (unsigned d = 1; d <= dni; ++d, ++den) {
            // 5,000 entries: 13 a day, 14 on the first 242 days; leap years only, so that the
            // notes of 29 February are events too.
            const int pocet = den < 5000 - 13 * 366 ? 14 : 13;
            std::string obsah = "!\r\n";
            for (int i = 0; i < pocet; ++i, ++zaznamov) {
                const int druh = 1 + zaznamov % 3;
                obsah += "-1\r\n" + std::to_string(druh) + "\r\n" +
                         std::to_string(1940 + zaznamov % 20 * 4) + "\r\n" +
                         (druh == 3 ? "svadba Petra a Zuzany " : "J\xE1n Nov\xE1k ") +
                         std::to_string(zaznamov) + "\r\n";
            }
            char meno[16];
            std::snprintf(meno, sizeof meno, "%02u%02u.txt", m, d);
            std::ofstream(priecinok / meno, std::ios::binary) << obsah;
        }
    }
    // Beside the notes folder: an export never writes into it.
    const fs::path subor = priecinok.string() + ".ics";
    for (auto _ : state) {
        const tilava::ExportReport r = tilava::ExportCalendar(
            priecinok, subor, sys_days{2024y / 5 / 1}, tilava::ExistingExport::CalendarOnly);
        if (!r.Uspech() || r.udalosti != 5000) {
            state.SkipWithError("the export failed");
            break;
        }
    }
    fs::remove_all(priecinok);
    fs::remove(subor);
}
BENCHMARK(BM_ExportCalendar)->Unit(benchmark::kMillisecond);

} // namespace
