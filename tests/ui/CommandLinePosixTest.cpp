#include "ProgramRunSupport.h"

#include "platform/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tilava {

// The real program with its command-line options, beside a running copy (this test holds the
// single-instance claim) and without any display.
class CommandLinePosixTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void importThenExport();
    void exportTargets_data();
    void exportTargets();
    void repeatedOptionsAreEachDone();
    void reportsHoldNoControlCharacters();

private:
    using Beh = test::ProgramRun;
    Beh Spusti(const QStringList& argumenty);
    QString Cesta(const QString& meno) const { return domov_.filePath(meno); }

    QTemporaryDir domov_;
    std::optional<SingleInstance> bezi_;
};

namespace {

QByteArray Bajty(const QString& subor) {
    QFile f(subor);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

void Zapis(const QString& subor, const QByteArray& bajty) {
    QFile f(subor);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bajty);
}

const QByteArray kDen = "!\r\n-1\r\n2\r\n1980\r\nJ\xE1n Nov\xE1k\r\n";
const QByteArray kKalendar = "\xEF\xBB\xBF \r\nBEGIN:VCALENDAR\r\nX-MINE:1\r\nEND:VCALENDAR\r\n";

} // namespace

void CommandLinePosixTest::initTestCase() {
    QVERIFY(domov_.isValid());
    QVERIFY(QDir(domov_.path()).mkpath(QStringLiteral("run")));
    qputenv("XDG_RUNTIME_DIR", Cesta(QStringLiteral("run")).toLocal8Bit());
    bezi_.emplace();
    QVERIFY(bezi_->JePrva());
    ::umask(022);
}

CommandLinePosixTest::Beh CommandLinePosixTest::Spusti(const QStringList& argumenty) {
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), domov_.path());
    env.insert(QStringLiteral("XDG_DATA_HOME"), Cesta(QStringLiteral("data")));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), Cesta(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), Cesta(QStringLiteral("run")));
    for (const char* premenna : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(premenna));
    program.setProcessEnvironment(env);
    program.setWorkingDirectory(domov_.path());
    return test::RunToEnd(program, QStringLiteral(TILAVA_EXE), argumenty, 20000);
}

void CommandLinePosixTest::importThenExport() {
    QFile vcard(Cesta(QStringLiteral("kontakty.vcf")));
    QVERIFY(vcard.open(QIODevice::WriteOnly));
    vcard.write("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:J\xC3\xA1n Nov\xC3\xA1k\r\nBDAY:1980-03-05\r\n"
                "END:VCARD\r\nBEGIN:VCARD\r\nVERSION:4.0\r\nFN:Li \xE2\x98\x83\r\n"
                "BDAY:--01-01\r\nEND:VCARD\r\n");
    vcard.close();
    const QString den = Cesta(QStringLiteral("data/ZelmTilava/0305.txt"));

    // One name is refused: a failure, and the other birthday is still in its day file.
    Beh beh = Spusti({QStringLiteral("--import-vcard"), QStringLiteral("kontakty.vcf")});
    QCOMPARE(beh.code, 1);
    QVERIFY2(beh.err.contains(QStringLiteral("Ján Novák – 5. 3. 1980")), qPrintable(beh.err));
    QVERIFY2(beh.err.contains(QStringLiteral("„Li ☃“")), qPrintable(beh.err));
    QCOMPARE(Bajty(den), kDen);

    beh = Spusti({QStringLiteral("--export-ics"), QStringLiteral("Tilava.ics")});
    QCOMPARE(beh.code, 0);
    QVERIFY2(beh.out.contains(QStringLiteral("Udalosti: 1.")), qPrintable(beh.out));
    QVERIFY(beh.err.isEmpty());
    const QByteArray kalendar = Bajty(Cesta(QStringLiteral("Tilava.ics")));
    QCOMPARE(kalendar.count("BEGIN:VEVENT"), 1);
    QVERIFY(kalendar.contains("DTSTART;VALUE=DATE:19800305\r\n"));

    beh = Spusti({QStringLiteral("--import-vcard"), QStringLiteral("chyba.vcf")});
    QCOMPARE(beh.code, 1);
    QVERIFY2(beh.err.contains(QStringLiteral("neexistuje")), qPrintable(beh.err));
    QCOMPARE(Spusti({QStringLiteral("--version")}).out, QStringLiteral("Tilava 1.0.0\n"));
    QCOMPARE(Spusti({QStringLiteral("--export-ics")}).code, 2);
    QCOMPARE(Spusti({QStringLiteral("--export-ics"), QString()}).code, 2);
    beh = Spusti({QStringLiteral("--force")});
    QCOMPARE(beh.code, 2);
    QVERIFY2(beh.err.contains(QStringLiteral("--export-ics")), qPrintable(beh.err));
    QVERIFY(Spusti({QStringLiteral("--help")}).out.contains(QStringLiteral("--force")));
}

