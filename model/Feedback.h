#pragma once

#include <string>

namespace tilava {

// Beeps and message boxes: the system's in the program, a counting stand-in in tests.
class Feedback {
public:
    virtual ~Feedback() = default;
    // The system's default beep.
    virtual void Beep() = 0;
    // A warning in a message box titled "Tilava", with an OK button; returns when it closes.
    virtual void Warning(const std::string& text) = 0;
};

} // namespace tilava
