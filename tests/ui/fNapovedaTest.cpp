#include "WidgetSupport.h"

#include "core/Cp1250.h"
#include "ui/windows/fNapoveda.h"

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

QByteArray Bajty(const QString& subor) {
    QFile f(subor);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Zapis(const QString& subor, const QByteArray& bajty) {
    QFile f(subor);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bajty);
}

std::filesystem::path Cesta(const QString& text) {
    return std::filesystem::path(text.toStdU16String());
}

// Makes the window active the way a user does: another window first, then this one.
void Aktivuj(QWidget& okno, QWidget& iny) {
    iny.show();
    iny.activateWindow();
    QTRY_VERIFY_WITH_TIMEOUT(iny.isActiveWindow(), 1000);
    okno.show();
    okno.activateWindow();
    QTRY_VERIFY_WITH_TIMEOUT(okno.isActiveWindow(), 1000);
}

QString Zobrazene(QWidget& okno) {
    return okno.findChild<QTextBrowser*>(QStringLiteral("WebBrowser1"))->toPlainText();
}

} // namespace

class fNapovedaTest : public QObject {
    Q_OBJECT

private slots:
    // The document is a real page: Windows-1250 declared, a table of contents whose every
    // link has its section, and the chapters a user looks for.
    void theDocumentIsWholeAndItsContentsLinksLead() {
        const QString html = QString::fromUtf8(TfrmNapoveda::Dokument());
        QVERIFY(html.contains(QStringLiteral("charset=windows-1250")));
        QSet<QString> kotvy;
        for (const auto& m :
             QRegularExpression(QStringLiteral("name=\"([a-z]+)\"")).globalMatch(html))
            kotvy.insert(m.captured(1));
        int odkazy = 0;
        for (const auto& m :
             QRegularExpression(QStringLiteral("href=\"#([a-z]+)\"")).globalMatch(html)) {
            QVERIFY2(kotvy.contains(m.captured(1)), qPrintable(m.captured(1)));
            ++odkazy;
        }
        QVERIFY(odkazy >= 8);
        QCOMPARE(kotvy.size(), 8);
        for (const char* slovo : {"Týždenný kalendár", "Hľadanie mena", "Spustiť pri štarte PC",
                                  "Pamätať pozíciu okna", "Zvukové upozornenie", "Narodeniny"})
            QVERIFY2(html.contains(QString::fromUtf8(slovo)), slovo);
    }

    // Each activation writes Help.html anew into the notes folder (created when missing),
    // in Windows-1250 with CR LF, and the view shows what the file holds.
    void everyActivationWritesTheFileAndShowsIt() {
        QTemporaryDir tmp;
        const QString priecinok = tmp.filePath(QStringLiteral("Zelm Tilava/ZelmTilava"));
        const QString subor = priecinok + QStringLiteral("/Help.html");
        RecordingNotifier oznamy;
        TfrmNapoveda okno(Cesta(priecinok), oznamy);
        QWidget iny;
        Aktivuj(okno, iny);
        QCOMPARE(okno.windowTitle(), QStringLiteral("Nápoveda"));
        QCOMPARE(okno.size(), QSize(675, 596));
        QVERIFY(oznamy.messages.isEmpty());
        QVERIFY(okno.ZoSuboru());

        const QByteArray bajty = Bajty(subor);
        QVERIFY(bajty.contains("charset=windows-1250"));
        QCOMPARE(bajty.count("\n"), bajty.count("\r\n"));
        QVERIFY(bajty.endsWith("\r\n"));
        QVERIFY(bajty.contains("T\xFD\x9E"
                               "denn\xFD")); // "Týždenný" in Windows-1250
        const QString text = QString::fromStdString(DecodeCp1250(bajty.toStdString()));
        QCOMPARE(okno.ZobrazenyText(), text); // the view took the file's text
        QString spat = text;
        spat.remove(QLatin1Char('\r'));
        QCOMPARE(spat, QString::fromUtf8(TfrmNapoveda::Dokument()));
        QVERIFY(Zobrazene(okno).contains(QStringLiteral("Týždenný kalendár")));

        Zapis(subor, "<html><body>zmenené rukou</body></html>");
        Aktivuj(okno, iny);
        QCOMPARE(Bajty(subor), bajty);
        QVERIFY(QDir(priecinok).entryList(QDir::Files | QDir::Hidden) ==
                QStringList{QStringLiteral("Help.html")});
    }

