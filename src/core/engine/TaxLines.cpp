#include "engine/TaxLines.h"

#include "engine/BusinessRules.h"
#include "engine/Tape.h"

namespace qb {
namespace {

// A section ends above at a blank line.
bool IsBlank(std::string_view line) { return line.find_first_not_of(' ') == std::string_view::npos; }

bool IsTaxLine(std::string_view line) { return !line.empty() && line.back() == kTaxMark; }

// The rate the tax lines named last at or above the index, within its section.
std::optional<double> NamedRateAbove(const TapeLines& lines, std::int64_t index) {
    for (std::int64_t i = index; i >= 0; --i) {
        const std::string_view line = lines[static_cast<std::size_t>(i)];
        if (IsBlank(line)) return std::nullopt;
        if (!IsTaxLine(line)) continue;
        if (auto rate = RateOfTaxLine(line)) return rate;
    }
    return std::nullopt;
}

}  // namespace

std::string TaxLine(const std::string& amount, double rate, bool nameRate) {
    const std::string content = amount + ' ' + kTaxMark;
    const std::string prefix = TaxRatePrefix(rate);
    if (!nameRate || prefix.size() + 1 + content.size() > Tape::kLineWidth) return Tape::LayOut(content);
    return prefix + std::string(Tape::kLineWidth - prefix.size() - content.size(), ' ') + content;
}

bool TaxRateShown(const TapeLines& lines, double rate) {
    const auto named = NamedRateAbove(lines, static_cast<std::int64_t>(lines.size()) - 1);
    return named && *named == rate;
}

std::optional<double> RateOfTaxLineAt(const TapeLines& lines, std::int64_t index) {
    if (index < 0 || index >= static_cast<std::int64_t>(lines.size()) || !IsTaxLine(lines[static_cast<std::size_t>(index)]))
        return std::nullopt;
    return NamedRateAbove(lines, index);
}

std::string BusinessLineDescription(const TapeLines& lines, std::int64_t index) {
    if (index < 0 || index >= static_cast<std::int64_t>(lines.size())) return {};
    const std::string_view line = lines[static_cast<std::size_t>(index)];
    if (line.size() < 3 || line[line.size() - 2] != ' ') return {};
    switch (line.back()) {
    case kTaxMark: {
        const auto rate = RateOfTaxLineAt(lines, index);
        return rate ? "Tax at " + TaxRateText(*rate) + " %" : "Tax";
    }
    case kNetMark: return "Net amount (before tax)";
    case kGrossMark: return "Gross amount (with tax)";
    case kAddOnMark: return "Amount put on by Add %";
    case kDiscountMark: return "Amount taken off by Less %";
    case kNewSubtotalMark: return "New subtotal";
    case kMarkUpMark: return "Mark-up amount";
    case kCostMark: return "Cost";
    case kSellMark: return "Sell price";
    case kMarginMark: return "Margin in per cent of the sell price";
    case kProfitMark: return "Profit (sell price less cost)";
    default: return {};
    }
}

}  // namespace qb
