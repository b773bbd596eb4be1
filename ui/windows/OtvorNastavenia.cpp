#include "ui/windows/OtvorNastavenia.h"

#include "core/uRok.h"
#include "model/ApplySettings.h"
#include "platform/ProgramPath.h"
#include "ui/windows/fSetup.h"

#include "ui/desktop/Notifier.h"
#include <QString>

#include <utility>

namespace tilava {

bool OtvorNastavenia(QWidget* owner, SettingsHive& hive, TRok& rok, TRegi& regi,
                     WidgetSettings& settings, Notifier& notifier, CalendarSyncRunner* sync,
                     std::function<void()> openSyncSettings) {
    TfrmSetup window(hive, owner);
    if (sync)
        window.OfferSync(*sync, std::move(openSyncSettings));
    window.JazykSK = rok.JazykSK;
    window.Settings = settings;
    window.Zobraz();
    if (!window.Potvrdene)
        return false;
    const std::string errors =
        ApplySettings(window.Settings, window.JazykSK, rok, regi, settings, ProgramPath());
    if (!errors.empty())
        notifier.Message(owner, QStringLiteral("Niektoré nastavenia sa nepodarilo uložiť:\n%1")
                                    .arg(QString::fromStdString(errors)));
    return true;
}

} // namespace tilava
