#include "model/Nastavenia.h"

#include "core/uRok.h"
#include "store/uRegi.h"

#include <algorithm>
#include <exception>
#include <functional>

namespace tilava {

int ShowTimeFromSeconds(int seconds) {
    return std::clamp(seconds, 0, MaxSekund) * 1000;
}

std::string AplikujNastavenia(const WidgetSettings& zvolene, bool jazykSK, TRok& rok, TRegi& regi,
                              WidgetSettings& widget, const std::filesystem::path& program) {
    std::string chyby;
    // True when the write went through; a refusal is collected for the user.
    const auto zapis = [&chyby](const std::function<void()>& akcia) {
        try {
            akcia();
            return true;
        } catch (const std::exception& e) {
            if (!chyby.empty())
                chyby += '\n';
            chyby += e.what();
            return false;
        }
    };

    rok.JazykSK = jazykSK;

    widget.Upozornenie = zvolene.Upozornenie;
    if (zvolene.Upozornenie >= 0 && zvolene.Upozornenie <= 2)
        zapis([&] { regi.ZapisHodnotu("Upozornenie", zvolene.Upozornenie); });

    const int showTime = ShowTimeFromSeconds(zvolene.ShowTime / 1000);
    widget.ShowTime = zapis([&] { regi.ZapisHodnotu("ShowTime", showTime); })
                          ? WidgetSettings::PlatnyShowTime(regi.CitajHodnotu("ShowTime"))
                          : WidgetSettings::PlatnyShowTime(showTime);

    const int dopredu = std::max(zvolene.Dopredu, 0);
    widget.Dopredu = zapis([&] { regi.ZapisHodnotu("Dopredu", dopredu); })
                         ? regi.CitajHodnotu("Dopredu")
                         : dopredu;

    const std::u8string cesta = program.u8string();
    const std::string textProgramu(cesta.begin(), cesta.end());
    const struct {
        bool zvolene;
        bool& pole;
        std::function<void(std::string_view)> nastav;
        std::function<bool()> je;
        std::string zapnute;
    } prepinace[] = {
        {zvolene.Startup, widget.Startup, [&](std::string_view t) { regi.NastavStartup(t); },
         [&] { return regi.JeStartup(); }, textProgramu},
        {zvolene.Pamatat, widget.Pamatat, [&](std::string_view t) { regi.NastavPamatat(t); },
         [&] { return regi.JePamatat(); }, "True"},
        {zvolene.Stale, widget.Stale, [&](std::string_view t) { regi.NastavStale(t); },
         [&] { return regi.JeStale(); }, "True"},
    };
    // The switches live in the store: each takes what reads back, also after a refusal.
    for (const auto& p : prepinace) {
        if (p.zvolene == p.pole)
            continue;
        zapis([&] { p.nastav(p.zvolene ? p.zapnute : std::string()); });
        p.pole = p.je();
    }
    return chyby;
}

} // namespace tilava
