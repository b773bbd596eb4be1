#include "ControlSupport.h"
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
    void outcomes_data();
    void outcomes();

private:
    using ScrollRun = test::ProgramRun;
    ScrollRun Run(const QStringList& arguments, const QStringList& environment = {},
                  const QString& outputFile = {});
    QString TempPath(const QString& meno) const { return home_.filePath(meno); }

    QTemporaryDir home_;
    std::optional<SingleInstance> running_;
};

namespace {

using test::FileBytes;
using test::WriteFile;

const QByteArray kDay = "!\r\n-1\r\n2\r\n1980\r\nJ\xE1n Nov\xE1k\r\n";
const QByteArray kCalendar = "\xEF\xBB\xBF \r\nBEGIN:VCALENDAR\r\nX-MINE:1\r\nEND:VCALENDAR\r\n";

} // namespace

void CommandLinePosixTest::initTestCase() {
    QVERIFY(home_.isValid());
    QVERIFY(QDir(home_.path()).mkpath(QStringLiteral("run")));
    QCOMPARE(::chmod(QFile::encodeName(TempPath(QStringLiteral("run"))).constData(), 0700), 0);
    qputenv("XDG_RUNTIME_DIR", TempPath(QStringLiteral("run")).toLocal8Bit());
    running_.emplace();
    QVERIFY(running_->IsFirst());
    ::umask(022);
}

// The program runs without a display unless `environment` (NAME=VALUE) gives one.
CommandLinePosixTest::ScrollRun CommandLinePosixTest::Run(const QStringList& arguments,
                                                          const QStringList& environment,
                                                          const QString& outputFile) {
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home_.path());
    env.insert(QStringLiteral("XDG_DATA_HOME"), TempPath(QStringLiteral("data")));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), TempPath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), TempPath(QStringLiteral("run")));
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(variable));
    for (const QString& setting : environment)
        env.insert(setting.section(QLatin1Char('='), 0, 0), setting.section(QLatin1Char('='), 1));
    program.setProcessEnvironment(env);
    if (!outputFile.isEmpty())
        program.setStandardOutputFile(outputFile);
    program.setWorkingDirectory(home_.path());
    return test::RunToEnd(program, QStringLiteral(TILAVA_EXE), arguments, 20000);
}

void CommandLinePosixTest::importThenExport() {
    QFile vcard(TempPath(QStringLiteral("kontakty.vcf")));
    QVERIFY(vcard.open(QIODevice::WriteOnly));
    vcard.write("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:J\xC3\xA1n Nov\xC3\xA1k\r\nBDAY:1980-03-05\r\n"
                "END:VCARD\r\nBEGIN:VCARD\r\nVERSION:4.0\r\nFN:Li \xE2\x98\x83\r\n"
                "BDAY:--01-01\r\nEND:VCARD\r\n");
    vcard.close();
    const QString date = TempPath(QStringLiteral("data/ZelmTilava/0305.txt"));

    // One name is refused: a failure, and the other birthday is still in its day file.
    ScrollRun run = Run({QStringLiteral("--import-vcard"), QStringLiteral("kontakty.vcf")});
    QCOMPARE(run.code, 1);
    QVERIFY2(run.err.contains(QStringLiteral("Ján Novák – 5. 3. 1980")), qPrintable(run.err));
    QVERIFY2(run.err.contains(QStringLiteral("„Li ☃“")), qPrintable(run.err));
    QCOMPARE(FileBytes(date), kDay);

    run = Run({QStringLiteral("--export-ics"), QStringLiteral("Tilava.ics")});
    QCOMPARE(run.code, 0);
    QVERIFY2(run.out.contains(QStringLiteral("Udalosti: 1.")), qPrintable(run.out));
    QVERIFY(run.err.isEmpty());
    const QByteArray calendar = FileBytes(TempPath(QStringLiteral("Tilava.ics")));
    QCOMPARE(calendar.count("BEGIN:VEVENT"), 1);
    QVERIFY(calendar.contains("DTSTART;VALUE=DATE:19800305\r\n"));

    run = Run({QStringLiteral("--import-vcard"), QStringLiteral("chyba.vcf")});
    QCOMPARE(run.code, 1);
    QVERIFY2(run.err.contains(QStringLiteral("neexistuje")), qPrintable(run.err));
    QCOMPARE(Run({QStringLiteral("--version")}).out, QStringLiteral("Tilava 1.0.0\n"));
    QCOMPARE(Run({QStringLiteral("--export-ics")}).code, 2);
    QCOMPARE(Run({QStringLiteral("--export-ics"), QString()}).code, 2);
    run = Run({QStringLiteral("--force")});
    QCOMPARE(run.code, 2);
    QVERIFY2(run.err.contains(QStringLiteral("--export-ics")), qPrintable(run.err));
    QVERIFY(Run({QStringLiteral("--help")}).out.contains(QStringLiteral("--force")));
}

