#pragma once
// The business keys of a desk machine, as pure rules: Add % and Less % put a percentage of
// the subtotal on it or take it off (100 Add % 10 gives 110, Less % 10 gives 90); tax put on
// and taken out; mark-up; cost, sell price and margin. The rates and the places come from the
// caller, so the rules know nothing of settings or of the tape.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace qb {

// The marks of their lines in the tape's operation column, used by no other line.
inline constexpr char kAddOnMark = 'A';      // the amount Add % put on
inline constexpr char kDiscountMark = 'L';   // the amount Less % took off
inline constexpr char kNewSubtotalMark = 'S';  // the subtotal either key left
// The tax keys' lines: the net amount, the tax (with its rate at the left on a section's first
// tax line and wherever the rate changes) and the gross amount.
inline constexpr char kNetMark = 'N';
inline constexpr char kTaxMark = 'T';
inline constexpr char kGrossMark = 'G';
// Mark-up and Cost-Sell-Margin: the mark-up amount, the cost, the sell price, the margin (in
// per cent) and the profit.
inline constexpr char kMarkUpMark = 'U';
inline constexpr char kCostMark = 'C';
inline constexpr char kSellMark = 'P';
inline constexpr char kMarginMark = 'M';
inline constexpr char kProfitMark = 'R';
inline bool IsBusinessMark(char c) {
    return std::string_view("ALSNTGUCPMR").find(c) != std::string_view::npos;
}
// The lines whose amount is the subtotal their key left (or, before it, the amount it began
// from): the reader of a tape takes the subtotal from them.
inline bool SetsSubtotal(char mark) {
    return std::string_view("SNGP").find(mark) != std::string_view::npos;
}

struct PercentAdjustment {
    double amount = 0;  // rate % of the subtotal, with the subtotal's sign
    double total = 0;   // the subtotal with the amount put on (Add %) or taken off (Less %)
};

// The amount is rate % of the subtotal, or the amount given (as the tape line rounded it, so
// that the printed lines add up). Nothing when the result leaves the number range.
std::optional<PercentAdjustment> AdjustByPercent(double subtotal, double rate, bool less);
std::optional<PercentAdjustment> AdjustByAmount(double subtotal, double amount, bool less);

// A value rounded as the tape prints it (the places and the rounding mode); floating point
// leaves it whole.
using Rounder = std::function<double(double)>;

// Tax on a net amount, or taken out of a gross one. Tax+ rounds the tax and adds it, so the
// printed net and tax add up to the gross; Tax- rounds the net and the tax is what is left of
// the gross. Nothing when a result leaves the number range.
struct TaxSplit {
    double net = 0, tax = 0, gross = 0;
};
std::optional<TaxSplit> AddTax(double net, double rate, const Rounder& round);
std::optional<TaxSplit> RemoveTax(double gross, double rate, const Rounder& round);

// A tax rate as typed into the rates dialog: 0 to 100, at most four decimals, the decimal sign
// a point, or the locale's comma where that is its sign; a "%" after it is allowed. Empty text
// is no rate. A refusal says why.
struct TaxRateReading {
    std::optional<double> rate;
    std::string error;
};
TaxRateReading ReadTaxRate(std::string_view text, bool decimalComma);
// A rate as the tape and the settings show it: "19", "7.5", "12.3456".
std::string TaxRateText(double rate);
// The text a tax line begins with when it names its rate ("19%"), and back: the rate a tax
// line names, if it names one.
std::string TaxRatePrefix(double rate);
std::optional<double> RateOfTaxLine(std::string_view line);

// Mark-up: the sell price at rate % on the cost (a negative rate is a discount); the amount is
// rounded as the tape prints it.
std::optional<PercentAdjustment> MarkUp(double cost, double rate, const Rounder& round);

// Cost, sell price and margin (in per cent of the sell price): any two give the third and the
// profit. Sell = cost / (1 - margin / 100); a margin of 100 % or more has no sell price.
struct CostSellMargin {
    std::optional<double> cost, sell, margin;
    bool Complete() const { return (cost ? 1 : 0) + (sell ? 1 : 0) + (margin ? 1 : 0) >= 2; }
};
inline constexpr const char* kMarginTooLarge =
    "A margin of 100 % or more has no sell price: the margin is a part of the sell price";
struct CsmResult {
    double cost = 0, sell = 0, margin = 0, profit = 0;
    char computed = 0;  // the mark of the value worked out
    std::string error;  // why there is none
};
CsmResult SolveCostSellMargin(const CostSellMargin& given, const Rounder& round);

}  // namespace qb
