#include "model/MissedDays.h"

#include "store/uPoznamky.h"

#include <array>
#include <string>

namespace tilava {

namespace {

using namespace std::chrono;

bool JeCislica(char c) {
    return c >= '0' && c <= '9';
}

// A blank, including both bytes of a no-break space in UTF-8 (some date formats use it).
bool JeMedzera(char c) {
    return c == ' ' || c == '\t' || c == '\xC2' || c == '\xA0' || c == '\r' || c == '\n';
}

// A year of two digits: the latest year with those last digits that is not after `today`.
int CelyRok(int dvojcislie, sys_days today) {
    const int timeNow = static_cast<int>(year_month_day{today}.year());
    return timeNow - ((timeNow % 100 - dvojcislie + 100) % 100);
}

std::optional<year_month_day> Platny(int d, int m, int r, sys_days today) {
    if (m < 1 || m > 12 || d < 1 || d > 31)
        return std::nullopt;
    const year_month_day datum{year{r}, month{static_cast<unsigned>(m)},
                               day{static_cast<unsigned>(d)}};
    if (!datum.ok() || sys_days{datum} > today)
        return std::nullopt;
    return datum;
}

// Reads by the pattern: its letters d, M and y stand for digits, blanks match any run of
// blanks, any other character must stand there itself; a quoted part is literal text.
bool RovnakeBezVelkosti(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto male = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (male(a[i]) != male(b[i]))
            return false;
    }
    return true;
}

std::optional<year_month_day> PodlaVzoru(std::string_view text, std::string_view pattern,
                                         sys_days today, std::span<const std::string> months) {
    int d = -1, m = -1, r = -1;
    bool dvojcifernyRok = false;
    std::size_t t = 0;
    const auto preskocMedzery = [&] {
        while (t < text.size() && JeMedzera(text[t]))
            ++t;
    };
    for (std::size_t v = 0; v < pattern.size();) {
        const char codePoint = pattern[v];
        if (codePoint == 'd' || codePoint == 'M' || codePoint == 'y') {
            std::size_t length = 0;
            while (v + length < pattern.size() && pattern[v + length] == codePoint)
                ++length;
            v += length;
            if (codePoint == 'd' && length > 2) {
                // A weekday's name: letters up to the next blank, digit or punctuation.
                while (t < text.size() && !JeCislica(text[t]) && !JeMedzera(text[t]) &&
                       text[t] != ',' && text[t] != '.')
                    ++t;
                continue;
            }
            if (codePoint == 'M' && length > 2) {
                // The longest name that stands here.
                std::size_t najdlhsie = 0;
                for (std::size_t i = 0; i < months.size(); ++i) {
                    const std::string& meno = months[i];
                    if (!meno.empty() && meno.size() > najdlhsie &&
                        RovnakeBezVelkosti(text.substr(t, meno.size()), meno)) {
                        najdlhsie = meno.size();
                        m = static_cast<int>(i % 12) + 1;
                    }
                }
                if (najdlhsie == 0)
                    return std::nullopt;
                t += najdlhsie;
                continue;
            }
            const std::size_t najviac = codePoint == 'y' ? (length >= 4 ? 4 : 2) : 2;
            std::size_t n = 0;
            int number = 0;
            while (t < text.size() && n < najviac && JeCislica(text[t])) {
                number = number * 10 + (text[t] - '0');
                ++t;
                ++n;
            }
            if (n == 0 || (codePoint == 'y' && n != najviac))
                return std::nullopt;
            if (codePoint == 'd')
                d = number;
            else if (codePoint == 'M')
                m = number;
            else {
                r = number;
                dvojcifernyRok = najviac == 2;
            }
        } else if (codePoint == '\'') {
            const std::size_t end = pattern.find('\'', v + 1);
            if (end == std::string_view::npos)
                return std::nullopt;
            const std::string_view doslovne = pattern.substr(v + 1, end - v - 1);
            if (text.substr(t, doslovne.size()) != doslovne)
                return std::nullopt;
            t += doslovne.size();
            v = end + 1;
        } else if (JeMedzera(codePoint)) {
            preskocMedzery();
            ++v;
        } else {
            if (t >= text.size() || text[t] != codePoint)
                return std::nullopt;
            ++t;
            ++v;
        }
    }
    preskocMedzery();
    if (t != text.size() || d < 0 || m < 0 || r < 0)
        return std::nullopt;
    return Platny(d, m, dvojcifernyRok ? CelyRok(r, today) : r, today);
}

// Three groups of digits with blanks, dots, slashes or dashes between them: year first when the
// first group has four digits, else in the order of the pattern (month first only when it puts M
// first).
std::optional<year_month_day> Ciselne(std::string_view text, std::string_view pattern,
                                      sys_days today) {
    std::array<std::string, 3> skupiny;
    std::size_t n = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (!JeCislica(text[i])) {
            if (!JeMedzera(text[i]) && text[i] != '.' && text[i] != '/' && text[i] != '-')
                return std::nullopt;
            ++i;
            continue;
        }
        if (n == skupiny.size())
            return std::nullopt;
        while (i < text.size() && JeCislica(text[i]))
            skupiny[n] += text[i++];
        ++n;
    }
    if (n != 3)
        return std::nullopt;
    for (const std::string& s : skupiny)
        if (s.size() > 4)
            return std::nullopt;
    const auto number = [](const std::string& s) { return std::stoi(s); };
    if (skupiny[0].size() == 4)
        return Platny(number(skupiny[2]), number(skupiny[1]), number(skupiny[0]), today);
    const std::size_t date = pattern.find('d'), mes = pattern.find('M');
    const bool mesiacPrvy =
        mes != std::string_view::npos && (date == std::string_view::npos || mes < date);
    const std::string& rok = skupiny[2];
    if (rok.size() != 2 && rok.size() != 4)
        return std::nullopt;
    const int r = rok.size() == 2 ? CelyRok(number(rok), today) : number(rok);
    return mesiacPrvy ? Platny(number(skupiny[1]), number(skupiny[0]), r, today)
                      : Platny(number(skupiny[0]), number(skupiny[1]), r, today);
}

} // namespace

