#pragma once

#include "core/uRok.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tilava {

// The entries of one language's year calendar (names and holiday texts), normalised once
// for the name search, so that a keystroke costs one pass over prepared text.
class NameIndex {
public:
    struct Entry {
        int date = 0;
        int monthNumber = 0;
        std::string result; // "2.1. Alexandra"
    };

    explicit NameIndex(const TRok::Table& table);

    // Entries whose normalised text holds the normalised key: those that begin with it
    // first, then those that hold it further inside, each group in calendar order, each
    // entry once. The numbers index Entries(). An empty key finds nothing.
    void Hladaj(std::string_view key, std::vector<int>& found) const;

    const std::vector<Entry>& Entries() const { return entries_; }

private:
    std::vector<Entry> entries_;
    // The normalised entries in calendar order, each followed by a line feed, which the
    // collation never yields, so a match never runs from one entry into the next.
    std::string text_;
    std::vector<std::size_t> starts_; // where each entry starts in text_, plus the end
    mutable std::vector<int> inner_;  // scratch list of the inner matches
};

} // namespace tilava
