#include "exchange/EventMapping.h"

#include "core/Cp1250.h"
#include "core/Utf8.h"
#include "exchange/EventMappingIcal.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace tilava {

using namespace std::chrono;

namespace {

// A server's event is at most this large; a larger one is no entry and is not even parsed.
constexpr std::size_t kLargestEvent = 1 << 20;
// Components nest at most this deep (VCALENDAR, VEVENT, VALARM; VTIMEZONE, STANDARD): libical
// frees and writes a component tree by recursion, and a deeper text is no entry anyway.
constexpr int kDeepestNesting = 8;
// The longest UID of an event Tilava takes; calendar programs write at most a few hundred bytes.
constexpr std::size_t kLongestUid = 1000;

constexpr std::string_view kBirthdaySuffix = " – narodeniny";
constexpr std::string_view kAnniversarySuffix = " – výročie";
// What a phone's keyboard types instead of the en dash.
constexpr std::string_view kBirthdayTyped = " - narodeniny";
constexpr std::string_view kAnniversaryTyped = " - výročie";
constexpr std::string_view kBirthYear = "Rok narodenia: ";
constexpr std::string_view kEventYear = "Rok udalosti: ";

std::string MMDD(month_day date) {
    char text[8];
    std::snprintf(text, sizeof text, "%02u%02u", static_cast<unsigned>(date.month()),
                  static_cast<unsigned>(date.day()));
    return text;
}

std::string Trimmed(std::string_view s) {
    const auto start = s.find_first_not_of(" \t");
    if (start == std::string_view::npos) {
        return {};
    }
    return std::string(s.substr(start, s.find_last_not_of(" \t") - start + 1));
}

bool CalendarYear(std::int32_t rok) {
    return rok >= 1 && rok <= 9999;
}

// The last year an event may start in: libical writes no date after the year 3000 (it writes
// "00000000T000000" instead), and an event of 31 December ends on the next day.
constexpr std::int32_t kLastEventYear = 2999;

bool EventYear(std::int32_t rok) {
    return rok >= 1 && rok <= kLastEventYear;
}

// Where a recurring event begins: on the day in the year of birth or of the event. A year an
// event cannot start in (0 is a birthday whose year is not known) starts it in 2000; the year
// itself is still in the description. The first 29 February comes in the first leap year from
// then on, and the event recurs in leap years.
year_month_day Zaciatok(std::int32_t rok, month_day date) {
    int r = EventYear(rok) ? rok : 2000;
    while (r <= kLastEventYear && !(year{r} / date).ok()) {
        ++r;
    }
    return year{r <= kLastEventYear ? r : 2000} / date;
}

// The summary's suffix for the kind; a plain note has none.
std::string_view KindSuffix(EntryKind kind) {
    switch (kind) {
    case EntryKind::Narodeniny:
        return kBirthdaySuffix;
    case EntryKind::Vyrocie:
        return kAnniversarySuffix;
    case EntryKind::Poznamka:
        break;
    }
    return {};
}

std::string_view YearLabel(EntryKind kind) {
    return kind == EntryKind::Vyrocie ? kEventYear : kBirthYear;
}

icaltimetype Day(year_month_day d) {
    icaltimetype t = icaltime_null_date();
    t.year = static_cast<int>(d.year());
    t.month = static_cast<int>(static_cast<unsigned>(d.month()));
    t.day = static_cast<int>(static_cast<unsigned>(d.day()));
    t.is_date = 1;
    return t;
}

// Why the text cannot be an entry's text in a day file and an event's summary alike (the part
// of a sentence after the text); nothing when it can. The same limits hold both ways, so that
// what one computer writes to the calendar every other one can take back.
std::optional<std::string> TextProblem(std::string_view text) {
    const std::u32string characters = Utf8ToUtf32(text);
    const auto control = std::find_if(characters.begin(), characters.end(), [](char32_t c) {
        return c < 0x20 || (c >= 0x7F && c <= 0x9F);
    });
    if (control != characters.end()) {
        return "obsahuje riadiaci znak " + DescribeCharacter(*control) + ", ktorý sa nedá zobraziť";
    }
    if (characters.size() > kLongestEntryText) {
        return "má " + std::to_string(characters.size()) +
               " znakov, no záznam v poznámkach môže mať najviac " +
               std::to_string(kLongestEntryText);
    }
    if (const auto c = FirstUnencodable(text)) {
        return "obsahuje znak " + DescribeCharacter(*c) +
               ", ktorý sa do súboru poznámok (Windows-1250) nedá uložiť";
    }
    return std::nullopt;
}

// A text for a message: at most 80 characters, control characters as their codes.
std::string Shown(std::string_view text) {
    return PrintableText(Utf8Shorten(text, 80));
}

// Whether the UID can name an event both ways: 1 to kLongestUid bytes, no control character
// (libical writes a carriage return inside a value as it is, and it does not read back).
bool UsableUid(std::string_view uid) {
    return !uid.empty() && uid.size() <= kLongestUid &&
           std::none_of(uid.begin(), uid.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

// Whether the text starts with the word, in upper or lower case letters (ASCII only, as
// iCalendar's names are).
bool StartsWithName(std::string_view text, std::string_view upperCase) {
    if (text.size() < upperCase.size()) {
        return false;
    }
    for (std::size_t i = 0; i < upperCase.size(); ++i) {
        const char c = text[i];
        if ((c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c) != upperCase[i]) {
            return false;
        }
    }
    return true;
}

// How deep the text's components nest, from its BEGIN: and END: lines, before libical sees it.
// A line break is a CR or an LF, so that no form of line hides a BEGIN from the count.
int DeepestNesting(std::string_view text) {
    int depth = 0;
    int deepest = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        if (StartsWithName(text.substr(pos), "BEGIN:")) {
            deepest = std::max(deepest, ++depth);
        } else if (StartsWithName(text.substr(pos), "END:")) {
            depth = std::max(depth - 1, 0);
        }
        const std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            break;
        }
        pos = end + 1;
    }
    return deepest;
}

// The event of a calendar object: its one VEVENT without a RECURRENCE-ID (the master), and
// whether VEVENTs of the master's UID with a RECURRENCE-ID stand beside it (a phone's change
// of one occurrence: one year's birthday moved or renamed).
struct MasterEvent {
    icalcomponent* event = nullptr;
    bool overridden = false;
};

// The master of a VCALENDAR that holds nothing else but time zones and overrides of the
// master's occurrences; no event otherwise.
MasterEvent OnlyEvent(icalcomponent* calendar) {
    if (!calendar || icalcomponent_isa(calendar) != ICAL_VCALENDAR_COMPONENT) {
        return {};
    }
    icalcomponent* event = nullptr;
    std::vector<icalcomponent*> overrides;
    for (icalcomponent* c = icalcomponent_get_first_component(calendar, ICAL_ANY_COMPONENT); c;
         c = icalcomponent_get_next_component(calendar, ICAL_ANY_COMPONENT)) {
        const icalcomponent_kind kind = icalcomponent_isa(c);
        if (kind == ICAL_VEVENT_COMPONENT &&
            icalcomponent_count_properties(c, ICAL_RECURRENCEID_PROPERTY) != 0) {
            overrides.push_back(c);
        } else if (kind == ICAL_VEVENT_COMPONENT && !event) {
            event = c;
        } else if (kind != ICAL_VTIMEZONE_COMPONENT) {
            return {};
        }
    }
    const char* uid = event ? icalcomponent_get_uid(event) : nullptr;
    if (!uid) {
        return {};
    }
    for (icalcomponent* o : overrides) {
        const char* overrideUid = icalcomponent_get_uid(o);
        if (!overrideUid || std::string_view(overrideUid) != uid) {
            return {};
        }
    }
    // Alarms are the phone's own business; any other part inside the event is not Tilava's.
    for (icalcomponent* c = icalcomponent_get_first_component(event, ICAL_ANY_COMPONENT); c;
         c = icalcomponent_get_next_component(event, ICAL_ANY_COMPONENT)) {
        if (icalcomponent_isa(c) != ICAL_VALARM_COMPONENT) {
            return {};
        }
    }
    return {event, !overrides.empty()};
}

bool NoValues(const short* values) {
    return values[0] == ICAL_RECURRENCE_ARRAY_MAX;
}

// No values, or the one value `only`.
bool NoneOrOnly(const short* values, int only) {
    return NoValues(values) || (values[0] == only && values[1] == ICAL_RECURRENCE_ARRAY_MAX);
}

// Every year on the start's day and month, for ever: FREQ=YEARLY with INTERVAL 1 at most, and
// BYMONTH and BYMONTHDAY only as the start's own month and day. A rule that ends (COUNT,
// UNTIL), skips years or picks other days is an appointment of its own, not a birthday.
bool EveryYear(const icalrecurrencetype& rule, year_month_day start) {
    const std::string_view scale = rule.rscale ? rule.rscale : "GREGORIAN";
    const bool gregorian = scale.size() == 9 && StartsWithName(scale, "GREGORIAN");
    return rule.freq == ICAL_YEARLY_RECURRENCE && rule.interval == 1 && rule.count == 0 &&
           icaltime_is_null_time(rule.until) && gregorian && rule.skip == ICAL_SKIP_OMIT &&
           NoValues(rule.by_second) && NoValues(rule.by_minute) && NoValues(rule.by_hour) &&
           NoValues(rule.by_day) && NoValues(rule.by_year_day) && NoValues(rule.by_week_no) &&
           NoValues(rule.by_set_pos) &&
           NoneOrOnly(rule.by_month, static_cast<int>(static_cast<unsigned>(start.month()))) &&
           NoneOrOnly(rule.by_month_day, static_cast<int>(static_cast<unsigned>(start.day())));
}

// When an event is an all-day event of one day, that either recurs every year or not at all.
struct EventShape {
    year_month_day start;
    bool yearly = false;
};

// The shape of the event when it has one an entry can be: the start a date (DTSTART with
// VALUE=DATE, in the years 1 to kLastEventYear, or year 0 for a yearly one: a phone's birthday
// without a year); one day long (no DTEND and no DURATION, DTEND the next day, or DURATION
// P1D); no rule or one rule EveryYear accepts. Skipped years (EXDATE) and overrides of single
// years (`overridden`) leave a yearly event's shape as it is: the entry is the master's. An
// event with a line libical could not read (X-LIC-ERROR: libical drops such a property, and a
// dropped RRULE would make a series look like one day), with extra dates (RDATE, EXRULE), or
// with skipped or overridden occurrences of a rule that is not every year's, has none.
std::optional<EventShape> ShapeOf(icalcomponent* event, bool overridden) {
    for (const icalproperty_kind kind : {ICAL_XLICERROR_PROPERTY, ICAL_RECURRENCEID_PROPERTY,
                                         ICAL_RDATE_PROPERTY, ICAL_EXRULE_PROPERTY}) {
        if (icalcomponent_count_properties(event, kind) != 0) {
            return std::nullopt;
        }
    }
    const int ends = icalcomponent_count_properties(event, ICAL_DTEND_PROPERTY);
    const int durations = icalcomponent_count_properties(event, ICAL_DURATION_PROPERTY);
    const int rules = icalcomponent_count_properties(event, ICAL_RRULE_PROPERTY);
    const bool skipped = icalcomponent_count_properties(event, ICAL_EXDATE_PROPERTY) != 0;
    if (icalcomponent_count_properties(event, ICAL_DTSTART_PROPERTY) != 1 || ends + durations > 1 ||
        rules > 1 || ((skipped || overridden) && rules != 1)) {
        return std::nullopt;
    }
    const icaltimetype t =
        icalproperty_get_dtstart(icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY));
    if (!icaltime_is_date(t) || !(EventYear(t.year) || (t.year == 0 && rules == 1))) {
        return std::nullopt;
    }
    const year_month_day start{year{t.year}, month{static_cast<unsigned>(t.month)},
                               day{static_cast<unsigned>(t.day)}};
    if (!start.ok()) {
        return std::nullopt;
    }
    if (ends == 1) {
        const icaltimetype end =
            icalproperty_get_dtend(icalcomponent_get_first_property(event, ICAL_DTEND_PROPERTY));
        const year_month_day next{sys_days{start} + days{1}};
        if (!icaltime_is_date(end) || end.year != static_cast<int>(next.year()) ||
            end.month != static_cast<int>(static_cast<unsigned>(next.month())) ||
            end.day != static_cast<int>(static_cast<unsigned>(next.day()))) {
            return std::nullopt;
        }
    }
    if (durations == 1) {
        const icaldurationtype d = icalproperty_get_duration(
            icalcomponent_get_first_property(event, ICAL_DURATION_PROPERTY));
        if (d.is_neg || d.days != 1 || d.weeks != 0 || d.hours != 0 || d.minutes != 0 ||
            d.seconds != 0) {
            return std::nullopt;
        }
    }
    if (rules == 1 && !EveryYear(icalproperty_get_rrule(
                                     icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY)),
                                 start)) {
        return std::nullopt;
    }
    return EventShape{start, rules == 1};
}

