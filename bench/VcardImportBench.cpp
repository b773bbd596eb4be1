// The import of an address book of 2,000 contacts with birthdays into an empty notes folder.
#include "model/VcardImport.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>

namespace {

namespace fs = std::filesystem;

void BM_ImportVcard(benchmark::State& state) {
    std::random_device nahoda;
    const fs::path koren = fs::temp_directory_path() / ("tilava-bench-" + std::to_string(nahoda()));
    const fs::path priecinok = koren / "ZelmTilava";
    fs::create_directories(priecinok);
    std::string vcard;
    for (int i = 0; i < 2000; ++i) {
        char datum[16];
        std::snprintf(datum, sizeof datum, "%04d-%02d-%02d", 1940 + i % 80, 1 + i % 12,
                      1 + (i * 7) % 28);
        vcard +=
            "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Nov\xC3\xA1k;J\xC3\xA1n " + std::to_string(i) +
            ";;;\r\nFN:J\xC3\xA1n " + std::to_string(i) +
            " Nov\xC3\xA1k\r\nTEL;TYPE=CELL:+421 900 000 000\r\nitem1.BDAY;VALUE=date:" + datum +
            "\r\nEND:VCARD\r\n";
    }
    const std::vector<tilava::VcardContact> kontakty = tilava::ReadVcards(vcard);
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(priecinok);
        fs::create_directories(priecinok);
        state.ResumeTiming();
        // Reading the file is part of the import.
        benchmark::DoNotOptimize(tilava::ReadVcards(vcard).size());
        const tilava::ImportReport r = tilava::ImportContacts(kontakty, priecinok);
        if (!r.Uspech() || r.pridane.size() != 2000) {
            state.SkipWithError("the import failed");
            break;
        }
    }
    fs::remove_all(koren);
}
BENCHMARK(BM_ImportVcard)->Unit(benchmark::kMillisecond);

} // namespace
