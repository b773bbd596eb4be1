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
    const fs::path folder =
        fs::temp_directory_path() / ("tilava-bench-" + std::to_string(nahoda()));
    fs::create_directories(folder);
    int entryCount = 0;
    int date = 0;
    for (unsigned m = 1; m <= 12; ++m) {
        const unsigned dayList = static_cast<unsigned>((year{2024} / month{m} / last).day());
        for (unsigned d = 1; d <= dayList; ++d, ++date) {
            // 5,000 entries: 13 a day, 14 on the first 242 days; leap years only, so that the
            // notes of 29 February are events too.
            const int count = date < 5000 - 13 * 366 ? 14 : 13;
            std::string contents = "!\r\n";
            for (int i = 0; i < count; ++i, ++entryCount) {
                const int kind = 1 + entryCount % 3;
                contents += "-1\r\n" + std::to_string(kind) + "\r\n" +
                            std::to_string(1940 + entryCount % 20 * 4) + "\r\n" +
                            (kind == 3 ? "svadba Petra a Zuzany " : "J\xE1n Nov\xE1k ") +
                            std::to_string(entryCount) + "\r\n";
            }
            char meno[16];
            std::snprintf(meno, sizeof meno, "%02u%02u.txt", m, d);
            std::ofstream(folder / meno, std::ios::binary) << contents;
        }
    }
    // Beside the notes folder: an export never writes into it.
    const fs::path subor = folder.string() + ".ics";
    for (auto _ : state) {
        const tilava::ExportReport r = tilava::ExportCalendar(
            folder, subor, sys_days{2024y / 5 / 1}, tilava::ExistingExport::CalendarOnly);
        if (!r.Succeeded() || r.events != 5000) {
            state.SkipWithError("the export failed");
            break;
        }
    }
    fs::remove_all(folder);
    fs::remove(subor);
}
BENCHMARK(BM_ExportCalendar)->Unit(benchmark::kMillisecond);

} // namespace