// The year that the description "Rok narodenia: 1980" (or "Rok udalosti: 1999") names, when the
// whole description is that line with a year of the calendar.
std::optional<std::int32_t> DescriptionYear(icalcomponent* event, std::string_view label) {
    const char* description = icalcomponent_get_description(event);
    const std::string text = Trimmed(description ? description : "");
    if (!text.starts_with(label)) {
        return std::nullopt;
    }
    const std::string_view digits = std::string_view(text).substr(label.size());
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size() || digits.size() > 4 ||
        !CalendarYear(value)) {
        return std::nullopt;
    }
    return value;
}

// Whether a yearly event's start year stands for a year that is not known: the year Tilava
// starts such an event in (Zaciatok(0, …), its own events only: UID "…@tilava"), year 0 and
// 1604, which phones write for a birthday without a year, and a start that the phone marks as
// such (X-APPLE-OMIT-YEAR).
bool YearNotKnown(icalcomponent* event, year_month_day start, std::string_view uid) {
    const year startYear = start.year();
    if (startYear == year{0} || startYear == year{1604} ||
        (uid.ends_with("@tilava") &&
         startYear == Zaciatok(0, start.month() / start.day()).year())) {
        return true;
    }
    icalproperty* dtstart = icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY);
    for (icalparameter* p = icalproperty_get_first_parameter(dtstart, ICAL_X_PARAMETER); p;
         p = icalproperty_get_next_parameter(dtstart, ICAL_X_PARAMETER)) {
        const char* name = icalparameter_get_xname(p);
        if (name && StartsWithName(name, "X-APPLE-OMIT-YEAR") &&
            std::string_view(name).size() == 17) {
            return true;
        }
    }
    return false;
}

