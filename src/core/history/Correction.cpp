#include "history/Correction.h"

#include <algorithm>
#include <cctype>

#include "desk/Desk.h"
#include "engine/NumberRules.h"
#include "engine/TapeRecompute.h"
#include "history/History.h"
#include "platform/ErrorMessage.h"

namespace qb {
namespace {

constexpr const char* kNotMade = "The correction was not made: ";
constexpr const char* kNotChanged = "The tape was not changed: ";

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

}  // namespace

std::string EntryNumberLabel(bool autoDecimal, int places) {
    if (!autoDecimal || places < 1) return "&Number:";
    return "&Number (Auto Decimal, " + std::to_string(places) + (places == 1 ? " place" : " places") +
           ": 750 is " + WithAutoDecimal("750", true, places) + "):";
}

namespace {

// "      1,250.00 +" gives "1250.00".
std::string NumberOfLine(std::string_view line) {
    if (line.size() < 2) return {};
    return NoSpecialChar(line.substr(0, line.size() - 1));
}

}  // namespace

bool Correction::LineCorrectable(std::int64_t index) const {
    Tape& tape = desk_.GetTape();
    KeyRecord& record = history_.Record();
    if (index < 0 || index >= tape.Count()) return false;
    const std::string_view line = tape.Line(index);
    if (line.empty()) return false;
    const bool synced = history_.InStep();
    const std::int64_t base = synced ? record.BaseLines() : tape.Count();
    if (index < base) {
        auto reading = ReadTapeLine(line, index > 0 ? tape.Line(index - 1) : "", index == 0);
        return reading.kind == TapeLineReading::Kind::Number || reading.kind == TapeLineReading::Kind::Overflow;
    }
    if (index >= record.ExpectedLines()) return false;  // printed by no key
    const std::int64_t at = record.StepOfLine(index);
    if (at < 0) return false;
    const KeyStep& step = record.Steps()[static_cast<std::size_t>(at)];
    return step.kind == StepKind::Key && step.entered && step.tapeBefore == index && History::IsOperationSymbol(line.back());
}

bool Correction::RefuseWorkedOutLine(std::int64_t index, const char* asked) const {
    const Tape& tape = desk_.GetTape();
    if (index < 0 || index >= tape.Count()) return false;
    if (ReadTapeLine(tape.Line(index), index > 0 ? tape.Line(index - 1) : "", index == 0).kind != TapeLineReading::Kind::Adjusted)
        return false;
    ShowErrorMessage(desk_.Messages(), std::string("A line that a percent, tax, mark-up or margin key worked out cannot be ") + asked +
                                           " on its own: undo back to the key, or correct the numbers above it");
    return true;
}

void Correction::CorrectSelectedLine() {
    Tape& tape = desk_.GetTape();
    KeyRecord& record = history_.Record();
    history_.Sync();
    const std::int64_t index = tape.ListIndex();
    if (!LineCorrectable(index)) {
        if (!RefuseWorkedOutLine(index, "corrected")) desk_.Messages().Beep();
        return;
    }
    const std::string_view line = tape.Line(index);
    if (line[0] == '*') {
        ShowErrorMessage(desk_.Messages(), "This line shows a number too wide for the tape, so it cannot be corrected");
        return;
    }
    // A keyed line offers the number as it was keyed: the line shows it rounded, and the
    // rounded number keyed instead would change the totals.
    // What is typed is read as the Entry box read it then, or, for a file's line, reads it now.
    CorrectLineForm shown;
    const bool keyed = index >= record.BaseLines();
    Options modes = desk_.GetOptions();
    int places = desk_.GetCalculator().DecimalPlaces();
    if (keyed) {
        const KeyStep& step = record.Steps()[static_cast<std::size_t>(record.StepOfLine(index))];
        shown.number = step.keyed;
        step.modes.ApplyTo(modes);
        places = step.modes.places;
    } else {
        shown.number = NumberOfLine(line);
    }
    shown.operation = line.back();
    shown.label = EntryNumberLabel(modes.AutoDecimal, places);
    shown.decimalComma = desk_.DecimalComma();
    CorrectLineForm form = shown;
    bool tooltips = desk_.GetOptions().Tooltips;
    bool ok = desk_.Dialogs().CorrectLineDialog(form, tooltips);
    desk_.FollowTooltips(tooltips);
    // OK on the line as it stands corrects nothing.
    if (!ok || (form.number == shown.number && form.operation == shown.operation)) return;
    CorrectLine(index, form.number, form.operation);
    tape.SetListIndex(index);
}

bool Correction::AcceptsNumber(const std::string& number, char operation, const std::string& line) const {
    if (!IsEntryNumber(number)) {
        ShowErrorMessage(desk_.Messages(), "Type a number for the " + line + " line");
        return false;
    }
    if (ParseNumber(number) == 0) {
        ShowErrorMessage(desk_.Messages(), "A" + std::string(line[0] == 'i' ? "n " : " ") + line + " line needs a number other than 0");
        return false;
    }
    return operation == '+' || operation == '-' || operation == 'x' || operation == '/' || operation == '%';
}

bool Correction::CorrectLine(std::int64_t index, const std::string& number, char operation) {
    Tape& tape = desk_.GetTape();
    KeyRecord& record = history_.Record();
    if (operation == '*') operation = 'x';
    if (!AcceptsNumber(number, operation, "corrected")) return false;
    history_.Sync();
    if (!LineCorrectable(index)) {
        desk_.Messages().Beep();
        return false;
    }
    // A file's line may show more digits than the Entry box takes: its own number, kept for a
    // new operation, is not cut.
    const bool fileLine = index < record.BaseLines();
    if (number.size() > Calculator::kCapacity && !(fileLine && number == NumberOfLine(tape.Line(index)))) {
        ShowErrorMessage(desk_.Messages(), "The number is too long: the Entry box takes at most " +
                                              std::to_string(Calculator::kCapacity) + " characters");
        return false;
    }
    if (fileLine) return EditFileLine(index, number, operation, LineEdit::Correct);
    return Replay(index, record.StepOfLine(index), number, operation);
}

bool Correction::Replay(std::int64_t index, std::int64_t at, const std::string& number, char operation) {
    Tape& tape = desk_.GetTape();
    KeyRecord& record = history_.Record();
    std::vector<KeyStep>& steps = record.Steps();
    const auto corrected = static_cast<std::size_t>(at);
    const std::size_t start = corrected - corrected % KeyRecord::kSnapshotEvery;
    if (!steps[start].snapshot) {  // every 32nd step has one; a record without is not replayed
        desk_.Messages().Beep();
        return false;
    }
    const World before = history_.Capture();
    const std::int64_t selected = tape.ListIndex();
    const std::int64_t top = tape.TopIndex();
    const std::int64_t from = steps[start].tapeBefore;
    std::string original(tape.Line(index));
    if (const std::string* was = tape.CorrectedFrom(index)) original = *was;

    // What the replay changes, kept to put back on a refusal and for undo.
    StepPatch patch = StepPatch::Of(steps, start, corrected);
    const std::int64_t oldCount = tape.Count();
    TapeListener* listener = tape.Listener();
    tape.SetListener(nullptr);
    TapeSuffix oldTape = tape.TakeSuffix(from);
    StepInput input = steps[corrected].input ? *steps[corrected].input : StepInput{};
    input.entry = number;
    input.operation = operation;
    steps[corrected].input = std::make_shared<const StepInput>(std::move(input));

    const ReplayOutcome outcome = RunSteps(start, "Correcting the tape");

    if (outcome.failedLine >= 0 || outcome.cancelled) {
        tape.TakeSuffix(from);
        tape.PutSuffix(std::move(oldTape));
        patch.SwapWith(steps);
        history_.Restore(before);
    } else {
        for (const auto& [line, text] : oldTape.corrected)
            if (line < tape.Count()) tape.MarkCorrected(line, text);
        tape.MarkCorrected(index, original);
    }
    tape.SetListener(listener);
    tape.AnnounceRewritten(from, oldCount);
    tape.SetListIndex(selected < tape.Count() ? selected : -1);
    tape.SetTopIndex(std::min(top, std::max<std::int64_t>(0, tape.Count() - 1)));
    if (outcome.cancelled) return false;
    if (outcome.failedLine >= 0) {
        ShowErrorMessage(desk_.Messages(), kNotMade + outcome.Failure());
        return false;
    }
    World after = history_.Capture();
    UndoRecord undo{before, after, from, std::move(oldTape), steps.size(), {}, record.BaseLines(), std::nullopt};
    undo.patch = std::move(patch);
    record.Push(std::move(undo));
    record.SetExpected(after, tape.Count());
    tape.SetDirty(true);
    desk_.SaveMemory();
    history_.MarkRewritten();
    return true;
}

std::string Correction::ReplayOutcome::Failure() const {
    std::string reason = failure;
    if (!reason.empty() && reason.back() == '!') reason.pop_back();
    // A message's advice on what to key cannot be followed in a correction: its reason alone.
    for (std::size_t end = reason.find(". "); end != std::string::npos; end = reason.find(". ", end + 1)) {
        if (end > 0 && reason[end - 1] != '.' && end + 2 < reason.size() && std::isupper(static_cast<unsigned char>(reason[end + 2]))) {
            reason.erase(end);
            break;
        }
    }
    return "line " + std::to_string(failedLine + 1) + " would fail (" + reason + ")";
}

Correction::ReplayOutcome Correction::RunSteps(std::size_t start, const char* title) {
    Tape& tape = desk_.GetTape();
    std::vector<KeyStep>& steps = history_.Record().Steps();
    const Options liveOptions = desk_.GetOptions();
    const int livePlaces = desk_.GetCalculator().DecimalPlaces();
    desk_.Gate().SetQuiet(true);
    desk_.SoundsGate().SetQuiet(true);
    desk_.HoldMemorySaves(true);
    history_.Restore(*steps[start].snapshot);
    StepModes modes = StepModes::Of(desk_.GetOptions(), livePlaces);
    ReplayOutcome outcome;
    Progress progress(desk_.ProgressReports(), title, static_cast<std::int64_t>(steps.size() - start));
    for (std::size_t i = start; i < steps.size(); ++i) {
        if (!progress.Step()) break;  // cancelled: put back as on a refusal
        KeyStep& step = steps[i];
        if (!(step.modes == modes)) {
            step.modes.ApplyTo(desk_.GetOptions());
            desk_.GetCalculator().SetDecimalPlaces(step.modes.places);
            modes = step.modes;
        }
        tape.SetListIndex(step.selection);
        step.tapeBefore = static_cast<std::int32_t>(tape.Count());
        if (i != start && i % KeyRecord::kSnapshotEvery == 0) step.snapshot = std::make_shared<const World>(history_.Capture());
        if (History::IsEntryKey(step)) {
            // A number's keys go in at once, up to the next snapshot or change of modes.
            std::size_t end = i + 1;
            while (end < steps.size() && end % KeyRecord::kSnapshotEvery != 0 && History::IsEntryKey(steps[end]) &&
                   steps[end].modes == modes)
                ++end;
            if (const std::size_t done = history_.ApplyEntryKeys(&step, end - i)) {
                for (std::size_t k = i + 1; k < i + done && progress.Step(); ++k) steps[k].tapeBefore = step.tapeBefore;
                tape.SetListIndex(steps[i + done - 1].selection);
                i += done - 1;
                if (progress.Cancelled()) break;
                continue;
            }
        }
        const bool failedBefore = step.failed;
        history_.Apply(step);
        if (step.failed && !failedBefore) {
            outcome.failedLine = tape.Count();
            outcome.failure = desk_.Gate().LastError();
            break;
        }
    }
    desk_.GetOptions() = liveOptions;
    desk_.GetCalculator().SetDecimalPlaces(livePlaces);
    desk_.Gate().SetQuiet(false);
    desk_.SoundsGate().SetQuiet(false);
    desk_.HoldMemorySaves(false);
    outcome.cancelled = progress.Cancelled();
    return outcome;
}

bool Correction::EditFileLine(std::int64_t index, const std::string& number, char operation, LineEdit edit) {
    const Options& options = desk_.GetOptions();
    const int places = desk_.GetCalculator().DecimalPlaces();
    const LineCorrection correction{WithAutoDecimal(number, options.AutoDecimal, places), operation, options.CommaSeparator,
                                    options.RoundingMode, edit, places};
    const RecomputedTape result = RecomputeTape(desk_.GetTape().Lines(), index, correction, history_.Record().BaseLines());
    switch (result.outcome) {
    case RecomputedTape::Outcome::NotANumber: desk_.Messages().Beep(); return false;
    case RecomputedTape::Outcome::OverflowLine:
        ShowErrorMessage(desk_.Messages(), std::string("This line shows a number too wide for the tape, so it cannot be ") +
                                               (edit == LineEdit::Correct ? "corrected" : "deleted"));
        return false;
    case RecomputedTape::Outcome::Refused:
        ShowErrorMessage(desk_.Messages(), (edit == LineEdit::Correct ? kNotMade : kNotChanged) + result.reason);
        return false;
    case RecomputedTape::Outcome::Done: break;
    }
    return ChangeFileLines(result, edit == LineEdit::Correct ? index : -1);
}

bool Correction::ChangeFileLines(const RecomputedTape& change, std::int64_t corrected) {
    Tape& tape = desk_.GetTape();
    KeyRecord& record = history_.Record();
    std::vector<KeyStep>& steps = record.Steps();
    // Keys after the file's lines go on from the subtotal those now give.
    const bool replay = change.reachesEnd && !steps.empty();
    if (replay && !steps.front().snapshot) {
        desk_.Messages().Beep();
        return false;
    }
    const World before = history_.Capture();
    const std::int64_t selected = tape.ListIndex();
    const std::int64_t top = tape.TopIndex();
    const std::int64_t oldCount = tape.Count();
    const std::int64_t oldBase = record.BaseLines();
    const std::int64_t delta = change.added - change.removed;
    std::string original;
    if (corrected >= 0) original = tape.CorrectedFrom(corrected) ? *tape.CorrectedFrom(corrected) : std::string(tape.Line(corrected));

    TapeListener* listener = tape.Listener();
    tape.SetListener(nullptr);
    TapeSuffix oldTape = tape.TakeSuffix(change.first);
    for (const std::string& line : change.lines) tape.AppendRaw(line);
    // The keyed lines are printed again by the replay.
    if (!replay)
        for (auto i = static_cast<std::size_t>(static_cast<std::int64_t>(change.lines.size()) - delta); i < oldTape.lines.size(); ++i)
            tape.AppendRaw(oldTape.lines[i]);
    // Corrections keep their marks, moved with their lines; a line that goes takes its own.
    std::map<std::int64_t, std::string> marks;
    for (const auto& [line, text] : oldTape.corrected)
        if (line >= change.first + change.removed) marks.emplace(line + delta, text);
    if (corrected >= 0) marks.try_emplace(corrected, std::move(original));

    // The keys after the file's lines move with them, and so do the lines they selected.
    const std::size_t logFrom = replay || change.removed > 0 || change.added > 0 ? 0 : steps.size();
    std::vector<KeyStep> oldSteps(steps.begin() + static_cast<std::ptrdiff_t>(logFrom), steps.end());
    for (KeyStep& step : steps) {
        step.tapeBefore = static_cast<std::int32_t>(step.tapeBefore + delta);
        if (step.selection >= change.first + change.removed) step.selection = static_cast<std::int32_t>(step.selection + delta);
        else if (step.selection >= change.first) step.selection = -1;
    }
    record.SetBase(oldBase + delta);
    ReplayOutcome outcome;
    if (replay) {
        World world = *steps.front().snapshot;
        world.calculator.state.Subtotal = change.subtotal;
        steps.front().snapshot = std::make_shared<const World>(std::move(world));
        outcome = RunSteps(0, corrected >= 0 ? "Correcting the tape" : "Changing the tape");
    } else if (change.reachesEnd) {
        desk_.GetCalculator().State().Subtotal = change.subtotal;
        desk_.GetCalculator().FormatSubtotal();
    }
    const bool refused = outcome.failedLine >= 0 || outcome.cancelled;
    if (refused) {
        tape.TakeSuffix(change.first);
        tape.PutSuffix(std::move(oldTape));
        steps = std::move(oldSteps);
        record.SetBase(oldBase);
        history_.Restore(before);
    } else {
        for (auto& [line, text] : marks)
            if (line < tape.Count()) tape.MarkCorrected(line, std::move(text));
    }
    tape.SetListener(listener);
    tape.AnnounceRewritten(change.first, oldCount);
    tape.SetListIndex(selected < tape.Count() ? selected : -1);
    tape.SetTopIndex(std::min(top, std::max<std::int64_t>(0, tape.Count() - 1)));
    if (outcome.cancelled) return false;
    if (refused) {
        ShowErrorMessage(desk_.Messages(), (corrected >= 0 ? kNotMade : kNotChanged) + outcome.Failure());
        return false;
    }
    World after = history_.Capture();
    record.Push(UndoRecord{before, after, change.first, std::move(oldTape), logFrom, std::move(oldSteps), oldBase, std::nullopt});
    record.SetExpected(after, tape.Count());
    tape.SetDirty(true);
    if (replay) desk_.SaveMemory();
    history_.MarkRewritten();
    return true;
}

}  // namespace qb
