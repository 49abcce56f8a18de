// The main window's recovery record: kept in step with the tape after every event, flushed by
// the shell's short timer, and offered back at start-up when a copy ended without saving.
#include "Machine.h"

#include "platform/ErrorMessage.h"

namespace qb {
namespace {

constexpr const char* kCrLf = "\r\n";

}  // namespace

RecoveryState Machine::RecoveryStateNow() const {
    const CalculatorState& state = calculator_.State();
    RecoveryState now;
    now.caption = tapeCaption_;
    now.subtotal = state.Subtotal;
    now.pendingOperation = state.PendingOperation;
    now.entryText = state.EntryText;
    now.justPressedEquals = state.JustPressedEquals;
    now.specialResult = state.SpecialResult;
    now.elapsedTime = stopwatch_.ElapsedTime;
    now.lastTapeFile = lastTapeFile_;
    now.tapeFileName = tapeFileName_;
    return now;
}

void Machine::KeepRecoveryRecord() {
    if (recoveredTape_ && !tape_.Dirty()) {
        recoveredTape_ = false;
        SetMainTitle();
    }
    // While a flush waits there is nothing more to learn, unless the tape became clean.
    if (recovery_.On() && !(recovery_.Pending() && tape_.Dirty()))
        recovery_.Note(tape_.Dirty(), RecoveryStateNow(), tape_.Lines());
}

void Machine::RecoveryTick() { recovery_.Flush(tape_.Dirty(), RecoveryStateNow(), tape_.Lines()); }

void Machine::RecoverTape(const RecoveredTape& tape) {
    tape_.Replace(tape.lines);
    tape_.ScrollTape();
    const RecoveryState& state = tape.state;
    tapeCaption_ = state.caption;
    stopwatch_.ElapsedTime = state.elapsedTime;
    stopwatch_.ShowStoredTime(stopwatch_.ElapsedTime);
    CalculatorState& calculator = calculator_.State();
    calculator.Subtotal = state.subtotal;
    calculator.PendingOperation = state.pendingOperation;
    calculator.EntryText = state.entryText;
    calculator.JustPressedEquals = state.justPressedEquals;
    calculator.SpecialResult = state.specialResult;
    calculator_.SetOperatorIndicator(calculator.PendingOperation);
    calculator_.ShowEntry();
    lastTapeFile_ = state.lastTapeFile;
    tapeFileName_ = state.tapeFileName;
    // Back as it was when the copy ended: changed, and not saved.
    tape_.SetDirty(true);
    recoveredTape_ = true;
    SetMainTitle();
}

void Machine::RecoverAtStart() {
    if (!recovery_.On()) return;
    recovery_.PurgeDiscarded();
    bool recovered = false;
    for (const LeftRecord& record : recovery_.LeftBehind()) {
        if (!record.tape) {
            const std::string moved = recovery_.MoveAside(record.name);
            ShowErrorMessage(ports_.messages, "A recovery record of the Quillbox cannot be read" + std::string(kCrLf) +
                                                  kCrLf +
                                                  (moved.empty() ? "It stays at " + recovery_.Folder() + record.name
                                                                 : "It was moved to " + moved));
            continue;
        }
        // One tape at a time: any other is offered at the next start.
        if (recovered) continue;
        const RecoveredTape& tape = *record.tape;
        const std::size_t count = tape.lines.size();
        MessageRequest question;
        question.title = "the Quillbox";
        question.text = "The Quillbox ended on " + clock_.ShowDateTime(tape.time) + " without saving a tape of " +
                        std::to_string(count) + (count == 1 ? " line" : " lines") +
                        (tape.state.caption.empty() ? std::string() : ", \"" + tape.state.caption + "\"") +
                        ". Recover it?";
        question.icon = MessageIcon::Question;
        question.buttons = MessageButtons::YesNo;
        question.defaultAnswer = MessageAnswer::Yes;
        if (ports_.messages.ShowMessage(question) != MessageAnswer::Yes) {
            // Not final either: the discarded records are kept for a week.
            recovery_.MoveAside(record.name);
            continue;
        }
        RecoverTape(tape);
        recovered = true;
        // The left record goes once this copy's own holds the tape.
        if (recovery_.Flush(true, RecoveryStateNow(), tape_.Lines())) recovery_.Remove(record.name);
        if (tape.damaged)
            ShowErrorMessage(ports_.messages, "The recovery record was damaged" + std::string(kCrLf) + kCrLf +
                                                  "Every whole line before the damage was recovered: " +
                                                  std::to_string(count) + (count == 1 ? " line" : " lines"));
    }
}

}  // namespace qb
