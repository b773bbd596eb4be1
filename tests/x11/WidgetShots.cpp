// Shows the main widget for the seven days of a week side by side, with reminders of every
// kind and one unreadable day file, on whatever platform Qt is given (xcb under Xvfb for
// screenshots: tests/x11/shots.sh). Usage: tilava_widget_shots YYYY-MM-DD NOTES_FOLDER
// (the date is a Monday; the folder is filled here). The widgets stay until the program is
// killed.

#include "core/Clock.h"
#include "core/Cp1250.h"
#include "platform/MemoryHive.h"
#include "ShotsSupport.h"
#include "ui/desktop/Notifier.h"
#include "ui/skin/Pictures.h"
#include "ui/windows/fMain.h"

#include <QApplication>
#include <QFile>
#include <QTextStream>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

using namespace std::chrono;

namespace {} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Tilava"));
    if (argc != 3)
        qFatal("usage: tilava_widget_shots YYYY-MM-DD NOTES_FOLDER");
    int r = 0, m = 0, d = 0;
    if (std::sscanf(argv[1], "%d-%d-%d", &r, &m, &d) != 3)
        qFatal("not a date: %s", argv[1]);
    const sys_days monday{year{r} / m / d};
    const QString folder = QString::fromLocal8Bit(argv[2]);
    tilava::InitSkinResources();

    // Monday: two notes of the same kind; Tuesday: one of each kind with carons; Wednesday:
    // nothing; Thursday (Friday's file is bad, two days are listed); the rest one birthday.
    const auto date = [&](int i) { return year_month_day{monday + days{i}}; };
    tilava::shots::WriteDay(
        folder, date(0),
        {"!", "-1", "1", "2025", "Ľudmila volá", "-1", "1", "2025", "Štvrtá schôdza"});
    tilava::shots::WriteDay(folder, date(1),
                            {"!", "-1", "1", "2025", "Šport: Ťahanie lana", "-1", "2", "1980",
                             "Ľubomír", "-1", "3", "2000", "Šťastný deň"});
    tilava::shots::WriteDay(folder, date(4),
                            {"!", "-1", "1", "2025", "ráno", "-1", "x", "2025", "večer"});
    tilava::shots::WriteDay(folder, date(5), {"!", "-1", "2", "1990", "Žofia"});
    tilava::shots::WriteDay(folder, date(6),
                            {"!", "-1", "1", "2025", "Nedeľný obed u Šimona a Ľubice"});

    tilava::shots::PrintingNotifier notifier;
    std::vector<std::unique_ptr<tilava::FixedClock>> clock;
    std::vector<std::unique_ptr<tilava::MemoryHive>> hive;
    std::vector<std::unique_ptr<tilava::TfrmMain>> windows;
    for (int i = 0; i < 7; ++i) {
        clock.push_back(std::make_unique<tilava::FixedClock>(date(i)));
        hive.push_back(std::make_unique<tilava::MemoryHive>());
        hive.back()->PutString(tilava::HiveKey::Startup, "ZelmTilavaS", "True"); // no fading
        hive.back()->PutString(tilava::HiveKey::Settings, "Dopredu", i == 3 ? "1" : "0");
        windows.push_back(std::make_unique<tilava::TfrmMain>(*clock.back(), *hive.back(),
                                                             folder.toStdString(), notifier));
        windows.back()->move(5 + i * (tilava::TfrmMain::Width + 5), 5);
        windows.back()->show();
    }
    return QApplication::exec();
}
