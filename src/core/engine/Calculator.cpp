#include "engine/Calculator.h"

#include <cmath>

#include "engine/NumberRules.h"
#include "platform/ErrorMessage.h"
#include "platform/MessagePort.h"
#include "platform/SoundPort.h"

namespace qb {
namespace {

constexpr const char* kCapacityMessage = "The capacity of the Entry box has been reached";
constexpr const char* kDivideByZero = "Cannot divide by zero";
constexpr const char* kTooLarge = "The result is too large for the calculator";
constexpr const char* kTooSmall = "The result is too small for the calculator";
constexpr const char* kBadRoot = "That is an invalid number for taking a square root";
constexpr const char* kReferenceTooLong = "The reference number is too long for the tape";
constexpr const char* kInversePattern = "0.0000000000000";

// Inserts a "0" after a leading "-", or at the front.
void InsertZero(std::string& text) {
    text.insert(!text.empty() && text[0] == '-' ? 1 : 0, 1, '0');
}

void InsertPoint(std::string& text, std::size_t places) {
    if (text.size() < places) return;
    text.insert(text.size() - places, 1, '.');
}

// Adds a digit key's digits (index 10 the "00" key) to the Entry text, without the leading
// zeros the box drops; false, the text unchanged, when that passes the box's capacity.
bool AddDigit(std::string& text, int index) {
    const std::size_t added = index <= 9 ? 1 : 2;
    const char digit = index <= 9 ? static_cast<char>('0' + index) : '0';
    if (!text.empty() && text[0] != '0' && text[0] != '-') {
        // Nothing at the front to drop: the digits go on the end if they fit.
        if (text.size() + added > Calculator::kCapacity) return false;
        text.append(added, digit);
        return true;
    }
    std::string next = text;
    next.append(added, digit);
    while (next.size() >= 2 && next[0] == '0') next.erase(0, 1);
    while (next.size() >= 3 && next.compare(0, 2, "-0") == 0) next.erase(1, 1);
    if (next.size() > Calculator::kCapacity) return false;
    text = std::move(next);
    return true;
}

}  // namespace

Calculator::Calculator(Tape& tape, const Options& options, MessagePort& messages, SoundPort& sound)
    : tape_(tape), options_(options), messages_(messages), sound_(sound) {
    CreateFormatString();
}

bool Calculator::NumberPresent() const {
    return !state_.EntryText.empty() && ParseNumber(state_.EntryText) != 0;
}

std::string Calculator::OperationSymbol(char operation) {
    return std::string(1, operation == 'x' ? '*' : operation);
}

void Calculator::SoundTheTape() { sound_.RequestSound(); }

void Calculator::Refuse(const char* message) { ShowErrorMessage(messages_, message); }

void Calculator::cmdKey_Click(int index) {
    if (state_.ReplaceEntry) {
        state_.EntryText.clear();
        state_.ReplaceEntry = false;
    }
    if (!AddDigit(state_.EntryText, index)) {
        Refuse(kCapacityMessage);
        return;
    }
    ShowEntry();
    state_.JustPressedEquals = false;
}

std::size_t Calculator::EntryKeys(const int* keys, std::size_t count) {
    std::string& text = state_.EntryText;
    std::size_t done = 0;
    bool digit = false;
    for (; done < count; ++done) {
        if (keys[done] == kPointKey) {
            if (text.find('.') != std::string::npos) break;
            text += '.';
            continue;
        }
        // A digit after an operand starts the box anew (and then always fits).
        if (state_.ReplaceEntry) {
            text.clear();
            state_.ReplaceEntry = false;
        }
        if (!AddDigit(text, keys[done])) break;
        digit = true;
    }
    if (done == 0) return 0;
    ShowEntry();
    if (digit) state_.JustPressedEquals = false;
    return done;
}

void Calculator::cmdDecimal_Click() {
    if (state_.EntryText.find('.') != std::string::npos) {
        messages_.Beep();
        return;
    }
    state_.EntryText += '.';
    ShowEntry();
}

void Calculator::cmdPlusMinus_Click() {
    std::string taken = state_.EntryText;
    if (taken.empty()) {
        taken = displayText_;
        state_.SpecialResult = true;
    }
    if (!taken.empty() && taken[0] == '-')
        state_.EntryText = taken.substr(1);
    else
        state_.EntryText = "-" + taken;
    ShowEntry();
    tape_.ClearSelection();
}

void Calculator::Backspace() {
    if (!state_.EntryText.empty()) state_.EntryText.pop_back();
    ShowEntry();
}

void Calculator::cmdClearEntry_Click() {
    state_.EntryText.clear();
    ShowEntry();
    if (options_.ClearEntryBox) {
        state_.JustPressedEquals = true;
        state_.SpecialResult = false;
    }
}

void Calculator::ApplyAutoDecimal(std::string& number, std::string& entry) const {
    if (decimalPlaces_ < 1 || decimalPlaces_ > 5 || !options_.AutoDecimal) return;
    if (number.find('.') != std::string::npos) return;
    auto places = static_cast<std::size_t>(decimalPlaces_);
    while (number.size() < places + 1) {
        InsertZero(number);
        InsertZero(entry);
    }
    InsertPoint(number, places);
    // The Entry text normally equals the number; a text already holding a point is never
    // given a second one.
    if (entry.find('.') == std::string::npos) InsertPoint(entry, places);
}

bool Calculator::DoPendingOperation() {
    if (!NumberPresent()) {
        SoundTheTape();
        FormatSubtotal();
        lastResult_ = state_.Subtotal;
        return true;
    }
    // Everything is worked out before anything changes, so a refused operation leaves the
    // subtotal, the tape and the Entry box exactly as they were.
    std::string entry = state_.EntryText;
    std::string number = KeepNumeric(displayText_);
    std::string line;
    if (decimalPlaces_ > 0) {
        ApplyAutoDecimal(number, entry);
        line = FormatNumber(ParseNumber(number), formatString_, options_.RoundingMode);
    } else {
        line = FormatFloating(number, formatBase_);
    }
    std::string operand = entry;
    // The box shows the Entry text as a rule, and then the line shows the operand rounded.
    if (options_.RoundBeforeOperation && decimalPlaces_ >= 1)
        operand = KeepNumeric(entry == number ? line : FormatNumber(ParseNumber(operand), formatString_, options_.RoundingMode));
    line += ' ';
    line += OperationSymbol(state_.PendingOperation);
    double v = ParseNumber(operand);
    double subtotal = state_.Subtotal;
    switch (state_.PendingOperation) {
    case '+': subtotal += v; break;
    case '-': subtotal -= v; break;
    case 'x': subtotal *= v; break;
    case '/':
    case '%':
        if (v == 0) {
            messages_.Beep();
            Refuse(kDivideByZero);
            return false;
        }
        subtotal = state_.PendingOperation == '/' ? subtotal / v : subtotal / v * 100;
        break;
    default: break;
    }
    if (!std::isfinite(subtotal)) {
        messages_.Beep();
        Refuse(kTooLarge);
        return false;
    }

    SoundTheTape();
    state_.EntryText = entry;
    state_.TapeLine = line;
    tape_.AppendTapeLine(line);
    tape_.ScrollTape();
    ++state_.ItemCount;
    state_.Subtotal = subtotal;
    lastResult_ = subtotal;
    FormatSubtotal();
    if (options_.ClearEntryBox) {
        state_.ReplaceEntry = false;
        state_.EntryText.clear();
    } else {
        state_.ReplaceEntry = true;
    }
    state_.SpecialResult = false;
    return true;
}

void Calculator::SetOperatorIndicator(char operation) {
    operatorCaption_ = OperationSymbol(operation);
    // The "*" has no font of its own; Courier New keeps it beside the other signs.
    operatorFont_ = operation == '%' ? OperatorFont::MSSansSerif : OperatorFont::CourierNew;
}

void Calculator::OperationKey(char operation) {
    if (state_.JustPressedEquals && !state_.SpecialResult) {
        if (NumberPresent()) {
            if (!options_.ClearEntryBox && !DoPendingOperation()) return;
            state_.JustPressedEquals = false;
        }
    } else if (NumberPresent()) {
        if (!DoPendingOperation()) return;
    }
    state_.PendingOperation = operation;
    SetOperatorIndicator(operation);
    ShowEntry();
    tape_.ClearSelection();
}

void Calculator::cmdEquals_Click() {
    tape_.ClearSelection();
    if (state_.JustPressedEquals && !state_.SpecialResult) {
        SoundTheTape();
        return;
    }
    if (!NumberPresent() && state_.JustPressedEquals) return;
    if (!DoPendingOperation()) return;
    // As after an operation key, the box shows the Entry text, so a number once committed
    // is never committed again with a second decimal point.
    ShowEntry();
    bool endsWithTotal = !tape_.Empty() && !tape_.LastLine().empty() && tape_.LastLine().back() == '=';
    if (endsWithTotal) return;
    state_.TapeLine = state_.SubtotalText + " =";
    PrintTotal();
    // The total as printed goes into the grand total, once: not again when a list is keyed a
    // second time to check it.
    if (options_.GrandTotal && !options_.GrandTotalPaused) {
        const double grand = state_.GrandTotal + ParseNumber(KeepNumeric(state_.SubtotalText));
        if (std::isfinite(grand)) state_.GrandTotal = grand;
    }
    state_.ItemCount = 0;
    tape_.ScrollTape();
    if (options_.ClearEntryBox) {
        displayText_.clear();
        state_.JustPressedEquals = true;
    }
    if (options_.ClearOnEqual) cmdClear_Click();
}

// The total line; with Item Count on, the count at its left where it fits, else on a line of
// its own just before it.
void Calculator::PrintTotal() {
    if (!options_.ItemCount) {
        tape_.AppendTapeLine(state_.TapeLine);
        return;
    }
    const std::string count = std::to_string(state_.ItemCount);
    if (count.size() + 1 + state_.TapeLine.size() <= Tape::kLineWidth) {
        std::string line = count;
        line.append(Tape::kLineWidth - count.size() - state_.TapeLine.size(), ' ');
        tape_.AppendLaidOut(line + state_.TapeLine);
        return;
    }
    tape_.AppendTapeLine(count + ' ' + Tape::kCountMark);
    tape_.AppendTapeLine(state_.TapeLine);
}

void Calculator::cmdClear_Click(bool loading) {
    if (!loading) SoundTheTape();
    ClearSubtotal(true);
    tape_.ClearSelection();
}

void Calculator::ClearSubtotal(bool print) {
    state_.Subtotal = 0;
    state_.ItemCount = 0;
    state_.CsmCost.reset(), state_.CsmSell.reset(), state_.CsmMargin.reset();
    state_.PendingOperation = '+';
    SetOperatorIndicator('+');
    state_.EntryText.clear();
    ShowEntry();
    if (print) {
        if (!tape_.Empty()) {
            tape_.AppendRaw(" ");
            tape_.ScrollTape();
        }
        state_.TapeLine = "0 =";
        tape_.AppendTapeLine(state_.TapeLine);
        tape_.ScrollTape();
    }
    state_.JustPressedEquals = true;
    state_.SpecialResult = false;
}

void Calculator::cmdInverse_Click() {
    tape_.ClearSelection();
    const std::string& s = state_.EntryText.empty() ? displayText_ : state_.EntryText;
    double x = ParseNumber(s);
    if (x == 0) {
        messages_.Beep();
        Refuse(kDivideByZero);
        return;
    }
    double r = 1 / x;
    if (!std::isfinite(r)) {
        messages_.Beep();
        Refuse(kTooLarge);
        return;
    }
    const std::string& pattern = r <= 0.9 ? std::string(kInversePattern) : formatString_;
    // The fixed places round by the chosen mode; the floating point's pattern is the program's own.
    const bool byMode = r > 0.9 && decimalPlaces_ > 0;
    std::string text = NoSpecialChar(FormatNumber(r, pattern, byMode ? options_.RoundingMode : Rounding::FiveFour));
    // A result that rounds to nothing but zeros would never be applied.
    if (text.find_first_of("123456789") == std::string::npos) {
        messages_.Beep();
        Refuse(kTooSmall);
        return;
    }
    state_.EntryText = text;
    ShowEntry();
    state_.SpecialResult = true;
}

void Calculator::cmdSquareRoot_Click() {
    tape_.ClearSelection();
    const std::string& s = state_.EntryText.empty() ? displayText_ : state_.EntryText;
    double x = ParseNumber(s);
    if (x <= 0) {
        messages_.Beep();
        Refuse(kBadRoot);
        return;
    }
    std::string root = FitEntryText(std::sqrt(x));
    if (root.empty()) {
        messages_.Beep();
        Refuse(kTooSmall);
        return;
    }
    state_.EntryText = root;
    ShowEntry();
    state_.SpecialResult = true;
}

void Calculator::PrintReference() {
    tape_.ClearSelection();
    const std::string number = KeepNumeric(state_.EntryText);
    if (number.find_first_of("0123456789") == std::string::npos) {
        messages_.Beep();
        return;
    }
    // As keyed, not rounded or grouped: 4711 is no amount of 4,711.00.
    const std::string line = number + ' ' + Tape::kReferenceMark;
    if (line.size() > Tape::kLineWidth - 1) {
        Refuse(kReferenceTooLong);
        return;
    }
    SoundTheTape();
    tape_.AppendTapeLine(line);
    tape_.ScrollTape();
    state_.EntryText.clear();
    ShowEntry();
    state_.ReplaceEntry = false;
    state_.SpecialResult = false;
}

void Calculator::GrandTotalKey() {
    tape_.ClearSelection();
    SoundTheTape();
    if (state_.GrandTotalPrinted) {
        state_.GrandTotal = 0;
        state_.GrandTotalPrinted = false;
        return;
    }
    tape_.AppendTapeLine(TapeNumber(state_.GrandTotal) + ' ' + Tape::kGrandTotalMark);
    tape_.ScrollTape();
    state_.GrandTotalPrinted = true;
}

void Calculator::SetDecimalPlaces(int places) {
    decimalPlaces_ = places;
    CreateFormatString();
}

void Calculator::CreateFormatString() {
    formatBase_ = CreateFormatBase(options_.CommaSeparator);
    formatString_ = qb::CreateFormatString(options_.CommaSeparator, decimalPlaces_);
}

void Calculator::FormatSubtotal() {
    if (decimalPlaces_ == 0) {
        // The plain form keeps FormatFloating from reading an exponent's digits as decimals.
        state_.TapeLine = FormatFloating(NumberToPlainText(state_.Subtotal), formatBase_);
        state_.SubtotalText = state_.TapeLine;
    } else {
        state_.SubtotalText = FormatNumber(state_.Subtotal, formatString_, options_.RoundingMode);
    }
}

void Calculator::SetEntryFromValue(const std::string& text) {
    state_.EntryText = text;
    ShowEntry();
    state_.JustPressedEquals = false;
    state_.SpecialResult = false;
}

}  // namespace qb
