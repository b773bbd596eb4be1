#include "SaveRaceSupport.h"

#include "store/DayFile.h"
#include "store/uPoznamky.h"
#include "support/FileBytes.h"

#include <map>
#include <thread>

namespace tilava::test {

using namespace std::chrono;

const year_month_day kRaceDay = 2009y / March / 5;

void AddNotesOneByOne(const std::filesystem::path& folder, const std::string& side, int rounds,
                      milliseconds pause) {
    SaveOptions options;
    options.whileLocked = [pause] { std::this_thread::sleep_for(pause); };
    for (int i = 0; i < rounds; ++i) {
        TDayNotes day(folder, options);
        day.Nacitaj(kRaceDay);
        day.Pridaj(TNote{EntryKind::Poznamka, 2009, true, side + " " + std::to_string(i)});
        day.Uloz();
    }
}

std::vector<std::string> RaceDayFaults(const std::filesystem::path& folder,
                                       const std::vector<std::string>& sides, int rounds) {
    DayFile day;
    const std::filesystem::path file = folder / "0305.txt";
    ParseDayFile(ReadBytes(file), file, day);
    std::map<std::string, int> seen;
    for (const TNote& note : day.Entries) {
        ++seen[note.Text];
    }
    std::vector<std::string> faults;
    for (const std::string& side : sides) {
        for (int i = 0; i < rounds; ++i) {
            const std::string text = side + " " + std::to_string(i);
            const auto it = seen.find(text);
            if (it == seen.end()) {
                faults.push_back("lost: " + text);
                continue;
            }
            if (it->second != 1) {
                faults.push_back(std::to_string(it->second) + " times: " + text);
            }
            seen.erase(it);
        }
    }
    for (const auto& [text, count] : seen) {
        faults.push_back("added by nobody: " + text);
    }
    return faults;
}

} // namespace tilava::test
