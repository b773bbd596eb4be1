#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QRectF>
#include <QString>

#include <functional>
#include <string>
#include <vector>

namespace tilava::skin {

// The skin's palette: sky blue of the window backgrounds, navy, white, holiday red, and the
// green of birthdays.
namespace color {
inline const QColor kSky{0xA6, 0xCA, 0xF0}; // window background of the widget and settings
inline const QColor kSkyLight{0xD3, 0xE6, 0xFA};
inline const QColor kSkyPale{0xEE, 0xF5, 0xFD};
inline const QColor kBlue{0x2C, 0x6B, 0xC0};
inline const QColor kBlueLight{0x4C, 0x8D, 0xDB};
inline const QColor kNavy{0x15, 0x30, 0x6A};
inline const QColor kNavyDark{0x0E, 0x22, 0x4E};
inline const QColor kRed{0xD4, 0x2A, 0x37};
inline const QColor kGreen{0x2E, 0x9B, 0x5A};
inline const QColor kInk{0x1A, 0x24, 0x33};
inline const QColor kMuted{0x5C, 0x73, 0x91};
inline const QColor kLine{0xC9, 0xDA, 0xEE};
inline const QColor kWhite{0xFF, 0xFF, 0xFF};
} // namespace color

using PaintFunction = std::function<void(QPainter&)>;

// One picture as the painter draws it, in window pixels (the painter is scaled for 2x).
struct PaintedPicture {
    std::string name;
    PaintFunction paint;
};

// DejaVu Sans (Debian's fonts-dejavu) at a size in window pixels.
QFont Font(int pixelSize, bool bold = false);

// Draws text into a box; a text that does not fit its box is counted as a layout fault, so the
// painter fails instead of writing a clipped picture.
void Text(QPainter& p, const QRectF& box, int flags, const QString& text, const QFont& font,
          const QColor& colour);
// Width of a text in window pixels.
double TextWidth(const QString& text, const QFont& font);
int LayoutFaults();
void ReportLayoutFault(const QString& what);

// A soft shadow under a rounded box.
void Shadow(QPainter& p, const QRectF& box, double radius, int spread, int alpha);

enum class ButtonKind { Primary, Secondary };
// A rounded push button with a caption; the hover look is lighter with a brighter edge.
void Button(QPainter& p, const QRectF& box, const QString& caption, ButtonKind kind, bool hover);

// Paints a window's background shifted so that `origin` lands at (0, 0), then the overlay:
// a button picture that matches the background around it.
PaintFunction OnBackground(PaintFunction background, QPointF origin, PaintFunction overlay);

// A push button of the given place and size on its window's background.
PaintFunction ButtonOnBackground(PaintFunction background, QRectF place, const QString& caption,
                                 ButtonKind kind, bool hover);

// A white input box with a thin frame behind an edit field.
void InputBox(QPainter& p, const QRectF& box, bool enabled = true);

// A small calendar page icon (logo and headers).
void CalendarIcon(QPainter& p, const QRectF& box, const QString& day);

// A gear of eight teeth round a hole: teeth reach `outer`, the gaps `inner` from the centre.
void Gear(QPainter& p, QPointF centre, double outer, double inner, double hole,
          const QColor& colour);

} // namespace tilava::skin
