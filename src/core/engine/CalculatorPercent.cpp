// The calculator's percentage keys: Add % and Less %.

#include <cmath>

#include "engine/BusinessRules.h"
#include "engine/Calculator.h"
#include "engine/NumberRules.h"
#include "platform/ErrorMessage.h"
#include "platform/MessagePort.h"

namespace qb {

std::string Calculator::TapeNumber(double value) const {
    // The plain form keeps FormatFloating from reading an exponent's digits as decimals.
    if (decimalPlaces_ == 0) return FormatFloating(NumberToPlainText(value), formatBase_);
    return FormatNumber(value, formatString_, options_.RoundingMode);
}

void Calculator::PercentAdjustKey(bool less) {
    tape_.ClearSelection();
    if (!NumberPresent()) {
        messages_.Beep();
        return;
    }
    if (RoundAsTape(state_.Subtotal) == 0) {
        messages_.Beep();
        Refuse(less ? "Less % takes a percentage off the subtotal, which is 0: key the amount and + first"
                    : "Add % puts a percentage on the subtotal, which is 0: key the amount and + first");
        return;
    }
    // The rate is read as an operand is: Auto Decimal applies, the places do not.
    std::string line = KeepNumeric(displayText_);
    std::string entry = state_.EntryText;
    ApplyAutoDecimal(line, entry);
    auto adjusted = AdjustByPercent(state_.Subtotal, ParseNumber(line), less);
    // Rounded before the operation, the subtotal moves by the amount the tape shows.
    if (adjusted && options_.RoundBeforeOperation && decimalPlaces_ >= 1)
        adjusted = AdjustByAmount(state_.Subtotal, ParseNumber(KeepNumeric(TapeNumber(adjusted->amount))), less);
    if (!adjusted) {
        messages_.Beep();
        Refuse("The result is too large for the calculator");
        return;
    }
    SoundTheTape();
    tape_.AppendTapeLine(TapeNumber(adjusted->amount) + ' ' + (less ? kDiscountMark : kAddOnMark));
    state_.Subtotal = adjusted->total;
    lastResult_ = adjusted->total;
    FormatSubtotal();
    state_.TapeLine = state_.SubtotalText + ' ' + kNewSubtotalMark;
    tape_.AppendTapeLine(state_.TapeLine);
    tape_.ScrollTape();
    // The rate is used up: it never goes on as an operand.
    state_.EntryText.clear();
    state_.ReplaceEntry = false;
    state_.JustPressedEquals = false;
    state_.SpecialResult = false;
    ShowEntry();
}

}  // namespace qb
