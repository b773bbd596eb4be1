// The calendar sync's settings dialog: what it writes and hands to the secret store, and what it
// refuses, keeping everything typed; the calendars it finds; that it waits for the server and
// the secret store without blocking the window thread.
#include "ControlSupport.h"
#include "WidgetSupport.h"

#include "store/uRegi.h"
#include "ui/windows/SyncSettingsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <mutex>

namespace tilava {

using test::Control;

namespace {

// What the dialog asked of the outside, recorded from whichever thread asked.
struct Calls {
    std::mutex lock;
    QStringList kept;  // "address user password" handed to the secret store
    QStringList moved; // "from -> to"
    QStringList found; // "address user password"
    QStringList made;  // home
    int forgotten = 0; // ForgetSyncListing
    bool passwordKept = false;

    void Add(QStringList& list, const std::string& text) {
        const std::lock_guard guard(lock);
        list << QString::fromStdString(text);
    }
};

SyncSettingsDialog::Services Fakes(Calls& calls, bool storeRefuses = false) {
    SyncSettingsDialog::Services s;
    s.keep = [&calls, storeRefuses](const SyncSettings& settings, const std::string& password) {
        calls.Add(calls.kept, settings.calendarUrl + ' ' + settings.user + ' ' + password);
        return ExchangeResult{!storeRefuses, storeRefuses
                                                 ? "Heslo sa neuložilo: úložisko hesiel nie je "
                                                   "dostupné (beží služba Secret Service?).\n"
                                                 : ""};
    };
    s.keptPassword = [&calls](const SyncSettings& from, const SyncSettings* to, bool& kept) {
        kept = calls.passwordKept;
        if (to)
            calls.Add(calls.moved, from.calendarUrl + " -> " + to->calendarUrl);
        return ExchangeResult{true, ""};
    };
    s.find = [&calls](const std::string& address, const std::string& user,
                      const std::string& password, const SyncSettings&) {
        calls.Add(calls.found, address + ' ' + user + ' ' + password);
        if (address.find("down") != std::string::npos)
            return SyncCalendarsFound{false, "Server down.example.org:443 neodpovedá.", {}, {}, {}};
        return SyncCalendarsFound{true,
                                  {},
                                  {{"https://cal.example.org/alice/work/", "Práca"},
                                   {"https://cal.example.org/alice/home/", "Rodina"},
                                   {"https://cal.example.org/alice/home-2/", "Rodina"}},
                                  "https://cal.example.org/alice/",
                                  {}};
    };
    s.make = [&calls](const std::string& home, const std::string&, const std::string&,
                      const SyncSettings&) {
        calls.Add(calls.made, home);
        return SyncCalendarsFound{true, {}, {{home + "tilava/", "Tilava"}}, home, {}};
    };
    s.forgetListing = [&calls] {
        ++calls.forgotten;
        return ExchangeResult{true, ""};
    };
    return s;
}

void Click(SyncSettingsDialog& dialog, const char* button) {
    QTest::mouseClick(Control<QPushButton>(dialog, button), Qt::LeftButton);
}

QString Status(SyncSettingsDialog& dialog) {
    return Control<QLabel>(dialog, "status")->text();
}

} // namespace

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
        Calls calls;
        SyncSettingsDialog dialog(regi, notifier, Fakes(calls, storeRefuses));
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
        Click(dialog, "save");
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible() || !notifier.messages.isEmpty(), 2000);

        const QString owner = address.trimmed() + ' ' + user + ' ';
        QCOMPARE(calls.kept, kept == "-" ? QStringList() : QStringList{owner + kept});
        if (message.isEmpty()) {
            QCOMPARE(notifier.messages, QStringList());
            QVERIFY(dialog.result() == QDialog::Accepted && !dialog.isVisible());
            const SyncSettings stored{address.trimmed().toStdString(), user.toStdString(),
                                      minutes.toInt(), true};
            QCOMPARE(SyncSettings::Read(regi), stored);
            QCOMPARE(hive.WriteCount(), 4); // nothing else, the password least of all
            // The yearly switch changed: the next sync reads the calendar again.
            QCOMPARE(calls.forgotten, stored.Configured() ? 1 : 0);
            return;
        }
        QCOMPARE(notifier.messages.size(), 1);
        QVERIFY2(notifier.messages[0].startsWith(message) &&
                     notifier.messages[0].endsWith("Nastavenia synchronizácie zostali, ako boli."),
                 qPrintable(notifier.messages[0]));
        QCOMPARE(hive.WriteCount(), 0);
        QCOMPARE(calls.forgotten, 0);
        QVERIFY(dialog.isVisible());
        QCOMPARE(Control<QLineEdit>(dialog, "address")->text(), address);
        QCOMPARE(Control<QLineEdit>(dialog, "password")->text(), password);
    }

    void slowSecretStore_data() {
        QTest::addColumn<QString>("meanwhile"); // what the user does while the store waits
        QTest::newRow("waits") << "nothing";
        QTest::newRow("Zrušiť") << "cancel";
        QTest::newRow("Esc") << "escape";
        QTest::newRow("the dialog destroyed") << "destroy";
    }
    // A secret store that keeps the user waiting (a keyring prompt) blocks nothing: the dialog
    // says it waits, its window thread runs, Zrušiť and Esc close it at once; the settings are
    // written only once the password is kept, and never after the dialog was closed.
    void slowSecretStore() {
        QFETCH(QString, meanwhile);
        MemoryHive hive;
        TRegi regi(hive);
        test::RecordingNotifier notifier;
        Calls calls;
        SyncSettingsDialog::Services services = Fakes(calls);
        std::promise<void> release;
        std::shared_future<void> released = release.get_future().share();
        auto returned = std::make_shared<std::atomic<bool>>(false);
        services.keep = [released, returned](const SyncSettings&, const std::string&) {
            // (a dialog that blocked its window thread here would fail, not hang, the test)
            released.wait_for(std::chrono::seconds(3));
            returned->store(true);
            return ExchangeResult{true, ""};
        };
        auto dialog = std::make_unique<SyncSettingsDialog>(regi, notifier, services);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        Control<QLineEdit>(*dialog, "address")->setText("https://cal.example.org/a/");
        Control<QLineEdit>(*dialog, "user")->setText("alice");
        Control<QLineEdit>(*dialog, "password")->setText("tajné");
        Click(*dialog, "save");

        bool ticked = false;
        QTimer::singleShot(10, dialog.get(), [&ticked] { ticked = true; });
        QTest::qWait(100);
        QVERIFY(ticked);
        QVERIFY(!returned->load());
        QCOMPARE(Status(*dialog), QStringLiteral("Ukladá sa heslo…"));
        QVERIFY(dialog->isVisible());
        QVERIFY(!Control<QPushButton>(*dialog, "save")->isEnabled());
        QVERIFY(Control<QPushButton>(*dialog, "cancel")->isEnabled());
        QCOMPARE(hive.WriteCount(), 0);

        if (meanwhile == "cancel")
            Click(*dialog, "cancel");
        else if (meanwhile == "escape")
            QTest::keyClick(dialog.get(), Qt::Key_Escape);
        else if (meanwhile == "destroy")
            dialog.reset();
        if (dialog && meanwhile != "nothing")
            QVERIFY(!dialog->isVisible() && dialog->result() == QDialog::Rejected);
        release.set_value();
        QTRY_VERIFY_WITH_TIMEOUT(returned->load(), 2000);
        QTest::qWait(50); // the worker's end reaches the window thread
        if (meanwhile == "nothing") {
            QTRY_VERIFY_WITH_TIMEOUT(!dialog->isVisible(), 2000);
            QCOMPARE(dialog->result(), int(QDialog::Accepted));
            QCOMPARE(SyncSettings::Read(regi).user, std::string("alice"));
        } else {
            QCOMPARE(hive.WriteCount(), 0);
        }
        QCOMPARE(notifier.messages, QStringList());
    }

    void findCalendars_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("pick");   // the item picked; empty: the one offered first
        QTest::addColumn<QString>("stored"); // SyncCalendar saved
        QTest::addColumn<QString>("made");   // the home a calendar was made in
        QTest::addColumn<QString>("status"); // its start, after the search
        const QString found = "Nájdené kalendáre: 3.";
        QTest::newRow("the first found") << "cal.example.org"
                                         << ""
                                         << "https://cal.example.org/alice/work/"
                                         << "" << found;
        QTest::newRow("another picked") << "cal.example.org"
                                        << "Rodina (home)"
                                        << "https://cal.example.org/alice/home/"
                                        << "" << found;
        QTest::newRow("a new calendar") << "cal.example.org"
                                        << "Nový kalendár „Tilava“"
                                        << "https://cal.example.org/alice/tilava/"
                                        << "https://cal.example.org/alice/" << found;
        QTest::newRow("the server does not answer") << "down.example.org"
                                                    << ""
                                                    << ""
                                                    << ""
                                                    << "Server down.example.org:443 neodpovedá.";
    }
    // "Nájsť kalendáre" lists the account's calendars by name off the window thread; the one
    // picked, or the one made, is the calendar saved. A failed search says why and saves nothing
    // that is not a calendar address.
    void findCalendars() {
        QFETCH(QString, address);
        QFETCH(QString, pick);
        QFETCH(QString, stored);
        QFETCH(QString, made);
        QFETCH(QString, status);
        MemoryHive hive;
        TRegi regi(hive);
        test::RecordingNotifier notifier;
        Calls calls;
        SyncSettingsDialog dialog(regi, notifier, Fakes(calls));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        test::TypeText(Control<QLineEdit>(dialog, "address"), address);
        Control<QLineEdit>(dialog, "user")->setText("alice");
        Control<QLineEdit>(dialog, "password")->setText("tajné");
        Click(dialog, "find");
        QTRY_VERIFY_WITH_TIMEOUT(Control<QPushButton>(dialog, "find")->isEnabled(), 2000);
        QCOMPARE(calls.found, QStringList{address + " alice tajné"});
        QVERIFY2(Status(dialog).startsWith(status), qPrintable(Status(dialog)));
        auto* calendar = Control<QComboBox>(dialog, "calendar");
        if (stored.isEmpty()) {
            QVERIFY(!calendar->isEnabled());
            Click(dialog, "save");
            QCOMPARE(notifier.messages.size(), 1); // a server's name is no calendar
            QCOMPARE(hive.WriteCount(), 0);
            return;
        }
        QStringList items;
        for (int i = 0; i < calendar->count(); ++i)
            items << calendar->itemText(i);
        QCOMPARE(items, (QStringList{"Práca", "Rodina (home)", "Rodina (home-2)",
                                     "Nový kalendár „Tilava“"}));
        if (!pick.isEmpty())
            calendar->setCurrentIndex(calendar->findText(pick));
        Click(dialog, "save");
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), 2000);
        QCOMPARE(notifier.messages, QStringList());
        QCOMPARE(QString::fromStdString(SyncSettings::Read(regi).calendarUrl), stored);
        QCOMPARE(calls.made, made.isEmpty() ? QStringList() : QStringList{made});
        // The password belongs to the calendar saved.
        QCOMPARE(calls.kept, QStringList{stored + " alice tajné"});
    }

    // A password kept shows as the placeholder; correcting only the address moves it to the new
    // address; the interval reads "vypnuté" or its minutes; the dialog cannot be maximised.
    void keptPassword_data() {
        QTest::addColumn<bool>("passwordKept");
        QTest::addColumn<QString>("address"); // typed over the stored one
        QTest::addColumn<QString>("moved");   // "" when nothing is moved
        const QString old = "https://cal.example.org/a/";
        QTest::newRow("kept, the address corrected")
            << true << "https://cal.example.org/b/" << old + " -> https://cal.example.org/b/";
        QTest::newRow("kept, nothing changed") << true << old << "";
        QTest::newRow("none kept")
            << false << "https://cal.example.org/b/" << old + " -> https://cal.example.org/b/";
    }
    void keptPassword() {
        QFETCH(bool, passwordKept);
        QFETCH(QString, address);
        QFETCH(QString, moved);
        MemoryHive hive;
        TRegi regi(hive);
        SyncSettings{"https://cal.example.org/a/", "alice", 30, false}.Write(regi);
        test::RecordingNotifier notifier;
        Calls calls;
        calls.passwordKept = passwordKept;
        SyncSettingsDialog dialog(regi, notifier, Fakes(calls));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QVERIFY(!(dialog.windowFlags() & Qt::WindowMaximizeButtonHint));
        auto* every = Control<QSpinBox>(dialog, "every");
        QCOMPARE(every->text(), QStringLiteral("30 min"));
        every->setValue(0);
        QCOMPARE(every->text(), QStringLiteral("vypnuté"));
        auto* password = Control<QLineEdit>(dialog, "password");
        if (passwordKept)
            QTRY_COMPARE_WITH_TIMEOUT(password->placeholderText(),
                                      QStringLiteral("ponechá uložené heslo"), 2000);
        else {
            QTest::qWait(50);
            QCOMPARE(password->placeholderText(), QString());
        }
        Control<QLineEdit>(dialog, "address")->setText(address);
        Click(dialog, "save");
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), 2000);
        QCOMPARE(calls.moved, moved.isEmpty() ? QStringList() : QStringList{moved});
        QCOMPARE(calls.kept, QStringList());
        QCOMPARE(QString::fromStdString(SyncSettings::Read(regi).calendarUrl), address);
        QCOMPARE(calls.forgotten, 0);
    }
};

} // namespace tilava

QTEST_MAIN(tilava::SyncSettingsDialogTest)
#include "SyncSettingsDialogTest.moc"
