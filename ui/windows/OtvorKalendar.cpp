#include "ui/windows/OtvorKalendar.h"

#include "model/uTyzden.h"
#include "ui/desktop/PageOpener.h"
#include "ui/windows/fTyzden.h"
#include "ui/windows/fUdalost.h"

namespace tilava {

void OtvorKalendar(const TRok& rok, TRegi& regi, const std::filesystem::path& priecinok,
                   const Clock& hodiny, Notifier& oznamy, QWidget* vlastnik) {
    SystemPageOpener web;
    OtvorKalendar(rok, regi, priecinok, hodiny, oznamy, web, vlastnik);
}

void OtvorKalendar(const TRok& rok, TRegi& regi, const std::filesystem::path& priecinok,
                   const Clock& hodiny, Notifier& oznamy, PageOpener& web, QWidget* vlastnik) {
    TTyzden tyzden(rok, regi, priecinok, hodiny);
    TfrmTyzden* okno = nullptr;
    // The editor belongs to the week window while that is shown.
    tyzden.NastavEditor([&]() -> std::unique_ptr<IEventEditor> {
        return std::make_unique<TfrmUdalost>(hodiny, oznamy, okno ? okno : vlastnik);
    });
    tyzden.Zobraz([&]() -> std::unique_ptr<IWeekWindow> {
        auto nove = std::make_unique<TfrmTyzden>(hodiny, oznamy, web, vlastnik);
        okno = nove.get();
        return nove;
    });
}

} // namespace tilava
