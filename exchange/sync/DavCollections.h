#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tilava {

// One member of a PROPFIND answer read for finding calendars: what kind of collection it is,
// its name, the components it holds, and where the account's principal and calendars are.
struct DavCollection {
    std::string href; // as the server wrote it (trimmed), percent-encoding kept
    int status = 0;   // the member's own status, else that of its found properties
    bool collection = false;
    bool calendar = false;  // resourcetype holds CalDAV calendar
    bool principal = false; // resourcetype holds DAV principal
    std::string displayName;
    // Whether supported-calendar-component-set came; a calendar without it takes every kind.
    bool componentsGiven = false;
    std::vector<std::string> components;    // "VEVENT", "VTODO", … as named
    std::string principalHref;              // current-user-principal; empty when not given
    std::vector<std::string> calendarHomes; // calendar-home-set
};

// The longest display name kept (characters); a longer one is cut, no dialog shows more.
inline constexpr std::size_t kLongestCalendarName = 200;

// A 207 answer to PROPFIND asking for resourcetype, displayname, supported-calendar-component-
// set, current-user-principal and calendar-home-set. Only properties of a successful propstat
// count. Throws XmlError when the body is not such a multistatus (DavXml's limits hold).
std::vector<DavCollection> ReadCollections(std::string_view body);

// Whether a calendar takes events: it names VEVENT among its components, or names none.
bool TakesEvents(const DavCollection& calendar);

} // namespace tilava
