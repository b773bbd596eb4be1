// The open week window while the calendar sync changes the day files under it.
#include "ControlSupport.h"
#include "ModalSupport.h"
#include "WidgetSupport.h"

#include "core/uRok.h"
#include "exchange/sync/SyncState.h"
#include "platform/SyncStateFolder.h"
#include "store/uRegi.h"
#include "ui/desktop/NotesFolderWatch.h"
#include "ui/desktop/PageOpener.h"
#include "ui/skin/Pictures.h"
#include "ui/windows/fTyzden.h"
#include "ui/windows/fUdalost.h"
#include "ui/windows/OtvorKalendar.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <fstream>

using namespace std::chrono;

namespace tilava {

namespace {

class NoPages final : public PageOpener {
public:
    bool Open(const QUrl&) override { return false; }
};

// The sync rewrites its state after it changed day files.
void SyncStateWritten(const std::filesystem::path& state) {
    std::ofstream(state) << "state\n";
    std::filesystem::last_write_time(state, std::filesystem::last_write_time(state) + 2s);
}

} // namespace

class WeekSyncTest : public QObject {
    Q_OBJECT
    QTemporaryDir config_;

private slots:
    void initTestCase() {
        InitSkinResources();
        qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit());
    }

    // The user adds a birthday to Wednesday; before the window is closed, a sync deletes the
    // day's file and later brings an entry of the phone. Both show at once, each told once
    // naming the day and the sync, and closing saves the user's birthday beside the phone's.
    void anUnsavedEditOutlivesTheSyncDeletingItsDay() {
        test::WidgetWorld world(2024y / 3 / 13);
        world.WriteEntries(13, 3, {{2, 1990, "Jano"}, {1, 2024, "Zubár"}});
        const std::optional<std::filesystem::path> stateFolder = SyncStateFolder();
        QVERIFY(stateFolder);
        const std::filesystem::path state = *stateFolder / kSyncStateName;
        SyncStateWritten(state);
        TRok rok;
        rok.Naplnit();
        TRegi regi(world.hive);
        NoPages web;
        NotesFolderWatch watch(world.folder.path(), nullptr, milliseconds{100});

        bool started = false;
        QTimer waiting;
        waiting.setInterval(5);
        connect(&waiting, &QTimer::timeout, this, [&] {
            auto* window = qobject_cast<TfrmTyzden*>(QApplication::activeModalWidget());
            if (started || !window || window->Zaneprazdneny || !window->isActiveWindow())
                return;
            started = true;
            waiting.stop();
            QListWidget* wednesday = window->DayList(3);
            // A click below the day's entries adds one: "Ľubica", a birthday of 1980.
            bool editorSeen = false;
            test::WhenActive<TfrmUdalost>(
                [](TfrmUdalost& e) {
                    test::TypeText(e.findChild<QLineEdit*>(QStringLiteral("txtNar")),
                                   QStringLiteral("Ľubica"));
                    QTest::keyClick(e.focusWidget(), Qt::Key_Return);
                    QTest::keyClick(e.focusWidget(), Qt::Key_Return);
                },
                &editorSeen);
            QTest::mouseClick(wednesday->viewport(), Qt::LeftButton, {},
                              QPoint(20, wednesday->viewport()->height() - 4));
            QVERIFY(editorSeen);
            QCOMPARE(wednesday->count(), 3);

            QVERIFY(QFile::remove(world.Subor(13, 3)));
            SyncStateWritten(state);
            QTRY_COMPARE_WITH_TIMEOUT(wednesday->count(), 1, 5000);
            QCOMPARE(wednesday->item(0)->text(), QStringLiteral("Ľubica 44. narodeniny"));
            QCOMPARE(world.notifier.messages.size(), 1);
            QVERIFY2(world.notifier.messages[0].startsWith(
                         QStringLiteral("Záznamy dňa 13. marca medzitým odstránila "
                                        "synchronizácia s kalendárom.")),
                     qPrintable(world.notifier.messages[0]));

            world.WriteEntries(13, 3, {{2, 1970, "Fero"}});
            SyncStateWritten(state);
            QTRY_COMPARE_WITH_TIMEOUT(wednesday->count(), 2, 5000);
            QCOMPARE(wednesday->item(1)->text(), QStringLiteral("Fero 54. narodeniny"));
            QCOMPARE(world.notifier.messages.size(), 2);
            QVERIFY(world.notifier.messages[1].contains(QStringLiteral("13. marca")));
            QVERIFY(!world.notifier.messages[1].contains(QStringLiteral(".txt")));
            window->Close();
        });
        waiting.start();
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, this, [] {
            while (QWidget* w = QApplication::activeModalWidget())
                w->close();
        });
        guard.start(15000);
        OtvorKalendar(rok, regi, world.folder.path().toStdString(), world.clock, world.notifier,
                      web, nullptr, &watch);
        QVERIFY2(started, "the week window never took commands");

        QVERIFY2(world.notifier.questions.isEmpty(), "the save went through without a question");
        QCOMPARE(test::FileBytes(world.Subor(13, 3)),
                 QByteArray("!\r\n-1\r\n2\r\n1980\r\n\xBC"
                            "ubica\r\n-1\r\n2\r\n1970\r\nFero\r\n"));
        QCOMPARE(world.notifier.messages.size(), 2);
    }
};

} // namespace tilava

QTEST_MAIN(tilava::WeekSyncTest)
#include "WeekSyncTest.moc"
