#pragma once

#include "store/uPoznamky.h"

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace tilava {

// How a day file's entry and a calendar event map to each other, shared by the calendar
// export and the calendar sync, so that both write the same event for the same entry:
// birthdays and anniversaries as all-day events recurring every year from the year of birth
// or of the event (2000 when the year is not known), summary "Jano – narodeniny" or
// "svadba – výročie", description "Rok narodenia: 1980" / "Rok udalosti: 1999"; a plain note as
// one all-day event of its year, the note's text as summary. Texts are trimmed of blanks and
// tabs at both ends.

// The UID of an entry: 64-bit FNV-1a of its kind, day and month, year and untrimmed text,
// 16 hex digits and "@tilava". The same entry gives the same UID in every export, on every
// system.
std::string EntryUid(const TNote& entry, std::chrono::month_day date);

// Why the entry cannot be an event (Slovak, naming the day file: "0315.txt: poznámka „…“ z roku
// 0 – taký deň v kalendári nie je …"); nothing when it can. An entry without text is no event
// either; its reason is empty text (""). A note of a year after 2999 (libical writes no later
// date) and a text that ReadCalendarEvent would refuse are no events: what one computer writes
// to the calendar, every other one can take back.
std::optional<std::string> WhyNoEvent(const TNote& entry, std::chrono::month_day date);

// A whole iCalendar object (VCALENDAR with one VEVENT, CRLF lines) for the entry, as a sync
// uploads it: UID `uid` (the server's own when the event came from it), stamped `stamp`.
// The entry must be one that WhyNoEvent accepts, and the UID at most 1000 bytes without a
// control character; otherwise it throws std::invalid_argument.
std::string EventCalendarText(const TNote& entry, std::chrono::month_day date,
                              const std::string& uid, std::chrono::sys_seconds stamp);

// What an event of the server is to the notes.
struct ReadEvent {
    enum class Kind {
        Entry,   // it looks like one of Tilava's: `entry` and `date` hold it
        Foreign, // any other event (an appointment, a multi-day event, a task): left alone
        Refused, // it looks like an entry, but the day file cannot hold it: `reason` says why
    };
    Kind kind = Kind::Foreign;
    std::string uid;
    TNote entry;
    std::chrono::month_day date;
    std::string reason; // Slovak, for the user, naming the event's summary
};

// Reads an iCalendar object of the server (one VEVENT, with overrides of its single years
// beside it; other components, or a text that is not iCalendar give Foreign). A yearly all-day
// one-day event whose summary ends " – narodeniny" / " – výročie" is a birthday / anniversary; one
// without those words is a birthday only when `yearlyEventsAsBirthdays`; skipped years (EXDATE) and
// years changed on their own (RECURRENCE-ID) do not change the entry. A yearly event of another
// program keeps its start's year (also 2000); one whose year stands for none (year 0 or 1604,
// or X-APPLE-OMIT-YEAR, as phones write birthdays without a year) has year 0. A one-day all-day
// event that does not recur is a note of its year. A text Windows-1250 cannot hold, one with a
// control character, or one longer than kLongestEntryText is Refused. An event without a UID, or
// with one of a control character or over 1000 bytes, is Foreign.
ReadEvent ReadCalendarEvent(std::string_view ical, bool yearlyEventsAsBirthdays);

} // namespace tilava
