#include "ui/controls/WidgetButtons.h"

#include "ui/controls/PictureButton.h"

#include <QRect>
#include <QString>
#include <QWidget>

#include <cstddef>

namespace tilava {

WidgetButtons::WidgetButtons(QWidget& widget) : QObject(&widget) {
    const struct {
        const char* name;
        const char* picture;
        QRect place;
        QString hint;
        QString accessibleName;
    } looks[] = {
        {"imgSetup",
         "setup",
         {101, 1, 18, 16},
         QStringLiteral("Nastavenia"),
         QStringLiteral("Nastavenia")},
        // (the "?" opens the about window, from which the help opens)
        {"imgHelp",
         "help",
         {120, 1, 13, 14},
         QStringLiteral("O programe"),
         QStringLiteral("O programe")},
        {"imgMin",
         "min",
         {135, 1, 13, 14},
         QStringLiteral("Minimalizovať"),
         QStringLiteral("Minimalizovať")},
        {"imgClose",
         "close",
         {152, 1, 13, 14},
         QStringLiteral("Zatvoriť"),
         QStringLiteral("Zatvoriť")},
    };
    for (std::size_t i = 0; i < ButtonHover::Pocet; ++i) {
        const QString base = QStringLiteral("main_%1_").arg(QLatin1String(looks[i].picture));
        normal_[i] = WidgetPicture(base + QStringLiteral("normal"));
        lit_[i] = WidgetPicture(base + QStringLiteral("hover"));
        auto* button = new PictureButton(&widget, QLatin1String(looks[i].name), looks[i].place);
        button->setToolTip(looks[i].hint);
        button->setAccessibleName(looks[i].accessibleName);
        button->setPictures(normal_[i]());
        buttons_[i] = button;
        const auto which = static_cast<ButtonHover::Button>(i);
        connect(button, &PictureButton::pointerMoved, this, [this, which] {
            hover_.Enter(which);
            Refresh();
            emit pointerMoved();
        });
        connect(button, &PictureButton::pointerLeft, this, [this, which] {
            hover_.Leave(which);
            Refresh();
        });
    }
    buttons_[ButtonHover::Help]->setAccessibleDescription(
        QStringLiteral("Otvorí okno o programe, odkiaľ sa otvára nápoveda"));
}

void WidgetButtons::PutOut() {
    hover_.Dim();
    Refresh();
}

void WidgetButtons::PutOutSetup() {
    hover_.DimSetup();
    Refresh();
}

void WidgetButtons::Refresh() {
    for (std::size_t i = 0; i < ButtonHover::Pocet; ++i) {
        const bool lit = hover_.IsLit(static_cast<ButtonHover::Button>(i));
        PictureButton* button = buttons_[i];
        if (lit && !button->isLit()) // the lit picture is decoded when first needed
            button->setPictures(normal_[i](), lit_[i]());
        button->setLit(lit);
    }
}

} // namespace tilava