// Where an export may write. Each row prepares its target in a fresh folder "t" of the home
// folder; "victim" is the file whose bytes must survive (or be the new calendar), "shared" a
// sticky folder everyone may write, as /tmp.
void CommandLinePosixTest::exportTargets_data() {
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QStringList>("argumenty");
    QTest::addColumn<int>("kod");
    QTest::addColumn<QString>("sprava");   // in standard error
    QTest::addColumn<QString>("obet");     // the file to check afterwards
    QTest::addColumn<QByteArray>("potom"); // its bytes; "calendar": the new export
    QTest::addColumn<int>("mod");          // its permissions, or -1

    const QByteArray novy = "calendar";
    const QString odkaz = QStringLiteral("symbolický odkaz");
    const QString priecinok = QStringLiteral("kde má Tilava svoje vlastné súbory");
    QTest::newRow("link by another user in a sticky folder")
        << "foreign-link" << QStringList{QStringLiteral("t/shared/X.ics")} << 1 << odkaz
        << "t/victim.ics" << kKalendar << -1;
    QTest::newRow("link by the user in a sticky folder")
        << "own-link" << QStringList{QStringLiteral("t/shared/X.ics")} << 0 << QString()
        << "t/victim.ics" << novy << -1;
    QTest::newRow("day file, even with --force")
        << "" << QStringList{QStringLiteral("data/ZelmTilava/0305.txt"), QStringLiteral("--force")}
        << 1 << priecinok << "data/ZelmTilava/0305.txt" << kDen << -1;
    QTest::newRow("new file in the notes folder")
        << "" << QStringList{QStringLiteral("data/ZelmTilava/Tilava.ics")} << 1 << priecinok
        << "data/ZelmTilava/Tilava.ics" << QByteArray("(missing)") << -1;
    QTest::newRow("settings file, even with --force")
        << "settings"
        << QStringList{QStringLiteral("config/ZELMtilava/settings.ini"), QStringLiteral("--force")}
        << 1 << priecinok << "config/ZELMtilava/settings.ini" << QByteArray("[x]\n") << -1;
    QTest::newRow("own link into the notes folder")
        << "link-to-notes" << QStringList{QStringLiteral("t/den.ics")} << 1 << priecinok
        << "data/ZelmTilava/0305.txt" << kDen << -1;
    QTest::newRow("named pipe") << "fifo" << QStringList{QStringLiteral("t/pipe.ics")} << 1
                                << QStringLiteral("nie je obyčajný súbor") << "t/pipe.ics"
                                << QByteArray("(fifo)") << -1;
    QTest::newRow("folder") << "folder" << QStringList{QStringLiteral("t/folder.ics")} << 1
                            << QStringLiteral("nie je obyčajný súbor") << "t/folder.ics"
                            << QByteArray("(folder)") << -1;
    QTest::newRow("address book without --force")
        << "vcf" << QStringList{QStringLiteral("t/kontakty.vcf")} << 1
        << QStringLiteral("nie je to kalendár") << "t/kontakty.vcf"
        << QByteArray("BEGIN:VCARD\r\nFN:Eva\r\nEND:VCARD\r\n") << -1;
    QTest::newRow("address book with --force")
        << "vcf" << QStringList{QStringLiteral("t/kontakty.vcf"), QStringLiteral("--force")} << 0
        << QString() << "t/kontakty.vcf" << novy << 0644;
    QTest::newRow("older calendar open to all") << "ics" << QStringList{QStringLiteral("t/old.ics")}
                                                << 0 << QString() << "t/old.ics" << novy << 0644;
    QTest::newRow("new file") << "" << QStringList{QStringLiteral("t/new.ics")} << 0 << QString()
                              << "t/new.ics" << novy << 0644;
}

