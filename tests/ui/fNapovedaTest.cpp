#include "ControlSupport.h"
#include "WidgetSupport.h"

#include "core/Cp1250.h"
#include "ui/windows/fNapoveda.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QTextBrowser>

#include <filesystem>

namespace tilava {

using test::RecordingNotifier;

namespace {

using test::FileBytes;
using test::WriteFile;

std::filesystem::path TempPath(const QString& text) {
    return std::filesystem::path(text.toStdU16String());
}

// Makes the window active the way a user does: another window first, then this one.
void Activate(QWidget& window, QWidget& other) {
    other.show();
    other.activateWindow();
    QTRY_VERIFY_WITH_TIMEOUT(other.isActiveWindow(), 1000);
    window.show();
    window.activateWindow();
    QTRY_VERIFY_WITH_TIMEOUT(window.isActiveWindow(), 1000);
}

// The accessible objects of `iface`'s tree that say they have the focus, with their names.
void FocusedNames(QAccessibleInterface* iface, QStringList& names) {
    if (iface->state().focused)
        names << iface->text(QAccessible::Name);
    for (int i = 0; i < iface->childCount(); ++i)
        if (QAccessibleInterface* child = iface->child(i))
            FocusedNames(child, names);
}

QString Zobrazene(QWidget& window) {
    return window.findChild<QTextBrowser*>(QStringLiteral("WebBrowser1"))->toPlainText();
}

} // namespace

class fNapovedaTest : public QObject {
    Q_OBJECT

private slots:
    // The document is a real page: Windows-1250 declared, a table of contents whose every
    // link has its section, and the chapters a user looks for.
    void theDocumentIsWholeAndItsContentsLinksLead() {
        const QString html = QString::fromUtf8(TfrmNapoveda::Document());
        QVERIFY(html.contains(QStringLiteral("charset=windows-1250")));
        QSet<QString> anchors;
        for (const auto& m :
             QRegularExpression(QStringLiteral("name=\"([a-z]+)\"")).globalMatch(html))
            anchors.insert(m.captured(1));
        int links = 0;
        for (const auto& m :
             QRegularExpression(QStringLiteral("href=\"#([a-z]+)\"")).globalMatch(html)) {
            QVERIFY2(anchors.contains(m.captured(1)), qPrintable(m.captured(1)));
            ++links;
        }
        QVERIFY(links >= 8);
        QCOMPARE(anchors.size(), 8);
        for (const char* word : {"Týždenný kalendár", "Hľadanie mena", "Spustiť pri štarte PC",
                                 "Pamätať pozíciu okna", "Zvukové upozornenie", "Narodeniny"})
            QVERIFY2(html.contains(QString::fromUtf8(word)), word);
    }

    // Each activation writes Help.html anew into the notes folder (created when missing),
    // in Windows-1250 with CR LF, and the view shows what the file holds.
    void everyActivationWritesTheFileAndShowsIt() {
        QTemporaryDir tmp;
        const QString folder = tmp.filePath(QStringLiteral("Zelm Tilava/ZelmTilava"));
        const QString subor = folder + QStringLiteral("/Help.html");
        RecordingNotifier notifier;
        TfrmNapoveda window(TempPath(folder), notifier);
        QWidget other;
        Activate(window, other);
        QCOMPARE(window.windowTitle(), QStringLiteral("Nápoveda"));
        QCOMPARE(window.size(), QSize(675, 596));
        QVERIFY(notifier.messages.isEmpty());
        QVERIFY(window.FromFile());

        const QByteArray bytes = FileBytes(subor);
        QVERIFY(bytes.contains("charset=windows-1250"));
        QCOMPARE(bytes.count("\n"), bytes.count("\r\n"));
        QVERIFY(bytes.endsWith("\r\n"));
        QVERIFY(bytes.contains("T\xFD\x9E"
                               "denn\xFD")); // "Týždenný" in Windows-1250
        const QString text = QString::fromStdString(DecodeCp1250(bytes.toStdString()));
        QCOMPARE(window.ShownText(), text); // the view took the file's text
        QString back = text;
        back.remove(QLatin1Char('\r'));
        QCOMPARE(back, QString::fromUtf8(TfrmNapoveda::Document()));
        QVERIFY(Zobrazene(window).contains(QStringLiteral("Týždenný kalendár")));

        WriteFile(subor, "<html><body>zmenené rukou</body></html>");
        Activate(window, other);
        QCOMPARE(FileBytes(subor), bytes);
        QVERIFY(QDir(folder).entryList(QDir::Files | QDir::Hidden) ==
                QStringList{QStringLiteral("Help.html")});
    }

