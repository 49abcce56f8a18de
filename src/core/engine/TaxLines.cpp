#include "engine/TaxLines.h"

#include "engine/BusinessRules.h"
#include "engine/NoteLines.h"
#include "engine/Tape.h"

namespace qb {
namespace {

// A section ends above at a blank line.
bool IsBlank(std::string_view line) { return line.find_first_not_of(' ') == std::string_view::npos; }

bool IsTaxLine(std::string_view line) { return !line.empty() && line.back() == kTaxMark; }

constexpr std::string_view kRateNote = "Tax ";

// The rate a tax line names: at its left, or on the rate line two lines above it (above the
// amount its key taxed).
std::optional<double> RateNamedBy(const TapeLines& lines, std::int64_t index) {
    if (auto rate = RateOfTaxLine(lines[static_cast<std::size_t>(index)])) return rate;
    if (index < 2) return std::nullopt;
    const std::string_view above = lines[static_cast<std::size_t>(index - 2)];
    if (!IsNoteLine(above)) return std::nullopt;
    const std::string_view text = NoteLineText(above);
    if (text.size() < kRateNote.size() + 2 || text.compare(0, kRateNote.size(), kRateNote) != 0 || text.back() != '%')
        return std::nullopt;
    return ReadTaxRate(text.substr(kRateNote.size()), false).rate;
}

// The rate the tax lines named last at or above the index, within its section.
std::optional<double> NamedRateAbove(const TapeLines& lines, std::int64_t index) {
    for (std::int64_t i = index; i >= 0; --i) {
        const std::string_view line = lines[static_cast<std::size_t>(i)];
        if (IsBlank(line)) return std::nullopt;
        if (!IsTaxLine(line)) continue;
        if (auto rate = RateNamedBy(lines, i)) return rate;
    }
    return std::nullopt;
}

}  // namespace

bool TaxRateFits(const std::string& amount, double rate) {
    return TaxRatePrefix(rate).size() + 1 + amount.size() + 2 <= Tape::kLineWidth;
}

std::string TaxLine(const std::string& amount, double rate, bool nameRate) {
    const std::string content = amount + ' ' + kTaxMark;
    const std::string prefix = TaxRatePrefix(rate);
    if (!nameRate || !TaxRateFits(amount, rate)) return Tape::LayOut(content);
    return prefix + std::string(Tape::kLineWidth - prefix.size() - content.size(), ' ') + content;
}

std::string TaxRateLine(double rate) { return NoteLines(std::string(kRateNote) + TaxRatePrefix(rate)).front(); }

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
