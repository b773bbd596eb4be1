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
double Luminance(QColor c) {
    const auto channel = [](double v) {
        v /= 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
}

double ContrastRatio(double a, double b) {
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

} // namespace

class TrayIconTest final : public QObject {
    Q_OBJECT
private slots:
    void legibility_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<QColor>("panel");
        QTest::addColumn<int>("date");
        for (const int size : {16, 22, 24, 32})
            for (const auto& [meno, panel] :
                 {std::pair{"dark", QColor(0x20, 0x20, 0x20)}, {"light", QColor(0xF2, 0xF2, 0xF2)}})
                for (const int date : {8, 28})
                    QTest::addRow("%d px, %s, %d", size, meno, date) << size << panel << date;
    }
    void legibility() {
        QFETCH(int, size);
        QFETCH(QColor, panel);
        QFETCH(int, date);
        QImage image(size, size, QImage::Format_RGB32);
        image.fill(panel);
        {
            QPainter p(&image);
            p.drawPixmap(0, 0, TrayIconPicture(date).pixmap(QSize(size, size)));
        }
        // The lower two thirds of the sheet hold the number: dark digits on white, in enough
        // pixels to be read.
        std::vector<double> luminances;
        for (int y = size / 3; y < size - 2; ++y)
            for (int x = 2; x < size - 2; ++x)
                luminances.push_back(Luminance(image.pixelColor(x, y)));
        std::sort(luminances.begin(), luminances.end());
        const double digits = luminances[luminances.size() / 10],
                     list = luminances[luminances.size() * 9 / 10];
        QVERIFY2(ContrastRatio(digits, list) >= 7.0,
                 qPrintable(QString::number(ContrastRatio(digits, list))));
        const auto darkCount =
            std::count_if(luminances.begin(), luminances.end(), [](double j) { return j < 0.1; });
        QVERIFY2(darkCount >= static_cast<long>(luminances.size() / 8),
                 qPrintable(QString::number(darkCount)));
        // The sheet's edge stands apart from the panel.
        double margin = Luminance(panel);
        for (int x = 0; x < size; ++x)
            for (const int y : {size / 2})
                margin = Luminance(panel) > 0.5
                             ? std::min(margin, Luminance(image.pixelColor(x, y)))
                             : std::max(margin, Luminance(image.pixelColor(x, y)));
        QVERIFY2(ContrastRatio(margin, Luminance(panel)) >= 3.0,
                 qPrintable(QString::number(ContrastRatio(margin, Luminance(panel)))));
    }

    // On a high-density screen the picture is painted at the device's pixels, not enlarged.
    void density() {
        const QPixmap image = TrayIconPicture(28).pixmap(QSize(22, 22), 2.0);
        QCOMPARE(image.size(), QSize(44, 44));
        QCOMPARE(image.devicePixelRatio(), 2.0);
        const QImage sharp = image.toImage();
        const QImage enlarged = TrayIconPicture(28)
                                    .pixmap(QSize(22, 22), 1.0)
                                    .toImage()
                                    .scaled(44, 44, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        QVERIFY(sharp.convertToFormat(QImage::Format_ARGB32) !=
                enlarged.convertToFormat(QImage::Format_ARGB32));
    }
};

} // namespace tilava

QTEST_MAIN(tilava::TrayIconTest)
#include "TrayIconTest.moc"
