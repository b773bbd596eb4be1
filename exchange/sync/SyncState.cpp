#include "exchange/sync/SyncState.h"

#include "core/BackslashEscape.h"
#include "platform/AtomicFile.h"
#include "platform/ReadFileIfExists.h"
#include "platform/SystemErrorText.h"

#include <charconv>
#include <vector>

namespace tilava {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kFirstLine = "tilava-sync 1";

// Why a line of the file cannot be read; the reader adds the file and the line.
struct BadLine {
    std::string why;
};

std::string Unescaped(std::string_view field) {
    std::string out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\') {
            out += field[i];
            continue;
        }
        if (++i == field.size()) {
            throw BadLine{"spätná lomka na konci poľa"};
        }
        switch (field[i]) {
        case '\\':
            out += '\\';
            break;
        case 't':
            out += '\t';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        default:
            throw BadLine{"neznáma postupnosť so spätnou lomkou"};
        }
    }
    return out;
}

std::vector<std::string> Fields(std::string_view line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(Unescaped(line.substr(start, tab - start)));
        if (tab == std::string_view::npos) {
            return fields;
        }
        start = tab + 1;
    }
}

std::int32_t Number(const std::string& text, std::int32_t least, std::int32_t most) {
    std::int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || value < least || value > most) {
        throw BadLine{"„" + text + "“ nie je platné číslo"};
    }
    return value;
}

std::chrono::month_day Day(const std::string& text) {
    const bool digits =
        text.size() == 4 && text.find_first_not_of("0123456789") == std::string::npos;
    const std::chrono::month_day date{
        std::chrono::month{digits ? static_cast<unsigned>(std::stoi(text.substr(0, 2))) : 0u},
        std::chrono::day{digits ? static_cast<unsigned>(std::stoi(text.substr(2))) : 0u}};
    if (!date.ok()) {
        throw BadLine{"„" + text + "“ nie je deň v roku"};
    }
    return date;
}

std::string Damaged(const fs::path& file, const std::string& why) {
    return "Stav synchronizácie „" + PathText(file) + "“ je poškodený (" + why +
           "). Synchronizácia neprebehla: poznámky aj kalendár na serveri ostali, ako boli. Ak "
           "súbor zmažete, ďalšia synchronizácia začne odznova a rovnaké záznamy a udalosti "
           "spojí.";
}

} // namespace

std::string SyncStateText(const SyncState& state) {
    std::string text{kFirstLine};
    text += "\ncalendar\t" + BackslashEscaped(state.calendarUrl) + "\nuser\t" +
            BackslashEscaped(state.user) + "\ntoken\t" + BackslashEscaped(state.token) + "\n";
    for (const auto& [href, known] : state.events) {
        if (!known.entry) {
            text +=
                "foreign\t" + BackslashEscaped(href) + "\t" + BackslashEscaped(known.etag) + "\n";
            continue;
        }
        const EntryKey& key = *known.entry;
        text += "entry\t" + BackslashEscaped(href) + "\t" + BackslashEscaped(known.etag) + "\t" +
                BackslashEscaped(known.uid) + "\t" + DayName(key.date) + "\t" +
                std::to_string(static_cast<int>(key.kind)) + "\t" + std::to_string(key.year) +
                "\t" + BackslashEscaped(key.text) + "\n";
    }
    return text;
}

SyncState ReadSyncStateText(std::string_view text, const fs::path& file) {
    if (text.empty() || text.back() != '\n') {
        throw SyncStateError(Damaged(file, "súbor je neúplný"));
    }
    SyncState state;
    int number = 0;
    std::size_t start = 0;
    try {
        while (start < text.size()) {
            const std::size_t end = text.find('\n', start);
            const std::string_view line = text.substr(start, end - start);
            start = end + 1;
            ++number;
            if (number == 1) {
                if (line != kFirstLine) {
                    throw BadLine{"nie je to súbor stavu synchronizácie Tilavy"};
                }
                continue;
            }
            const std::vector<std::string> f = Fields(line);
            static constexpr const char* kHeads[] = {"calendar", "user", "token"};
            if (number <= 4) {
                if (f.size() != 2 || f[0] != kHeads[number - 2]) {
                    throw BadLine{std::string("chýba údaj „") + kHeads[number - 2] + "“"};
                }
                (number == 2 ? state.calendarUrl : number == 3 ? state.user : state.token) = f[1];
                continue;
            }
            KnownEvent known;
            if (f[0] == "foreign" && f.size() == 3) {
                known.etag = f[2];
            } else if (f[0] == "entry" && f.size() == 8) {
                known.etag = f[2];
                known.uid = f[3];
                known.entry = EntryKey{static_cast<EntryKind>(Number(f[5], 0, 2)), Day(f[4]),
                                       Number(f[6], INT32_MIN, INT32_MAX), f[7]};
            } else {
                throw BadLine{"neznámy riadok"};
            }
            if (f[1].empty() || !state.events.emplace(f[1], std::move(known)).second) {
                throw BadLine{"udalosť „" + f[1] + "“ je prázdna alebo uvedená dvakrát"};
            }
        }
        if (number < 4) {
            throw BadLine{"súbor je neúplný"};
        }
    } catch (const BadLine& bad) {
        throw SyncStateError(Damaged(file, "riadok " + std::to_string(number) + ": " + bad.why));
    }
    return state;
}

SyncState LoadSyncState(const fs::path& file, const std::string& calendarUrl,
                        const std::string& user) {
    // Only a regular file is read: a named pipe in its place would hold the sync (and its lock)
    // for ever.
    std::error_code error;
    if (const fs::file_status status = fs::status(file, error);
        fs::exists(status) && !fs::is_regular_file(status)) {
        throw SyncStateError("Stav synchronizácie „" + PathText(file) +
                             "“ nie je obyčajný súbor (je to priečinok, rúra alebo zariadenie). "
                             "Synchronizácia neprebehla: poznámky aj kalendár na serveri ostali, "
                             "ako boli.");
    }
    std::optional<std::string> text;
    try {
        text = ReadFileIfExists(file, kLargestSyncState);
    } catch (const FileTooLarge&) {
        throw SyncStateError(Damaged(file, "je väčší ako 64 MiB"));
    } catch (const FileError& e) {
        throw SyncStateError(std::string(e.what()) +
                             " Synchronizácia neprebehla: poznámky aj kalendár na serveri ostali, "
                             "ako boli.");
    }
    SyncState fresh{calendarUrl, user, {}, {}};
    if (!text) {
        return fresh;
    }
    SyncState state = ReadSyncStateText(*text, file);
    if (state.calendarUrl != calendarUrl || state.user != user) {
        return fresh;
    }
    return state;
}

void SaveSyncState(const fs::path& file, const SyncState& state) {
    const std::string text = SyncStateText(state);
    if (text.size() > kLargestSyncState) {
        throw SyncStateError("Stav synchronizácie „" + PathText(file) +
                             "“ by bol väčší ako 64 MiB, a tak sa neuložil; ostal taký, aký bol.");
    }
    try {
        ReplaceFileAtomically(file, text);
    } catch (const FileError& e) {
        throw SyncStateError(e.what());
    }
}

} // namespace tilava
