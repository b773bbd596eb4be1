#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

// The skin's faces, by the first family the system has.
namespace tilava::fonts {

// The widget, the settings and the tray icon: DejaVu Sans (Debian's fonts-dejavu-core, the
// skin's face) or Tahoma on Windows. Two faces in all keep the start quick.
inline const QStringList kSkin{QStringLiteral("DejaVu Sans"), QStringLiteral("Tahoma")};
// The week window's designed faces where the system has them, else DejaVu faces at the same
// pixel sizes.
inline const QStringList kWeek{QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans")};
inline const QStringList kWeekNarrow{QStringLiteral("Arial Narrow"),
                                     QStringLiteral("DejaVu Sans Condensed")};

// A face of `families` at a size in window pixels. Without shaping, text is laid out glyph by
// glyph, which is quicker to lay out and enough for Slovak and Czech.
inline QFont Font(const QStringList& families, int pixelSize, bool bold = false,
                  bool shaping = true) {
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    if (!shaping)
        font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

} // namespace tilava::fonts
