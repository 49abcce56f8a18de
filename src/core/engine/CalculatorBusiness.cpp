// The calculator's business keys: Tax+ and Tax-, Mark-up and Cost-Sell-Margin.

#include "engine/BusinessRules.h"
#include "engine/Calculator.h"
#include "engine/NumberRules.h"
#include "engine/TaxLines.h"
#include "platform/ErrorMessage.h"
#include "platform/MessagePort.h"

namespace qb {
namespace {

constexpr const char* kTooLarge = "The result is too large for the calculator";

}  // namespace

double Calculator::EntryOperand() const {
    std::string line = KeepNumeric(displayText_);
    std::string entry = state_.EntryText;
    ApplyAutoDecimal(line, entry);
    return ParseNumber(line);
}

double Calculator::RoundAsTape(double value) const {
    if (decimalPlaces_ == 0) return value;
    return ParseNumber(KeepNumeric(TapeNumber(value)));
}

void Calculator::PrintNewSubtotal(double value, char mark) {
    state_.Subtotal = value;
    lastResult_ = value;
    FormatSubtotal();
    state_.TapeLine = state_.SubtotalText + ' ' + mark;
    tape_.AppendTapeLine(state_.TapeLine);
    tape_.ScrollTape();
}

void Calculator::EntryUsedUp() {
    state_.EntryText.clear();
    state_.ReplaceEntry = false;
    state_.JustPressedEquals = false;
    state_.SpecialResult = false;
    ShowEntry();
}

void Calculator::TaxKey(double rate, bool remove) {
    tape_.ClearSelection();
    const double amount = RoundAsTape(NumberPresent() ? EntryOperand() : state_.Subtotal);
    // Nothing to tax: no lines of zeros.
    if (amount == 0) {
        messages_.Beep();
        return;
    }
    const Rounder round = [this](double v) { return RoundAsTape(v); };
    const auto split = remove ? RemoveTax(amount, rate, round) : AddTax(amount, rate, round);
    if (!split) {
        messages_.Beep();
        Refuse(kTooLarge);
        return;
    }
    SoundTheTape();
    const std::string tax = TapeNumber(split->tax);
    const bool nameRate = !TaxRateShown(tape_.Lines(), rate);
    if (nameRate && !TaxRateFits(tax, rate)) tape_.AppendLaidOut(TaxRateLine(rate));
    tape_.AppendTapeLine(TapeNumber(remove ? split->gross : split->net) + ' ' + (remove ? kGrossMark : kNetMark));
    tape_.AppendLaidOut(TaxLine(tax, rate, nameRate));
    PrintNewSubtotal(remove ? split->net : split->gross, remove ? kNetMark : kGrossMark);
    EntryUsedUp();
}

void Calculator::MarkUpKey() {
    tape_.ClearSelection();
    if (!NumberPresent()) {
        messages_.Beep();
        return;
    }
    const auto marked = MarkUp(RoundAsTape(state_.Subtotal), EntryOperand(), [this](double v) { return RoundAsTape(v); });
    if (!marked) {
        messages_.Beep();
        Refuse(kTooLarge);
        return;
    }
    SoundTheTape();
    tape_.AppendTapeLine(TapeNumber(marked->amount) + ' ' + kMarkUpMark);
    PrintNewSubtotal(marked->total, kSellMark);
    EntryUsedUp();
}

void Calculator::CostSellMarginKey(char mark) {
    tape_.ClearSelection();
    const double value = RoundAsTape(NumberPresent() ? EntryOperand() : state_.Subtotal);
    CostSellMargin given{state_.CsmCost, state_.CsmSell, state_.CsmMargin};
    // A value given again replaces the one before.
    std::optional<double>& slot = mark == kCostMark ? given.cost : mark == kSellMark ? given.sell : given.margin;
    slot = value;
    CsmResult result;
    if (given.Complete()) {
        result = SolveCostSellMargin(given, [this](double v) { return RoundAsTape(v); });
        if (!result.computed) {
            messages_.Beep();
            ShowErrorMessage(messages_, result.error);
            return;
        }
    } else if (given.margin && *given.margin >= 100) {
        messages_.Beep();
        Refuse(kMarginTooLarge);
        return;
    }
    SoundTheTape();
    // A sell price line is the subtotal, given or worked out.
    if (mark == kSellMark)
        PrintNewSubtotal(value, mark);
    else
        tape_.AppendTapeLine(TapeNumber(value) + ' ' + mark);
    state_.CsmCost = given.cost;
    state_.CsmSell = given.sell;
    state_.CsmMargin = given.margin;
    if (given.Complete()) {
        state_.CsmCost.reset();
        state_.CsmSell.reset();
        state_.CsmMargin.reset();
        if (result.computed == kSellMark)
            PrintNewSubtotal(result.sell, kSellMark);
        else
            tape_.AppendTapeLine(TapeNumber(result.computed == kCostMark ? result.cost : result.margin) + ' ' + result.computed);
        tape_.AppendTapeLine(TapeNumber(result.profit) + ' ' + kProfitMark);
    }
    tape_.ScrollTape();
    EntryUsedUp();
}

}  // namespace qb
