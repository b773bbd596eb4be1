// The tray icon with the day's number stays legible at the sizes trays use, on dark and light
// panels and on high-density screens.
#include "ui/skin/TrayIconPicture.h"

#include <QImage>
#include <QPainter>
#include <QTest>

#include <algorithm>
#include <vector>

namespace tilava {

namespace {

// Relative luminance of a colour, as used for contrast ratios.
double Jas(QColor c) {
    const auto kanal = [](double v) {
        v /= 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * kanal(c.red()) + 0.7152 * kanal(c.green()) + 0.0722 * kanal(c.blue());
}

double Kontrast(double a, double b) {
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

} // namespace

class TrayIconTest final : public QObject {
    Q_OBJECT
private slots:
    void citatelnost_data() {
        QTest::addColumn<int>("velkost");
        QTest::addColumn<QColor>("panel");
        QTest::addColumn<int>("den");
        for (const int velkost : {16, 22, 24, 32})
            for (const auto& [meno, panel] :
                 {std::pair{"dark", QColor(0x20, 0x20, 0x20)}, {"light", QColor(0xF2, 0xF2, 0xF2)}})
                for (const int den : {8, 28})
                    QTest::addRow("%d px, %s, %d", velkost, meno, den) << velkost << panel << den;
    }
    void citatelnost() {
        QFETCH(int, velkost);
        QFETCH(QColor, panel);
        QFETCH(int, den);
        QImage obraz(velkost, velkost, QImage::Format_RGB32);
        obraz.fill(panel);
        {
            QPainter p(&obraz);
            p.drawPixmap(0, 0, TrayIconPicture(den).pixmap(QSize(velkost, velkost)));
        }
        // The lower two thirds of the sheet hold the number: dark digits on white, in enough
        // pixels to be read.
        std::vector<double> jasy;
        for (int y = velkost / 3; y < velkost - 2; ++y)
            for (int x = 2; x < velkost - 2; ++x)
                jasy.push_back(Jas(obraz.pixelColor(x, y)));
        std::sort(jasy.begin(), jasy.end());
        const double cifry = jasy[jasy.size() / 10], list = jasy[jasy.size() * 9 / 10];
        QVERIFY2(Kontrast(cifry, list) >= 7.0, qPrintable(QString::number(Kontrast(cifry, list))));
        const auto tmavych =
            std::count_if(jasy.begin(), jasy.end(), [](double j) { return j < 0.1; });
        QVERIFY2(tmavych >= static_cast<long>(jasy.size() / 8),
                 qPrintable(QString::number(tmavych)));
        // The sheet's edge stands apart from the panel.
        double okraj = Jas(panel);
        for (int x = 0; x < velkost; ++x)
            for (const int y : {velkost / 2})
                okraj = Jas(panel) > 0.5 ? std::min(okraj, Jas(obraz.pixelColor(x, y)))
                                         : std::max(okraj, Jas(obraz.pixelColor(x, y)));
        QVERIFY2(Kontrast(okraj, Jas(panel)) >= 3.0,
                 qPrintable(QString::number(Kontrast(okraj, Jas(panel)))));
    }

    // On a high-density screen the picture is painted at the device's pixels, not enlarged.
    void hustota() {
        const QPixmap obraz = TrayIconPicture(28).pixmap(QSize(22, 22), 2.0);
        QCOMPARE(obraz.size(), QSize(44, 44));
        QCOMPARE(obraz.devicePixelRatio(), 2.0);
        const QImage ostry = obraz.toImage();
        const QImage zvacseny = TrayIconPicture(28)
                                    .pixmap(QSize(22, 22), 1.0)
                                    .toImage()
                                    .scaled(44, 44, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        QVERIFY(ostry.convertToFormat(QImage::Format_ARGB32) !=
                zvacseny.convertToFormat(QImage::Format_ARGB32));
    }
};

} // namespace tilava

QTEST_MAIN(tilava::TrayIconTest)
#include "TrayIconTest.moc"
