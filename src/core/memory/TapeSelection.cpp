#include "memory/TapeSelection.h"

#include "engine/NumberRules.h"
#include "engine/Tape.h"
#include "platform/ErrorMessage.h"
#include "platform/MessagePort.h"

namespace qb {

void TapeSelection::TurnOnTapeSelect() {
    if (tape_.ListIndex() < 0) {
        tape_.SetListIndex(tape_.Count() - 1);
        edgeBeep_ = false;
    } else {
        edgeBeep_ = true;
    }
}

void TapeSelection::SoundTheBeep() {
    if (edgeBeep_) messages_.Beep();
}

void TapeSelection::Navigate(Move move) {
    if (tape_.Empty()) return;
    TurnOnTapeSelect();
    constexpr std::int64_t kPage = 15;
    const std::int64_t i = tape_.ListIndex();
    const std::int64_t last = tape_.Count() - 1;
    std::int64_t next = -1;  // -1: stay and beep
    switch (move) {
    case Move::Up:
        if (i > 0) next = i - 1;
        break;
    case Move::Down:
        if (i < last) next = i + 1;
        break;
    case Move::PageUp:
        if (i != 0) next = i > 17 ? i - kPage : 0;
        break;
    case Move::PageDown:
        if (i != last) next = i + kPage > last ? last : i + kPage;
        break;
    case Move::First:
        if (i > 0) next = 0;
        break;
    case Move::Last:
        if (i < last) next = last;
        break;
    }
    if (next < 0)
        SoundTheBeep();
    else
        tape_.SetListIndex(next);
    tape_.ShowLine(tape_.ListIndex());
}

std::string TapeSelection::LastTapeEntry(bool selected) {
    if (tape_.Empty()) return {};
    std::int64_t index = selected ? tape_.ListIndex() : tape_.Count() - 1;
    if (index < 0 || index >= tape_.Count()) return {};
    const std::string_view line = Tape::WithoutCount(tape_.Line(index));
    if (line.empty()) return {};
    // A reference number or a note is no amount to take; the beep says that nothing was taken.
    if (Tape::IsNoAmountMark(line.back())) {
        messages_.Beep();
        return {};
    }
    if (line[0] == '*') {
        ShowErrorMessage(messages_, "The value on the tape is too large to recall");
        return {};
    }
    char op = line.back();
    std::string s = KeepNumeric(std::string_view(line).substr(0, line.size() - 1));
    bool negative = false;
    if (!s.empty() && s[0] == '-') {
        negative = true;
        s.erase(0, 1);
    }
    // A line without digits that shows a minus sign gives the sign alone.
    if (s.empty()) return negative || op == '-' ? "-" : "";
    // A number taken away counts with its sign turned: "-5.00 -" added 5 to the subtotal.
    if (op == '-') negative = !negative;
    return negative ? "-" + s : s;
}

}  // namespace qb