void CommandLinePosixTest::exportTargets() {
    QFETCH(QString, setup);
    QFETCH(QStringList, argumenty);
    QFETCH(int, kod);
    QFETCH(QString, sprava);
    QFETCH(QString, obet);
    QFETCH(QByteArray, potom);
    QFETCH(int, mod);

    QDir home(domov_.path());
    QVERIFY(QDir(Cesta(QStringLiteral("t"))).removeRecursively());
    QVERIFY(home.mkpath(QStringLiteral("t/shared")));
    QVERIFY(home.mkpath(QStringLiteral("data/ZelmTilava")));
    Zapis(Cesta(QStringLiteral("data/ZelmTilava/0305.txt")), kDen);
    QFile::remove(Cesta(QStringLiteral("data/ZelmTilava/Tilava.ics")));
    const QByteArray shared = QFile::encodeName(Cesta(QStringLiteral("t/shared")));
    QCOMPARE(::chmod(shared.constData(), 01777), 0);
    Zapis(Cesta(QStringLiteral("t/victim.ics")), kKalendar);
    const QByteArray link = QFile::encodeName(Cesta(QStringLiteral("t/shared/X.ics")));
    if (setup == QLatin1String("foreign-link") || setup == QLatin1String("own-link")) {
        QCOMPARE(::symlink("../victim.ics", link.constData()), 0);
    }
    if (setup == QLatin1String("foreign-link")) {
        if (::geteuid() != 0)
            QSKIP("only root can give a link to another user");
        const passwd* nobody = ::getpwnam("nobody");
        QVERIFY(nobody != nullptr);
        QCOMPARE(::lchown(link.constData(), nobody->pw_uid, nobody->pw_gid), 0);
    } else if (setup == QLatin1String("settings")) {
        QVERIFY(home.mkpath(QStringLiteral("config/ZELMtilava")));
        Zapis(Cesta(QStringLiteral("config/ZELMtilava/settings.ini")), "[x]\n");
    } else if (setup == QLatin1String("link-to-notes")) {
        QCOMPARE(::symlink("../data/ZelmTilava/0305.txt",
                           QFile::encodeName(Cesta(QStringLiteral("t/den.ics"))).constData()),
                 0);
    } else if (setup == QLatin1String("fifo")) {
        QCOMPARE(::mkfifo(QFile::encodeName(Cesta(QStringLiteral("t/pipe.ics"))).constData(), 0600),
                 0);
    } else if (setup == QLatin1String("folder")) {
        QVERIFY(home.mkpath(QStringLiteral("t/folder.ics")));
    } else if (setup == QLatin1String("vcf")) {
        Zapis(Cesta(QStringLiteral("t/kontakty.vcf")), "BEGIN:VCARD\r\nFN:Eva\r\nEND:VCARD\r\n");
    } else if (setup == QLatin1String("ics")) {
        Zapis(Cesta(QStringLiteral("t/old.ics")), kKalendar);
        QCOMPARE(::chmod(QFile::encodeName(Cesta(QStringLiteral("t/old.ics"))).constData(), 0666),
                 0);
    }

    argumenty.prepend(QStringLiteral("--export-ics"));
    const Beh beh = Spusti(argumenty);
    QVERIFY2(beh.code == kod, qPrintable(QString::number(beh.code) + QLatin1Char(' ') + beh.err));
    QVERIFY2(beh.err.contains(sprava), qPrintable(beh.err));
    if (kod != 0)
        QVERIFY2(beh.err.contains(QStringLiteral("nezmenený")), qPrintable(beh.err));

    const QFileInfo info(Cesta(obet));
    if (potom == "(fifo)") {
        struct stat st {};
        QCOMPARE(::lstat(QFile::encodeName(info.filePath()).constData(), &st), 0);
        QVERIFY(S_ISFIFO(st.st_mode));
    } else if (potom == "(folder)") {
        QVERIFY(info.isDir());
    } else if (potom == "calendar") {
        const QByteArray bajty = Bajty(info.filePath());
        QVERIFY2(bajty.startsWith("BEGIN:VCALENDAR\r\n") &&
                     bajty.contains("SUMMARY:Ján Novák – narodeniny"),
                 bajty.constData());
    } else {
        QCOMPARE(Bajty(info.filePath()), potom);
    }
    if (mod >= 0) {
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(info.filePath()).constData(), &st), 0);
        QCOMPARE(static_cast<int>(st.st_mode & 07777), mod);
    }
    // A followed link stays a link.
    if (setup == QLatin1String("own-link"))
        QVERIFY(QFileInfo(QString::fromLocal8Bit(link)).isSymLink());
}