// Where an export may write. Each row prepares its target in a fresh folder "t" of the home
// folder; "victim" is the file whose bytes must survive (or be the new calendar), "shared" a
// sticky folder everyone may write, as /tmp.
void CommandLinePosixTest::exportTargets_data() {
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");  // in standard error
    QTest::addColumn<QString>("victim");   // the file to check afterwards
    QTest::addColumn<QByteArray>("after"); // its bytes; "calendar": the new export
    QTest::addColumn<int>("mod");          // its permissions, or -1

    const QByteArray fresh = "calendar";
    const QString link = QStringLiteral("symbolický odkaz");
    const QString folder = QStringLiteral("kde má Tilava svoje vlastné súbory");
    QTest::newRow("link by another user in a sticky folder")
        << "foreign-link" << QStringList{QStringLiteral("t/shared/X.ics")} << 1 << link
        << "t/victim.ics" << kCalendar << -1;
    QTest::newRow("link by the user in a sticky folder")
        << "own-link" << QStringList{QStringLiteral("t/shared/X.ics")} << 0 << QString()
        << "t/victim.ics" << fresh << -1;
    QTest::newRow("day file, even with --force")
        << "" << QStringList{QStringLiteral("data/ZelmTilava/0305.txt"), QStringLiteral("--force")}
        << 1 << folder << "data/ZelmTilava/0305.txt" << kDay << -1;
    QTest::newRow("settings file, even with --force")
        << "settings"
        << QStringList{QStringLiteral("config/ZELMtilava/settings.ini"), QStringLiteral("--force")}
        << 1 << folder << "config/ZELMtilava/settings.ini" << QByteArray("[x]\n") << -1;
    QTest::newRow("own link into the notes folder")
        << "link-to-notes" << QStringList{QStringLiteral("t/den.ics")} << 1 << folder
        << "data/ZelmTilava/0305.txt" << kDay << -1;
    QTest::newRow("named pipe") << "fifo" << QStringList{QStringLiteral("t/pipe.ics")} << 1
                                << QStringLiteral("nie je obyčajný súbor") << "t/pipe.ics"
                                << QByteArray("(fifo)") << -1;
    QTest::newRow("address book without --force")
        << "vcf" << QStringList{QStringLiteral("t/kontakty.vcf")} << 1
        << QStringLiteral("nie je to kalendár") << "t/kontakty.vcf"
        << QByteArray("BEGIN:VCARD\r\nFN:Eva\r\nEND:VCARD\r\n") << -1;
    QTest::newRow("address book with --force")
        << "vcf" << QStringList{QStringLiteral("t/kontakty.vcf"), QStringLiteral("--force")} << 0
        << QString() << "t/kontakty.vcf" << fresh << 0644;
    QTest::newRow("older calendar open to all") << "ics" << QStringList{QStringLiteral("t/old.ics")}
                                                << 0 << QString() << "t/old.ics" << fresh << 0644;
    QTest::newRow("new file") << "" << QStringList{QStringLiteral("t/new.ics")} << 0 << QString()
                              << "t/new.ics" << fresh << 0644;
}

