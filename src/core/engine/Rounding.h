#pragma once
// How a value is rounded to the fixed decimal places of the tape, the display and the operand.

#include <cstdint>
#include <optional>
#include <string_view>

namespace qb {

enum class Rounding : std::uint8_t {
    FiveFour,  // halves and above away from zero, below a half toward it
    Up,        // any remainder away from zero: 1.231 and -1.231 give 1.24 and -1.24
    Down,      // any remainder cut: 1.239 and -1.239 give 1.23 and -1.23
};

// The mode's name as the menu and the tooltips say it: "Round 5/4", "Round Up", "Round Down".
std::string_view RoundingName(Rounding mode);
// The mode's setting text ("5/4", "Up", "Down") and back; nothing for any other text.
std::string_view RoundingSetting(Rounding mode);
std::optional<Rounding> ParseRoundingSetting(std::string_view text);

}  // namespace qb
