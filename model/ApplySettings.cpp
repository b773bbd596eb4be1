#include "model/ApplySettings.h"

#include "core/uRok.h"
#include "store/uRegi.h"

#include <algorithm>
#include <exception>
#include <functional>

namespace tilava {

int ShowTimeFromSeconds(int seconds) {
    return std::clamp(seconds, 0, MaxSeconds) * 1000;
}

std::string ApplySettings(const WidgetSettings& chosen, bool languageSK, TRok& rok, TRegi& regi,
                          WidgetSettings& widget, const std::filesystem::path& program) {
    std::string errors;
    // True when the write went through; a refusal is collected for the user.
    const auto zapis = [&errors](const std::function<void()>& action) {
        try {
            action();
            return true;
        } catch (const std::exception& e) {
            if (!errors.empty())
                errors += '\n';
            errors += e.what();
            return false;
        }
    };

    rok.JazykSK = languageSK;

    widget.Upozornenie = chosen.Upozornenie;
    if (chosen.Upozornenie >= 0 && chosen.Upozornenie <= 2)
        zapis([&] { regi.ZapisHodnotu("Upozornenie", chosen.Upozornenie); });

    const int showTime = ShowTimeFromSeconds(chosen.ShowTime / 1000);
    widget.ShowTime = zapis([&] { regi.ZapisHodnotu("ShowTime", showTime); })
                          ? WidgetSettings::ValidShowTime(regi.CitajHodnotu("ShowTime"))
                          : WidgetSettings::ValidShowTime(showTime);

    const int daysAhead = std::max(chosen.Dopredu, 0);
    widget.Dopredu = zapis([&] { regi.ZapisHodnotu("Dopredu", daysAhead); })
                         ? regi.CitajHodnotu("Dopredu")
                         : daysAhead;

    const std::u8string path = program.u8string();
    const std::string textProgramu(path.begin(), path.end());
    const struct {
        bool chosen;
        bool& field;
        std::function<void(std::string_view)> nastav;
        std::function<bool()> je;
        std::string zapnute;
    } prepinace[] = {
        {chosen.Startup, widget.Startup, [&](std::string_view t) { regi.NastavStartup(t); },
         [&] { return regi.JeStartup(); }, textProgramu},
        {chosen.Pamatat, widget.Pamatat, [&](std::string_view t) { regi.NastavPamatat(t); },
         [&] { return regi.JePamatat(); }, "True"},
        {chosen.Stale, widget.Stale, [&](std::string_view t) { regi.NastavStale(t); },
         [&] { return regi.JeStale(); }, "True"},
    };
    // The switches live in the store: each takes what reads back, also after a refusal.
    for (const auto& p : prepinace) {
        if (p.chosen == p.field)
            continue;
        zapis([&] { p.nastav(p.chosen ? p.zapnute : std::string()); });
        p.field = p.je();
    }
    return errors;
}

} // namespace tilava