void CommandLinePosixTest::exportTargets() {
    QFETCH(QString, setup);
    QFETCH(QStringList, arguments);
    QFETCH(int, code);
    QFETCH(QString, message);
    QFETCH(QString, victim);
    QFETCH(QByteArray, after);
    QFETCH(int, mod);

    QDir home(home_.path());
    QVERIFY(QDir(TempPath(QStringLiteral("t"))).removeRecursively());
    QVERIFY(home.mkpath(QStringLiteral("t/shared")));
    QVERIFY(home.mkpath(QStringLiteral("data/ZelmTilava")));
    WriteFile(TempPath(QStringLiteral("data/ZelmTilava/0305.txt")), kDay);
    const QByteArray shared = QFile::encodeName(TempPath(QStringLiteral("t/shared")));
    QCOMPARE(::chmod(shared.constData(), 01777), 0);
    WriteFile(TempPath(QStringLiteral("t/victim.ics")), kCalendar);
    const QByteArray link = QFile::encodeName(TempPath(QStringLiteral("t/shared/X.ics")));
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
        WriteFile(TempPath(QStringLiteral("config/ZELMtilava/settings.ini")), "[x]\n");
    } else if (setup == QLatin1String("link-to-notes")) {
        QCOMPARE(::symlink("../data/ZelmTilava/0305.txt",
                           QFile::encodeName(TempPath(QStringLiteral("t/den.ics"))).constData()),
                 0);
    } else if (setup == QLatin1String("fifo")) {
        QCOMPARE(
            ::mkfifo(QFile::encodeName(TempPath(QStringLiteral("t/pipe.ics"))).constData(), 0600),
            0);
    } else if (setup == QLatin1String("vcf")) {
        WriteFile(TempPath(QStringLiteral("t/kontakty.vcf")),
                  "BEGIN:VCARD\r\nFN:Eva\r\nEND:VCARD\r\n");
    } else if (setup == QLatin1String("ics")) {
        WriteFile(TempPath(QStringLiteral("t/old.ics")), kCalendar);
        QCOMPARE(
            ::chmod(QFile::encodeName(TempPath(QStringLiteral("t/old.ics"))).constData(), 0666), 0);
    }

    arguments.prepend(QStringLiteral("--export-ics"));
    const ScrollRun run = Run(arguments);
    QVERIFY2(run.code == code, qPrintable(QString::number(run.code) + QLatin1Char(' ') + run.err));
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    if (code != 0)
        QVERIFY2(run.err.contains(QStringLiteral("nezmenený")), qPrintable(run.err));

    const QFileInfo info(TempPath(victim));
    if (after == "(fifo)") {
        struct stat st {};
        QCOMPARE(::lstat(QFile::encodeName(info.filePath()).constData(), &st), 0);
        QVERIFY(S_ISFIFO(st.st_mode));
    } else if (after == "calendar") {
        const QByteArray bytes = FileBytes(info.filePath());
        QVERIFY2(bytes.startsWith("BEGIN:VCALENDAR\r\n") &&
                     bytes.contains("SUMMARY:Ján Novák – narodeniny"),
                 bytes.constData());
    } else {
        QCOMPARE(FileBytes(info.filePath()), after);
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
    WriteFile(TempPath(QStringLiteral("a.vcf")),
              "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Eva\r\nBDAY:1990-07-01\r\nEND:VCARD\r\n");
    WriteFile(TempPath(QStringLiteral("b.vcf")),
              "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Peter\r\nBDAY:1985-08-02\r\nEND:VCARD\r\n");
    const ScrollRun run = Run({QStringLiteral("--export-ics"), QStringLiteral("one.ics"),
                               QStringLiteral("--import-vcard"), QStringLiteral("a.vcf"),
                               QStringLiteral("--export-ics"), QStringLiteral("two.ics"),
                               QStringLiteral("--import-vcard"), QStringLiteral("b.vcf")});
    QVERIFY2(run.code == 0, qPrintable(run.err));
    QCOMPARE(FileBytes(TempPath(QStringLiteral("data/ZelmTilava/0701.txt"))),
             QByteArray("!\r\n-1\r\n2\r\n1990\r\nEva\r\n"));
    QCOMPARE(FileBytes(TempPath(QStringLiteral("data/ZelmTilava/0802.txt"))),
             QByteArray("!\r\n-1\r\n2\r\n1985\r\nPeter\r\n"));
    for (const char* subor : {"one.ics", "two.ics"}) {
        const QByteArray calendar = FileBytes(TempPath(QString::fromLatin1(subor)));
        QVERIFY2(calendar.contains("SUMMARY:Eva – narodeniny") &&
                     calendar.contains("SUMMARY:Peter – narodeniny"),
                 subor);
    }
    QCOMPARE(run.out.count(QStringLiteral("Kalendár sa uložil")), 2);
}

