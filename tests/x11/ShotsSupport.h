#pragma once

#include "core/Cp1250.h"
#include "ui/desktop/Notifier.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace tilava::shots {

// Prints messages, questions and notes instead of showing them; a question takes the first choice.
class PrintingNotifier final : public Notifier {
public:
    void Beep() override {}
    void Message(QWidget*, const QString& text) override {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
    int Ask(QWidget*, const QString& text, const QStringList&) override {
        std::fprintf(stderr, "question: %s\n", qPrintable(text));
        return 0;
    }
    bool Notify(QSystemTrayIcon*, const QString& text) override {
        std::fprintf(stderr, "note: %s\n", qPrintable(text));
        return true;
    }
};

// Writes the day file of `date` in `folder`: the UTF-8 lines in Windows-1250, CR LF after each.
inline void WriteDay(const QString& folder, std::chrono::year_month_day date,
                     const std::vector<std::string>& lines) {
    QByteArray bytes;
    for (const auto& line : lines)
        bytes += QByteArray::fromStdString(EncodeCp1250(line)) + "\r\n";
    QFile file(QStringLiteral("%1/%2%3.txt")
                   .arg(folder)
                   .arg(static_cast<unsigned>(date.month()), 2, 10, QLatin1Char('0'))
                   .arg(static_cast<unsigned>(date.day()), 2, 10, QLatin1Char('0')));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(file.fileName()));
}

} // namespace tilava::shots
