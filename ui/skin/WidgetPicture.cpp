#include "ui/skin/WidgetPicture.h"

#include "ui/skin/Palette.h"
#include "ui/skin/Pictures.h"
#include "ui/skin/SkinCatalog.h"

#include <QColor>
#include <QLatin1String>
#include <QSize>

namespace tilava {

QPixmap WidgetPicture::Load(const QString& name) {
    const struct {
        const char* prefix;
        QColor colour;
    } colours[] = {
        {"main_bar_note", palette::kBlue},       {"main_bar_birthday", palette::kGreen},
        {"main_bar_anniversary", palette::kRed}, {"main_bar_missed", palette::kPurple},
        {"main_flag", palette::kWhite},          {"main_header", palette::kSky},
        {"main_tomorrow", palette::kSky},
    };
    QColor colour = palette::kNavy;
    for (const auto& c : colours)
        if (name.startsWith(QLatin1String(c.prefix)))
            colour = c.colour;
    for (const SkinPictureInfo& info : kSkinPictures)
        if (name == QLatin1String(info.name.data(), static_cast<qsizetype>(info.name.size())))
            return LoadSkinPicture(name, colour, QSize(info.width, info.height));
    return {};
}

} // namespace tilava
