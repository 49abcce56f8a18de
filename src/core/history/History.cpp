#include "history/History.h"

#include <algorithm>

#include "desk/Desk.h"
#include "engine/NumberRules.h"
#include "engine/TapeRecompute.h"

namespace qb {
namespace {

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

}  // namespace

bool History::IsKeyedCommand(Command command) {
    if (IsDigitCommand(command) || PrintsNumbers(command)) return true;
    switch (command) {
    case Command::DecimalPoint:
    case Command::PlusMinus:
    case Command::ClearEntry:
    case Command::ClearSubtotal:
    case Command::Inverse:
    case Command::SquareRoot:
    case Command::AddPercent:
    case Command::LessPercent:
    case Command::TaxPlus:
    case Command::TaxMinus:
    case Command::TaxPlusSecond:
    case Command::TaxMinusSecond:
    case Command::MarkUp:
    case Command::Cost:
    case Command::Sell:
    case Command::Margin:
    case Command::Paste:
    case Command::MemoryAdd:
    case Command::MemorySubtract:
    case Command::MemoryDivide:
    case Command::MemoryMultiply:
    case Command::RecallMemory:
    case Command::ClearMemory:
    case Command::Reference:
    case Command::Note:
    case Command::GrandTotal: return true;
    default: return false;
    }
}

World History::Capture() const { return World{desk_.GetCalculator().Save(), desk_.Memory(), entered_}; }

bool History::Is(const World& world) const {
    const Calculator& calculator = desk_.GetCalculator();
    const Calculator::Memento& c = world.calculator;
    return entered_ == world.entered && desk_.Memory() == world.memory && calculator.State() == c.state &&
           calculator.DisplayText() == c.displayText && calculator.OperatorCaption() == c.operatorCaption &&
           calculator.OperatorFontName() == c.operatorFont;
}

void History::Restore(const World& world) {
    desk_.GetCalculator().Restore(world.calculator);
    desk_.Memory() = world.memory;
    entered_ = world.entered;
}

void History::Reset() {
    const Tape& tape = desk_.GetTape();
    record_.Reset(tape.Count(), Capture(), tape.Replacements());
}

bool History::InStep() const { return desk_.GetTape().Replacements() == record_.TapeGeneration(); }

void History::Sync() {
    const Tape& tape = desk_.GetTape();
    if (!InStep() || tape.Count() < record_.ExpectedLines()) {
        Reset();
        return;
    }
    const std::int64_t from = record_.ExpectedLines();
    const bool sameWorld = Is(record_.Expected());
    if (tape.Count() == from && sameWorld) return;
    World now = Capture();
    StepInput input;
    for (std::int64_t i = from; i < tape.Count(); ++i) input.lines.emplace_back(tape.Line(i));
    // A timer's lines leave the calculator alone; a replay then keeps what the keys made of it.
    if (!sameWorld) input.world = now;
    KeyStep step;
    step.kind = StepKind::Outside;
    step.modes = StepModes::Of(desk_.GetOptions(), desk_.GetCalculator().DecimalPlaces());
    step.tapeBefore = static_cast<std::int32_t>(from);
    step.input = std::make_shared<const StepInput>(std::move(input));
    std::vector<KeyStep>& steps = record_.Steps();
    if (steps.size() % KeyRecord::kSnapshotEvery == 0) step.snapshot = std::make_shared<const World>(record_.Expected());
    UndoRecord undo{record_.Expected(), now, from, {}, steps.size(), {}, record_.BaseLines(), std::nullopt};
    steps.push_back(std::move(step));
    record_.Push(std::move(undo));
    record_.SetExpected(std::move(now), tape.Count());
}

void History::Record(KeyStep step) {
    Sync();
    const Tape& tape = desk_.GetTape();
    std::vector<KeyStep>& steps = record_.Steps();
    // The record's idea of the calculator is the calculator before the step, until it is told.
    const World& before = record_.Expected();
    const std::int64_t lines = tape.Count();
    step.modes = StepModes::Of(desk_.GetOptions(), desk_.GetCalculator().DecimalPlaces());
    step.selection = static_cast<std::int32_t>(tape.ListIndex());
    step.tapeBefore = static_cast<std::int32_t>(lines);
    if (steps.size() % KeyRecord::kSnapshotEvery == 0) step.snapshot = std::make_shared<const World>(before);
    Apply(step);
    const std::size_t logFrom = steps.size();
    steps.push_back(std::move(step));
    if (Is(before) && tape.Count() == lines) return;  // nothing changed: nothing to undo
    World after = Capture();
    record_.Push(UndoRecord{before, after, lines, {}, logFrom, {}, record_.BaseLines(), std::nullopt});
    record_.SetExpected(std::move(after), tape.Count());
}

void History::Apply(KeyStep& step) {
    Tape& tape = desk_.GetTape();
    Calculator& calculator = desk_.GetCalculator();
    const unsigned errors = desk_.Gate().Errors();
    const std::int64_t lines = tape.Count();
    CalculatorState& state = calculator.State();
    const char pending = state.PendingOperation;
    // The grand total key clears only when pressed twice in a row.
    if (!(step.kind == StepKind::Key && step.command == Command::GrandTotal)) state.GrandTotalPrinted = false;
    if (step.input && step.input->entry) {
        // The corrected number and operation, as if keyed in the first place.
        state.EntryText = *step.input->entry;
        state.PendingOperation = step.input->operation;
        calculator.SetOperatorIndicator(step.input->operation);
        calculator.ShowEntry();
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
    const bool prints =
        step.kind == StepKind::Key && (PrintsNumbers(step.command) || step.command == Command::InsertLine);
    std::string keyed = prints && wasEntered ? state.EntryText : std::string();
    switch (step.kind) {
    case StepKind::Key:
        if (step.command == Command::Paste)
            desk_.PasteText(step.input ? step.input->pasted : std::nullopt);
        else if (step.command == Command::Note)
            desk_.PrintNote(step.input ? step.input->note : std::string());
        else if (step.command == Command::InsertLine)
            calculator.OperationKey(pending);  // an inserted line leaves the next line's operation
        else if (IsTaxCommand(step.command) && step.input && step.input->rate)
            calculator.TaxKey(*step.input->rate, step.command == Command::TaxMinus || step.command == Command::TaxMinusSecond);
        else
            desk_.ExecuteKeyed(step.command);
        break;
    case StepKind::Backspace: calculator.Backspace(); break;
    case StepKind::RecallTape:
        tape.SetListIndex(step.selection);
        desk_.RecallIntoEntry(NoSpecialChar(desk_.Selection().LastTapeEntry(true)));
        break;
    case StepKind::Outside:
        if (step.input) {
            for (const std::string& line : step.input->lines) tape.AppendRaw(line);
            if (step.input->world) Restore(*step.input->world);
        }
        break;
    }
    step.failed = desk_.Gate().Errors() != errors;
    step.subtotal = step.kind == StepKind::Key ? calculator.LastResult() : state.Subtotal;
    const bool printedNumber = prints && tape.Count() > lines && IsOperationSymbol(tape.Line(lines).back());
    step.entered = printedNumber && wasEntered;
    step.keyed = step.entered ? std::move(keyed) : std::string();
    if (printedNumber) entered_ = false;
    if (digit ? !step.failed : EntersNumber(step) && state.EntryText != entryBefore) entered_ = true;
    if (state.EntryText.empty()) entered_ = false;
}

bool History::IsEntryKey(const KeyStep& step) {
    return step.kind == StepKind::Key && (IsDigitCommand(step.command) || step.command == Command::DecimalPoint) &&
           !(step.input && step.input->entry);
}

std::size_t History::ApplyEntryKeys(KeyStep* steps, std::size_t count) {
    constexpr std::size_t kMost = KeyRecord::kSnapshotEvery;
    int keys[kMost];
    count = std::min(count, kMost);
    for (std::size_t k = 0; k < count; ++k)
        keys[k] = steps[k].command == Command::DecimalPoint ? Calculator::kPointKey : DigitIndex(steps[k].command);
    Calculator& calculator = desk_.GetCalculator();
    const std::size_t done = calculator.EntryKeys(keys, count);
    if (done == 0) return 0;
    // As Apply leaves them: the box holds a number keyed, nothing printed.
    calculator.State().GrandTotalPrinted = false;
    entered_ = true;
    for (std::size_t k = 0; k < done; ++k) {
        steps[k].failed = false;
        steps[k].subtotal = calculator.LastResult();
        steps[k].entered = false;
        steps[k].keyed.clear();
    }
    return done;
}

bool History::CanUndo() const {
    if (!InStep()) return false;
    return record_.CanUndo() || desk_.GetTape().Count() != record_.ExpectedLines() || !Is(record_.Expected());
}

bool History::CanRedo() const {
    if (!InStep()) return false;
    return record_.CanRedo() && desk_.GetTape().Count() == record_.ExpectedLines() && Is(record_.Expected());
}

void History::Undo(bool redo) {
    Sync();
    Tape& tape = desk_.GetTape();
    const World* world = redo ? record_.Redo(tape) : record_.Undo(tape);
    if (!world) {
        desk_.Messages().Beep();
        return;
    }
    Restore(*world);
    // Undo never hands back a saved state as if nothing had happened since.
    tape.SetDirty(true);
    tape.ClearSelection();
    tape.ScrollTape();
    desk_.SaveMemory();
    MarkRewritten();
}

std::vector<std::optional<double>> History::LineSubtotals() {
    using Kind = TapeLineReading::Kind;
    Sync();
    const Tape& tape = desk_.GetTape();
    std::vector<std::optional<double>> subtotals = RecomputeSubtotals(tape.Lines());
    const std::vector<KeyStep>& steps = record_.Steps();
    if (steps.empty()) return subtotals;
    const std::int64_t base = record_.BaseLines();
    std::optional<double> running;
    if (base > 0 && static_cast<std::size_t>(base) <= subtotals.size()) running = subtotals[static_cast<std::size_t>(base - 1)];
    if (steps.front().snapshot) running = steps.front().snapshot->calculator.state.Subtotal;
    for (std::size_t k = 0; k < steps.size(); ++k) {
        const std::int64_t from = steps[k].tapeBefore;
        const std::int64_t to = k + 1 < steps.size() ? steps[k + 1].tapeBefore : record_.ExpectedLines();
        for (std::int64_t i = std::max(from, base); i < std::min(to, tape.Count()); ++i) {
            const Kind kind = ReadTapeLine(tape.Line(i), i > 0 ? tape.Line(i - 1) : "", i == 0).kind;
            if (kind == Kind::Clear)
                running = 0.0;
            else if (kind != Kind::Other)
                running = steps[k].subtotal;
            subtotals[static_cast<std::size_t>(i)] = running;
        }
    }
    return subtotals;
}

}  // namespace qb
