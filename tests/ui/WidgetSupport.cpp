#include "WidgetSupport.h"

#include "core/Cp1250.h"

#include <QFile>
#include <QTest>

namespace tilava::test {

WidgetWorld::WidgetWorld(std::chrono::year_month_day today) : clock(today) {}

std::unique_ptr<TfrmMain> WidgetWorld::Start() {
    return std::make_unique<TfrmMain>(clock, hive, folder.path().toStdString(), notifier,
                                      [this] { return tray; });
}

std::unique_ptr<TfrmMain> WidgetWorld::StartShown() {
    auto w = Start();
    w->show();
    if (!QTest::qWaitForWindowExposed(w.get()))
        qFatal("the widget never appeared on the screen");
    return w;
}

QString WidgetWorld::Subor(int date, int monthNumber) const {
    return folder.filePath(QStringLiteral("%1%2.txt")
                               .arg(monthNumber, 2, 10, QLatin1Char('0'))
                               .arg(date, 2, 10, QLatin1Char('0')));
}

void WidgetWorld::WriteDay(int date, int monthNumber, const std::vector<std::string>& lines) const {
    QByteArray bytes;
    for (const auto& line : lines)
        bytes += QByteArray::fromStdString(EncodeCp1250(line)) + "\r\n";
    QFile subor(Subor(date, monthNumber));
    if (!subor.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        subor.write(bytes) != bytes.size())
        qFatal("cannot write a day file");
}

void WidgetWorld::WriteEntries(int date, int monthNumber, const std::vector<Entry>& entries) const {
    std::vector<std::string> lines{"!"};
    for (const auto& z : entries)
        lines.insert(lines.end(), {"-1", std::to_string(z.kind), std::to_string(z.rok), z.text});
    WriteDay(date, monthNumber, lines);
}

} // namespace tilava::test
