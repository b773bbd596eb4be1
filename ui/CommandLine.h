#pragma once

#include <optional>

namespace tilava {

// The program's command-line options, run without a window (and without a display):
//   --export-ics FILE     the notes as an iCalendar file
//   --import-vcard FILE   the birthdays of a vCard file into the notes
//   --help, --version
// They work on the notes folder and take no single-instance lock, so they also run beside an
// open widget (the notes store joins what both save). The report goes to standard output in
// Slovak; the result is the exit status: 0 all done, 1 something failed, 2 a wrong command line.
// Nothing when the arguments hold none of these options: the program then starts as it always
// has, and Qt's own arguments (-session, -platform …) go on to the application.
std::optional<int> RunCommandLine(int argc, char* argv[]);

} // namespace tilava
