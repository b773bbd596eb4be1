#include "store/SyncSettings.h"

#include "store/uRegi.h"

#include <algorithm>
#include <stdexcept>

namespace tilava {

namespace {

bool HasControl(const std::string& text) {
    return std::any_of(text.begin(), text.end(),
                       [](unsigned char c) { return c < 0x20 || c == 0x7F; });
}

std::string Valid(std::string text, std::size_t longest) {
    if (text.size() > longest || HasControl(text)) {
        return {};
    }
    return text;
}

} // namespace

SyncSettings SyncSettings::Read(const TRegi& regi) {
    SyncSettings s;
    s.calendarUrl = Valid(regi.ReadText("SyncCalendar"), kLongestUrl);
    s.user = Valid(regi.ReadText("SyncUser"), kLongestUser);
    const int minutes = regi.CitajHodnotu("SyncEvery");
    s.everyMinutes = minutes >= 0 && minutes <= kMostMinutes ? minutes : 0;
    s.yearlyEventsAsBirthdays = regi.CitajHodnotu("SyncYearlyEvents") != 0;
    return s;
}

void SyncSettings::Write(TRegi& regi) const {
    if (calendarUrl.size() > kLongestUrl || HasControl(calendarUrl)) {
        throw std::invalid_argument(
            "Adresa kalendára je príliš dlhá alebo obsahuje riadiace znaky.");
    }
    if (user.size() > kLongestUser || HasControl(user)) {
        throw std::invalid_argument(
            "Meno používateľa je príliš dlhé alebo obsahuje riadiace znaky.");
    }
    if (everyMinutes < 0 || everyMinutes > kMostMinutes) {
        throw std::invalid_argument(
            "Čas medzi automatickými synchronizáciami môže byť najviac 1440 minút (jeden deň).");
    }
    regi.ZapisHodnotu("SyncCalendar", calendarUrl);
    regi.ZapisHodnotu("SyncUser", user);
    regi.ZapisHodnotu("SyncEvery", everyMinutes);
    regi.ZapisHodnotu("SyncYearlyEvents", yearlyEventsAsBirthdays ? 1 : 0);
}

} // namespace tilava
