#pragma once
// Everything a tape file carries: the caption, the calculator state needed to go on, the last
// timer reading and every tape line.

#include <string>

#include "engine/TapeLines.h"

namespace qb {

struct TapeDocument {
    std::string caption;
    double subtotal = 0;
    char pendingOperation = '+';
    std::string entryText;
    bool justPressedEquals = true;
    bool specialResult = false;
    std::string elapsedTime;  // "" when no timer reading is held
    TapeLines lines;
};

}  // namespace qb
