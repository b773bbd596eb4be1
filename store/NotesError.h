#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

namespace tilava {

// A day file that could not be read, parsed or written. what() is the whole message for the
// user, in Slovak: which file, which line (when it is about a line) and what went wrong.
class NotesError : public std::runtime_error {
public:
    enum class Kind {
        Read,      // the file could not be opened or read
        Format,    // a line is not what the four-line record needs there
        Write,     // the file could not be written or deleted
        NotLoaded, // the last load of the day failed, so saving would overwrite unread entries
        Encoding,  // a text cannot be written in Windows-1250 (or holds a line feed)
        Changed,   // another program changed the file since the load, and it cannot be read
        Locked,    // the notes folder's lock could not be had, so nothing was written
        TooLarge,  // the day's file would be larger than a day file may be, so nothing was written
    };

    // `line` counts from 1; 0 when the error is not about one line.
    NotesError(Kind error, std::filesystem::path dayFile, int lineNumber, std::string why);

    Kind kind;
    std::filesystem::path file;
    int line;
    std::string reason;
};

} // namespace tilava
