#include "platform/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace tilava {

// The real program with its command-line options, beside a running copy (this test holds the
// single-instance claim) and without any display.
class CommandLineTest : public QObject {
    Q_OBJECT
private slots:
    void importThenExport();

private:
    struct Beh {
        int kod;
        QString vystup;
    };
    Beh Spusti(const QStringList& argumenty);

    QTemporaryDir domov_;
};

CommandLineTest::Beh CommandLineTest::Spusti(const QStringList& argumenty) {
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), domov_.path());
    env.insert(QStringLiteral("XDG_DATA_HOME"), domov_.filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), domov_.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), domov_.filePath(QStringLiteral("run")));
    for (const char* premenna : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(premenna));
    program.setProcessEnvironment(env);
    program.setWorkingDirectory(domov_.path());
    program.start(QStringLiteral(TILAVA_EXE), argumenty);
    if (!program.waitForFinished(20000)) {
        program.kill();
        program.waitForFinished();
        return {-1, QStringLiteral("timed out")};
    }
    return {program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1,
            QString::fromUtf8(program.readAllStandardOutput() + program.readAllStandardError())};
}

void CommandLineTest::importThenExport() {
    QVERIFY(domov_.isValid());
    QVERIFY(QDir(domov_.path()).mkpath(QStringLiteral("run")));
    qputenv("XDG_RUNTIME_DIR", domov_.filePath(QStringLiteral("run")).toLocal8Bit());
    const SingleInstance bezi;
    QVERIFY(bezi.JePrva());

    QFile vcard(domov_.filePath(QStringLiteral("kontakty.vcf")));
    QVERIFY(vcard.open(QIODevice::WriteOnly));
    vcard.write("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:J\xC3\xA1n Nov\xC3\xA1k\r\nBDAY:1980-03-05\r\n"
                "END:VCARD\r\nBEGIN:VCARD\r\nVERSION:4.0\r\nFN:Li \xE2\x98\x83\r\n"
                "BDAY:--01-01\r\nEND:VCARD\r\n");
    vcard.close();
    const QString den = domov_.filePath(QStringLiteral("data/ZelmTilava/0305.txt"));

    // One name is refused: a failure, and the other birthday is still in its day file.
    Beh beh = Spusti({QStringLiteral("--import-vcard"), QStringLiteral("kontakty.vcf")});
    QCOMPARE(beh.kod, 1);
    QVERIFY2(beh.vystup.contains(QStringLiteral("Ján Novák – 5. 3. 1980")), qPrintable(beh.vystup));
    QVERIFY2(beh.vystup.contains(QStringLiteral("„Li ☃“")), qPrintable(beh.vystup));
    QFile subor(den);
    QVERIFY(subor.open(QIODevice::ReadOnly));
    QCOMPARE(subor.readAll(), QByteArray("!\r\n-1\r\n2\r\n1980\r\nJ\xE1n Nov\xE1k\r\n"));
    subor.close();

    beh = Spusti({QStringLiteral("--export-ics"), QStringLiteral("Tilava.ics")});
    QCOMPARE(beh.kod, 0);
    QVERIFY2(beh.vystup.contains(QStringLiteral("Udalosti: 1.")), qPrintable(beh.vystup));
    QFile ics(domov_.filePath(QStringLiteral("Tilava.ics")));
    QVERIFY(ics.open(QIODevice::ReadOnly));
    const QByteArray kalendar = ics.readAll();
    QCOMPARE(kalendar.count("BEGIN:VEVENT"), 1);
    QVERIFY(kalendar.contains("DTSTART;VALUE=DATE:19800305\r\n"));

    beh = Spusti({QStringLiteral("--import-vcard"), QStringLiteral("chyba.vcf")});
    QCOMPARE(beh.kod, 1);
    QVERIFY2(beh.vystup.contains(QStringLiteral("neexistuje")), qPrintable(beh.vystup));
    QCOMPARE(Spusti({QStringLiteral("--version")}).vystup, QStringLiteral("Tilava 1.0.0\n"));
    QCOMPARE(Spusti({QStringLiteral("--export-ics")}).kod, 2);
}

} // namespace tilava

QTEST_GUILESS_MAIN(tilava::CommandLineTest)
#include "CommandLineTest.moc"
