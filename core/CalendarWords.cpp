#include "core/CalendarWords.h"

namespace tilava {

const std::array<std::string_view, 8> Dni = {
    "", "Pondelok", "Utorok", "Streda", "Štvrtok", "Piatok", "Sobota", "Nedeľa",
};

const std::array<std::string_view, 13> Mesiace = {
    "",    "Január", "Február",   "Marec",   "Apríl",    "Máj",      "Jún",
    "Júl", "August", "September", "Október", "November", "December",
};

const std::array<std::string_view, 8> WeekdayAbbreviations = {
    "", "Po", "Ut", "St", "Št", "Pi", "So", "Ne",
};

const std::array<std::string_view, 13> MonthsAfterDay = {
    "",     "januára", "februára",  "marca",   "apríla",   "mája",     "júna",
    "júla", "augusta", "septembra", "októbra", "novembra", "decembra",
};

} // namespace tilava
