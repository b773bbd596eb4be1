#include "WidgetSupport.h"

#include "core/Cp1250.h"

#include <QFile>

namespace tilava::test {

WidgetWorld::WidgetWorld(std::chrono::year_month_day dnes) : hodiny(dnes) {}

std::unique_ptr<TfrmMain> WidgetWorld::Start() {
    return std::make_unique<TfrmMain>(hodiny, hive, priecinok.path().toStdString(), oznamy,
                                      [this] { return tray; });
}

QString WidgetWorld::Subor(int den, int mesiac) const {
    return priecinok.filePath(QStringLiteral("%1%2.txt")
                                  .arg(mesiac, 2, 10, QLatin1Char('0'))
                                  .arg(den, 2, 10, QLatin1Char('0')));
}

void WidgetWorld::ZapisDen(int den, int mesiac, const std::vector<std::string>& riadky) const {
    QByteArray bajty;
    for (const auto& riadok : riadky)
        bajty += QByteArray::fromStdString(EncodeCp1250(riadok)) + "\r\n";
    QFile subor(Subor(den, mesiac));
    if (!subor.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        subor.write(bajty) != bajty.size())
        qFatal("cannot write a day file");
}

void WidgetWorld::ZapisZaznamy(int den, int mesiac, const std::vector<Zaznam>& zaznamy) const {
    std::vector<std::string> riadky{"!"};
    for (const auto& z : zaznamy)
        riadky.insert(riadky.end(), {"-1", std::to_string(z.druh), std::to_string(z.rok), z.text});
    ZapisDen(den, mesiac, riadky);
}

} // namespace tilava::test
