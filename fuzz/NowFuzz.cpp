// Feeds arbitrary text and date patterns to the reader of the date that the last run recorded
// ("Now", and "NowIso" beside it), and checks what must hold for every input: a date read is a real
// date, never after today, and it reads the same when the text is read again.
#include "fuzz/Broken.h"
#include "model/MissedDays.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using tilava::fuzz::Broken;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace std::chrono;
    // The first line is the user's date pattern, the rest the recorded text.
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::size_t split = bytes.find('\n');
    const std::string_view pattern =
        split == std::string_view::npos ? "d.M.yyyy" : bytes.substr(0, split);
    const std::string_view text = split == std::string_view::npos ? bytes : bytes.substr(split + 1);
    const sys_days today = sys_days{year{2026} / 12 / 9};
    const std::string months[] = {"január",    "február", "marec",    "apríl",
                                  "máj",       "jún",     "júl",      "august",
                                  "september", "október", "november", "december"};
    const auto date = tilava::MissedDays::ReadDate(text, pattern, today, months);
    if (date) {
        if (!date->ok())
            Broken("a date that does not exist");
        if (sys_days{*date} > today)
            Broken("a date after today");
        if (tilava::MissedDays::ReadDate(text, pattern, today, months) != date)
            Broken("the same text reads as another date");
        const auto missed = tilava::MissedDays::Dni(date, today);
        if (missed.size() > static_cast<std::size_t>(tilava::MissedDays::MaxDays))
            Broken("more missed days than are listed");
    }
    // The same two texts as the ISO record and "Now" beside it.
    const auto iso = tilava::MissedDays::LastRunFromIso(pattern, text, today);
    if (iso && (!iso->ok() || sys_days{*iso} > today))
        Broken("the ISO record gives an impossible or future date");
    return 0;
}