// Each repeated option is done, in the order given: every import, then every export.
void CommandLinePosixTest::repeatedOptionsAreEachDone() {
    Zapis(Cesta(QStringLiteral("a.vcf")),
          "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Eva\r\nBDAY:1990-07-01\r\nEND:VCARD\r\n");
    Zapis(Cesta(QStringLiteral("b.vcf")),
          "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Peter\r\nBDAY:1985-08-02\r\nEND:VCARD\r\n");
    const Beh beh = Spusti({QStringLiteral("--export-ics"), QStringLiteral("one.ics"),
                            QStringLiteral("--import-vcard"), QStringLiteral("a.vcf"),
                            QStringLiteral("--export-ics"), QStringLiteral("two.ics"),
                            QStringLiteral("--import-vcard"), QStringLiteral("b.vcf")});
    QVERIFY2(beh.code == 0, qPrintable(beh.err));
    QCOMPARE(Bajty(Cesta(QStringLiteral("data/ZelmTilava/0701.txt"))),
             QByteArray("!\r\n-1\r\n2\r\n1990\r\nEva\r\n"));
    QCOMPARE(Bajty(Cesta(QStringLiteral("data/ZelmTilava/0802.txt"))),
             QByteArray("!\r\n-1\r\n2\r\n1985\r\nPeter\r\n"));
    for (const char* subor : {"one.ics", "two.ics"}) {
        const QByteArray kalendar = Bajty(Cesta(QString::fromLatin1(subor)));
        QVERIFY2(kalendar.contains("SUMMARY:Eva – narodeniny") &&
                     kalendar.contains("SUMMARY:Peter – narodeniny"),
                 subor);
    }
    QCOMPARE(beh.out.count(QStringLiteral("Kalendár sa uložil")), 2);
}

// Names from a vCard file and file names from the command line reach the report: the terminal
// gets no control character from them (only line ends), and a failure goes to standard error.
void CommandLinePosixTest::reportsHoldNoControlCharacters() {
    Zapis(Cesta(QStringLiteral("zle.vcf")),
          "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Eva\x1B]0;owned\x07\xC2\x9B\r\n"
          "BDAY:1990-09-09\r\nEND:VCARD\r\n");
    const QStringList behy[] = {
        {QStringLiteral("--import-vcard"), QStringLiteral("zle.vcf")},
        {QStringLiteral("--import-vcard"), QString::fromUtf8("chýba\x1B[2J\x07.vcf")},
        {QStringLiteral("--export-ics"), QString::fromUtf8("chýba\x1B[2J/x.ics")},
        {QStringLiteral("--export-ics"), QStringLiteral("x.ics"), QString::fromUtf8("na\x1B[2J")},
    };
    for (const QStringList& argumenty : behy) {
        const Beh beh = Spusti(argumenty);
        const QString text = beh.out + beh.err;
        QVERIFY2(!text.isEmpty(), qPrintable(argumenty.join(QLatin1Char(' '))));
        for (const QChar znak : text) {
            const bool riadiaci = (znak.unicode() < 0x20 && znak != QLatin1Char('\n')) ||
                                  (znak.unicode() >= 0x7F && znak.unicode() <= 0x9F);
            QVERIFY2(!riadiaci, qPrintable(QStringLiteral("U+%1 in: %2")
                                               .arg(znak.unicode(), 4, 16, QLatin1Char('0'))
                                               .arg(text)));
        }
        if (beh.code != 0)
            QVERIFY2(beh.out.isEmpty(), qPrintable(beh.out));
    }
}

} // namespace tilava

QTEST_GUILESS_MAIN(tilava::CommandLinePosixTest)
#include "CommandLinePosixTest.moc"
