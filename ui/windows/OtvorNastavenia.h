#pragma once

#include <functional>

class QWidget;

namespace tilava {

class CalendarSyncRunner;
class Notifier;
class SettingsHive;
struct WidgetSettings;
class TRegi;
class TRok;

// The widget's settings command: a settings window owned by `owner` (its position kept in
// `hive`), filled from the widget's settings and the calendar's language. When the user
// confirms, the choice is applied to the calendar, the store and `settings` (see
// ApplySettings), and a value the store refuses is reported through `notifier`. True when
// confirmed. The caller stops its countdown before and rebuilds its display after, either way.
// With `sync`, the window also offers the calendar sync's settings (`openSyncSettings`) and a
// sync (TfrmSetup::OfferSync).
bool OtvorNastavenia(QWidget* owner, SettingsHive& hive, TRok& rok, TRegi& regi,
                     WidgetSettings& settings, Notifier& notifier,
                     CalendarSyncRunner* sync = nullptr,
                     std::function<void()> openSyncSettings = {});

} // namespace tilava