    // Shown, the window has its document at once, before any window system activates it.
    void aShownWindowFillsItselfBeforeActivation() {
        QTemporaryDir tmp;
        RecordingNotifier oznamy;
        TfrmNapoveda okno(Cesta(tmp.filePath(QStringLiteral("ZelmTilava"))), oznamy);
        okno.show();
        QVERIFY(!okno.isActiveWindow());
        QVERIFY(Zobrazene(okno).contains(QStringLiteral("Týždenný kalendár")));
        QVERIFY(okno.ZoSuboru());
    }

    // A file that cannot be written: the user learns which file and why, once, and reads the
    // document from memory; a later successful write shows the file again.
    void aFileThatCannotBeWrittenIsReported_data() {
        QTest::addColumn<QString>("prekazka");
        QTest::newRow("a file where the folder should be") << "folder-is-a-file";
        QTest::newRow("a folder named Help.html") << "help-is-a-folder";
        QTest::newRow("a read-only folder") << "read-only";
    }
    void aFileThatCannotBeWrittenIsReported() {
        QFETCH(QString, prekazka);
        QTemporaryDir tmp;
        const QString priecinok = tmp.filePath(QStringLiteral("ZelmTilava"));
        const QString subor = priecinok + QStringLiteral("/Help.html");
        if (prekazka == QLatin1String("folder-is-a-file")) {
            Zapis(priecinok, "nie priečinok");
        } else if (prekazka == QLatin1String("help-is-a-folder")) {
            QVERIFY(QDir().mkpath(subor + QStringLiteral("/vnútri")));
        } else {
            QVERIFY(QDir().mkpath(priecinok));
            QFile::setPermissions(priecinok, QFile::ReadOwner | QFile::ExeOwner);
            QFile skuska(priecinok + QStringLiteral("/skuska"));
            if (skuska.open(QIODevice::WriteOnly)) {
                skuska.remove();
                QFile::setPermissions(priecinok,
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
                QSKIP("this user writes into read-only folders");
            }
        }
        RecordingNotifier oznamy;
        TfrmNapoveda okno(Cesta(priecinok), oznamy);
        QWidget iny;
        Aktivuj(okno, iny);
        QCOMPARE(oznamy.messages.size(), 1);
        const QString sprava = oznamy.messages[0];
        QVERIFY2(sprava.contains(QDir::toNativeSeparators(subor)) || sprava.contains(subor),
                 qPrintable(sprava));
        QVERIFY2(sprava.contains(QStringLiteral("sa nedá zapísať: ")), qPrintable(sprava));
        QVERIFY(!okno.ZoSuboru());
        QVERIFY(Zobrazene(okno).contains(QStringLiteral("Týždenný kalendár")));
        Aktivuj(okno, iny);
        QCOMPARE(oznamy.messages.size(), 1);

        // The obstacle removed, the next activation writes and shows the file.
        QFile::setPermissions(priecinok, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (QFileInfo(priecinok).isFile())
            QFile::remove(priecinok);
        QDir(subor).removeRecursively();
        Aktivuj(okno, iny);
        QCOMPARE(oznamy.messages.size(), 1);
        QVERIFY(okno.ZoSuboru());
        QVERIFY(QFileInfo(subor).isFile());
    }

    // A link at Help.html (planted, or left by a tool) is replaced by the help file itself:
    // the file it led to keeps its bytes, and the help still shows from the written file.
    void aLinkAtTheHelpFileIsReplacedNotWrittenThrough() {
        QTemporaryDir tmp;
        const QString priecinok = tmp.filePath(QStringLiteral("ZelmTilava"));
        const QString subor = priecinok + QStringLiteral("/Help.html");
        const QString obet = tmp.filePath(QStringLiteral("settings.ini"));
        QVERIFY(QDir().mkpath(priecinok));
        Zapis(obet, "[ZELMtilava]\nNow=1\n");
        if (!QFile::link(obet, subor))
            QSKIP("this system does not let the test make symbolic links");
        RecordingNotifier oznamy;
        TfrmNapoveda okno(Cesta(priecinok), oznamy);
        QWidget iny;
        Aktivuj(okno, iny);
        QVERIFY2(oznamy.messages.isEmpty(), qPrintable(oznamy.messages.join(QLatin1Char('\n'))));
        QCOMPARE(Bajty(obet), QByteArray("[ZELMtilava]\nNow=1\n"));
        QVERIFY(!QFileInfo(subor).isSymLink());
        QVERIFY(Bajty(subor).contains("charset=windows-1250"));
        QVERIFY(okno.ZoSuboru());
        QVERIFY(Zobrazene(okno).contains(QStringLiteral("Týždenný kalendár")));
    }
};

} // namespace tilava

QTEST_MAIN(tilava::fNapovedaTest)
#include "fNapovedaTest.moc"
