#pragma once

#include <array>
#include <cstddef>

namespace tilava {

// The hover marks of the widget's four small buttons. A set mark means the button shows its
// hover picture, a clear one its normal picture. Moving over a button lights it and puts out
// its neighbours; leaving the button, or the widget, puts it out.
class ButtonHover {
public:
    enum Tlacidlo : std::size_t { Setup = 0, Help = 1, Min = 2, Close = 3 };
    static constexpr std::size_t Pocet = 4;

    // The pointer moves over a button; nothing happens when it is lit already.
    void NadTlacidlom(Tlacidlo tlacidlo);
    // The pointer moves over the day area, the event text or the flag, or leaves the widget.
    void Zhasni();
    // The pointer leaves the button: it goes out, whatever it leaves for.
    void Opusti(Tlacidlo tlacidlo) { Nad[tlacidlo] = false; }
    // The pointer moves over the drag strip: the settings button goes out.
    void ZhasniSetup() { Nad[Setup] = false; }

    bool Svieti(Tlacidlo tlacidlo) const { return Nad[tlacidlo]; }

    // NadSetup, NadHelp, NadMin, NadClose
    std::array<bool, Pocet> Nad{};
};

} // namespace tilava