// The summary without the suffix of the kind, or nothing when it has neither the en dash form
// the export writes nor the hyphen a phone's keyboard types.
std::optional<std::string> WithoutSuffix(const std::string& summary, std::string_view written,
                                         std::string_view typed) {
    for (const std::string_view suffix : {written, typed}) {
        // " – narodeniny" alone, trimmed to "– narodeniny", is a birthday without a name.
        if (summary == suffix.substr(1)) {
            return std::string();
        }
        if (summary.ends_with(suffix)) {
            return Trimmed(std::string_view(summary).substr(0, summary.size() - suffix.size()));
        }
    }
    return std::nullopt;
}

} // namespace

std::string EntryUid(const TNote& entry, month_day date) {
    const std::string key = std::to_string(static_cast<int>(entry.Druh)) + '\x1F' + MMDD(date) +
                            '\x1F' + std::to_string(entry.Rok) + '\x1F' + entry.Text;
    std::uint64_t h = 14695981039346656037ull;
    for (const unsigned char c : key) {
        h = (h ^ c) * 1099511628211ull;
    }
    char hex[20];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(h));
    return std::string(hex) + "@tilava";
}

std::optional<std::string> WhyNoEvent(const TNote& entry, month_day date) {
    const std::string text = Trimmed(entry.Text);
    if (text.empty()) {
        return std::string();
    }
    if (!date.ok()) {
        return MMDD(date) + ".txt: záznam „" + Shown(text) + "“ – taký deň v kalendári nie je.";
    }
    if (entry.Druh == EntryKind::Poznamka &&
        !(CalendarYear(entry.Rok) && (year{entry.Rok} / date).ok())) {
        return MMDD(date) + ".txt: poznámka „" + text + "“ z roku " + std::to_string(entry.Rok) +
               " – taký deň v kalendári nie je, ani Tilava ju neukazuje.";
    }
    if (entry.Druh == EntryKind::Poznamka && !EventYear(entry.Rok)) {
        return MMDD(date) + ".txt: poznámka „" + Shown(text) + "“ z roku " +
               std::to_string(entry.Rok) + " – kalendár udalosti po roku " +
               std::to_string(kLastEventYear) + " nezapíše, ostala len v poznámkach.";
    }
    if (const auto problem = TextProblem(text)) {
        return MMDD(date) + ".txt: záznam „" + Shown(text) + "“ " + *problem +
               " – ostal len v poznámkach.";
    }
    return std::nullopt;
}

