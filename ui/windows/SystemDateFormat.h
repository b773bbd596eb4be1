#pragma once

#include "model/LocalDateFormat.h"
#include "ui/windows/QtDate.h"

#include <QLocale>

#include <chrono>
#include <string>
#include <vector>

namespace tilava {

// The user's date format from the system's locale.
class SystemDateFormat final : public LocalDateFormat {
public:
    std::string ShortDate(std::chrono::sys_days day) const override {
        return QLocale::system().toString(ToQDate(day), QLocale::ShortFormat).toStdString();
    }
    std::string ShortPattern() const override {
        return QLocale::system().dateFormat(QLocale::ShortFormat).toStdString();
    }
    std::vector<std::string> MonthNames() const override {
        const QLocale locale = QLocale::system();
        std::vector<std::string> months;
        for (const auto format : {QLocale::ShortFormat, QLocale::LongFormat})
            for (int i = 1; i <= 12; ++i)
                months.push_back(locale.monthName(i, format).toStdString());
        return months;
    }
};

} // namespace tilava
