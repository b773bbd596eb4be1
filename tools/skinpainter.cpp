// tilava_skinpainter: paints every picture of the skin with QPainter and writes it as JPEG at 1x
// and at 2x (drawn at twice the resolution, not scaled up), e.g. main_header.jpg and
// main_header@2x.jpg. The list of pictures and their sizes is ui/skin/SkinCatalog.h.
//
// The pictures are committed under assets/skin/; the build does not run this program. After a
// change to the painting, regenerate them and commit the result:
//   cmake --build build/dev --target tilava_skinpainter
//   QT_QPA_PLATFORM=offscreen build/dev/tools/tilava_skinpainter assets/skin
// The program ends with status 1 when a painted text does not fit its box or a picture of the
// list has no painting, so a broken layout is never written over good pictures silently.
#include "SkinWindows.h"
#include "ui/skin/SkinCatalog.h"

#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>

#include <turbojpeg.h>

#include <cstdio>
#include <map>
#include <memory>

namespace {

using tilava::skin::PaintedPicture;

constexpr int kQuality = 92;

QImage Render(const PaintedPicture& picture, int width, int height, int scale) {
    QImage image(width * scale, height * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                     QPainter::SmoothPixmapTransform);
    p.scale(scale, scale);
    picture.paint(p);
    p.end();
    return image.convertToFormat(QImage::Format_RGBX8888);
}

// JPEG with full colour resolution (4:4:4): the flags and the coloured text keep their edges.
bool WriteJpeg(const QImage& image, const QString& path, QString& error) {
    std::unique_ptr<void, int (*)(tjhandle)> encoder(tjInitCompress(), tjDestroy);
    if (!encoder) {
        error = QStringLiteral("cannot start the JPEG encoder");
        return false;
    }
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    if (tjCompress2(encoder.get(), image.constBits(), image.width(),
                    static_cast<int>(image.bytesPerLine()), image.height(), TJPF_RGBX, &jpeg, &size,
                    TJSAMP_444, kQuality, TJFLAG_ACCURATEDCT) != 0) {
        error = QString::fromUtf8(tjGetErrorStr2(encoder.get()));
        tjFree(jpeg);
        return false;
    }
    QFile file(path);
    const bool ok = file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                    file.write(reinterpret_cast<const char*>(jpeg), static_cast<qint64>(size)) ==
                        static_cast<qint64>(size);
    tjFree(jpeg);
    if (!ok) {
        error = file.errorString();
    }
    return ok && file.flush();
}

} // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT-DIR\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(out.path())) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    if (QFontInfo(tilava::skin::Font(12)).family() != QStringLiteral("DejaVu Sans")) {
        std::fprintf(stderr,
                     "the DejaVu Sans font is missing (Debian package fonts-dejavu-core)\n");
        return 1;
    }

    std::map<std::string, PaintedPicture> painted;
    for (auto list : {tilava::skin::MainWidgetPictures(), tilava::skin::WeekWindowPictures(),
                      tilava::skin::EventEditorPictures(), tilava::skin::SettingsWindowPictures(),
                      tilava::skin::AboutWindowPictures()}) {
        for (auto& picture : list) {
            painted.emplace(picture.name, picture);
        }
    }

    int failures = 0;
    for (const auto& info : tilava::kSkinPictures) {
        const auto it = painted.find(std::string(info.name));
        if (it == painted.end()) {
            std::fprintf(stderr, "%.*s: no painting\n", static_cast<int>(info.name.size()),
                         info.name.data());
            ++failures;
            continue;
        }
        for (int scale : {1, 2}) {
            const QString name = QString::fromUtf8(info.name.data(), info.name.size()) +
                                 (scale == 2 ? QStringLiteral("@2x.jpg") : QStringLiteral(".jpg"));
            QString error;
            if (!WriteJpeg(Render(it->second, info.width, info.height, scale), out.filePath(name),
                           error)) {
                std::fprintf(stderr, "%s: %s\n", qPrintable(name), qPrintable(error));
                ++failures;
            }
        }
        painted.erase(it);
    }
    for (const auto& [name, picture] : painted) {
        std::fprintf(stderr, "%s: painted but not in the catalogue\n", name.c_str());
        ++failures;
    }
    if (tilava::skin::LayoutFaults() > 0) {
        std::fprintf(stderr, "%d texts do not fit their boxes\n", tilava::skin::LayoutFaults());
        ++failures;
    }
    return failures == 0 ? 0 : 1;
}
