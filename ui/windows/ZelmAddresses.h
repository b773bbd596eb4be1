#pragma once

#include <QString>

#include <array>

namespace tilava::ZelmAddresses {

// The maker's web pages, for the about window and the week window's header.
inline const QString HomePage = QStringLiteral("https://www.zelm.sk/");
// What the link hints show after "Choď na: ".
inline const QString HomePageHint = QStringLiteral("www.zelm.sk");

// The maker's other programs, in the order the about window names them.
inline const std::array<QString, 6> Products{
    QStringLiteral("https://www.zelm.sk/rodinny-diar/"),
    QStringLiteral("https://www.zelm.sk/domace-financie/"),
    QStringLiteral("https://www.zelm.sk/nakupny-listok/"),
    QStringLiteral("https://www.zelm.sk/evidencia-dochadzky/"),
    QStringLiteral("https://www.zelm.sk/menovy-kurz/"),
    QStringLiteral("https://www.zelm.sk/stopky-a-budik/"),
};

} // namespace tilava::ZelmAddresses
