// The import of address books into an empty notes folder: 2,000 contacts over the year, and
// 40,000 contacts born on one day (one day file of 40,000 entries); and the join of a day of
// 160,000 entries with another program's version of it.
#include "exchange/VcardImport.h"
#include "store/DayFile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>

namespace {

namespace fs = std::filesystem;

// A vCard file of `count` contacts; `oneDay` puts every birthday on 5 March.
std::string AddressBook(int count, bool oneDay) {
    std::string vcard;
    for (int i = 0; i < count; ++i) {
        char date[16];
        std::snprintf(date, sizeof date, "%04d-%02d-%02d", 1940 + i % 80, oneDay ? 3 : 1 + i % 12,
                      oneDay ? 5 : 1 + (i * 7) % 28);
        vcard +=
            "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Nov\xC3\xA1k;J\xC3\xA1n " + std::to_string(i) +
            ";;;\r\nFN:J\xC3\xA1n " + std::to_string(i) +
            " Nov\xC3\xA1k\r\nTEL;TYPE=CELL:+421 900 000 000\r\nitem1.BDAY;VALUE=date:" + date +
            "\r\nEND:VCARD\r\n";
    }
    return vcard;
}

void ImportAddressBook(benchmark::State& state, bool oneDay) {
    const int count = static_cast<int>(state.range(0));
    std::random_device random;
    const fs::path root = fs::temp_directory_path() / ("tilava-bench-" + std::to_string(random()));
    const fs::path folder = root / "ZelmTilava";
    fs::create_directories(folder);
    const std::string vcard = AddressBook(count, oneDay);
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(folder);
        fs::create_directories(folder);
        state.ResumeTiming();
        // Reading the file is part of the import.
        const std::vector<tilava::VcardContact> contacts = tilava::ReadVcards(vcard);
        const tilava::ImportReport r = tilava::ImportContacts(contacts, folder);
        if (!r.Succeeded() || r.added.size() != static_cast<std::size_t>(count)) {
            state.SkipWithError("the import failed");
            break;
        }
    }
    fs::remove_all(root);
}

void BM_ImportVcard(benchmark::State& state) {
    ImportAddressBook(state, false);
}
BENCHMARK(BM_ImportVcard)->Arg(2000)->Unit(benchmark::kMillisecond);

void BM_ImportVcardOneDay(benchmark::State& state) {
    ImportAddressBook(state, true);
}
BENCHMARK(BM_ImportVcardOneDay)->Arg(40000)->Unit(benchmark::kMillisecond);

// Both sides kept the day's entries, we removed every tenth and added a tenth more, they
// added a tenth of their own.
void BM_JoinDay(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    tilava::DayFile base, ours, theirs;
    for (int i = 0; i < count; ++i) {
        base.Entries.push_back({tilava::EntryKind::Narodeniny, 1940 + i % 80, true,
                                "J\xC3\xA1n " + std::to_string(i) + " Nov\xC3\xA1k"});
    }
    ours = base;
    theirs = base;
    for (int i = 0; i < count / 10; ++i) {
        ours.Entries[static_cast<std::size_t>(i) * 10].Text += " (removed)";
        ours.Entries.push_back(
            {tilava::EntryKind::Poznamka, 2026, false, "ours " + std::to_string(i)});
        theirs.Entries.push_back(
            {tilava::EntryKind::Poznamka, 2026, false, "theirs " + std::to_string(i)});
    }
    for (auto _ : state) {
        const tilava::DayFile joined = tilava::MergeDays(base, ours, theirs);
        benchmark::DoNotOptimize(joined.Entries.size());
    }
}
BENCHMARK(BM_JoinDay)->Arg(160000)->Unit(benchmark::kMillisecond);

} // namespace
