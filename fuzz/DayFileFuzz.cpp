// Feeds arbitrary bytes to the Windows-1250 codec and to the day-file reader, and checks what
// must hold for every input: the codec round-trips every byte, the reader either loads or
// names the bad line, and whatever loads (whole or up to the bad record) saves and loads back
// to the same entries; only a file in UTF-8 may hold a character that cannot be saved.
#include "core/Cp1250.h"
#include "store/DayFile.h"
#include "store/NotesError.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

using namespace tilava;

[[noreturn]] void Zle(const char* what) {
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
}

void Kodovanie(std::string_view bytes) {
    if (EncodeCp1250(DecodeCp1250(bytes)) != bytes) {
        Zle("Windows-1250 bytes do not round-trip");
    }
    // The same bytes read as UTF-8: either every character encodes, or the first one that
    // cannot is the one the encoder refuses.
    const std::optional<char32_t> first = FirstUnencodable(bytes);
    try {
        const std::string code = EncodeCp1250(bytes);
        if (first) {
            Zle("encoded a text with an unencodable character");
        }
        if (DecodeCp1250(code) != bytes) {
            Zle("encodable UTF-8 does not round-trip");
        }
    } catch (const Cp1250Error& e) {
        if (!first || *first != e.codePoint) {
            Zle("the refused character is not the first unencodable one");
        }
        if (DescribeCharacter(e.codePoint).empty() || std::string_view(e.what()).empty()) {
            Zle("empty description");
        }
    }
}

void DenZoSuboru(std::string_view bytes) {
    const std::filesystem::path subor = "ZelmTilava/0305.txt";
    DayFile date;
    try {
        ParseDayFile(bytes, subor, date);
    } catch (const NotesError& e) {
        if (e.kind != NotesError::Kind::Format || e.line < 1 || e.file != subor ||
            e.reason.empty()) {
            Zle("a malformed file gives a bad error");
        }
    }
    for (const TNote& entry : date.Entries) {
        for (const int rok : {2009, -2147483647 - 1, 2147483647}) {
            (void)entry.Popis(rok);
        }
    }
    std::string again;
    try {
        again = FormatDayFile(date, subor);
    } catch (const NotesError& e) {
        // A file in UTF-8 may hold characters that Windows-1250 has not: saving refuses
        // them by name. A file in Windows-1250 always saves.
        if (!bytes.starts_with("\xEF\xBB\xBF") || e.kind != NotesError::Kind::Encoding) {
            Zle("what loads does not save");
        }
        return;
    }
    DayFile nacitany;
    try {
        ParseDayFile(again, subor, nacitany);
    } catch (const NotesError&) {
        Zle("a saved file does not load");
    }
    if (!(nacitany == date)) {
        Zle("a saved file loads different entries");
    }
    if (FormatDayFile(nacitany, subor) != again) {
        Zle("saving is not stable");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Kodovanie(bytes);
    DenZoSuboru(bytes);
    return 0;
}
