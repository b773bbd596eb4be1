// The skin pictures: every catalogued picture decodes at its size at 1x and 2x, damaged JPEG data
// is an error (no exit, no half-grey image), and a picture that cannot be used becomes a plain
// fill of its colour.
#include "ui/skin/Pictures.h"
#include "ui/skin/SkinCatalog.h"

#include <QDirIterator>
#include <QFile>
#include <QGuiApplication>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

using namespace tilava;

namespace {

QString Name(const SkinPictureInfo& info) {
    return QString::fromUtf8(info.name.data(), static_cast<qsizetype>(info.name.size()));
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

// True when every pixel of the pixmap has the given colour.
bool IsPlainFill(const QPixmap& pixmap, const QColor& colour) {
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != colour.rgb()) {
                return false;
            }
        }
    }
    return true;
}

// A good JPEG whose start-of-frame header claims 60000 x 60000 pixels.
QByteArray WithHugeDimensions(QByteArray jpeg) {
    for (qsizetype i = 0; i + 8 < jpeg.size(); ++i) {
        const auto marker = static_cast<unsigned char>(jpeg[i + 1]);
        if (static_cast<unsigned char>(jpeg[i]) == 0xFF && (marker == 0xC0 || marker == 0xC2)) {
            // FF C0, length (2), precision (1), height (2), width (2).
            jpeg[i + 5] = static_cast<char>(0xEA);
            jpeg[i + 6] = static_cast<char>(0x60);
            jpeg[i + 7] = static_cast<char>(0xEA);
            jpeg[i + 8] = static_cast<char>(0x60);
            return jpeg;
        }
    }
    return {};
}

} // namespace

class PicturesTest final : public QObject {
    Q_OBJECT

private:
    QByteArray good_; // a valid skin picture to damage
    QTemporaryDir dir_;

    QString WriteFile(const QString& name, const QByteArray& bytes) {
        const QString path = dir_.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            return {};
        }
        return path;
    }

