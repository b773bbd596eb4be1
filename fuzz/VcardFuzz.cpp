// Feeds arbitrary bytes to the vCard reader and checks what must hold for every input: each
// card found starts on a line of the file, a birthday read from BDAY is a real day of the year,
// and the reader is the same for the same bytes.
#include "exchange/VcardImport.h"
#include "fuzz/Broken.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using tilava::fuzz::Broken;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::size_t lines = 1;
    for (const char c : bytes)
        lines += c == '\n' || c == '\r';
    const auto contacts = tilava::ReadVcards(bytes);
    for (const tilava::VcardContact& contact : contacts) {
        if (contact.line < 1 || static_cast<std::size_t>(contact.line) > lines)
            Broken("a card starts outside the file");
        if (contact.born && !contact.born->date.ok())
            Broken("a birthday that is no day of the year");
        if (contact.bday.empty() && contact.born)
            Broken("a birthday without its BDAY text");
        if (!contact.bday.empty() && contact.born && !tilava::ParseBirthday(contact.bday))
            Broken("BDAY text reads differently on its own");
    }
    if (tilava::ReadVcards(bytes).size() != contacts.size())
        Broken("the same bytes give another number of cards");
    return 0;
}
