#pragma once

#include "platform/net/HttpClient.h"

#include <string>
#include <string_view>
#include <vector>

namespace tilava {

// A calendar for events found on the server.
struct FoundCalendar {
    std::string url;  // its whole address, as the sync keeps it
    std::string name; // its display name, else the last part of its path

    friend bool operator==(const FoundCalendar&, const FoundCalendar&) = default;
};

// What a search for the account's calendars found.
struct CalendarSearch {
    std::vector<FoundCalendar> calendars; // those that take events, in the server's order
    std::string homeUrl;  // where a new calendar is made; empty when the server named none
    std::string typedUrl; // the address typed, when it is itself one of the calendars
    std::string failure;  // why nothing was found (Slovak); empty when the search went through

    bool Succeeded() const { return failure.empty(); }
};

// How many redirects (301, 302, 307, 308) one request follows, each within the same server.
inline constexpr int kMostRedirects = 5;

// The address as typed made whole: trimmed, "https://" before a bare server name, "/" after it.
std::string WholeAddress(std::string_view typed);

// Finds the calendars of the account from whatever address the user knows: a server name, the
// server's root, the account's principal or calendar home, or a calendar. From the root it
// asks /.well-known/caldav first, then follows current-user-principal and calendar-home-set and
// lists the home. The password goes only to the server typed: a redirect to another one stops
// the search. A server root or home is never offered as a calendar, and nothing is made.
CalendarSearch FindCalendars(std::string_view typedAddress, const std::string& user,
                             HttpClient& client);

// What making a calendar gave: its address, or why it was not made (Slovak).
struct MadeCalendar {
    std::string url;
    std::string failure;
};

// Makes a calendar for events named "Tilava" in the calendar home at `homeUrl`, under a path
// that no collection there uses yet (tilava/, tilava-2/, …); nothing else on the server changes.
MadeCalendar MakeCalendar(const std::string& homeUrl, HttpClient& client);

// The sync's check of its calendar before it lists it: the PROPFIND it sends (Depth 0), and
// what is wrong with the answer, in Slovak, ending with where the address is set; empty when
// the address is a calendar. A missing calendar, a collection that is not a calendar (a
// server's root, an account's home) are never taken. An answer other than 207 or 404 is left
// to the caller. Throws XmlError for a 207 that cannot be read.
std::string CalendarCheckBody();
std::string CalendarProblem(const HttpResponse& answer, const std::string& calendarUrl);

} // namespace tilava
