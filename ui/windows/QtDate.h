#pragma once

#include <QDate>

#include <chrono>

namespace tilava {

// Between the program's dates and the ones Qt shows and picks.
inline QDate NaQDate(std::chrono::sys_days den) {
    const std::chrono::year_month_day d{den};
    return QDate(static_cast<int>(d.year()), static_cast<int>(static_cast<unsigned>(d.month())),
                 static_cast<int>(static_cast<unsigned>(d.day())));
}

inline std::chrono::sys_days NaDen(QDate datum) {
    using namespace std::chrono;
    return sys_days{year{datum.year()} / datum.month() / datum.day()};
}

} // namespace tilava
