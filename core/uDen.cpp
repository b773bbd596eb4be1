#include "core/uDen.h"

#include <utility>

namespace tilava {

void TSviatky::Pridaj(std::string name, bool nameDay) {
    TaTsviatok.push_back(TSviatok{nameDay, std::move(name)});
}

int TSviatky::Pocet() const {
    return static_cast<int>(TaTsviatok.size());
}

const std::string& TSviatky::Nazov(int number) const {
    static const std::string empty;
    if (number < 1 || number > Pocet())
        return empty;
    return TaTsviatok[static_cast<std::size_t>(number - 1)].Nazov;
}

bool TSviatky::JeSviatok(int number) const {
    if (number < 1 || number > Pocet())
        return false;
    return TaTsviatok[static_cast<std::size_t>(number - 1)].Sviatok;
}

} // namespace tilava
