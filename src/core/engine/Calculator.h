#pragma once
// The calculator itself: the Entry box keys, the operation keys, the total, Clear Subtotal,
// 1/x and square root, and the tape lines they print.

#include <string>

#include "engine/CalculatorState.h"
#include "engine/Options.h"
#include "engine/Tape.h"

namespace qb {

class MessagePort;
class SoundPort;

enum class OperatorFont { CourierNew, MSSansSerif };

class Calculator {
public:
    static constexpr std::size_t kCapacity = 14;

    Calculator(Tape& tape, const Options& options, MessagePort& messages, SoundPort& sound);

    // Entry box keys.
    void cmdKey_Click(int index);  // 0..9 a digit, 10 the "00" key
    void cmdDecimal_Click();
    // Entry box keys struck one after another, each as cmdKey_Click (its index) or
    // cmdDecimal_Click (kPointKey) takes it, the box shown once after them: as many as go in
    // without a refusal or a beep, the one that would being left to those. How many went in.
    static constexpr int kPointKey = -1;
    std::size_t EntryKeys(const int* keys, std::size_t count);
    void cmdPlusMinus_Click();
    void Backspace();
    void cmdClearEntry_Click();

    // Operation keys: '+', '-', 'x', '/', '%'.
    void OperationKey(char operation);
    void cmdEquals_Click();
    void cmdClear_Click(bool loading = false);
    void ClearSubtotal(bool print = true);
    void cmdInverse_Click();
    void cmdSquareRoot_Click();
    // Add % (less false) and Less %: the Entry box number as a percentage of the subtotal,
    // put on or taken off; prints the amount and the new subtotal.
    void PercentAdjustKey(bool less);
    // Tax+ (remove false) and Tax-: the Entry box number, or the subtotal when the box is empty
    // (after a total, its result), as a net amount taxed at rate %, or as a gross amount the
    // tax is taken out of.
    // Prints net, tax and gross (Tax-: gross, tax and net); the last becomes the subtotal.
    void TaxKey(double rate, bool remove);
    // A number keyed into an open sum is refused, with the reason and what to do, before the
    // tax key asks for anything.
    bool RefuseTaxOverOpenSum(bool remove);
    // Mark-up: the subtotal as a cost, the Entry box number as the mark-up in per cent; prints
    // the mark-up amount and the sell price, which becomes the subtotal.
    void MarkUpKey();
    // Cost, Sell and Margin: the Entry box number (or the subtotal) as the cost, the sell
    // price or the margin in per cent; the second of them prints the third and the profit.
    void CostSellMarginKey(char mark);
    // A value as the tape prints a number in the current places and rounding.
    std::string TapeNumber(double value) const;
    // Prints the Entry box number as a reference line ("4711 #"): an invoice or cheque number
    // that changes neither the subtotal nor the pending operation. Empties the Entry box.
    void PrintReference();
    // The grand total key: prints the grand total ("1,250.00 G"); pressed again at once, clears it.
    void GrandTotalKey();

    // Applies the pending operation to the Entry box number. Returns false when the operation
    // was refused (a zero divisor or a result beyond the number range); nothing changed then.
    bool DoPendingOperation();

    // Decimal places: 0 floating point, 1 to 5 fixed.
    void SetDecimalPlaces(int places);
    int DecimalPlaces() const { return decimalPlaces_; }
    // Rebuilds FormatBase and FormatString from the Comma Separator option.
    void CreateFormatString();
    const std::string& FormatBase() const { return formatBase_; }
    const std::string& FormatString() const { return formatString_; }
    void FormatSubtotal();

    // What the Entry box (and its collapsed twin) shows.
    const std::string& DisplayText() const { return displayText_; }
    void ShowEntry() { displayText_ = state_.EntryText; }
    // Puts a number text into the Entry box as recall and paste do.
    void SetEntryFromValue(const std::string& text);

    const std::string& OperatorCaption() const { return operatorCaption_; }
    OperatorFont OperatorFontName() const { return operatorFont_; }
    void SetOperatorIndicator(char operation);

    // Everything a command can change, short of the tape and the modes: what undo and the
    // replay of a corrected tape put back.
    struct Memento {
        CalculatorState state;
        std::string displayText;
        std::string operatorCaption;
        OperatorFont operatorFont = OperatorFont::CourierNew;
        bool operator==(const Memento&) const = default;
    };
    Memento Save() const { return {state_, displayText_, operatorCaption_, operatorFont_}; }
    void Restore(const Memento& memento) {
        state_ = memento.state;
        displayText_ = memento.displayText;
        operatorCaption_ = memento.operatorCaption;
        operatorFont_ = memento.operatorFont;
    }

    CalculatorState& State() { return state_; }
    const CalculatorState& State() const { return state_; }

    // A number is present when the Entry box text is not empty and does not read as 0.
    bool NumberPresent() const;

    static std::string OperationSymbol(char operation);

    // The subtotal the last pending operation worked out, as it stood when its number and total
    // were printed (a Clear Subtotal On Equal may have reset the subtotal since).
    double LastResult() const { return lastResult_; }

private:
    void SoundTheTape();
    void PrintTotal();
    void ApplyAutoDecimal(std::string& number, std::string& entry) const;
    void Refuse(const char* message);
    // The Entry box number read as an operand is (Auto Decimal applies, the places do not).
    double EntryOperand() const;
    // The value rounded as the tape prints it (fixed places only).
    double RoundAsTape(double value) const;
    // The last line of a key: the value becomes the subtotal and the last result.
    void PrintNewSubtotal(double value, char mark);
    // After a key that used up the Entry box's number.
    void EntryUsedUp();
    bool NumberKeyed() const;
    bool SumOpen() const;
    bool RefuseOverOpenSum(const std::string& result, const std::string& advice);

    Tape& tape_;
    const Options& options_;
    MessagePort& messages_;
    SoundPort& sound_;
    CalculatorState state_;
    int decimalPlaces_ = 2;
    std::string formatBase_;
    std::string formatString_;
    std::string displayText_;
    std::string operatorCaption_ = "+";
    OperatorFont operatorFont_ = OperatorFont::CourierNew;
    double lastResult_ = 0;
};

}  // namespace qb
