#pragma once
// The calculator record, owned by the main window for the whole run.

#include <optional>
#include <string>

namespace qb {

struct CalculatorState {
    std::string EntryText;          // the number being keyed, exactly as the Entry box shows it
    bool ReplaceEntry = false;      // the box still shows the last operand; a digit starts anew
    double Subtotal = 0;            // never infinity or NaN
    char PendingOperation = '+';    // '+', '-', 'x', '/' or '%'
    bool JustPressedEquals = true;  // a total was taken or the calculator cleared, no number since
    bool SpecialResult = false;     // the box holds an unapplied 1/x, square root or sign change
    std::string SubtotalText;       // the subtotal as the display shows it
    std::string TapeLine;           // work text of the line last built for the tape
    int ItemCount = 0;              // numbers applied since the last clear or total
    double GrandTotal = 0;          // the totals added up (with the Grand Total option)
    bool GrandTotalPrinted = false; // the last key printed the grand total: pressed again, it clears
    // Cost, sell price and margin given to Cost-Sell-Margin so far (two give the third).
    std::optional<double> CsmCost, CsmSell, CsmMargin;

    bool operator==(const CalculatorState&) const = default;
};

}  // namespace qb
