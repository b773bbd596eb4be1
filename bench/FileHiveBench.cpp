// The Linux settings file with 50,000 values: one read of a value from a file that has not changed
// for a while (only a look at the file's stamp), one read just after the file changed (the file
// is read again), and one write that changes one value (the line changed and the file replaced
// on disk).
#include "platform/FileHive.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <fstream>
#include <random>
#include <string>
#include <thread>

namespace {

using namespace tilava;
namespace fs = std::filesystem;

constexpr int kValues = 50000;

// A fresh configuration folder whose settings file holds `kValues` values.
struct BigSettings {
    BigSettings() {
        std::random_device random;
        folder = fs::temp_directory_path() / ("tilava-bench-" + std::to_string(random()));
        fs::create_directories(folder / "ZELMtilava");
        std::ofstream out(folder / "ZELMtilava" / "settings.ini", std::ios::binary);
        out << "# Tilava\n\n[Settings]\n";
        for (int i = 0; i < kValues; ++i) {
            out << "Hodnota" << i << "=" << i << "\n";
        }
        out << "\n[Run]\nZelmTilavaS=True\n";
    }
    ~BigSettings() { fs::remove_all(folder); }
    fs::path folder;
};

// A file changed moments ago is read at every call, since a change within the file system's
// clock tick would not show in its stamp; `settled` waits that out first.
void ReadValues(benchmark::State& state, bool settled) {
    const BigSettings settings;
    const FileHive hive(settings.folder);
    if (settled) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2100));
    }
    for (auto _ : state) {
        const HiveValue value = hive.ReadValue(HiveKey::Settings, "Hodnota49999");
        if (value.text != "49999") {
            state.SkipWithError("the value was not read");
            break;
        }
        benchmark::DoNotOptimize(value.text.data());
    }
}

void BM_SettingsRead50k(benchmark::State& state) {
    ReadValues(state, true);
}
BENCHMARK(BM_SettingsRead50k)->Unit(benchmark::kMicrosecond);

void BM_SettingsRead50kJustChanged(benchmark::State& state) {
    ReadValues(state, false);
}
BENCHMARK(BM_SettingsRead50kJustChanged)->Unit(benchmark::kMillisecond);

void BM_SettingsWrite50k(benchmark::State& state) {
    const BigSettings settings;
    FileHive hive(settings.folder);
    int turn = 0;
    for (auto _ : state) {
        hive.WriteString(HiveKey::Settings, "Hodnota25000", std::to_string(++turn));
    }
}
BENCHMARK(BM_SettingsWrite50k)->Unit(benchmark::kMillisecond);

} // namespace
