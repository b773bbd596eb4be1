// The report of a sync, as the user reads it.

#include "exchange/sync/CalendarSync.h"

#include "core/Utf8.h"

#include <cstdio>

namespace tilava {

namespace {

std::string Count(const char* label, int count) {
    return std::string(label) + std::to_string(count);
}

void AddList(std::string& text, const char* title, const std::vector<std::string>& lines) {
    if (lines.empty()) {
        return;
    }
    text += std::string("\n") + title + "\n";
    for (const std::string& line : lines) {
        text += "  " + ReportLine(line) + "\n";
    }
}

} // namespace

std::string ReportLine(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const char32_t c = Utf8Next(text, pos);
        if (c == U'\n') {
            out += "\\n";
        } else if (c == U'\r') {
            out += "\\r";
        } else if (c == U'\t') {
            out += "\\t";
        } else if (c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029) {
            char code[12];
            std::snprintf(code, sizeof code, "\\u%04X", static_cast<unsigned>(c));
            out += code;
        } else {
            AppendUtf8(out, c);
        }
    }
    return out;
}

std::string SyncReport::Text() const {
    std::string text = "Synchronizácia s kalendárom „" + ReportLine(calendarUrl) + "“ " +
                       (Succeeded() ? "prebehla.\n" : "sa nedokončila.\n");
    if (added + removed > 0) {
        text += Count("Zo servera do poznámok: pridané záznamy ", added) +
                Count(", odstránené ", removed) + ".\n";
    }
    if (uploaded + deleted > 0) {
        text += Count("Z poznámok na server: odoslané udalosti ", uploaded) +
                Count(", zmazané ", deleted) + ".\n";
    }
    // Nothing waits, nothing was refused or withheld: only then were both sides alike.
    if (Succeeded() && added + removed + uploaded + deleted + waiting + withheld == 0 &&
        conflicts.empty() && refused.empty()) {
        text += "Obe strany už boli rovnaké.\n";
    }
    if (withheld > 0) {
        text += Count("Na serveri chýba toľko záznamov z poznámok, že ich Tilava bez vášho súhlasu "
                      "neodstránila (ostali v poznámkach aj všetky ostatné): ",
                      withheld) +
                ". Odstránenie povolíte v otázke pri ikone na lište alebo príkazom „tilava "
                "--sync-allow-removals“.\n";
    }
    if (waiting > 0) {
        text += Count("Zmeny, ktoré prídu na rad pri ďalšej synchronizácii (udalosť sa na serveri "
                      "medzitým zmenila): ",
                      waiting) +
                ".\n";
    }
    AddList(text, "Konflikty (záznam zmenený na oboch stranách):", conflicts);
    AddList(text, "Udalosti zo servera, ktoré sa do poznámok nedajú prevziať (na serveri ostali):",
            refused);
    AddList(text, "Dni spojené so zmenami iného programu:", notices);
    AddList(text, "Chyby:", failures);
    return text;
}

} // namespace tilava
