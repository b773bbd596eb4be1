#pragma once

#include <string>
#include <vector>

namespace tilava {

// One entry of a day list: a name or a holiday text.
struct TSviatok {
    bool Sviatok = false; // a public holiday (a red-letter day)
    std::string Nazov;    // UTF-8
};

// The texts of one day of the year in list order. Entries are counted from 1.
class TSviatky {
public:
    void Pridaj(std::string name, bool nameDay);
    int Pocet() const;
    // The empty text and false for an entry number outside 1..Pocet.
    const std::string& Nazov(int number) const;
    bool JeSviatok(int number) const;

private:
    std::vector<TSviatok> TaTsviatok;
};

} // namespace tilava
