#include "core/uDen.h"

#include <utility>

namespace tilava {

void TSviatky::Pridaj(std::string nazov, bool sviatok) {
    TaTsviatok.push_back(TSviatok{sviatok, std::move(nazov)});
}

int TSviatky::Pocet() const {
    return static_cast<int>(TaTsviatok.size());
}

const std::string& TSviatky::Nazov(int cislo) const {
    static const std::string prazdny;
    if (cislo < 1 || cislo > Pocet())
        return prazdny;
    return TaTsviatok[static_cast<std::size_t>(cislo - 1)].Nazov;
}

bool TSviatky::JeSviatok(int cislo) const {
    if (cislo < 1 || cislo > Pocet())
        return false;
    return TaTsviatok[static_cast<std::size_t>(cislo - 1)].Sviatok;
}

} // namespace tilava