private slots:
    void initTestCase() {
        InitSkinResources();
        InitSkinResources(); // a second call must be harmless
        QVERIFY(dir_.isValid());
        good_ = ReadAll(SkinPicturePath(QStringLiteral("main_header"), 1));
        QVERIFY(!good_.isEmpty());
    }

    void everyPictureDecodesAtItsSize_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("scale");
        QTest::addColumn<QSize>("size1x");
        for (const SkinPictureInfo& info : kSkinPictures) {
            for (int scale : {1, 2}) {
                QTest::addRow("%s@%dx", info.name.data(), scale)
                    << Name(info) << scale << QSize(info.width, info.height);
            }
        }
    }

    void everyPictureDecodesAtItsSize() {
        QFETCH(QString, name);
        QFETCH(int, scale);
        QFETCH(QSize, size1x);

        const DecodedPicture picture = ReadJpeg(SkinPicturePath(name, scale));
        QVERIFY2(picture.ok(), qPrintable(picture.error));
        QCOMPARE(picture.image.size(), size1x * scale);

        // The loader picks the same file for a screen of that density.
        const QColor fallback(Qt::magenta);
        QString error;
        const QPixmap pixmap = LoadSkinPicture(name, fallback, size1x, scale, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(pixmap.devicePixelRatio(), qreal(scale));
        QCOMPARE(pixmap.size(), size1x * scale);
        QCOMPARE(pixmap.deviceIndependentSize(), QSizeF(size1x));
        QVERIFY(!IsPlainFill(pixmap, fallback));
    }

    // The resource holds exactly the catalogue: no picture is missing, none is left over.
    void resourceMatchesCatalogue() {
        QSet<QString> expected;
        for (const SkinPictureInfo& info : kSkinPictures) {
            expected << Name(info) + QStringLiteral(".jpg")
                     << Name(info) + QStringLiteral("@2x.jpg");
        }
        QSet<QString> found;
        QDirIterator it(QStringLiteral(":/skin"));
        while (it.hasNext()) {
            found << it.next().section(QLatin1Char('/'), -1);
        }
        QCOMPARE(found, expected);
    }

    void damagedDataIsAnError_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("garbage") << QByteArray("this is not a picture at all, only text bytes");
        QTest::newRow("random bytes") << QByteArray::fromHex("deadbeef00ff13370102030405060708");
        QTest::newRow("start marker only") << QByteArray::fromHex("ffd8");
        QTest::newRow("PNG signature") << QByteArray::fromHex("89504e470d0a1a0a0000000d49484452");
        QTest::newRow("truncated to a tenth") << good_.left(good_.size() / 10);
        QTest::newRow("truncated to half") << good_.left(good_.size() / 2);
        QTest::newRow("end marker missing") << good_.left(good_.size() - 2);
        QTest::newRow("header claims 60000 x 60000") << WithHugeDimensions(good_);
    }

    void damagedDataIsAnError() {
        QFETCH(QByteArray, bytes);
        const DecodedPicture picture = DecodeJpeg(bytes);
        QVERIFY(!picture.ok());
        QVERIFY(picture.image.isNull()); // never a half-decoded, grey-filled image
        QVERIFY(!picture.error.isEmpty());
    }

    void missingFileIsAnError() {
        const DecodedPicture picture = ReadJpeg(dir_.filePath(QStringLiteral("none.jpg")));
        QVERIFY(!picture.ok());
        QVERIFY(picture.error.contains(QStringLiteral("none.jpg")));
    }

    // Whatever is wrong with a picture, the window gets a plain fill of the colour at the
    // density it asked for.
    void brokenPictureFallsBackToFill_data() {
        QTest::addColumn<QByteArray>("oneX");
        QTest::addColumn<QByteArray>("twoX");
        QTest::addColumn<qreal>("ratio");
        const QByteArray truncated = good_.left(good_.size() / 2);
        const QByteArray garbage("garbage");
        QTest::newRow("truncated at 1x") << truncated << truncated << qreal(1);
        QTest::newRow("garbage at 1x") << garbage << garbage << qreal(1);
        QTest::newRow("truncated at 2x, garbage at 1x") << garbage << truncated << qreal(2);
        // The header is 170 x 85; asked for 20 x 20 it is the wrong picture.
        QTest::newRow("wrong size") << good_ << good_ << qreal(1);
    }

    void brokenPictureFallsBackToFill() {
        QFETCH(QByteArray, oneX);
        QFETCH(QByteArray, twoX);
        QFETCH(qreal, ratio);
        const QString path1 = WriteFile(QStringLiteral("broken.jpg"), oneX);
        const QString path2 = WriteFile(QStringLiteral("broken@2x.jpg"), twoX);
        const QColor fallback(0xA6, 0xCA, 0xF0);
        const QSize size1x(20, 20);
        QString error;
        const QPixmap pixmap = LoadPicture(path1, path2, fallback, size1x, ratio, &error);
        QVERIFY(!error.isEmpty());
        QCOMPARE(pixmap.devicePixelRatio(), ratio);
        QCOMPARE(pixmap.deviceIndependentSize(), QSizeF(size1x));
        QVERIFY(IsPlainFill(pixmap, fallback));
    }

    // A damaged 2x file still leaves the sharp-enough 1x picture rather than a fill.
    void brokenTwoXFallsBackToOneX() {
        const QString path1 = WriteFile(QStringLiteral("good.jpg"), good_);
        const QString path2 = WriteFile(QStringLiteral("good@2x.jpg"), good_.left(100));
        QString error;
        const QPixmap pixmap = LoadPicture(path1, path2, Qt::magenta, QSize(170, 85), 2.0, &error);
        QVERIFY(error.contains(QStringLiteral("good@2x.jpg")));
        QCOMPARE(pixmap.devicePixelRatio(), qreal(1));
        QCOMPARE(pixmap.size(), QSize(170, 85));
        QVERIFY(!IsPlainFill(pixmap, Qt::magenta));
    }

    // Without a ratio the application's screen decides; the offscreen screen is not high-density.
    void applicationRatioPicksOneX() {
        QCOMPARE(qGuiApp->devicePixelRatio(), qreal(1));
        const QPixmap pixmap =
            LoadSkinPicture(QStringLiteral("main_flag_sk"), Qt::magenta, QSize(26, 17));
        QCOMPARE(pixmap.size(), QSize(26, 17));
        QCOMPARE(pixmap.devicePixelRatio(), qreal(1));
        QVERIFY(!IsPlainFill(pixmap, Qt::magenta));
    }
};

QTEST_MAIN(PicturesTest)
#include "PicturesTest.moc"
