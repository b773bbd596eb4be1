#pragma once

#include "store/uPoznamky.h"

#include <libical/ical.h>

#include <chrono>
#include <memory>
#include <string>

namespace tilava {

// The iCalendar form of the event mapping (exchange/EventMapping.h), for the two that write
// events through libical: the calendar export and the calendar sync.

struct ComponentFree {
    void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using ComponentPointer = std::unique_ptr<icalcomponent, ComponentFree>;

// An empty VCALENDAR: VERSION 2.0, Tilava's PRODID, CALSCALE GREGORIAN.
ComponentPointer NewTilavaCalendar();

// The VEVENT of an entry that WhyNoEvent accepts: UID `uid`, DTSTAMP `stamp`, the all-day
// start and end, the yearly rule of a birthday or an anniversary, SUMMARY, DESCRIPTION with
// the year when it is known, TRANSP TRANSPARENT.
ComponentPointer EntryEvent(const TNote& entry, std::chrono::month_day date, const std::string& uid,
                            std::chrono::sys_seconds stamp);

} // namespace tilava
