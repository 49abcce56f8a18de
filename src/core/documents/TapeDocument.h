#pragma once
// Everything a tape file carries: the caption, the calculator state needed to go on, the last
// timer reading and every tape line.

#include <string>

#include "engine/TapeLines.h"

namespace qb {

// What a tape carries besides its lines: the caption, the calculator state needed to go on and
// the last timer reading.
struct TapeValues {
    std::string caption;
    double subtotal = 0;
    char pendingOperation = '+';
    std::string entryText;
    bool justPressedEquals = true;
    bool specialResult = false;
    std::string elapsedTime;  // "" when no timer reading is held
    bool operator==(const TapeValues&) const = default;
};

struct TapeDocument : TapeValues {
    TapeLines lines;
};

}  // namespace qb
