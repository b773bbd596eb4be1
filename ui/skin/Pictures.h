#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>

// The skin's pictures: compiled-in JPEG files (assets/skin.qrc, listed in SkinCatalog.h), decoded
// strictly with libjpeg-turbo. A damaged picture is an error, never a half-grey image and never
// the end of the program; a window then gets a plain fill of the picture's colour and goes on.

namespace tilava {

// Registers the compiled-in skin pictures. Call it once before the first picture is loaded (the
// program at start-up, each test program in its set-up); further calls do nothing.
void InitSkinResources();

// A decoded picture, or the reason there is none (the image is then null).
struct DecodedPicture {
    QImage image;
    QString error;

    bool ok() const { return !image.isNull(); }
};

// The largest picture accepted; a header that claims more is refused before any memory is taken.
inline constexpr int kMaxPictureSide = 8192;

// Decodes JPEG bytes. Any warning of the decoder (a truncated file, corrupt data) counts as an
// error, as does anything that is not a JPEG file.
DecodedPicture DecodeJpeg(const QByteArray& bytes);

// Reads and decodes a JPEG file; `path` may name a resource (":/skin/main_header.jpg").
DecodedPicture ReadJpeg(const QString& path);

// Resource path of a skin picture at scale 1 or 2: ":/skin/<name>.jpg", ":/skin/<name>@2x.jpg".
QString SkinPicturePath(const QString& name, int scale);

// A picture of `size1x` window pixels for a screen of the given device pixel ratio. Above 1 the
// double-resolution file is taken (device pixel ratio 2 on the pixmap); when it cannot be used
// the 1x file is, and when neither decodes at its expected size the result is a plain fill of
// `fallback`. `error`, when given, receives what went wrong (empty when nothing did).
QPixmap LoadPicture(const QString& path1x, const QString& path2x, const QColor& fallback,
                    QSize size1x, qreal devicePixelRatio, QString* error = nullptr);

// LoadPicture for the skin picture `name` of SkinCatalog.h.
QPixmap LoadSkinPicture(const QString& name, const QColor& fallback, QSize size1x,
                        qreal devicePixelRatio, QString* error = nullptr);

// The same for the application's highest screen density (QGuiApplication::devicePixelRatio).
QPixmap LoadSkinPicture(const QString& name, const QColor& fallback, QSize size1x);

} // namespace tilava
