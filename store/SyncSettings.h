#pragma once

#include <cstddef>
#include <string>

namespace tilava {

class TRegi;

// The calendar sync's settings, stored by the settings store beside the widget's. The password
// is not among them: it lives in the desktop's secret store.
struct SyncSettings {
    // "SyncCalendar": the address of the calendar on the server (a CalDAV collection,
    // https://server/…/calendar/); empty while the sync is not set up.
    std::string calendarUrl;
    // "SyncUser": the account's user name on the server.
    std::string user;
    // "SyncEvery": minutes between automatic syncs while the widget runs; 0 is off.
    int everyMinutes = 0;
    // "SyncYearlyEvents": a yearly all-day event of the server that does not say
    // "narodeniny" or "výročie" is taken as a birthday (off: it is left alone).
    bool yearlyEventsAsBirthdays = false;

    // Limits that reading and writing both keep; a stored value beyond them reads as unset.
    static constexpr std::size_t kLongestUrl = 2048;
    static constexpr std::size_t kLongestUser = 256;
    static constexpr int kMostMinutes = 24 * 60;

    // Both the address and the user are set.
    bool Configured() const { return !calendarUrl.empty() && !user.empty(); }

    // Reads the stored values; a value beyond the limits, or a text with a control character,
    // reads as unset (a minute count beyond the limits as 0).
    static SyncSettings Read(const TRegi& regi);
    // Writes every value. Throws std::invalid_argument (Slovak) for a value beyond the limits,
    // writing nothing; HiveError when the store refuses.
    void Write(TRegi& regi) const;

    friend bool operator==(const SyncSettings&, const SyncSettings&) = default;
};

} // namespace tilava
