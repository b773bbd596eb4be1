// Feeds arbitrary bytes to the reader of a calendar server's event and checks what must hold
// for every input: an entry read from an event is one the day files can hold, and the event
// Tilava writes for it reads back as the same entry with the same UID.
#include "core/Cp1250.h"
#include "exchange/EventMapping.h"
#include "fuzz/Broken.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using tilava::fuzz::Broken;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const bool yearlyAsBirthdays = size % 2 == 1;
    const tilava::ReadEvent event = tilava::ReadCalendarEvent(bytes, yearlyAsBirthdays);
    if (event.kind == tilava::ReadEvent::Kind::Refused && event.reason.empty())
        Broken("a refusal without its reason");
    if (event.kind != tilava::ReadEvent::Kind::Entry)
        return 0;
    if (!event.date.ok())
        Broken("an entry on a day that is not in the calendar");
    if (event.entry.Text.empty() || tilava::FirstUnencodable(event.entry.Text))
        Broken("an entry text the day file cannot hold");
    if (tilava::WhyNoEvent(event.entry, event.date))
        Broken("an entry read from an event that cannot be an event");
    // Tilava writes its own UIDs ("…@tilava"), which tell its event of a year not known
    // (started in 2000, no year in the description) from another program's event of 2000.
    const std::string uid = std::string_view(event.uid).ends_with("@tilava")
                                ? event.uid
                                : tilava::EntryUid(event.entry, event.date);
    const std::string written =
        tilava::EventCalendarText(event.entry, event.date, uid, std::chrono::sys_seconds{});
    const tilava::ReadEvent back = tilava::ReadCalendarEvent(written, false);
    if (back.kind != tilava::ReadEvent::Kind::Entry || back.uid != uid || back.date != event.date ||
        back.entry != event.entry)
        Broken("the event written for an entry reads back as something else");
    return 0;
}
