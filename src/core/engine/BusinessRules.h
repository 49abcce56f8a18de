#pragma once
// The percentage keys of a desk machine, as pure rules: Add % and Less % put a percentage of
// the subtotal on it or take it off (100 Add % 10 gives 110, Less % 10 gives 90).

#include <optional>

namespace qb {

// The marks of their lines in the tape's operation column, used by no other line.
inline constexpr char kAddOnMark = 'A';      // the amount Add % put on
inline constexpr char kDiscountMark = 'L';   // the amount Less % took off
inline constexpr char kNewSubtotalMark = 'S';  // the subtotal either key left
inline bool IsBusinessMark(char c) { return c == kAddOnMark || c == kDiscountMark || c == kNewSubtotalMark; }

struct PercentAdjustment {
    double amount = 0;  // rate % of the subtotal, with the subtotal's sign
    double total = 0;   // the subtotal with the amount put on (Add %) or taken off (Less %)
};

// The amount is rate % of the subtotal, or the amount given (as the tape line rounded it, so
// that the printed lines add up). Nothing when the result leaves the number range.
std::optional<PercentAdjustment> AdjustByPercent(double subtotal, double rate, bool less);
std::optional<PercentAdjustment> AdjustByAmount(double subtotal, double amount, bool less);

}  // namespace qb
