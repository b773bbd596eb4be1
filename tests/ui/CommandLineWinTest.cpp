#include "ProgramRunSupport.h"

#include "platform/NotesFolder.h"
#include "platform/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

namespace tilava {

// The real program's command line on Windows, beside a running copy (this test holds the
// single-instance mutex): a vCard import lands in the notes folder of the known folder, the
// calendar export reads it back, and the export keeps out of the notes folder.
class CommandLineWinTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void importThenExport();
    void outcomes_data();
    void outcomes();

private:
    using Run = test::ProgramRun;
    Run Start(const QStringList& arguments);
    QString Path(const QString& name) const { return home_.filePath(name); }

    QTemporaryDir home_;
    std::optional<SingleInstance> running_;
    QString dayFile_;
    QByteArray dayBefore_;
    bool hadDay_ = false;
};

namespace {

QByteArray Bytes(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

} // namespace

void CommandLineWinTest::initTestCase() {
    QVERIFY(home_.isValid());
    running_.emplace();
    QVERIFY(running_->IsFirst());
    // The day used here may hold the entries of whoever runs the tests: they come back after.
    dayFile_ = QString::fromStdU16String((NotesFolder() / L"0305.txt").u16string());
    hadDay_ = QFile::exists(dayFile_);
    dayBefore_ = Bytes(dayFile_);
    QFile::remove(dayFile_);
}

void CommandLineWinTest::cleanupTestCase() {
    QFile::remove(dayFile_);
    if (hadDay_) {
        QFile f(dayFile_);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(dayBefore_);
    }
}

CommandLineWinTest::Run CommandLineWinTest::Start(const QStringList& arguments) {
    QProcess program;
    program.setWorkingDirectory(home_.path());
    return test::RunToEnd(program, QStringLiteral(TILAVA_EXE), arguments, 30000);
}

void CommandLineWinTest::importThenExport() {
    QFile vcard(Path(QStringLiteral("kontakty.vcf")));
    QVERIFY(vcard.open(QIODevice::WriteOnly));
    vcard.write("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:J\xC3\xA1n Nov\xC3\xA1k\r\nBDAY:1980-03-05\r\n"
                "END:VCARD\r\n");
    vcard.close();

    Run run = Start({QStringLiteral("--import-vcard"), QStringLiteral("kontakty.vcf")});
    QVERIFY2(run.code == 0, qPrintable(run.err));
    QCOMPARE(Bytes(dayFile_), QByteArray("!\r\n-1\r\n2\r\n1980\r\nJ\xE1n Nov\xE1k\r\n"));

    run = Start({QStringLiteral("--export-ics"), QStringLiteral("Tilava.ics")});
    QVERIFY2(run.code == 0, qPrintable(run.err));
    QVERIFY2(run.out.contains(QStringLiteral("Kalendár sa uložil")), qPrintable(run.out));
    const QByteArray calendar = Bytes(Path(QStringLiteral("Tilava.ics")));
    QVERIFY2(calendar.startsWith("BEGIN:VCALENDAR\r\n"), calendar.constData());
    QVERIFY(calendar.contains("DTSTART;VALUE=DATE:19800305\r\n"));
    QVERIFY(calendar.contains("SUMMARY:Ján Novák – narodeniny\r\n"));

    // The notes folder is the program's own, whichever way its name is written.
    const QString inNotes = QDir::toNativeSeparators(
        QString::fromStdU16String((NotesFolder() / L"Tilava.ics").u16string()));
    for (const QString& target : {inNotes, QDir::fromNativeSeparators(inNotes), dayFile_}) {
        run = Start({QStringLiteral("--export-ics"), target, QStringLiteral("--force")});
        QVERIFY2(run.code == 1, qPrintable(target));
        QVERIFY2(run.err.contains(QStringLiteral("kde má Tilava svoje vlastné súbory")),
                 qPrintable(run.err));
    }
    QCOMPARE(Bytes(dayFile_), QByteArray("!\r\n-1\r\n2\r\n1980\r\nJ\xE1n Nov\xE1k\r\n"));
    QVERIFY(!QFile::exists(inNotes));

    run = Start({QStringLiteral("--version")});
    QCOMPARE(run.out.trimmed(), QStringLiteral("Tilava " TILAVA_VERSION));
    QCOMPARE(Start({QStringLiteral("--export-ics")}).code, 2);
}

// A wrong command line ends before the single-instance check (this test holds the claim), and
// Qt's own arguments pass: such a start asks the running copy to show itself.
void CommandLineWinTest::outcomes_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("err");

    const QString wrong = QStringLiteral("tilava: nesprávny príkazový riadok – %1.\r\nMožnosti "
                                         "vypíše „tilava --help“.\r\n");
    QTest::newRow("unknown option") << QStringList{QStringLiteral("--bogus")} << 2
                                    << wrong.arg(QStringLiteral("neznáma voľba „--bogus“"));
    QTest::newRow("mistyped option")
        << QStringList{QStringLiteral("--export-isc"), QStringLiteral("x.ics")} << 2
        << wrong.arg(QStringLiteral("neznáma voľba „--export-isc“"));
    QTest::newRow("Qt's own options")
        << QStringList{QStringLiteral("-platform"), QStringLiteral("windows"),
                       QStringLiteral("-reverse")}
        << 0 << QString();
}

void CommandLineWinTest::outcomes() {
    QFETCH(QStringList, arguments);
    QFETCH(int, code);
    QFETCH(QString, err);
    const Run run = Start(arguments);
    QCOMPARE(run.err, err);
    QCOMPARE(run.code, code);
    QVERIFY(!QFile::exists(Path(QStringLiteral("x.ics"))));
}

} // namespace tilava

QTEST_GUILESS_MAIN(tilava::CommandLineWinTest)
#include "CommandLineWinTest.moc"