    // Assistive technology finds the focus on the help text itself, by its name, and reads the
    // document's plain text (no internal marker characters of its tables) with the view's own
    // offsets: a line by an offset, and a character by its place on the screen.
    void assistiveTechnologyReadsThePlainTextWhereTheFocusIs() {
        QTemporaryDir tmp;
        RecordingNotifier notifier;
        TfrmNapoveda window(TempPath(tmp.filePath(QStringLiteral("ZelmTilava"))), notifier);
        QWidget other;
        Activate(window, other);
        auto* view = window.findChild<QTextBrowser*>(QStringLiteral("WebBrowser1"));
        QCOMPARE(QApplication::focusWidget(), view);
        QStringList focused;
        FocusedNames(QAccessible::queryAccessibleInterface(&window), focused);
        QCOMPARE(focused, QStringList{QStringLiteral("Nápoveda")});

        QAccessibleTextInterface* text =
            QAccessible::queryAccessibleInterface(view)->textInterface();
        QVERIFY(text);
        const QString all = text->text(0, text->characterCount());
        QVERIFY(all.contains(QStringLiteral("Týždenný kalendár")));
        for (const char16_t marker : {u'\uFDD0', u'\uFDD1', u'\u2029'})
            QVERIFY2(!all.contains(QChar(marker)), qPrintable(QString::number(marker, 16)));
        QCOMPARE(all, view->document()->toPlainText());

        const int at = all.indexOf(QStringLiteral("Týždenný kalendár"));
        int start = 0;
        int end = 0;
        const QString line = text->textAtOffset(at + 3, QAccessible::LineBoundary, &start, &end);
        QVERIFY2(line.contains(QStringLiteral("Týždenný kalendár")), qPrintable(line));
        QCOMPARE(all.mid(start, end - start), line);
        const QRect place = text->characterRect(at);
        QVERIFY(view->viewport()->rect().contains(view->viewport()->mapFromGlobal(place.center())));
        QCOMPARE(text->offsetAtPoint(QPoint(place.left() + 1, place.center().y())), at);
    }

    // Shown, the window has its document at once, before any window system activates it.
    void aShownWindowFillsItselfBeforeActivation() {
        QTemporaryDir tmp;
        RecordingNotifier notifier;
        TfrmNapoveda window(TempPath(tmp.filePath(QStringLiteral("ZelmTilava"))), notifier);
        window.show();
        QVERIFY(!window.isActiveWindow());
        QVERIFY(Zobrazene(window).contains(QStringLiteral("Týždenný kalendár")));
        QVERIFY(window.FromFile());
    }

    // A file that cannot be written: the user learns which file and why, once, and reads the
    // document from memory; a later successful write shows the file again.
    void aFileThatCannotBeWrittenIsReported_data() {
        QTest::addColumn<QString>("obstacle");
        QTest::newRow("a file where the folder should be") << "folder-is-a-file";
        QTest::newRow("a folder named Help.html") << "help-is-a-folder";
        QTest::newRow("a read-only folder") << "read-only";
    }
    void aFileThatCannotBeWrittenIsReported() {
        QFETCH(QString, obstacle);
        QTemporaryDir tmp;
        const QString folder = tmp.filePath(QStringLiteral("ZelmTilava"));
        const QString subor = folder + QStringLiteral("/Help.html");
        if (obstacle == QLatin1String("folder-is-a-file")) {
            WriteFile(folder, "nie priečinok");
        } else if (obstacle == QLatin1String("help-is-a-folder")) {
            QVERIFY(QDir().mkpath(subor + QStringLiteral("/vnútri")));
        } else {
            QVERIFY(QDir().mkpath(folder));
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
            QFile trial(folder + QStringLiteral("/skuska"));
            if (trial.open(QIODevice::WriteOnly)) {
                trial.remove();
                QFile::setPermissions(folder,
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
                QSKIP("this user writes into read-only folders");
            }
        }
        RecordingNotifier notifier;
        TfrmNapoveda window(TempPath(folder), notifier);
        QWidget other;
        Activate(window, other);
        QCOMPARE(notifier.messages.size(), 1);
        const QString message = notifier.messages[0];
        QVERIFY2(message.contains(QDir::toNativeSeparators(subor)) || message.contains(subor),
                 qPrintable(message));
        QVERIFY2(message.contains(QStringLiteral("sa nedá zapísať: ")), qPrintable(message));
        QVERIFY(!window.FromFile());
        QVERIFY(Zobrazene(window).contains(QStringLiteral("Týždenný kalendár")));
        Activate(window, other);
        QCOMPARE(notifier.messages.size(), 1);

        // The obstacle removed, the next activation writes and shows the file.
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (QFileInfo(folder).isFile())
            QFile::remove(folder);
        QDir(subor).removeRecursively();
        Activate(window, other);
        QCOMPARE(notifier.messages.size(), 1);
        QVERIFY(window.FromFile());
        QVERIFY(QFileInfo(subor).isFile());
    }

    // A link at Help.html (planted, or left by a tool) is replaced by the help file itself:
    // the file it led to keeps its bytes, and the help still shows from the written file.
    void aLinkAtTheHelpFileIsReplacedNotWrittenThrough() {
        QTemporaryDir tmp;
        const QString folder = tmp.filePath(QStringLiteral("ZelmTilava"));
        const QString subor = folder + QStringLiteral("/Help.html");
        const QString victim = tmp.filePath(QStringLiteral("settings.ini"));
        QVERIFY(QDir().mkpath(folder));
        WriteFile(victim, "[ZELMtilava]\nNow=1\n");
        if (!QFile::link(victim, subor))
            QSKIP("this system does not let the test make symbolic links");
        RecordingNotifier notifier;
        TfrmNapoveda window(TempPath(folder), notifier);
        QWidget other;
        Activate(window, other);
        QVERIFY2(notifier.messages.isEmpty(),
                 qPrintable(notifier.messages.join(QLatin1Char('\n'))));
        QCOMPARE(FileBytes(victim), QByteArray("[ZELMtilava]\nNow=1\n"));
        QVERIFY(!QFileInfo(subor).isSymLink());
        QVERIFY(FileBytes(subor).contains("charset=windows-1250"));
        QVERIFY(window.FromFile());
        QVERIFY(Zobrazene(window).contains(QStringLiteral("Týždenný kalendár")));
    }
};

} // namespace tilava

QTEST_MAIN(tilava::fNapovedaTest)
#include "fNapovedaTest.moc"
