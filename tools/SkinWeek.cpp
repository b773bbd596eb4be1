// The week window: client area 527 x 552 inside a background picture of 620 x 645 (the window is
// smaller than its picture; the rest continues the bottom and right edges). From the top: the
// navy header (the maker's link), the tool bar with the month, the week navigator, the date
// picker and the today button, seven day rows (Monday on top, Sunday red), the search box, the
// search results row and the bottom bar with the save button.
#include "SkinWindows.h"

#include <QLinearGradient>
#include <QPainterPath>

namespace tilava::skin {

namespace {

constexpr double kHeight = 552;
constexpr double kPictureWidth = 620;
constexpr double kPictureHeight = 645;
const QRectF kNavigator(187, 51, 173, 28);
const QRectF kRows(8, 93, 511, 388);
const QRectF kSearchBox(181, 483, 137, 22);

double RowTop(int row) {
    return 55.0 * row + 41;
} // row 1..7, 55 pixels each

void Magnifier(QPainter& p, QPointF centre, const QColor& colour) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(colour, 1.8));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, 4.5, 4.5);
    p.setPen(QPen(colour, 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre + QPointF(3.4, 3.4), centre + QPointF(7, 7));
    p.restore();
}

void Background(QPainter& p) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRectF(0, 0, kPictureWidth, kPictureHeight), color::kWhite);

    // Header: the program's name; a click on it opens the maker's page.
    QLinearGradient navy(0, 0, 0, 49);
    navy.setColorAt(0, QColor(0x24, 0x48, 0x8A));
    navy.setColorAt(1, QColor(0x14, 0x2D, 0x60));
    p.fillRect(QRectF(0, 0, kPictureWidth, 49), navy);
    p.fillRect(QRectF(0, 48, kPictureWidth, 1), color::kNavyDark);
    CalendarIcon(p, QRectF(14, 7, 30, 35), QStringLiteral("7"));
    Text(p, QRectF(54, 6, 200, 24), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Tilava"),
         Font(20, true), color::kWhite);
    Text(p, QRectF(55, 28, 300, 16), Qt::AlignLeft | Qt::AlignVCenter,
         QStringLiteral("Kalendár mien a sviatkov"), Font(11), color::kSkyLight);
    // A wave of light along the header's right half.
    QRadialGradient light(QPointF(430, -30), 220);
    light.setColorAt(0, QColor(255, 255, 255, 40));
    light.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(QRectF(0, 0, kPictureWidth, 48), light);

    // Tool bar.
    QLinearGradient bar(0, 49, 0, 88);
    bar.setColorAt(0, QColor(0xEA, 0xF3, 0xFD));
    bar.setColorAt(1, QColor(0xD8, 0xE8, 0xF9));
    p.fillRect(QRectF(0, 49, kPictureWidth, 39), bar);
    p.fillRect(QRectF(0, 87, kPictureWidth, 1), color::kLine);
    // Month: a small calendar before the month and year.
    p.setPen(QPen(color::kNavy, 1.4));
    p.setBrush(color::kWhite);
    p.drawRoundedRect(QRectF(24.5, 57.5, 16, 15), 2, 2);
    p.fillRect(QRectF(25, 58, 15, 4), color::kRed);
    for (int i = 0; i < 3; ++i) {
        p.fillRect(QRectF(28 + i * 4, 65, 2, 2), color::kNavy);
        p.fillRect(QRectF(28 + i * 4, 68.5, 2, 2), color::kNavy);
    }
    // Week navigator: previous week, "N. týždeň", next week.
    Shadow(p, kNavigator, 6, 3, 40);
    p.setPen(QPen(QColor(0x9D, 0xBB, 0xE0), 1));
    p.setBrush(color::kWhite);
    p.drawRoundedRect(kNavigator.adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    p.setPen(QPen(color::kLine, 1));
    p.drawLine(QPointF(210.5, 55), QPointF(210.5, 75));
    p.drawLine(QPointF(336.5, 55), QPointF(336.5, 75));

    // Day rows.
    Shadow(p, kRows, 6, 4, 50);
    p.setPen(Qt::NoPen);
    p.setBrush(color::kWhite);
    p.drawRoundedRect(kRows, 6, 6);
    QPainterPath rows;
    rows.addRoundedRect(kRows, 6, 6);
    p.save();
    p.setClipPath(rows);
    for (int row = 1; row <= 7; ++row) {
        const QRectF band(kRows.left(), RowTop(row), kRows.width(), 55);
        const bool sunday = row == 7;
        if (sunday) {
            p.fillRect(band, QColor(0xFD, 0xF0, 0xF1));
        } else if (row % 2 == 0) {
            p.fillRect(band, QColor(0xF5, 0xF9, 0xFE));
        }
        // Accent at the left edge: navy on weekdays, red on Sunday.
        p.fillRect(QRectF(kRows.left(), band.top() + 6, 3, band.height() - 12),
                   sunday ? color::kRed : QColor(0x3E, 0x76, 0xC6));
        if (row > 1) {
            p.fillRect(QRectF(kRows.left() + 4, band.top(), kRows.width() - 8, 1),
                       QColor(0xDC, 0xE7, 0xF4));
        }
    }
    p.restore();
    p.setPen(QPen(color::kLine, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(kRows.adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);

    // Search: label, magnifier and the white box behind the edit field.
    Text(p, QRectF(40, 483, 117, 22), Qt::AlignRight | Qt::AlignVCenter,
         QStringLiteral("Hľadať meno"), Font(12, true), color::kNavy);
    Magnifier(p, QPointF(166, 492), color::kNavy);
    InputBox(p, kSearchBox);

    // Bottom bar with the save button.
    QLinearGradient foot(0, 524, 0, kHeight);
    foot.setColorAt(0, QColor(0xEA, 0xF3, 0xFD));
    foot.setColorAt(1, QColor(0xD8, 0xE8, 0xF9));
    p.fillRect(QRectF(0, 524, kPictureWidth, kPictureHeight - 524), foot);
    p.fillRect(QRectF(0, kHeight, kPictureWidth, kPictureHeight - kHeight),
               QColor(0xD8, 0xE8, 0xF9));
    p.fillRect(QRectF(0, 524, kPictureWidth, 1), color::kLine);
    Text(p, QRectF(12, 527, 390, 24), Qt::AlignLeft | Qt::AlignVCenter,
         QStringLiteral("Kliknutím do zoznamu dňa pridáte udalosť, dvojklikom ju upravíte."),
         Font(10), color::kMuted);
    p.restore();
}

// A chevron pointing left (-1) or right (+1).
void Chevron(QPainter& p, const QRectF& box, int direction, const QColor& colour, double size) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c = box.center();
    const double h = size;
    const double w = size * 0.55;
    p.setPen(QPen(colour, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath path;
    path.moveTo(c + QPointF(-direction * w / 2, -h / 2));
    path.lineTo(c + QPointF(direction * w / 2, 0));
    path.lineTo(c + QPointF(-direction * w / 2, h / 2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.restore();
}

PaintFunction Arrow(QPointF at, QSizeF size, int direction, double chevron) {
    return OnBackground(Background, at, [size, direction, chevron](QPainter& p) {
        Chevron(p, QRectF(QPointF(0, 0), size), direction, color::kBlue, chevron);
    });
}

PaintFunction WeekButton(QPointF at, QSizeF size, const QString& caption, ButtonKind kind,
                         bool hover) {
    return ButtonOnBackground(Background, QRectF(at, size), caption, kind, hover);
}

} // namespace

std::vector<PaintedPicture> WeekWindowPictures() {
    const QString today = QStringLiteral("Dnes");
    const QString save = QStringLiteral("Uložiť");
    return {
        {"week_background", Background},
        {"week_prev", Arrow(QPointF(191, 53), QSizeF(16, 24), -1, 11)},
        {"week_next", Arrow(QPointF(340, 53), QSizeF(16, 24), 1, 11)},
        {"week_results_prev", Arrow(QPointF(0, 503), QSizeF(13, 22), -1, 10)},
        {"week_results_next", Arrow(QPointF(512, 503), QSizeF(13, 22), 1, 10)},
        {"week_today_normal",
         WeekButton(QPointF(473, 52), QSizeF(40, 25), today, ButtonKind::Secondary, false)},
        {"week_today_hover",
         WeekButton(QPointF(473, 52), QSizeF(40, 25), today, ButtonKind::Secondary, true)},
        {"week_save_normal",
         WeekButton(QPointF(414, 527), QSizeF(100, 25), save, ButtonKind::Primary, false)},
        {"week_save_hover",
         WeekButton(QPointF(414, 527), QSizeF(100, 25), save, ButtonKind::Primary, true)},
    };
}

} // namespace tilava::skin
