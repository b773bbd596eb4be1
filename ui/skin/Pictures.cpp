#include "Pictures.h"

#include <QFile>
#include <QGuiApplication>
#include <QPainter>

#include <turbojpeg.h>

#include <memory>
#include <utility>

// Q_INIT_RESOURCE must be used outside any namespace.
static void RegisterSkinResource() {
    Q_INIT_RESOURCE(skin_widget);
    Q_INIT_RESOURCE(skin);
}

namespace tilava {

namespace {

struct TurboJpegCloser {
    void operator()(void* handle) const { tjDestroy(handle); }
};
using Decompressor = std::unique_ptr<void, TurboJpegCloser>;

DecodedPicture Failure(const QString& reason) {
    return {QImage(), reason};
}

QString DecoderError(tjhandle handle) {
    return QString::fromUtf8(tjGetErrorStr2(handle));
}

} // namespace

void InitSkinResources() {
    static const bool registered = [] {
        RegisterSkinResource();
        return true;
    }();
    (void)registered;
}

DecodedPicture DecodeJpeg(const QByteArray& bytes) {
    if (bytes.isEmpty()) {
        return Failure(QStringLiteral("prázdny súbor"));
    }
    Decompressor decoder(tjInitDecompress());
    if (!decoder) {
        return Failure(QStringLiteral("dekodér JPEG sa nedá spustiť"));
    }
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    const auto size = static_cast<unsigned long>(bytes.size());
    int width = 0;
    int height = 0;
    int subsampling = 0;
    int colourspace = 0;
    if (tjDecompressHeader3(decoder.get(), data, size, &width, &height, &subsampling,
                            &colourspace) != 0) {
        return Failure(
            QStringLiteral("nie je to obrázok JPEG (%1)").arg(DecoderError(decoder.get())));
    }
    if (width <= 0 || height <= 0 || width > kMaxPictureSide || height > kMaxPictureSide) {
        return Failure(QStringLiteral("nedovolený rozmer %1 × %2").arg(width).arg(height));
    }
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull()) {
        return Failure(
            QStringLiteral("nedostatok pamäte pre obrázok %1 × %2").arg(width).arg(height));
    }
    // Format_RGB32 holds 0xffRRGGBB words: B, G, R, X in memory on little-endian machines.
    const int pixelFormat = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? TJPF_BGRX : TJPF_XRGB;
    // TJFLAG_STOPONWARNING: a truncated or corrupt file fails instead of coming back half grey.
    // TJFLAG_LIMITSCANS: a progressive file with an absurd number of scans is refused.
    if (tjDecompress2(decoder.get(), data, size, image.bits(), width,
                      static_cast<int>(image.bytesPerLine()), height, pixelFormat,
                      TJFLAG_STOPONWARNING | TJFLAG_LIMITSCANS | TJFLAG_ACCURATEDCT) != 0) {
        return Failure(
            QStringLiteral("poškodený obrázok JPEG (%1)").arg(DecoderError(decoder.get())));
    }
    return {image, QString()};
}

DecodedPicture ReadJpeg(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return Failure(QStringLiteral("%1: %2").arg(path, file.errorString()));
    }
    // Pictures are small; a file far larger than the largest picture is refused unread.
    constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;
    if (file.size() > kMaxFileSize) {
        return Failure(QStringLiteral("%1: súbor je príliš veľký").arg(path));
    }
    DecodedPicture picture = DecodeJpeg(file.readAll());
    if (!picture.ok()) {
        picture.error = QStringLiteral("%1: %2").arg(path, picture.error);
    }
    return picture;
}

QString SkinPicturePath(const QString& name, int scale) {
    return QStringLiteral(":/skin/%1%2")
        .arg(name, scale == 2 ? QStringLiteral("@2x.jpg") : QStringLiteral(".jpg"));
}

QPixmap LoadPicture(const QString& path1x, const QString& path2x, const QColor& fallback,
                    QSize size1x, qreal devicePixelRatio, QString* error) {
    QStringList problems;
    const int wanted = devicePixelRatio > 1 ? 2 : 1;
    for (int scale = wanted; scale >= 1; --scale) {
        const QString& path = scale == 2 ? path2x : path1x;
        DecodedPicture picture = ReadJpeg(path);
        if (!picture.ok()) {
            problems << picture.error;
            continue;
        }
        if (picture.image.size() != size1x * scale) {
            problems << QStringLiteral("%1: rozmer %2 × %3 namiesto %4 × %5")
                            .arg(path)
                            .arg(picture.image.width())
                            .arg(picture.image.height())
                            .arg(size1x.width() * scale)
                            .arg(size1x.height() * scale);
            continue;
        }
        // Handed over, not copied: the decoded pixels become the pixmap's own.
        QPixmap pixmap = QPixmap::fromImage(std::move(picture.image));
        pixmap.setDevicePixelRatio(scale);
        if (error) {
            *error = problems.join(QLatin1Char('\n'));
        }
        return pixmap;
    }
    QPixmap fill(size1x * wanted);
    fill.fill(fallback);
    fill.setDevicePixelRatio(wanted);
    if (error) {
        *error = problems.join(QLatin1Char('\n'));
    }
    return fill;
}

QPixmap LoadSkinPicture(const QString& name, const QColor& fallback, QSize size1x,
                        qreal devicePixelRatio, QString* error) {
    return LoadPicture(SkinPicturePath(name, 1), SkinPicturePath(name, 2), fallback, size1x,
                       devicePixelRatio, error);
}

QPixmap LoadSkinPicture(const QString& name, const QColor& fallback, QSize size1x) {
    return LoadSkinPicture(name, fallback, size1x, qGuiApp ? qGuiApp->devicePixelRatio() : 1.0);
}

} // namespace tilava
