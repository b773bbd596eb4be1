#pragma once

#include <filesystem>
#include <functional>

class QWidget;

namespace tilava {

class Clock;
class NotesFolderWatch;
class Notifier;
class PageOpener;
class TRegi;
class TRok;

// Opens the week window on the current week and returns when the user has closed it (every
// change saved, or given up by the user's own choice). The week model is built here with the
// widget's calendar, settings store, notes folder and clock, the event editor and the week
// window are children of `owner`'s windows, and everything is freed before the return.
// The borrowed objects must outlive the call.
void OtvorKalendar(const TRok& rok, TRegi& regi, const std::filesystem::path& folder,
                   const Clock& clock, Notifier& notifier, QWidget* owner);

// The same with another way to the web browser (tests); with `watch`, the open window shows
// what other programs write into the day files meanwhile; `saved` is called after each save
// that wrote the user's changes.
void OtvorKalendar(const TRok& rok, TRegi& regi, const std::filesystem::path& folder,
                   const Clock& clock, Notifier& notifier, PageOpener& web, QWidget* owner,
                   NotesFolderWatch* watch = nullptr, std::function<void()> saved = {});

} // namespace tilava
