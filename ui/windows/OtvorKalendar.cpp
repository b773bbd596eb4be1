#include "ui/windows/OtvorKalendar.h"

#include "exchange/sync/SyncState.h"
#include "model/uTyzden.h"
#include "platform/SyncStateFolder.h"
#include "ui/desktop/NotesFolderWatch.h"
#include "ui/desktop/PageOpener.h"
#include "ui/windows/fTyzden.h"
#include "ui/windows/fUdalost.h"

#include <optional>
#include <utility>

namespace tilava {

void OtvorKalendar(const TRok& rok, TRegi& regi, const std::filesystem::path& folder,
                   const Clock& clock, Notifier& notifier, QWidget* owner) {
    SystemPageOpener web;
    OtvorKalendar(rok, regi, folder, clock, notifier, web, owner);
}

void OtvorKalendar(const TRok& rok, TRegi& regi, const std::filesystem::path& folder,
                   const Clock& clock, Notifier& notifier, PageOpener& web, QWidget* owner,
                   NotesFolderWatch* watch, std::function<void()> saved) {
    // A day file changed while the window holds unsaved changes is told as the sync's when the
    // sync's state changed meanwhile.
    SaveOptions options;
    if (const std::optional<std::filesystem::path> state = SyncStateFolder())
        options.syncMark = *state / kSyncStateName;
    TTyzden week(rok, regi, folder, clock, options);
    week.SetSavedReaction(std::move(saved));
    TfrmTyzden* window = nullptr;
    // The editor belongs to the week window while that is shown.
    week.SetEditor([&]() -> std::unique_ptr<IEventEditor> {
        return std::make_unique<TfrmUdalost>(clock, notifier, window ? window : owner);
    });
    week.Zobraz([&]() -> std::unique_ptr<IWeekWindow> {
        auto nove = std::make_unique<TfrmTyzden>(clock, notifier, web, owner);
        window = nove.get();
        if (watch)
            QObject::connect(watch, &NotesFolderWatch::Changed, window, &TfrmTyzden::ReloadDays);
        return nove;
    });
}

} // namespace tilava
