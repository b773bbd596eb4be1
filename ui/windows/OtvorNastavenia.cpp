#include "ui/windows/OtvorNastavenia.h"

#include "core/uRok.h"
#include "model/Nastavenia.h"
#include "platform/ProgramPath.h"
#include "ui/windows/fSetup.h"

#include "ui/desktop/Notifier.h"
#include <QString>

namespace tilava {

bool OtvorNastavenia(QWidget* owner, SettingsHive& hive, TRok& rok, TRegi& regi,
                     WidgetSettings& nastavenia, Notifier& oznamy) {
    TfrmSetup okno(hive, owner);
    okno.JazykSK = rok.JazykSK;
    okno.Nastavenia = nastavenia;
    okno.Zobraz();
    if (!okno.Potvrdene)
        return false;
    const std::string chyby =
        AplikujNastavenia(okno.Nastavenia, okno.JazykSK, rok, regi, nastavenia, ProgramPath());
    if (!chyby.empty())
        oznamy.Message(owner, QStringLiteral("Niektoré nastavenia sa nepodarilo uložiť:\n%1")
                                  .arg(QString::fromStdString(chyby)));
    return true;
}

} // namespace tilava
