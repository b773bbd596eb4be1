#pragma once

#include <optional>

namespace tilava {

// The program's command-line options, run without a window (and without a display):
//   --export-ics FILE     the notes as an iCalendar file (see CheckExportTarget for the files
//                         it refuses)
//   --import-vcard FILE   the birthdays of a vCard file into the notes
//   --force               lets the export replace an existing file that is not a calendar
//   --sync                the notes synced with the calendar on the server of the sync's
//                         settings, after the imports and before the exports
//   --help, --version
// Each of the first two may be given several times. They work on the notes folder and take no
// single-instance lock, so they also run beside an open widget (the notes store joins what
// both save). The report is Slovak, on standard output, a failure's on standard error, with
// every control character but the line end shown as a visible code. The result is the exit
// status: 0 all done, 1 something failed, a target was refused or a report could not be
// written, 2 a wrong command line. Besides these the command line may hold only Qt's own
// arguments (-platform, -style, -session, -display …); anything else is a wrong command line,
// found before the program does anything else. Nothing when the arguments hold no option of
// the program's own and no mistake: the program then starts its widget, and Qt's arguments go
// on to the application.
std::optional<int> RunCommandLine(int argc, char* argv[]);

} // namespace tilava
