#pragma once

#include <string_view>

namespace tilava {

// The command line's reports, in UTF-8. On Windows the program belongs to the window
// subsystem: started from a console window it has no standard output of its own, and its
// reports then go to the console of the program that started it. A console gets the text
// whatever its code page; output redirected to a file or a pipe gets UTF-8 bytes with CR LF
// line ends. On Linux the bytes go out as they are. False when the text could not be written
// whole.
enum class StandardStream { Output, Error };
bool WriteStandard(StandardStream stream, std::string_view utf8);

} // namespace tilava
