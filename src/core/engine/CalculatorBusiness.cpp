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

// A number keyed for the key: with Clear Entry Box off, the number the last operation key or
// total used stays in the box, already counted, and is no number for these keys.
bool Calculator::NumberKeyed() const { return NumberPresent() && !state_.ReplaceEntry; }

// A sum is open while its last amount line is a number that an operation key applied, and its
// subtotal, as the tape shows it, is not zero.
bool Calculator::SumOpen() const {
    if (RoundAsTape(state_.Subtotal) == 0) return false;
    for (std::int64_t i = tape_.Count() - 1; i >= 0; --i) {
        const std::string_view line = Tape::WithoutCount(tape_.Line(i));
        if (line.empty()) continue;
        const char mark = line.back();
        if (Tape::IsNoAmountMark(mark)) continue;
        return std::string_view("+-*/%").find(mark) != std::string_view::npos;
    }
    return false;
}

// A key whose result takes the subtotal's place refuses a keyed number while a sum is open: the
// sum would be lost from the tape's reckoning without a word. The message's first sentence is the
// reason, the second what to do.
bool Calculator::RefuseOverOpenSum(const std::string& result, const std::string& advice) {
    if (!NumberKeyed() || !SumOpen()) return false;
    tape_.ClearSelection();
    messages_.Beep();
    std::string subtotal = state_.SubtotalText;
    if (!subtotal.empty() && subtotal.back() == '.') subtotal.pop_back();  // floating point's "200."
    ShowErrorMessage(messages_, result + " the open subtotal " + subtotal + ". " + advice);
    return true;
}

bool Calculator::RefuseTaxOverOpenSum(bool remove) {
    return RefuseOverOpenSum(remove ? "The net of Tax- would take the place of" : "The gross of Tax+ would take the place of",
                             remove ? "To take the tax out of the subtotal, press Clear Entry and then Tax-; to take it out "
                                      "of this number alone, total the sum with = before keying it"
                                    : "To tax the subtotal, press Clear Entry and then Tax+; to tax this number alone, "
                                      "total the sum with = before keying it");
}

void Calculator::TaxKey(double rate, bool remove) {
    tape_.ClearSelection();
    if (RefuseTaxOverOpenSum(remove)) return;
    const double amount = RoundAsTape(NumberKeyed() ? EntryOperand() : state_.Subtotal);
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
    if (RoundAsTape(state_.Subtotal) == 0) {
        messages_.Beep();
        Refuse("Mark-Up takes the subtotal as the cost, and it is 0: key the cost and + first");
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
    if (RefuseOverOpenSum("Cost, sell price and margin work out a sell price that would take the place of",
                          "Total the sum with = before keying a cost, sell price or margin"))
        return;
    const double value = RoundAsTape(NumberKeyed() ? EntryOperand() : state_.Subtotal);
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