ComponentPointer NewTilavaCalendar() {
    ComponentPointer calendar(icalcomponent_new_vcalendar());
    icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar.get(),
                               icalproperty_new_prodid("-//ZELM//Tilava " TILAVA_VERSION "//SK"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_calscale("GREGORIAN"));
    return calendar;
}

ComponentPointer EntryEvent(const TNote& entry, month_day date, const std::string& uid,
                            sys_seconds stamp) {
    const bool yearly = entry.Druh != EntryKind::Poznamka;
    const year_month_day start = yearly ? Zaciatok(entry.Rok, date) : year{entry.Rok} / date;
    const std::string summary = Trimmed(entry.Text) + std::string(KindSuffix(entry.Druh));
    ComponentPointer event(icalcomponent_new_vevent());
    icalcomponent* e = event.get();
    icalcomponent_add_property(e, icalproperty_new_uid(uid.c_str()));
    icalcomponent_add_property(e, icalproperty_new_dtstamp(icaltime_from_timet_with_zone(
                                      static_cast<std::time_t>(stamp.time_since_epoch().count()), 0,
                                      icaltimezone_get_utc_timezone())));
    icalcomponent_add_property(e, icalproperty_new_dtstart(Day(start)));
    icalcomponent_add_property(
        e, icalproperty_new_dtend(Day(year_month_day{sys_days{start} + days{1}})));
    if (yearly) {
        icalcomponent_add_property(
            e, icalproperty_new_rrule(icalrecurrencetype_from_string("FREQ=YEARLY")));
    }
    icalcomponent_add_property(e, icalproperty_new_summary(summary.c_str()));
    if (yearly && CalendarYear(entry.Rok)) {
        const std::string description =
            std::string(YearLabel(entry.Druh)) + std::to_string(entry.Rok);
        icalcomponent_add_property(e, icalproperty_new_description(description.c_str()));
    }
    // A day of the calendar, not an appointment: the time stays free.
    icalcomponent_add_property(e, icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT));
    return event;
}

