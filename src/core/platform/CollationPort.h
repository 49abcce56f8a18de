#pragma once
// Alphabetical order as the user's language has it, letter case ignored.

#include <string_view>

namespace qb {

class CollationPort {
public:
    virtual ~CollationPort() = default;
    // Negative, zero or positive as the UTF-8 text a comes before, with or after b. Texts that
    // differ only in letter case compare as equal; letters with and without accents do not.
    virtual int Compare(std::string_view a, std::string_view b) = 0;
};

}  // namespace qb
