#include "store/WidgetSettings.h"

#include "store/uRegi.h"

namespace tilava {

int WidgetSettings::ValidShowTime(int saved) {
    return saved == 0 ? 20000 : saved;
}

int WidgetSettings::ValidAlert(int saved, int previous) {
    return saved >= 0 && saved <= 2 ? saved : previous;
}

WidgetSettings WidgetSettings::Nacitaj(const TRegi& regi) {
    WidgetSettings s;
    s.Startup = regi.JeStartup();
    s.Pamatat = regi.JePamatat();
    s.ShowTime = ValidShowTime(regi.CitajHodnotu("ShowTime"));
    s.Upozornenie = ValidAlert(regi.CitajHodnotu("Upozornenie"), s.Upozornenie);
    s.Dopredu = regi.CitajHodnotu("Dopredu");
    s.Stale = regi.JeStale();
    if (s.Pamatat) {
        if (const int top = regi.CitajHodnotu("frmMainTop"); top != 0) {
            s.Top = top;
        }
        if (const int left = regi.CitajHodnotu("frmMainLeft"); left != 0) {
            s.Left = left;
        }
    }
    return s;
}

} // namespace tilava