// Names from a vCard file and file names from the command line reach the report: the terminal
// gets no control character from them (only line ends), and a failure goes to standard error.
void CommandLinePosixTest::reportsHoldNoControlCharacters() {
    WriteFile(TempPath(QStringLiteral("zle.vcf")),
              "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Eva\x1B]0;owned\x07\xC2\x9B\r\n"
              "BDAY:1990-09-09\r\nEND:VCARD\r\n");
    const QStringList runs[] = {
        {QStringLiteral("--import-vcard"), QStringLiteral("zle.vcf")},
        {QStringLiteral("--import-vcard"), QString::fromUtf8("chýba\x1B[2J\x07.vcf")},
        {QStringLiteral("--export-ics"), QString::fromUtf8("chýba\x1B[2J/x.ics")},
        {QStringLiteral("--export-ics"), QStringLiteral("x.ics"), QString::fromUtf8("na\x1B[2J")},
    };
    for (const QStringList& arguments : runs) {
        const ScrollRun run = Run(arguments);
        const QString text = run.out + run.err;
        QVERIFY2(!text.isEmpty(), qPrintable(arguments.join(QLatin1Char(' '))));
        for (const QChar typedChar : text) {
            const bool control = (typedChar.unicode() < 0x20 && typedChar != QLatin1Char('\n')) ||
                                 (typedChar.unicode() >= 0x7F && typedChar.unicode() <= 0x9F);
            QVERIFY2(!control, qPrintable(QStringLiteral("U+%1 in: %2")
                                              .arg(typedChar.unicode(), 4, 16, QLatin1Char('0'))
                                              .arg(text)));
        }
        if (run.code != 0)
            QVERIFY2(run.out.isEmpty(), qPrintable(run.out));
    }
}

