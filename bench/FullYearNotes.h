#pragma once

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace tilava::bench {

// A full year of notes: 5,000 entries over the 366 day files, 13 a day and 14 on the first 242
// days, birthdays, anniversaries and notes in turn; leap years only, so that the notes of 29
// February are events too.
inline void WriteFullYearNotes(const std::filesystem::path& folder) {
    using namespace std::chrono;
    std::filesystem::create_directories(folder);
    int entryCount = 0;
    int date = 0;
    for (unsigned m = 1; m <= 12; ++m) {
        const unsigned lastDay = static_cast<unsigned>((year{2024} / month{m} / last).day());
        for (unsigned d = 1; d <= lastDay; ++d, ++date) {
            const int count = date < 5000 - 13 * 366 ? 14 : 13;
            std::string contents = "!\r\n";
            for (int i = 0; i < count; ++i, ++entryCount) {
                const int kind = 1 + entryCount % 3;
                contents += "-1\r\n" + std::to_string(kind) + "\r\n" +
                            std::to_string(1940 + entryCount % 20 * 4) + "\r\n" +
                            (kind == 3 ? "svadba Petra a Zuzany " : "J\xE1n Nov\xE1k ") +
                            std::to_string(entryCount) + "\r\n";
            }
            char file[16];
            std::snprintf(file, sizeof file, "%02u%02u.txt", m, d);
            std::ofstream(folder / file, std::ios::binary) << contents;
        }
    }
}

} // namespace tilava::bench
