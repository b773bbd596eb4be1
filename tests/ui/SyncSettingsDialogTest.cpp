// The calendar sync's settings dialog: what it writes and hands to the secret store, and what it
// refuses, keeping everything typed.
#include "ControlSupport.h"
#include "WidgetSupport.h"

#include "store/uRegi.h"
#include "ui/windows/SyncSettingsDialog.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

namespace tilava {

using test::Control;

class SyncSettingsDialogTest : public QObject {
    Q_OBJECT
private slots:
    void save_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("forget");
        QTest::addColumn<QString>("minutes"); // typed into the spin box
        QTest::addColumn<bool>("storeRefuses");
        QTest::addColumn<QString>("kept");    // handed to the secret store; "-" nothing
        QTest::addColumn<QString>("message"); // its start; none when saved
        const QString https = "https://cal.example.org/a/";
        const QString plain = "Adresa kalendára začína http://, teda bez šifrovania";
        const QString both = "Vyplňte adresu kalendára aj používateľa";
        const QString notAddress = "Adresa kalendára „";
        // 1100 letters of two bytes each: the field takes them, the stored limit is in bytes.
        const QString tooLong = "https://kalendár.sk/" + QString(1100, QChar(0x17E));
        const auto row = [](const char* name, QString address, QString user, QString password,
                            bool forget, const char* minutes, bool refuses, QString kept,
                            QString message) {
            QTest::newRow(name) << address << user << password << forget << QString(minutes)
                                << refuses << kept << message;
        };
        row("https, a password", "  https://cal.example.org/dav/ ", "alice", "tajné ž", false, "30",
            false, "tajné ž", {});
        row("loopback, an empty password keeps", "http://127.0.0.1:5232/a/", "alice", {}, false,
            "0", false, "-", {});
        row("localhost", "http://LOCALHOST:8080/dav/", "alice", {}, false, "1440", false, "-", {});
        row("IPv6 loopback", "http://[::1]:5232/a/", "alice", "p", false, "5", false, "p", {});
        row("forget the password", https, "alice", {}, true, "15", false, "", {});
        row("switched off", {}, {}, {}, false, "0", false, "-", {});
        row("http elsewhere", "http://cal.example.org/a/", "alice", "p", false, "3", false, "-",
            plain);
        row("a look-alike of loopback", "http://127.0.0.1.example.org/", "alice", "p", false, "3",
            false, "-", plain);
        row("http by number", "http://192.168.1.10/a/", "alice", "p", false, "3", false, "-",
            plain);
        row("a password in the address", "https://alice:x@cal.example.org/", "alice", {}, false,
            "3", false, "-", "Adresa kalendára nesmie obsahovať");
        row("no scheme", "cal.example.org/a/", "alice", "p", false, "3", false, "-", notAddress);
        row("ftp", "ftp://cal.example.org/a/", "alice", "p", false, "3", false, "-", notAddress);
        row("no user", https, {}, "p", false, "3", false, "-", both);
        row("no address", {}, "alice", {}, false, "3", false, "-", both);
        row("beyond the limit in bytes", tooLong, "alice", "p", false, "3", false, "-",
            "Adresa kalendára je príliš dlhá");
        row("the secret store refuses", https, "alice", "p", false, "3", true, "p",
            "Heslo sa neuložilo: úložisko hesiel nie je dostupné");
    }
    // "Uložiť" writes the four settings (never the password) once a typed password went to the
    // secret store; anything refused is told, nothing is written, and the dialog stays open
    // with everything typed.
    void save() {
        QFETCH(QString, address);
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(bool, forget);
        QFETCH(QString, minutes);
        QFETCH(bool, storeRefuses);
        QFETCH(QString, kept);
        QFETCH(QString, message);
        MemoryHive hive;
        hive.PutString(HiveKey::Settings, "SyncUser", "bob");
        TRegi regi(hive);
        test::RecordingNotifier notifier;
        QStringList handed;
        SyncSettingsDialog dialog(regi, notifier, [&](const SyncSettings& s, const std::string& p) {
            // (the password belongs to the address and user typed)
            handed << QString::fromStdString(s.calendarUrl + ' ' + s.user + ' ' + p);
            return ExchangeResult{!storeRefuses, storeRefuses
                                                     ? "Heslo sa neuložilo: úložisko hesiel nie je "
                                                       "dostupné (beží služba Secret Service?).\n"
                                                     : ""};
        });
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* every = Control<QSpinBox>(dialog, "every");
        QCOMPARE(Control<QLineEdit>(dialog, "user")->text(), QStringLiteral("bob"));
        QCOMPARE(every->text(), QStringLiteral("vypnuté"));
        QCOMPARE(every->maximum(), SyncSettings::kMostMinutes);
        QCOMPARE(Control<QLineEdit>(dialog, "user")->maxLength(), int(SyncSettings::kLongestUser));
        Control<QLineEdit>(dialog, "address")->setText(address);
        Control<QLineEdit>(dialog, "user")->setText(user);
        Control<QLineEdit>(dialog, "password")->setText(password);
        if (forget)
            QTest::mouseClick(Control<QCheckBox>(dialog, "forget"), Qt::LeftButton, {}, {5, 5});
        every->selectAll();
        QTest::keyClicks(every, minutes);
        QTest::keyClick(Control<QCheckBox>(dialog, "yearly"), Qt::Key_Space);
        QTest::mouseClick(Control<QPushButton>(dialog, "save"), Qt::LeftButton);

        const QString owner = address.trimmed() + ' ' + user + ' ';
        QCOMPARE(handed, kept == "-" ? QStringList() : QStringList{owner + kept});
        if (message.isEmpty()) {
            QCOMPARE(notifier.messages, QStringList());
            QVERIFY(dialog.result() == QDialog::Accepted && !dialog.isVisible());
            const SyncSettings stored{address.trimmed().toStdString(), user.toStdString(),
                                      minutes.toInt(), true};
            QCOMPARE(SyncSettings::Read(regi), stored);
            QCOMPARE(hive.WriteCount(), 4); // nothing else, the password least of all
            return;
        }
        QCOMPARE(notifier.messages.size(), 1);
        QVERIFY2(notifier.messages[0].startsWith(message) &&
                     notifier.messages[0].endsWith("Nastavenia synchronizácie zostali, ako boli."),
                 qPrintable(notifier.messages[0]));
        QCOMPARE(hive.WriteCount(), 0);
        QVERIFY(dialog.isVisible());
        QCOMPARE(Control<QLineEdit>(dialog, "address")->text(), address);
        QCOMPARE(Control<QLineEdit>(dialog, "password")->text(), password);
    }
};

} // namespace tilava

QTEST_MAIN(tilava::SyncSettingsDialogTest)
#include "SyncSettingsDialogTest.moc"
