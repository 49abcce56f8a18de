#include "engine/BusinessRules.h"

#include <cmath>

namespace qb {

std::optional<PercentAdjustment> AdjustByAmount(double subtotal, double amount, bool less) {
    PercentAdjustment result{amount, less ? subtotal - amount : subtotal + amount};
    if (!std::isfinite(result.amount) || !std::isfinite(result.total)) return std::nullopt;
    return result;
}

std::optional<PercentAdjustment> AdjustByPercent(double subtotal, double rate, bool less) {
    return AdjustByAmount(subtotal, subtotal * rate / 100, less);
}

}  // namespace qb
