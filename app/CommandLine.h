#pragma once

#include <optional>

namespace tilava {

// The program's command-line options, run without a window (and without a display):
//   --export-ics FILE     the notes as an iCalendar file (see CheckExportTarget for the files
//                         it refuses)
//   --import-vcard FILE   the birthdays of a vCard file into the notes
//   --force               lets the export replace an existing file that is not a calendar
//   --help, --version
// Each of the first two may be given several times. They work on the notes folder and take no
// single-instance lock, so they also run beside an open widget (the notes store joins what
// both save). The report is Slovak, on standard output, a failure's on standard error, with
// every control character but the line end shown as a visible code. The result is the exit
// status: 0 all done, 1 something failed or a target was refused, 2 a wrong command line.
// Nothing when the arguments hold none of these options: the program then starts as it always
// has, and Qt's own arguments (-session, -platform …) go on to the application.
std::optional<int> RunCommandLine(int argc, char* argv[]);

} // namespace tilava
