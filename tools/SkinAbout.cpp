// The about window: 640 x 377, background picture 641 x 377. A navy column on the left with the
// logo and the program's name (the logo is a link to the maker) and the maker's name at the
// bottom; on the right the title, a description, and a paragraph naming six other programs of the
// maker, each name sitting exactly on its link area; the help and close buttons at the bottom.
#include "SkinFlags.h"
#include "SkinWindows.h"

#include <QLinearGradient>
#include <QStringList>

#include <cmath>
#include <utility>

namespace tilava::skin {

namespace {

constexpr double kWidth = 641;
constexpr double kHeight = 377;
constexpr double kColumn = 204;
constexpr double kTextLeft = 222;
constexpr double kTextRight = 635;
constexpr double kLineHeight = 15;

QFont BodyFont() {
    return Font(11);
}
QFont LinkFont() {
    return Font(11, true);
}

// Lays words between two edges with even gaps; a line with one word starts at the left edge.
// Gaps far wider or narrower than a blank are layout faults.
void Justified(QPainter& p, double y, double left, double right, const QString& text,
               bool justify) {
    const QFont font = BodyFont();
    const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    double wordsWidth = 0;
    for (const QString& w : words) {
        wordsWidth += TextWidth(w, font);
    }
    const double blank = TextWidth(QStringLiteral(" "), font);
    double gap = blank;
    if (justify && words.size() > 1) {
        gap = (right - left - wordsWidth) / (words.size() - 1);
    }
    if (gap < blank * 0.5 || gap > blank * 2.6 ||
        left + wordsWidth + gap * (words.size() - 1) > right + 0.5) {
        ReportLayoutFault(QStringLiteral("about line at %1: gap %2 (blank %3) in \"%4\"")
                              .arg(y)
                              .arg(gap)
                              .arg(blank)
                              .arg(text));
    }
    p.save();
    p.setFont(font);
    p.setPen(color::kInk);
    double x = left;
    for (const QString& w : words) {
        p.drawText(QRectF(x, y, TextWidth(w, font) + 2, kLineHeight),
                   Qt::AlignLeft | Qt::AlignVCenter, w);
        x += TextWidth(w, font) + gap;
    }
    p.restore();
}

// A line that carries a product name on its link area: the words before it end a blank before
// the area, the words after it run to the right edge.
void LinkLine(QPainter& p, const QRectF& area, const QString& before, const QString& name,
              const QString& after) {
    const QFont body = BodyFont();
    const double blank = TextWidth(QStringLiteral(" "), body);
    if (!before.isEmpty()) {
        Justified(p, area.top(), kTextLeft, area.left() - blank, before, true);
    }
    Text(p, area, Qt::AlignLeft | Qt::AlignVCenter, name, LinkFont(), color::kBlue);
    const double nameWidth = TextWidth(name, LinkFont());
    p.fillRect(QRectF(area.left(), area.bottom() - 2, nameWidth, 1), QColor(0x2C, 0x6B, 0xC0, 150));
    double end = area.left() + nameWidth;
    QString rest = after;
    if (!rest.isEmpty() && rest.front().isPunct()) {
        // Punctuation right after the name stays glued to it.
        const qsizetype blankAt = rest.indexOf(QLatin1Char(' '));
        const QString glued = blankAt < 0 ? rest : rest.left(blankAt);
        rest = blankAt < 0 ? QString() : rest.mid(blankAt + 1);
        p.save();
        p.setFont(body);
        p.setPen(color::kInk);
        p.drawText(QRectF(end, area.top(), TextWidth(glued, body) + 2, kLineHeight),
                   Qt::AlignLeft | Qt::AlignVCenter, glued);
        p.restore();
        end += TextWidth(glued, body);
    }
    if (end > kTextRight + 0.5) {
        ReportLayoutFault(QStringLiteral("about line at %1 runs past the edge").arg(area.top()));
    }
    if (!rest.isEmpty()) {
        Justified(p, area.top(), end + blank, kTextRight, rest, true);
    }
}

void Background(QPainter& p) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient page(kColumn, 0, kWidth, kHeight);
    page.setColorAt(0, color::kWhite);
    page.setColorAt(1, QColor(0xEA, 0xF2, 0xFC));
    p.fillRect(QRectF(0, 0, kWidth, kHeight), page);

    // Left column: logo, name, version, maker.
    QLinearGradient navy(0, 0, 0, kHeight);
    navy.setColorAt(0, QColor(0x26, 0x4C, 0x90));
    navy.setColorAt(1, QColor(0x10, 0x27, 0x56));
    p.fillRect(QRectF(0, 0, kColumn, kHeight), navy);
    QRadialGradient light(QPointF(104, 80), 130);
    light.setColorAt(0, QColor(255, 255, 255, 45));
    light.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(QRectF(0, 0, kColumn, kHeight), light);
    p.fillRect(QRectF(kColumn, 0, 1, kHeight), QColor(0x0E, 0x22, 0x4E));
    CalendarIcon(p, QRectF(49, 24, 110, 118), QStringLiteral("7"));
    Text(p, QRectF(24, 148, 161, 34), Qt::AlignCenter, QStringLiteral("Tilava"), Font(26, true),
         color::kWhite);
    Text(p, QRectF(14, 182, 180, 16), Qt::AlignCenter, QStringLiteral("verzia " TILAVA_VERSION),
         Font(11), color::kSkyLight);
    // The two name-day calendars the program knows.
    for (const auto& [left, slovak] : {std::pair{76.0, true}, std::pair{106.0, false}}) {
        const QRectF flag(left, 208, 24, 16);
        Shadow(p, flag, 1, 3, 80);
        if (slovak) {
            FlagSK(p, flag);
        } else {
            FlagCZ(p, flag);
        }
    }
    p.fillRect(QRectF(32, 330, 140, 1), QColor(255, 255, 255, 50));
    Text(p, QRectF(32, 334, 150, 14), Qt::AlignLeft | Qt::AlignVCenter,
         QStringLiteral("Autor programu"), Font(10), color::kSky);
    Text(p, QRectF(32, 350, 113, 15), Qt::AlignLeft | Qt::AlignVCenter,
         QStringLiteral("ZELM software"), Font(12, true), color::kWhite);

