#include "ui/controls/LabelScroll.h"

#include <QAccessible>
#include <QTest>

namespace tilava {

// The stepping itself is tested in tests/model/TextScrollTest.cpp; here the label's timer
// and properties around it.
class LabelScrollTest : public QObject {
    Q_OBJECT

private slots:
    void runsStopsWhereItStandsAndResumes() {
        TLabelScroll l;
        QCOMPARE(l.Speed(), 500);
        QVERIFY(!l.Active());
        l.SetCount(3);
        l.SetText(QStringLiteral("ABCD"));
        QCOMPARE(l.text(), QStringLiteral("ABC"));
        QCOMPARE(l.Text(), QStringLiteral("ABCD"));
        // A screen reader reads the whole text, not only the characters shown.
        QCOMPARE(QAccessible::queryAccessibleInterface(&l)->text(QAccessible::Name),
                 QStringLiteral("ABCD"));
        // Ticks far apart enough that each is seen before the next.
        l.SetSpeed(150);
        l.SetActive(true);
        QTRY_COMPARE_WITH_TIMEOUT(l.text(), QStringLiteral("BCD"), 1000);
        l.SetActive(false);
        const QString stands = l.text();
        QTest::qWait(400);
        QCOMPARE(l.text(), stands);
        // The caption stays writable and does not touch Text or the position.
        l.setText(QStringLiteral("iné"));
        QCOMPARE(l.Text(), QStringLiteral("ABCD"));
        l.SetActive(true);
        QTRY_VERIFY_WITH_TIMEOUT(l.text() != QStringLiteral("iné"), 1000);
        QCOMPARE(stands, QStringLiteral("BCD"));
        QCOMPARE(l.text(), QStringLiteral("CD "));
    }
};

} // namespace tilava

QTEST_MAIN(tilava::LabelScrollTest)
#include "LabelScrollTest.moc"
