// Check and correct, undo and redo: the machine's side of the key record.

#include <algorithm>

#include "Machine.h"
#include "engine/NumberRules.h"
#include "engine/TapeRecompute.h"
#include "history/KeyRecord.h"
#include "platform/ErrorMessage.h"

namespace qb {
namespace {

constexpr const char* kNotMade = "The correction was not made: ";

bool IsOperationSymbol(char c) { return c == '+' || c == '-' || c == '*' || c == '/' || c == '%'; }

bool PrintsNumbers(Command command) {
    switch (command) {
    case Command::Plus:
    case Command::Minus:
    case Command::Multiply:
    case Command::Divide:
    case Command::Percent:
    case Command::Equals: return true;
    default: return false;
    }
}

// Keys that put a number into the Entry box.
bool EntersNumber(const KeyStep& step) {
    switch (step.kind) {
    case StepKind::Backspace:
    case StepKind::RecallTape: return true;
    case StepKind::Outside: return false;
    case StepKind::Key: break;
    }
    switch (step.command) {
    case Command::DecimalPoint:
    case Command::PlusMinus:
    case Command::Inverse:
    case Command::SquareRoot:
    case Command::Paste:
    case Command::RecallMemory: return true;
    default: return IsDigitCommand(step.command);
    }
}

// A number as the Entry box would take it: a sign, digits and one point (its capacity apart).
bool IsEntryNumber(const std::string& text) {
    if (text.empty()) return false;
    std::size_t i = text[0] == '-' ? 1 : 0;
    bool point = false, digit = false;
    for (; i < text.size(); ++i) {
        if (text[i] == '.') {
            if (point) return false;
            point = true;
        } else if (text[i] >= '0' && text[i] <= '9') {
            digit = true;
        } else {
            return false;
        }
    }
    return digit;
}

// The label of the dialog's number: how the Entry box reads what is typed there.
std::string NumberLabel(bool autoDecimal, int places) {
    if (!autoDecimal || places < 1) return "&Number:";
    return "&Number (Auto Decimal, " + std::to_string(places) + (places == 1 ? " place" : " places") +
           ": 750 is " + WithAutoDecimal("750", true, places) + "):";
}

// "      1,250.00 +" gives "1250.00".
std::string NumberOfLine(std::string_view line) {
    if (line.size() < 2) return {};
    return NoSpecialChar(line.substr(0, line.size() - 1));
}

}  // namespace

bool Machine::IsKeyedCommand(Command command) {
    if (IsDigitCommand(command) || PrintsNumbers(command)) return true;
    switch (command) {
    case Command::DecimalPoint:
    case Command::PlusMinus:
    case Command::ClearEntry:
    case Command::ClearSubtotal:
    case Command::Inverse:
    case Command::SquareRoot:
    case Command::Paste:
    case Command::MemoryAdd:
    case Command::MemorySubtract:
    case Command::MemoryDivide:
    case Command::MemoryMultiply:
    case Command::RecallMemory:
    case Command::ClearMemory: return true;
    default: return false;
    }
}

World Machine::CaptureWorld() const { return World{calculator_.Save(), memory_, entered_}; }

// The same as CaptureWorld() == world, without the copy (asked on every key and every render).
bool Machine::WorldIs(const World& world) const {
    const Calculator::Memento& c = world.calculator;
    return entered_ == world.entered && memory_ == world.memory && calculator_.State() == c.state &&
           calculator_.DisplayText() == c.displayText && calculator_.OperatorCaption() == c.operatorCaption &&
           calculator_.OperatorFontName() == c.operatorFont;
}

void Machine::RestoreWorld(const World& world) {
    calculator_.Restore(world.calculator);
    memory_ = world.memory;
    entered_ = world.entered;
}

void Machine::ResetHistory() { history_->Reset(tape_.Count(), CaptureWorld(), tape_.Replacements()); }

// What changed since the record's last step without a key (a new tape, a timer's lines, a
// file that could not be read) joins the record, so that undo and replays know of it.
void Machine::SyncHistory() {
    if (tape_.Replacements() != history_->TapeGeneration() || tape_.Count() < history_->ExpectedLines()) {
        ResetHistory();
        return;
    }
    const std::int64_t from = history_->ExpectedLines();
    const bool sameWorld = WorldIs(history_->Expected());
    if (tape_.Count() == from && sameWorld) return;
    World now = CaptureWorld();
    StepInput input;
    for (std::int64_t i = from; i < tape_.Count(); ++i) input.lines.emplace_back(tape_.Line(i));
    // A timer's lines leave the calculator alone; a replay then keeps what the keys made of it.
    if (!sameWorld) input.world = now;
    KeyStep step;
    step.kind = StepKind::Outside;
    step.modes = StepModes::Of(options_, calculator_.DecimalPlaces());
    step.tapeBefore = static_cast<std::int32_t>(from);
    step.input = std::make_shared<const StepInput>(std::move(input));
    std::vector<KeyStep>& steps = history_->Steps();
    if (steps.size() % KeyRecord::kSnapshotEvery == 0) step.snapshot = std::make_shared<const World>(history_->Expected());
    UndoRecord record{history_->Expected(), now, from, {}, steps.size(), {}, history_->BaseLines(), std::nullopt};
    steps.push_back(std::move(step));
    history_->Push(std::move(record));
    history_->SetExpected(std::move(now), tape_.Count());
}

void Machine::Backspace() {
    KeyStep step;
    step.kind = StepKind::Backspace;
    RecordStep(std::move(step));
}

void Machine::RecordStep(KeyStep step) {
    SyncHistory();
    std::vector<KeyStep>& steps = history_->Steps();
    // The record's idea of the calculator is the calculator before the step, until it is told.
    const World& before = history_->Expected();
    const std::int64_t lines = tape_.Count();
    step.modes = StepModes::Of(options_, calculator_.DecimalPlaces());
    step.selection = static_cast<std::int32_t>(tape_.ListIndex());
    step.tapeBefore = static_cast<std::int32_t>(lines);
    if (steps.size() % KeyRecord::kSnapshotEvery == 0) step.snapshot = std::make_shared<const World>(before);
    ApplyStep(step);
    const std::size_t logFrom = steps.size();
    steps.push_back(std::move(step));
    if (WorldIs(before) && tape_.Count() == lines) return;  // nothing changed: nothing to undo
    World after = CaptureWorld();
    history_->Push(UndoRecord{before, after, lines, {}, logFrom, {}, history_->BaseLines(), std::nullopt});
    history_->SetExpected(std::move(after), tape_.Count());
}

void Machine::ApplyStep(KeyStep& step) {
    const unsigned errors = messageGate_.Errors();
    const std::int64_t lines = tape_.Count();
    CalculatorState& state = calculator_.State();
    if (step.input && step.input->entry) {
        // The corrected number and operation, as if keyed in the first place.
        state.EntryText = *step.input->entry;
        state.PendingOperation = step.input->operation;
        calculator_.SetOperatorIndicator(step.input->operation);
        calculator_.ShowEntry();
        state.ReplaceEntry = false;
        state.JustPressedEquals = false;
        state.SpecialResult = false;
        entered_ = true;
    }
    // A digit key changes the Entry box unless refused; the other keys are compared.
    const bool digit = step.kind == StepKind::Key && IsDigitCommand(step.command);
    std::string entryBefore;
    if (!digit && EntersNumber(step)) entryBefore = state.EntryText;
    const bool wasEntered = entered_;
    const bool prints = step.kind == StepKind::Key && PrintsNumbers(step.command);
    std::string keyed = prints && wasEntered ? state.EntryText : std::string();
    switch (step.kind) {
    case StepKind::Key:
        if (step.command == Command::Paste)
            PasteText(step.input ? step.input->pasted : std::nullopt);
        else
            ExecuteKeyed(step.command);
        break;
    case StepKind::Backspace: calculator_.Backspace(); break;
    case StepKind::RecallTape:
        tape_.SetListIndex(step.selection);
        RecallIntoEntry(NoSpecialChar(selection_.LastTapeEntry(true)));
        break;
    case StepKind::Outside:
        if (step.input) {
            for (const std::string& line : step.input->lines) tape_.AppendRaw(line);
            if (step.input->world) RestoreWorld(*step.input->world);
        }
        break;
    }
    step.failed = messageGate_.Errors() != errors;
    step.subtotal = step.kind == StepKind::Key ? calculator_.LastResult() : state.Subtotal;
    const bool printedNumber = prints && tape_.Count() > lines && IsOperationSymbol(tape_.Line(lines).back());
    step.entered = printedNumber && wasEntered;
    step.keyed = step.entered ? std::move(keyed) : std::string();
    if (printedNumber) entered_ = false;
    if (digit ? !step.failed : EntersNumber(step) && state.EntryText != entryBefore) entered_ = true;
    if (state.EntryText.empty()) entered_ = false;
}

bool Machine::CanUndo() const {
    if (tape_.Replacements() != history_->TapeGeneration()) return false;
    return history_->CanUndo() || tape_.Count() != history_->ExpectedLines() || !WorldIs(history_->Expected());
}

bool Machine::CanRedo() const {
    if (tape_.Replacements() != history_->TapeGeneration()) return false;
    return history_->CanRedo() && tape_.Count() == history_->ExpectedLines() && WorldIs(history_->Expected());
}

void Machine::UndoCommand(bool redo) {
    SyncHistory();
    const World* world = redo ? history_->Redo(tape_) : history_->Undo(tape_);
    if (!world) {
        ports_.messages.Beep();
        return;
    }
    RestoreWorld(*world);
    // Undo never hands back a saved state as if nothing had happened since.
    tape_.SetDirty(true);
    tape_.ClearSelection();
    tape_.ScrollTape();
    SaveMemory();
    ++tapeRewritten_;
}

bool Machine::LineCorrectable(std::int64_t index) const {
    if (index < 0 || index >= tape_.Count()) return false;
    const std::string_view line = tape_.Line(index);
    if (line.empty()) return false;
    const bool synced = tape_.Replacements() == history_->TapeGeneration();
    const std::int64_t base = synced ? history_->BaseLines() : tape_.Count();
    if (index < base) {
        auto reading = ReadTapeLine(line, index > 0 ? tape_.Line(index - 1) : "", index == 0);
        return reading.kind == TapeLineReading::Kind::Number || reading.kind == TapeLineReading::Kind::Overflow;
    }
    if (index >= history_->ExpectedLines()) return false;  // printed by no key
    const std::int64_t at = history_->StepOfLine(index);
    if (at < 0) return false;
    const KeyStep& step = history_->Steps()[static_cast<std::size_t>(at)];
    return step.kind == StepKind::Key && step.entered && step.tapeBefore == index && IsOperationSymbol(line.back());
}

void Machine::CorrectLineCommand() {
    SyncHistory();
    const std::int64_t index = tape_.ListIndex();
    if (!LineCorrectable(index)) {
        ports_.messages.Beep();
        return;
    }
    const std::string_view line = tape_.Line(index);
    if (line[0] == '*') {
        ShowErrorMessage(ports_.messages, "This line shows a number too wide for the tape, so it cannot be corrected");
        return;
    }
    // A keyed line offers the number as it was keyed: the line shows it rounded, and the
    // rounded number keyed instead would change the totals.
    // What is typed is read as the Entry box read it then, or, for a file's line, reads it now.
    CorrectLineForm shown;
    const bool keyed = index >= history_->BaseLines();
    Options modes = options_;
    int places = calculator_.DecimalPlaces();
    if (keyed) {
        const KeyStep& step = history_->Steps()[static_cast<std::size_t>(history_->StepOfLine(index))];
        shown.number = step.keyed;
        step.modes.ApplyTo(modes);
        places = step.modes.places;
    } else {
        shown.number = NumberOfLine(line);
    }
    shown.operation = line.back();
    shown.label = NumberLabel(modes.AutoDecimal, places);
    CorrectLineForm form = shown;
    bool tooltips = options_.Tooltips;
    bool ok = dialogs_.CorrectLineDialog(form, tooltips);
    if (tooltips != options_.Tooltips) ToggleOption(Command::ShowTooltips);
    // OK on the line as it stands corrects nothing.
    if (!ok || (form.number == shown.number && form.operation == shown.operation)) return;
    CorrectLine(index, form.number, form.operation);
    tape_.SetListIndex(index);
}

bool Machine::CorrectLine(std::int64_t index, const std::string& number, char operation) {
    if (operation == '*') operation = 'x';
    if (!IsEntryNumber(number)) {
        ShowErrorMessage(ports_.messages, "Type a number for the corrected line");
        return false;
    }
    if (ParseNumber(number) == 0) {
        ShowErrorMessage(ports_.messages, "A corrected line needs a number other than 0");
        return false;
    }
    if (operation != '+' && operation != '-' && operation != 'x' && operation != '/' && operation != '%') return false;
    SyncHistory();
    if (!LineCorrectable(index)) {
        ports_.messages.Beep();
        return false;
    }
    // A file's line may show more digits than the Entry box takes: its own number, kept for a
    // new operation, is not cut.
    const bool fileLine = index < history_->BaseLines();
    if (number.size() > Calculator::kCapacity && !(fileLine && number == NumberOfLine(tape_.Line(index)))) {
        ShowErrorMessage(ports_.messages, "The number is too long: the Entry box takes at most " +
                                              std::to_string(Calculator::kCapacity) + " characters");
        return false;
    }
    if (fileLine)
        return CorrectFileLine(index, WithAutoDecimal(number, options_.AutoDecimal, calculator_.DecimalPlaces()), operation);
    return ReplayCorrection(index, history_->StepOfLine(index), number, operation, nullptr);
}

bool Machine::ReplayCorrection(std::int64_t index, std::int64_t at, const std::string& number, char operation,
                               const RecomputedTape* fileLines) {
    std::vector<KeyStep>& steps = history_->Steps();
    const auto corrected = static_cast<std::size_t>(at);
    const std::size_t start = fileLines ? 0 : corrected - corrected % KeyRecord::kSnapshotEvery;
    if (!steps[start].snapshot) {  // every 32nd step has one; a record without is not replayed
        ports_.messages.Beep();
        return false;
    }
    const World before = CaptureWorld();
    const Options liveOptions = options_;
    const int livePlaces = calculator_.DecimalPlaces();
    const std::int64_t selected = tape_.ListIndex();
    const std::int64_t top = tape_.TopIndex();
    const std::int64_t from = fileLines ? index : steps[start].tapeBefore;
    std::string original(tape_.Line(index));
    if (const std::string* was = tape_.CorrectedFrom(index)) original = *was;

    // What the replay changes, kept to put back on a refusal and for undo.
    StepPatch patch = StepPatch::Of(steps, start, corrected);
    const std::int64_t oldCount = tape_.Count();
    TapeListener* listener = tape_.Listener();
    tape_.SetListener(nullptr);
    TapeSuffix oldTape = tape_.TakeSuffix(from);
    messageGate_.SetQuiet(true);
    soundGate_.SetQuiet(true);
    replaying_ = true;

    if (fileLines) {
        // The file's lines as corrected; the keys after them start from the subtotal they now give.
        for (const std::string& line : fileLines->lines) tape_.AppendRaw(line);
        World world = *steps[start].snapshot;
        world.calculator.state.Subtotal = fileLines->subtotal;
        steps[start].snapshot = std::make_shared<const World>(std::move(world));
    } else {
        StepInput input = steps[corrected].input ? *steps[corrected].input : StepInput{};
        input.entry = number;
        input.operation = operation;
        steps[corrected].input = std::make_shared<const StepInput>(std::move(input));
    }

    RestoreWorld(*steps[start].snapshot);
    StepModes modes = StepModes::Of(options_, livePlaces);
    std::int64_t failedLine = -1;
    std::string failure;
    Progress progress(ports_.progress, "Correcting the tape", static_cast<std::int64_t>(steps.size() - start));
    for (std::size_t i = start; i < steps.size(); ++i) {
        if (!progress.Step()) break;  // cancelled: put back as on a refusal
        KeyStep& step = steps[i];
        if (!(step.modes == modes)) {
            step.modes.ApplyTo(options_);
            calculator_.SetDecimalPlaces(step.modes.places);
            modes = step.modes;
        }
        tape_.SetListIndex(step.selection);
        step.tapeBefore = static_cast<std::int32_t>(tape_.Count());
        if (i != start && i % KeyRecord::kSnapshotEvery == 0) step.snapshot = std::make_shared<const World>(CaptureWorld());
        const bool failedBefore = step.failed;
        ApplyStep(step);
        if (step.failed && !failedBefore) {
            failedLine = tape_.Count();
            failure = messageGate_.LastError();
            break;
        }
    }
    options_ = liveOptions;
    calculator_.SetDecimalPlaces(livePlaces);
    messageGate_.SetQuiet(false);
    soundGate_.SetQuiet(false);
    replaying_ = false;

    if (failedLine >= 0 || progress.Cancelled()) {
        tape_.TakeSuffix(from);
        tape_.PutSuffix(std::move(oldTape));
        patch.SwapWith(steps);
        RestoreWorld(before);
    } else {
        for (const auto& [line, text] : oldTape.corrected)
            if (line < tape_.Count()) tape_.MarkCorrected(line, text);
        tape_.MarkCorrected(index, original);
    }
    tape_.SetListener(listener);
    tape_.AnnounceRewritten(from, oldCount);
    tape_.SetListIndex(selected < tape_.Count() ? selected : -1);
    tape_.SetTopIndex(std::min(top, std::max<std::int64_t>(0, tape_.Count() - 1)));
    if (progress.Cancelled()) return false;
    if (failedLine >= 0) {
        if (!failure.empty() && failure.back() == '!') failure.pop_back();
        ShowErrorMessage(ports_.messages,
                         kNotMade + std::string("line ") + std::to_string(failedLine + 1) + " would fail (" + failure + ")");
        return false;
    }
    World after = CaptureWorld();
    UndoRecord record{before, after, from, std::move(oldTape), steps.size(), {}, history_->BaseLines(), std::nullopt};
    record.patch = std::move(patch);
    history_->Push(std::move(record));
    history_->SetExpected(after, tape_.Count());
    tape_.SetDirty(true);
    SaveMemory();
    ++tapeRewritten_;
    return true;
}

bool Machine::CorrectFileLine(std::int64_t index, const std::string& number, char operation) {
    const RecomputedTape result = RecomputeTape(tape_.Lines(), index, LineCorrection{number, operation, options_.CommaSeparator},
                                                history_->BaseLines());
    switch (result.outcome) {
    case RecomputedTape::Outcome::NotANumber: ports_.messages.Beep(); return false;
    case RecomputedTape::Outcome::OverflowLine:
        ShowErrorMessage(ports_.messages, "This line shows a number too wide for the tape, so it cannot be corrected");
        return false;
    case RecomputedTape::Outcome::Refused: ShowErrorMessage(ports_.messages, kNotMade + result.reason); return false;
    case RecomputedTape::Outcome::Done: break;
    }
    // Keys after the file's lines go on from the subtotal those now give.
    if (result.reachesEnd && !history_->Steps().empty()) return ReplayCorrection(index, 0, number, operation, &result);
    const World before = CaptureWorld();
    const std::int64_t selected = tape_.ListIndex();
    const std::int64_t top = tape_.TopIndex();
    std::string original(tape_.Line(index));
    if (const std::string* was = tape_.CorrectedFrom(index)) original = *was;

    const std::int64_t oldCount = tape_.Count();
    TapeListener* listener = tape_.Listener();
    tape_.SetListener(nullptr);
    TapeSuffix oldTape = tape_.TakeSuffix(index);
    TapeSuffix newTape;
    newTape.corrected = oldTape.corrected;
    newTape.corrected.insert_or_assign(index, original);
    newTape.lines.reserve(oldTape.lines.size(), oldTape.lines.characters() + 64);
    for (const std::string& line : result.lines) newTape.lines.push_back(line);
    for (std::size_t i = result.lines.size(); i < oldTape.lines.size(); ++i) newTape.lines.push_back(oldTape.lines[i]);
    tape_.PutSuffix(std::move(newTape));
    tape_.SetListener(listener);
    tape_.AnnounceRewritten(index, oldCount);
    if (result.reachesEnd) {
        calculator_.State().Subtotal = result.subtotal;
        calculator_.FormatSubtotal();
    }
    tape_.SetListIndex(selected);
    tape_.SetTopIndex(top);

    World after = CaptureWorld();
    UndoRecord record{before, after, index, std::move(oldTape), history_->Steps().size(), {}, history_->BaseLines(),
                      std::nullopt};
    history_->Push(std::move(record));
    history_->SetExpected(after, tape_.Count());
    tape_.SetDirty(true);
    ++tapeRewritten_;
    return true;
}

}  // namespace qb
