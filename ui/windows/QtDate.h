#pragma once

#include <QDate>

#include <chrono>

namespace tilava {

// Between the program's dates and the ones Qt shows and picks.
inline QDate ToQDate(std::chrono::sys_days date) {
    const std::chrono::year_month_day d{date};
    return QDate(static_cast<int>(d.year()), static_cast<int>(static_cast<unsigned>(d.month())),
                 static_cast<int>(static_cast<unsigned>(d.day())));
}

inline std::chrono::sys_days ToDay(QDate datum) {
    using namespace std::chrono;
    return sys_days{year{datum.year()} / datum.month() / datum.day()};
}

} // namespace tilava
