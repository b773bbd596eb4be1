#include "model/NameIndex.h"

#include "model/Collation.h"

#include <algorithm>

namespace tilava {

NameIndex::NameIndex(const TRok::Table& table) {
    for (int monthNumber = 1; monthNumber <= 12; ++monthNumber) {
        for (int date = 1; date <= 31; ++date) {
            const TSviatky& list = table[static_cast<std::size_t>(date - 1)]
                                        [static_cast<std::size_t>(monthNumber - 1)];
            for (int k = 1; k <= list.Pocet(); ++k) {
                const std::string& name = list.Nazov(k);
                starts_.push_back(text_.size());
                AppendNormalized(text_, name);
                text_.push_back('\n');
                entries_.push_back(
                    {date, monthNumber,
                     std::to_string(date) + "." + std::to_string(monthNumber) + ". " + name});
            }
        }
    }
    starts_.push_back(text_.size());
}

void NameIndex::Hladaj(std::string_view key, std::vector<int>& found) const {
    found.clear();
    inner_.clear();
    if (key.empty())
        return;
    const std::string_view text = text_;
    std::size_t od = 0;
    for (;;) {
        const std::size_t zhoda = text.find(key, od);
        if (zhoda == std::string_view::npos)
            break;
        const auto next = std::upper_bound(starts_.begin(), starts_.end(), zhoda);
        const int entry = static_cast<int>(next - starts_.begin()) - 1;
        (zhoda == *(next - 1) ? found : inner_).push_back(entry);
        od = *next; // the first match of an entry decides; go on with the next entry
    }
    found.insert(found.end(), inner_.begin(), inner_.end());
}

} // namespace tilava