// How a start ends, by its command line and its surroundings: exit status and the exact text
// on standard output and standard error. A started widget ends after its first paint.
void CommandLinePosixTest::outcomes_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<bool>("runningCopy");
    QTest::addColumn<bool>("outputFull"); // standard output on /dev/full
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");

    const QStringList offscreen{QStringLiteral("QT_QPA_PLATFORM=offscreen"),
                                QStringLiteral("TILAVA_EXIT_AFTER_PAINT=1")};
    const QString help = QStringLiteral(".\nMožnosti vypíše „tilava --help“.\n");
    const QString wrong = QStringLiteral("tilava: nesprávny príkazový riadok – ");
    const QString noScreen = QStringLiteral(
        "tilava: widget sa nedá zobraziť – program sa nepripojil k obrazovke (%1).\nBez "
        "obrazovky fungujú voľby --export-ics, --import-vcard a --sync (pozri „tilava --help“).\n");
    QTest::newRow("unknown long option starts no widget")
        << QStringList{QStringLiteral("--bogus")} << offscreen << false << false << 2 << QString()
        << wrong + QStringLiteral("neznáma voľba „--bogus“") + help;
    QTest::newRow("unknown short option")
        << QStringList{QStringLiteral("-x")} << offscreen << false << false << 2 << QString()
        << wrong + QStringLiteral("neznáma voľba „-x“") + help;
    QTest::newRow("mistyped option beside a running copy")
        << QStringList{QStringLiteral("--export-isc"), QStringLiteral("x.ics")} << QStringList()
        << true << false << 2 << QString()
        << wrong + QStringLiteral("neznáma voľba „--export-isc“") + help;
    QTest::newRow("Qt's own options start the widget")
        << QStringList{QStringLiteral("-platform"),     QStringLiteral("offscreen"),
                       QStringLiteral("-reverse"),      QStringLiteral("-style=Fusion"),
                       QStringLiteral("--session"),     QStringLiteral("abc_1"),
                       QStringLiteral("-qwindowtitle"), QStringLiteral("x")}
        << QStringList{QStringLiteral("TILAVA_EXIT_AFTER_PAINT=1")} << false << false << 0
        << QString() << QString();
    QTest::newRow("Qt's option without its value")
        << QStringList{QStringLiteral("-platform")} << offscreen << false << false << 2 << QString()
        << wrong + QStringLiteral("voľbe „-platform“ chýba hodnota") + help;
    QTest::newRow("no display") << QStringList() << QStringList() << false << false << 1
                                << QString()
                                << noScreen.arg(
                                       QStringLiteral("premenná DISPLAY nie je nastavená, premenná "
                                                      "WAYLAND_DISPLAY nie je nastavená"));
    QTest::newRow("display that does not answer")
        << QStringList() << QStringList{QStringLiteral("DISPLAY=:65000")} << false << false << 1
        << QString()
        << noScreen.arg(
               QStringLiteral("DISPLAY=„:65000“, premenná WAYLAND_DISPLAY nie je nastavená"));
    QTest::newRow("sync not set up")
        << QStringList{QStringLiteral("--sync")} << QStringList() << true << false << 1 << QString()
        << QStringLiteral("Synchronizácia s kalendárom nie je nastavená: chýba adresa kalendára "
                          "alebo meno používateľa. Nastavíte ju v ponuke ikony na lište: "
                          "„Nastavenie synchronizácie…“.\n");
    QTest::newRow("sync allowing removals, not set up")
        << QStringList{QStringLiteral("--sync-allow-removals")} << QStringList() << true << false
        << 1 << QString()
        << QStringLiteral("Synchronizácia s kalendárom nie je nastavená: chýba adresa kalendára "
                          "alebo meno používateľa. Nastavíte ju v ponuke ikony na lište: "
                          "„Nastavenie synchronizácie…“.\n");
    QTest::newRow("sync with a value")
        << QStringList{QStringLiteral("--sync=now")} << QStringList() << true << false << 2
        << QString() << wrong + QStringLiteral("voľba „--sync“ nemá hodnotu") + help;
    QTest::newRow("version into a full output")
        << QStringList{QStringLiteral("--version")} << QStringList() << true << true << 1
        << QString()
        << QStringLiteral("tilava: správu sa nepodarilo vypísať na štandardný výstup (je "
                          "zatvorený alebo plný).\n");
}

void CommandLinePosixTest::outcomes() {
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, environment);
    QFETCH(bool, runningCopy);
    QFETCH(bool, outputFull);
    QFETCH(int, code);
    QFETCH(QString, out);
    QFETCH(QString, err);

    if (!runningCopy)
        running_.reset();
    const ScrollRun run =
        Run(arguments, environment, outputFull ? QStringLiteral("/dev/full") : QString());
    running_.emplace();
    QVERIFY(running_->IsFirst());
    QCOMPARE(run.err, err);
    QCOMPARE(run.out, out);
    QCOMPARE(run.code, code);
    QVERIFY(!QFile::exists(TempPath(QStringLiteral("x.ics"))));
}

} // namespace tilava

QTEST_GUILESS_MAIN(tilava::CommandLinePosixTest)
#include "CommandLinePosixTest.moc"
