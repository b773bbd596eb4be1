// tilava_iconpainter: writes the program's icon (ui/skin/TrayIconPicture.cpp, the same painting as
// the tray icon) as PNG files for the desktop's icon theme, one folder per size:
// OUTPUT-DIR/16/sk.zelm.Tilava.png ... OUTPUT-DIR/256/sk.zelm.Tilava.png. Each size is painted
// at that size, not scaled down from a large one, so the small ones keep their edges.
//
// The icons are committed under assets/icons/ and installed into share/icons/hicolor; the build
// does not run this program. After a change to the painting, regenerate them and commit them:
//   cmake --build build/dev --target tilava_iconpainter
//   build/dev/tools/tilava_iconpainter assets/icons
#include "ui/skin/TrayIconPicture.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>

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
    const QIcon icon = tilava::TrayIconPicture();
    int failures = 0;
    // The sizes of the hicolor theme that desktops look up for an application; 256 is the largest.
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString folder = out.filePath(QString::number(size));
        const QString path = folder + QStringLiteral("/sk.zelm.Tilava.png");
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        icon.paint(&p, image.rect());
        p.end();
        if (!QDir().mkpath(folder) ||
            !image.convertToFormat(QImage::Format_ARGB32).save(path, "PNG", 9)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