std::optional<year_month_day> MissedDays::ReadDate(std::string_view text, std::string_view pattern,
                                                   sys_days today,
                                                   std::span<const std::string> months) {
    if (text.empty() || text.size() > 64)
        return std::nullopt;
    if (auto datum = PodlaVzoru(text, pattern, today, months))
        return datum;
    return Ciselne(text, pattern, today);
}

std::string MissedDays::IsoText(sys_days date) {
    const year_month_day datum{date};
    const auto digits = [](unsigned value, std::size_t width) {
        std::string text = std::to_string(value);
        return std::string(text.size() < width ? width - text.size() : 0, '0') + text;
    };
    return digits(static_cast<unsigned>(static_cast<int>(datum.year())), 4) + "-" +
           digits(static_cast<unsigned>(datum.month()), 2) + "-" +
           digits(static_cast<unsigned>(datum.day()), 2);
}

std::optional<year_month_day> MissedDays::LastRunFromIso(std::string_view iso, std::string_view now,
                                                         sys_days today) {
    if (iso.size() != 10 || iso[4] != '-' || iso[7] != '-')
        return std::nullopt;
    for (const std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (!JeCislica(iso[i]))
            return std::nullopt;
    const auto number = [&](std::size_t from, std::size_t count) {
        int value = 0;
        for (std::size_t i = from; i < from + count; ++i)
            value = value * 10 + (iso[i] - '0');
        return value;
    };
    const int y = number(0, 4), m = number(5, 2), d = number(8, 2);
    const auto date = Platny(d, m, y, today);
    if (!date || now.size() > 64)
        return std::nullopt;
    for (std::size_t i = 0; i < now.size();) {
        if (!JeCislica(now[i])) {
            ++i;
            continue;
        }
        std::size_t count = 0;
        int value = 0;
        for (; i < now.size() && JeCislica(now[i]); ++i, ++count)
            value = count < 4 ? value * 10 + (now[i] - '0') : -1;
        if (count > 4 || (value != d && value != m && value != y && value != y % 100))
            return std::nullopt;
    }
    return date;
}

std::vector<sys_days> MissedDays::Dni(std::optional<year_month_day> last, sys_days today) {
    std::vector<sys_days> dayList;
    if (!last || !last->ok())
        return dayList;
    sys_days od = sys_days{*last} + days{1};
    if (od < today - days{MaxDays})
        od = today - days{MaxDays};
    for (sys_days d = od; d < today; d += days{1})
        dayList.push_back(d);
    return dayList;
}

std::vector<ReminderLine> MissedDays::Build(TDayNotes& notes, std::optional<year_month_day> last,
                                            sys_days today) {
    std::vector<ReminderLine> lines;
    std::vector<std::string> errors; // the line of a bad file is enough here
    for (const sys_days date : Dni(last, today)) {
        Reminders::AddDay(notes, year_month_day{date}, Reminders::DayPrefix(date), lines, errors);
    }
    return lines;
}

} // namespace tilava