std::string EventCalendarText(const TNote& entry, month_day date, const std::string& uid,
                              sys_seconds stamp) {
    if (const auto why = WhyNoEvent(entry, date)) {
        throw std::invalid_argument(why->empty() ? "záznam bez textu nie je udalosťou" : *why);
    }
    if (!UsableUid(uid)) {
        throw std::invalid_argument("UID udalosti je prázdne, príliš dlhé alebo má riadiaci znak");
    }
    icalerror_set_errors_are_fatal(0);
    const ComponentPointer calendar = NewTilavaCalendar();
    icalcomponent_add_component(calendar.get(), EntryEvent(entry, date, uid, stamp).release());
    const std::unique_ptr<char, decltype(&std::free)> text(
        icalcomponent_as_ical_string_r(calendar.get()), &std::free);
    return text ? std::string(text.get()) : std::string();
}

// The rules, beyond those the header names:
// - all-day is a DTSTART of VALUE=DATE; one day is no DTEND and no DURATION, a DTEND of the
//   next day, or DURATION P1D (ShapeOf);
// - yearly is one RRULE of FREQ=YEARLY with nothing else but INTERVAL=1, WKST, and BYMONTH /
//   BYMONTHDAY equal to the start; COUNT, UNTIL, RDATE make it Foreign: a yearly event that
//   ends is not a birthday (EveryYear); a year skipped (EXDATE) or changed on its own (a VEVENT
//   of the same UID with a RECURRENCE-ID beside it, whatever it holds) leaves the birthday as
//   the master says; beside any other master (a note, another rule) it is Foreign;
// - the summary's suffix is " – narodeniny" / " – výročie" as the export writes it, or with a
//   hyphen " - narodeniny" / " - výročie" as a phone's keyboard types it; the text is the
//   trimmed rest;
// - the year of a birthday or an anniversary is the one its description names ("Rok narodenia:
//   1980" / "Rok udalosti: 1999", the whole description); without it the start's year, except
//   a year that stands for none (YearNotKnown: 2000 in Tilava's own events, also for 29
//   February; 0 and 1604 as phones write a birthday without a year), which is year 0 again; an
//   event of another program that starts in 2000 keeps 2000; a note's year is its start's;
// - an entry made from an event is confirmed, as the contact import confirms its birthdays;
// - a text that is empty, has a control character, is longer than kLongestEntryText or holds a
//   character Windows-1250 cannot is Refused;
// - a text over kLargestEvent bytes, with a zero byte, nesting components deeper than
//   kDeepestNesting, that libical cannot read as one VCALENDAR, or whose UID is not UsableUid
//   is Foreign.
ReadEvent ReadCalendarEvent(std::string_view ical, bool yearlyEventsAsBirthdays) {
    ReadEvent r;
    if (ical.size() > kLargestEvent || ical.find('\0') != std::string_view::npos ||
        DeepestNesting(ical) > kDeepestNesting) {
        return r;
    }
    icalerror_set_errors_are_fatal(0);
    const std::string text(ical);
    const ComponentPointer calendar(icalparser_parse_string(text.c_str()));
    const MasterEvent master = OnlyEvent(calendar.get());
    icalcomponent* event = master.event;
    const char* uid = event ? icalcomponent_get_uid(event) : nullptr;
    if (!uid || !UsableUid(uid)) {
        return r;
    }
    r.uid = uid;
    const std::optional<EventShape> shape = ShapeOf(event, master.overridden);
    if (!shape) {
        return r;
    }
    const month_day date = shape->start.month() / shape->start.day();
    const char* summaryValue = icalcomponent_get_summary(event);
    const std::string summary = Trimmed(summaryValue ? summaryValue : "");
    TNote entry{EntryKind::Poznamka, static_cast<std::int32_t>(shape->start.year()), true, summary};
    if (shape->yearly) {
        if (auto name = WithoutSuffix(summary, kBirthdaySuffix, kBirthdayTyped)) {
            entry = TNote{EntryKind::Narodeniny, 0, true, std::move(*name)};
        } else if (auto what = WithoutSuffix(summary, kAnniversarySuffix, kAnniversaryTyped)) {
            entry = TNote{EntryKind::Vyrocie, 0, true, std::move(*what)};
        } else if (yearlyEventsAsBirthdays) {
            entry = TNote{EntryKind::Narodeniny, 0, true, summary};
        } else {
            return r;
        }
        entry.Rok = DescriptionYear(event, YearLabel(entry.Druh))
                        .value_or(YearNotKnown(event, shape->start, r.uid)
                                      ? 0
                                      : static_cast<std::int32_t>(shape->start.year()));
    }
    r.date = date;
    std::optional<std::string> problem = TextProblem(entry.Text);
    if (entry.Text.empty()) {
        problem = "nemá text";
    } else if (problem) {
        problem = "jej text " + *problem;
    }
    r.entry = std::move(entry);
    if (problem) {
        r.kind = ReadEvent::Kind::Refused;
        r.reason = "Udalosť „" + Shown(summary) + "“ sa do poznámok neprevzala: " + *problem +
                   ". Na serveri ostala, ako bola.";
        return r;
    }
    r.kind = ReadEvent::Kind::Entry;
    return r;
}

} // namespace tilava
