#include "ui/desktop/QtTranslation.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

namespace tilava {

// Qt's own dialogs speak Slovak: on Linux from the system's Qt translations, in the static
// Windows program from the copy it carries.
class QtTranslationTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(LoadQtTranslation()); }
    void dialogTexts_data();
    void dialogTexts();
};

namespace {

QString FileDialogText(QFileDialog::AcceptMode mode, const QString& what) {
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(mode);
    if (what == QLatin1String("lookInLabel"))
        return dialog.findChild<QLabel*>(what)->text();
    const auto* buttons = dialog.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    const QDialogButtonBox::StandardButton accept =
        mode == QFileDialog::AcceptOpen ? QDialogButtonBox::Open : QDialogButtonBox::Save;
    return buttons->button(what == QLatin1String("accept") ? accept : QDialogButtonBox::Cancel)
        ->text();
}

} // namespace

void QtTranslationTest::dialogTexts_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("slovak");

    QTest::newRow("file dialog: folder")
        << FileDialogText(QFileDialog::AcceptOpen, QStringLiteral("lookInLabel"))
        << QStringLiteral("Hľadať v:");
    QTest::newRow("export dialog: save")
        << FileDialogText(QFileDialog::AcceptSave, QStringLiteral("accept"))
        << QStringLiteral("&Uložiť");
    QTest::newRow("import dialog: cancel")
        << FileDialogText(QFileDialog::AcceptOpen, QStringLiteral("reject"))
        << QStringLiteral("Zrušiť");
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Tilava"), QStringLiteral("?"),
                    QMessageBox::Yes | QMessageBox::No);
    QTest::newRow("message box: yes")
        << box.button(QMessageBox::Yes)->text() << QStringLiteral("Án&o");
    QTest::newRow("message box: no")
        << box.button(QMessageBox::No)->text() << QStringLiteral("&Nie");
}

void QtTranslationTest::dialogTexts() {
    QFETCH(QString, text);
    QFETCH(QString, slovak);
    QCOMPARE(text, slovak);
}

} // namespace tilava

QTEST_MAIN(tilava::QtTranslationTest)
#include "QtTranslationTest.moc"
