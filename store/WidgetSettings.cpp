#include "store/WidgetSettings.h"

#include "store/uRegi.h"

namespace tilava {

int WidgetSettings::PlatnyShowTime(int ulozeny) {
    return ulozeny == 0 ? 20000 : ulozeny;
}

int WidgetSettings::PlatneUpozornenie(int ulozene, int doterajsie) {
    return ulozene >= 0 && ulozene <= 2 ? ulozene : doterajsie;
}

WidgetSettings WidgetSettings::Nacitaj(const TRegi& regi) {
    WidgetSettings s;
    s.Startup = regi.JeStartup();
    s.Pamatat = regi.JePamatat();
    s.ShowTime = PlatnyShowTime(regi.CitajHodnotu("ShowTime"));
    s.Upozornenie = PlatneUpozornenie(regi.CitajHodnotu("Upozornenie"), s.Upozornenie);
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
