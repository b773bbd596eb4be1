// The calendar export of a full year of notes: 5,000 entries over the 366 day files.
#include "exchange/CalendarExport.h"
#include "FullYearNotes.h"

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
    tilava::bench::WriteFullYearNotes(folder);
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
