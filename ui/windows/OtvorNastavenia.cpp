#include "ui/windows/OtvorNastavenia.h"

#include "core/uRok.h"
#include "model/Nastavenia.h"
#include "platform/ProgramPath.h"
#include "ui/windows/fSetup.h"

#include "ui/desktop/Notifier.h"
#include <QString>

namespace tilava {

bool OtvorNastavenia(QWidget* owner, SettingsHive& hive, TRok& rok, TRegi& regi,
                     NastaveniaWidgetu& nastavenia, Notifier& oznamy) {
    TfrmSetup okno(hive, owner);
    const ZvoleneNastavenia z = NaUpravu(nastavenia, rok.JazykSK);
    okno.JazykSK = z.JazykSK;
    okno.Sekundy = z.Sekundy;
    okno.Dopredu = z.Dopredu;
    okno.Startup = z.Startup;
    okno.Pamatat = z.Pamatat;
    okno.Stale = z.Stale;
    okno.Upozornenie = z.Upozornenie;
    okno.Zobraz();
    if (!okno.Potvrdene)
        return false;
    const ZvoleneNastavenia zvolene{okno.JazykSK, okno.Sekundy, okno.Dopredu,    okno.Startup,
                                    okno.Pamatat, okno.Stale,   okno.Upozornenie};
    const std::string chyby = AplikujNastavenia(zvolene, rok, regi, nastavenia, ProgramPath());
    if (!chyby.empty())
        oznamy.Message(owner, QStringLiteral("Niektoré nastavenia sa nepodarilo uložiť:\n%1")
                                  .arg(QString::fromStdString(chyby)));
    return true;
}

} // namespace tilava
