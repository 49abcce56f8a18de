#pragma once
// Find, Find Next and Find Previous on the tape: a number by its value or a note's text. The
// line found is selected and scrolled into view; going past an end of the tape beeps.

#include <string>

#include "engine/TapeFind.h"

namespace qb {

class Desk;

class Finder {
public:
    explicit Finder(Desk& desk) : desk_(desk) {}

    // Asks what to find (offering the last text), then finds it after the selected line.
    void FindCommand();
    // The last text again, after (or before) the selected line; asks when there is none yet.
    void FindAgain(bool forward);

private:
    void Find(bool forward);

    Desk& desk_;
    std::string typed_;  // UTF-8, as the prompt gave it
    FindQuery query_;
};

}  // namespace qb
