#include "model/NameIndex.h"

#include "model/Collation.h"

#include <algorithm>

namespace tilava {

NameIndex::NameIndex(const TRok::Tabulka& tabulka) {
    for (int mesiac = 1; mesiac <= 12; ++mesiac) {
        for (int den = 1; den <= 31; ++den) {
            const TSviatky& zoznam =
                tabulka[static_cast<std::size_t>(den - 1)][static_cast<std::size_t>(mesiac - 1)];
            for (int k = 1; k <= zoznam.Pocet(); ++k) {
                const std::string& nazov = zoznam.Nazov(k);
                zaciatky_.push_back(text_.size());
                AppendNormalized(text_, nazov);
                text_.push_back('\n');
                zaznamy_.push_back(
                    {den, mesiac,
                     std::to_string(den) + "." + std::to_string(mesiac) + ". " + nazov});
            }
        }
    }
    zaciatky_.push_back(text_.size());
}

void NameIndex::Hladaj(std::string_view kluc, std::vector<int>& najdene) const {
    najdene.clear();
    vnutorne_.clear();
    if (kluc.empty())
        return;
    const std::string_view text = text_;
    std::size_t od = 0;
    for (;;) {
        const std::size_t zhoda = text.find(kluc, od);
        if (zhoda == std::string_view::npos)
            break;
        const auto dalsi = std::upper_bound(zaciatky_.begin(), zaciatky_.end(), zhoda);
        const int zaznam = static_cast<int>(dalsi - zaciatky_.begin()) - 1;
        (zhoda == *(dalsi - 1) ? najdene : vnutorne_).push_back(zaznam);
        od = *dalsi; // the first match of an entry decides; go on with the next entry
    }
    najdene.insert(najdene.end(), vnutorne_.begin(), vnutorne_.end());
}

} // namespace tilava