    // Title and description.
    Text(p, QRectF(kTextLeft, 12, 300, 34), Qt::AlignLeft | Qt::AlignVCenter,
         QStringLiteral("Tilava"), Font(26, true), color::kNavy);
    Text(p, QRectF(kTextLeft + 1, 44, 400, 17), Qt::AlignLeft | Qt::AlignVCenter,
         QStringLiteral("Kalendár mien a sviatkov pre Slovensko a Česko"), Font(12), color::kRed);
    p.fillRect(QRectF(kTextLeft, 68, kTextRight - kTextLeft, 1), color::kLine);

    const QStringList description{
        QStringLiteral("Tilava vám každé ráno pripomenie, kto má meniny a aký je sviatok,"),
        QStringLiteral("a na pracovnej ploche ukáže vaše poznámky, narodeniny a výročia."),
        QStringLiteral("V týždennom kalendári ich zapíšete jedným kliknutím a meno nájdete"),
        QStringLiteral("podľa slovenského aj českého kalendára mien."),
    };
    for (int i = 0; i < description.size(); ++i) {
        Justified(p, 76 + i * kLineHeight, kTextLeft, kTextRight, description[i],
                  i + 1 < description.size());
    }

    Text(p, QRectF(kTextLeft, 141, 400, 16), Qt::AlignLeft | Qt::AlignVCenter,
         QStringLiteral("Ďalšie programy od ZELM software"), Font(12, true), color::kNavy);
    LinkLine(p, QRectF(440, 158, 121, 15),
             QStringLiteral("Stretnutia a povinnosti celej rodiny drží"),
             QStringLiteral("Zelm Rodinný diár"), QStringLiteral(", účty, výdavky"));
    LinkLine(p, QRectF(440, 173, 145, 15), QStringLiteral("a príjmy domácnosti prehľadne vedie"),
             QStringLiteral("Zelm Domáce financie"), QStringLiteral("a recepty"));
    LinkLine(p, QRectF(448, 188, 129, 15),
             QStringLiteral("s nákupom na celý týždeň rýchlo zostaví"),
             QStringLiteral("Zelm Nákupný lístok"), QStringLiteral(". Všetky tri"));
    const QStringList middle{
        QStringLiteral("programy bežia na vašom počítači aj bez pripojenia k internetu, sú malé,"),
        QStringLiteral("rýchle a hovoria po slovensky aj po česky. Vaše údaje zostávajú vždy"),
        QStringLiteral("u vás, v jednoduchých súboroch, ktoré si ľahko zálohujete a prenesiete."),
    };
    for (int i = 0; i < middle.size(); ++i) {
        Justified(p, 203 + i * kLineHeight, kTextLeft, kTextRight, middle[i], true);
    }
    LinkLine(p, QRectF(344, 248, 170, 15), QStringLiteral("Firmám zasa pomôže"),
             QStringLiteral("Zelm Evidencia dochádzky"), QStringLiteral("s presným prehľadom"));
    Justified(
        p, 263, kTextLeft, kTextRight,
        QStringLiteral("odpracovaných hodín, dovoleniek a sviatkov podľa kalendára mien, aký"),
        true);
    Justified(
        p, 278, kTextLeft, kTextRight,
        QStringLiteral("poznáte z Tilavy. Na každý deň sa zíde aj malý pomocník: na prepočty"),
        true);
    LinkLine(p, QRectF(488, 293, 121, 15),
             QStringLiteral("cien v cudzích menách vám poslúži program"),
             QStringLiteral("Zelm Menový kurz"), QStringLiteral("a tiež"));
    LinkLine(p, QRectF(504, 308, 129, 15),
             QStringLiteral("na presné odpočítavanie s hlasným upozornením"),
             QStringLiteral("Zelm Stopky a budík"), QStringLiteral("."));
    Justified(p, 323, kTextLeft, kTextRight,
              QStringLiteral("Viac o programoch nájdete na stránkach autora."), false);
    p.restore();
}

PaintFunction AboutButton(QPointF at, const QString& caption, ButtonKind kind, bool hover) {
    return ButtonOnBackground(Background, QRectF(at, QSizeF(100, 25)), caption, kind, hover);
}

} // namespace

std::vector<PaintedPicture> AboutWindowPictures() {
    const QPointF close(514, 341);
    const QPointF help(394, 341);
    const QString closeText = QStringLiteral("Zatvoriť");
    const QString helpText = QStringLiteral("Nápoveda");
    return {
        {"about_background", Background},
        {"about_close_normal", AboutButton(close, closeText, ButtonKind::Primary, false)},
        {"about_close_hover", AboutButton(close, closeText, ButtonKind::Primary, true)},
        {"about_help_normal", AboutButton(help, helpText, ButtonKind::Secondary, false)},
        {"about_help_hover", AboutButton(help, helpText, ButtonKind::Secondary, true)},
    };
}

} // namespace tilava::skin
