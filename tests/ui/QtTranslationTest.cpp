#include "ui/desktop/QtTranslation.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

namespace tilava {

// Qt's own dialogs speak Slovak: on Linux from the system's Qt translations, in the static
// Windows program from the copy it carries. The standard buttons come from another part of the
// catalogue than the file dialog's own texts.
class QtTranslationTest : public QObject {
    Q_OBJECT
private slots:
    void dialogTexts();
};

void QtTranslationTest::dialogTexts() {
    QVERIFY(LoadQtTranslation());
    QFileDialog files;
    files.setOption(QFileDialog::DontUseNativeDialog);
    files.setAcceptMode(QFileDialog::AcceptSave);
    const auto* buttons = files.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Tilava"), QStringLiteral("?"),
                    QMessageBox::Yes | QMessageBox::No);

    QCOMPARE(files.findChild<QLabel*>(QStringLiteral("lookInLabel"))->text(),
             QStringLiteral("Hľadať v:"));
    QCOMPARE(buttons->button(QDialogButtonBox::Save)->text(), QStringLiteral("&Uložiť"));
    QCOMPARE(buttons->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Zrušiť"));
    QCOMPARE(box.button(QMessageBox::Yes)->text(), QStringLiteral("Án&o"));
}

} // namespace tilava

QTEST_MAIN(tilava::QtTranslationTest)
#include "QtTranslationTest.moc"
