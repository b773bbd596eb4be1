#include "exchange/sync/RemovedEntries.h"

#include "exchange/sync/EntryKey.h"
#include "platform/AtomicFile.h"
#include "platform/ReadFileIfExists.h"
#include "platform/SystemErrorText.h"

#include <cstdio>
#include <system_error>

namespace tilava {

namespace fs = std::filesystem;
using namespace std::chrono;

namespace {

std::string Stamp(sys_seconds now) {
    const sys_days day = floor<days>(now);
    const year_month_day date{day};
    const hh_mm_ss time{now - day};
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u %02d:%02d:%02d UTC", int(date.year()),
                  unsigned(date.month()), unsigned(date.day()), int(time.hours().count()),
                  int(time.minutes().count()), int(time.seconds().count()));
    return text;
}

} // namespace

std::string RemovedEntriesText(const std::vector<RemovedEntry>& entries, sys_seconds now) {
    const std::string stamp = Stamp(now);
    std::string text;
    for (const RemovedEntry& r : entries) {
        text += "Odstránené synchronizáciou " + stamp + " z dňa " +
                std::to_string(unsigned(r.date.day())) + ". " +
                std::to_string(unsigned(r.date.month())) + ". (" + DayName(r.date) + ".txt):\n" +
                (r.entry.Potvrdena ? "-1" : "0") + "\n" +
                std::to_string(static_cast<int>(r.entry.Druh) + 1) + "\n" +
                std::to_string(r.entry.Rok) + "\n" + r.entry.Text + "\n\n";
    }
    return text;
}

void KeepRemovedEntries(const fs::path& stateFolder, const std::vector<RemovedEntry>& entries,
                        sys_seconds now) {
    if (entries.empty()) {
        return;
    }
    const fs::path file = stateFolder / kRemovedEntriesName;
    const std::string added = RemovedEntriesText(entries, now);
    const auto refused = [&](const std::string& why) {
        return FileError(file, "Súbor odstránených záznamov „" + PathText(file) + "“ " + why + ".");
    };
    std::error_code error;
    const fs::file_status status = fs::symlink_status(file, error);
    if (fs::exists(status) && !fs::is_regular_file(status)) {
        throw refused("nie je obyčajný súbor");
    }
    std::string kept;
    bool older = false;
    try {
        kept = ReadFileIfExists(file, kLargestRemovedEntries).value_or("");
        older = !kept.empty() && kept.size() + added.size() > kLargestRemovedEntries;
    } catch (const FileTooLarge&) {
        older = true;
    } catch (const FileError& e) {
        throw refused(std::string("sa nedá prečítať (") + e.what() + ")");
    }
    if (older) {
        fs::rename(file, stateFolder / kOlderRemovedEntriesName, error);
        if (error) {
            throw refused("sa nedá odložiť (" +
                          SystemErrorText(static_cast<unsigned long>(error.value())) + ")");
        }
        kept.clear();
    }
    ReplaceFileAtomically(file, kept + added, FolderFlush::Now, {LinkRule::ReplaceLink});
}

} // namespace tilava
