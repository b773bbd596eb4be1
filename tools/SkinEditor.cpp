// The event editor: client area 369 x 188, background picture 370 x 189. A light heading band
// with "Zadajte udalosť", then three rows, each with its painted kind label (a dot in the colour
// of its bar in the widget) and white boxes behind the edit fields with small captions above
// them, and a bottom band for OK and Storno.
#include "SkinWindows.h"

#include <QLinearGradient>

namespace tilava::skin {

namespace {

constexpr double kWidth = 370;
constexpr double kHeight = 189;
constexpr double kFooterTop = 151;

void KindLabel(QPainter& p, const QRectF& box, const QString& text, const QColor& dot) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(dot.darker(120), 1));
    p.setBrush(dot);
    p.drawEllipse(QPointF(box.left() - 10, box.center().y()), 4, 4);
    p.restore();
    Text(p, box, Qt::AlignLeft | Qt::AlignVCenter, text, Font(11, true), color::kNavy);
}

void Caption(QPainter& p, const QRectF& box, const QString& text) {
    Text(p, box, Qt::AlignLeft | Qt::AlignBottom, text, Font(10), color::kMuted);
}

void Background(QPainter& p) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRectF(0, 0, kWidth, kHeight), QColor(0xF4, 0xF8, 0xFD));

    // Heading band.
    QLinearGradient band(0, 0, 0, 29);
    band.setColorAt(0, QColor(0xE6, 0xF1, 0xFC));
    band.setColorAt(1, QColor(0xD3, 0xE5, 0xF9));
    p.fillRect(QRectF(0, 0, kWidth, 29), band);
    p.fillRect(QRectF(0, 29, kWidth, 1), color::kLine);
    CalendarIcon(p, QRectF(12, 4, 17, 20), QStringLiteral("+"));
    Text(p, QRectF(37, 2, 300, 26), Qt::AlignLeft | Qt::AlignVCenter,
         QStringLiteral("Zadajte udalosť"), Font(15, true), color::kNavy);

    // Birthday row: name and year of birth.
    KindLabel(p, QRectF(32, 48, 73, 17), QStringLiteral("Narodeniny"), color::kGreen);
    Caption(p, QRectF(117, 31, 145, 13), QStringLiteral("Meno"));
    Caption(p, QRectF(292, 31, 76, 13), QStringLiteral("rok narodenia"));
    InputBox(p, QRectF(114, 46, 151, 24));
    InputBox(p, QRectF(289, 46, 53, 25));

    // Anniversary row: description and year of origin.
    KindLabel(p, QRectF(32, 84, 53, 17), QStringLiteral("Výročie"), color::kRed);
    Caption(p, QRectF(117, 69, 145, 13), QStringLiteral("Popis udalosti"));
    Caption(p, QRectF(292, 69, 76, 13), QStringLiteral("rok vzniku"));
    InputBox(p, QRectF(114, 83, 151, 25));
    InputBox(p, QRectF(289, 83, 53, 25));

    // Plain note row: the text only.
    KindLabel(p, QRectF(32, 124, 69, 17), QStringLiteral("Poznámka"), QColor(0x2F, 0x72, 0xC4));
    Caption(p, QRectF(117, 109, 145, 13), QStringLiteral("Text"));
    InputBox(p, QRectF(114, 123, 251, 24));

    // Bottom band for the buttons.
    p.fillRect(QRectF(0, kFooterTop, kWidth, kHeight - kFooterTop), QColor(0xE5, 0xEF, 0xFA));
    p.fillRect(QRectF(0, kFooterTop, kWidth, 1), color::kLine);
    p.restore();
}

PaintFunction EditorButton(QPointF at, const QString& caption, ButtonKind kind, bool hover) {
    return ButtonOnBackground(Background, QRectF(at, QSizeF(100, 26)), caption, kind, hover);
}

} // namespace

std::vector<PaintedPicture> EventEditorPictures() {
    const QPointF ok(158, 158);
    const QPointF cancel(264, 158);
    return {
        {"event_background", Background},
        {"event_ok_normal", EditorButton(ok, QStringLiteral("OK"), ButtonKind::Primary, false)},
        {"event_ok_hover", EditorButton(ok, QStringLiteral("OK"), ButtonKind::Primary, true)},
        {"event_cancel_normal",
         EditorButton(cancel, QStringLiteral("Storno"), ButtonKind::Secondary, false)},
        {"event_cancel_hover",
         EditorButton(cancel, QStringLiteral("Storno"), ButtonKind::Secondary, true)},
    };
}

} // namespace tilava::skin
