#pragma once

#include <array>
#include <cstddef>

namespace tilava {

// The hover marks of the widget's four small buttons. A set mark means the button shows its
// hover picture, a clear one its normal picture. Moving over a button lights it and puts out
// its neighbours; leaving the button, or the widget, puts it out.
class ButtonHover {
public:
    enum Button : std::size_t { Setup = 0, Help = 1, Min = 2, Close = 3 };
    static constexpr std::size_t Pocet = 4;

    // The pointer moves over a button; nothing happens when it is lit already.
    void Enter(Button button);
    // The pointer moves over the day area, the event text or the flag, or leaves the widget.
    void Dim();
    // The pointer leaves the button: it goes out, whatever it leaves for.
    void Leave(Button button) { lit[button] = false; }
    // The pointer moves over the drag strip: the settings button goes out.
    void DimSetup() { lit[Setup] = false; }

    bool IsLit(Button button) const { return lit[button]; }

    // NadSetup, NadHelp, NadMin, NadClose
    std::array<bool, Pocet> lit{};
};

} // namespace tilava
