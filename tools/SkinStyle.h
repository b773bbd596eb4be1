#pragma once

#include "ui/skin/Palette.h"

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QRectF>
#include <QString>

#include <functional>
#include <string>
#include <vector>

namespace tilava::skin {

// The skin's palette (ui/skin/Palette.h).
namespace color = ::tilava::palette;

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
