#include "history/LineEdits.h"

#include <algorithm>
#include <iterator>

#include "desk/Desk.h"
#include "engine/NoteLines.h"
#include "engine/TapeRecompute.h"
#include "guide/CodePageDecoder.h"
#include "history/Correction.h"
#include "history/History.h"
#include "platform/ErrorMessage.h"

namespace qb {
namespace {

constexpr const char* kNotChanged = "The tape was not changed: ";

bool IsKey(const KeyStep& step, Command command) { return step.kind == StepKind::Key && step.command == command; }

// The steps that put a number into the Entry box without printing anything.
bool KeysNumber(const KeyStep& step) {
    if (step.kind == StepKind::Backspace || step.kind == StepKind::RecallTape) return true;
    if (step.kind != StepKind::Key) return false;
    switch (step.command) {
    case Command::DecimalPoint:
    case Command::PlusMinus:
    case Command::ClearEntry:
    case Command::Inverse:
    case Command::SquareRoot:
    case Command::Paste:
    case Command::RecallMemory: return true;
    default: return IsDigitCommand(step.command);
    }
}

bool IsTotalLine(const Tape& tape, std::int64_t index) {
    return ReadTapeLine(tape.Line(index), index > 0 ? tape.Line(index - 1) : "", index == 0).kind ==
           TapeLineReading::Kind::Total;
}

}  // namespace

std::pair<std::int64_t, std::int64_t> LineEdits::NoteExtent(std::int64_t index) const {
    const Tape& tape = desk_.GetTape();
    const KeyRecord& record = history_.Record();
    if (index >= record.BaseLines()) {
        const std::int64_t k = record.StepOfLine(index);
        const auto& steps = record.Steps();
        const std::int64_t first = steps[static_cast<std::size_t>(k)].tapeBefore;
        const std::int64_t end = static_cast<std::size_t>(k) + 1 < steps.size() ? steps[static_cast<std::size_t>(k) + 1].tapeBefore
                                                                                 : record.ExpectedLines();
        return {first, end - first};
    }
    return NoteAround(tape.Lines(), index, record.BaseLines());
}

void LineEdits::NoteCommand() {
    history_.Sync();
    const Tape& tape = desk_.GetTape();
    const KeyRecord& record = history_.Record();
    const std::int64_t index = tape.ListIndex();
    // A note line of a file, or one its note key printed (no other key prints one).
    const bool onNote = index >= 0 && index < tape.Count() && IsNoteLine(tape.Line(index)) &&
                        (index < record.BaseLines() ||
                         IsKey(record.Steps()[static_cast<std::size_t>(record.StepOfLine(index))], Command::Note));
    if (!onNote) {
        if (std::optional<std::string> note = desk_.AskNote(std::string())) PutNote(index, *note);
        return;
    }
    // Written again: the dialog opens with the note as it stands.
    const auto [first, count] = NoteExtent(index);
    std::string old;
    if (first >= record.BaseLines()) {
        const KeyStep& step = record.Steps()[static_cast<std::size_t>(record.StepOfLine(index))];
        if (step.input) old = step.input->note;
    } else {
        old = NoteText(tape.Lines(), first, count);
    }
    std::optional<std::string> note = desk_.AskNote(Windows1252ToUtf8(old));
    if (!note || *note == old) return;
    const std::vector<std::string> lines = NoteLines(*note);
    if (first < record.BaseLines()) {
        RewriteFileLines(first, count, lines);
    } else {
        const auto at = static_cast<std::size_t>(record.StepOfLine(index));
        KeyStep step = record.Steps()[at];
        StepInput input = step.input ? *step.input : StepInput{};
        input.note = std::move(*note);
        step.input = std::make_shared<const StepInput>(std::move(input));
        Splice(at, 1, {std::move(step)}, first);
    }
    desk_.GetTape().SetListIndex(first);
}

void LineEdits::PutNote(std::int64_t selected, const std::string& note) {
    const Tape& tape = desk_.GetTape();
    const KeyRecord& record = history_.Record();
    KeyStep step;
    step.command = Command::Note;
    StepInput input;
    input.note = note;
    step.input = std::make_shared<const StepInput>(std::move(input));
    if (selected >= 0 && selected + 1 < tape.Count()) {
        if (selected < record.BaseLines()) {
            RewriteFileLines(selected + 1, 0, NoteLines(note));
            return;
        }
        const auto at = static_cast<std::size_t>(record.StepOfLine(selected) + 1);
        if (at < record.Steps().size()) {
            Splice(at, 0, {std::move(step)}, record.Steps()[at].tapeBefore);
            return;
        }
    }
    history_.Record(std::move(step));
}

bool LineEdits::LineDeletable(std::int64_t index) const {
    const Tape& tape = desk_.GetTape();
    if (index < 0 || index >= tape.Count()) return false;
    const std::string_view line = tape.Line(index);
    const KeyRecord& record = history_.Record();
    if (!history_.InStep() || index < record.BaseLines())
        return IsNoteLine(line) || (!line.empty() && line.back() == Tape::kReferenceMark) || correction_.LineCorrectable(index);
    if (index >= record.ExpectedLines()) return false;
    const KeyStep& step = record.Steps()[static_cast<std::size_t>(record.StepOfLine(index))];
    if (IsKey(step, Command::Note)) return true;
    if (IsKey(step, Command::Reference)) return step.tapeBefore == index;
    return correction_.LineCorrectable(index);
}

bool LineEdits::DeleteLine(std::int64_t index) {
    history_.Sync();
    Tape& tape = desk_.GetTape();
    if (!LineDeletable(index)) {
        if (index >= 0 && index < tape.Count() && IsTotalLine(tape, index))
            ShowErrorMessage(desk_.Messages(),
                             "A total cannot be deleted: delete or correct the numbers that went into it, and the total follows");
        else if (!correction_.RefuseWorkedOutLine(index, "deleted"))
            desk_.Messages().Beep();
        return false;
    }
    // The line that takes the deleted one's place is selected, so that Delete Line again goes on
    // down the tape; a note goes whole, from its first line.
    const std::int64_t first = IsNoteLine(tape.Line(index)) ? NoteExtent(index).first : index;
    if (!RemoveLine(index)) return false;
    tape.SetListIndex(first < tape.Count() ? first : -1);
    return true;
}

bool LineEdits::RemoveLine(std::int64_t index) {
    const Tape& tape = desk_.GetTape();
    KeyRecord& record = history_.Record();
    if (index < record.BaseLines()) {
        if (IsNoteLine(tape.Line(index))) {
            const auto [first, count] = NoteExtent(index);
            return RewriteFileLines(first, count, {});
        }
        if (!History::IsOperationSymbol(tape.Line(index).back())) return RewriteFileLines(index, 1, {});  // a reference
        return correction_.EditFileLine(index, {}, 0, LineEdit::Remove);
    }
    const std::vector<KeyStep>& steps = record.Steps();
    const auto at = static_cast<std::size_t>(record.StepOfLine(index));
    if (IsKey(steps[at], Command::Note)) return Splice(at, 1, {}, NoteExtent(index).first);
    // The keys that entered the number go; the key that printed it stays for what else it did
    // (the next operation, a total), and finds no number now.
    std::size_t first = at;
    while (first > 0 && steps[first - 1].tapeBefore == steps[first].tapeBefore && KeysNumber(steps[first - 1])) --first;
    if (IsKey(steps[at], Command::Reference)) return Splice(first, at + 1 - first, {}, index);
    KeyStep printing = steps[at];
    if (printing.input) {
        StepInput input = *printing.input;
        input.entry.reset();
        input.operation = 0;
        printing.input = std::make_shared<const StepInput>(std::move(input));
    }
    return Splice(first, at + 1 - first, {std::move(printing)}, index);
}

void LineEdits::InsertLineCommand() {
    history_.Sync();
    const std::int64_t index = desk_.GetTape().ListIndex();
    CorrectLineForm form;
    form.title = "Insert Line";
    form.label = EntryNumberLabel(desk_.GetOptions().AutoDecimal, desk_.GetCalculator().DecimalPlaces());
    form.decimalComma = desk_.DecimalComma();
    bool tooltips = desk_.GetOptions().Tooltips;
    const bool ok = desk_.Dialogs().CorrectLineDialog(form, tooltips);
    desk_.FollowTooltips(tooltips);
    if (ok) InsertLine(index, form.number, form.operation);
}

bool LineEdits::InsertLine(std::int64_t index, const std::string& number, char operation) {
    history_.Sync();
    Tape& tape = desk_.GetTape();
    KeyRecord& record = history_.Record();
    if (operation == '*') operation = 'x';
    if (!correction_.AcceptsNumber(number, operation, "inserted")) return false;
    if (index >= tape.Count()) index = -1;
    if (index >= 0 && index < record.BaseLines()) index = LastLineOfEntry(index);
    if (index >= 0 && index + 1 < record.BaseLines()) {
        const bool done = correction_.EditFileLine(index, number, operation, LineEdit::InsertAfter);
        if (done) tape.SetListIndex(index + 1);
        return done;
    }
    KeyStep step;
    step.command = Command::InsertLine;
    StepInput input;
    input.entry = number;
    input.operation = operation;
    step.input = std::make_shared<const StepInput>(std::move(input));
    std::size_t at = record.Steps().size();
    if (index >= 0 && index + 1 < tape.Count()) at = static_cast<std::size_t>(record.StepOfLine(index) + 1);
    if (at >= record.Steps().size()) {
        const std::int64_t before = tape.Count();
        const unsigned errors = desk_.Gate().Errors();
        history_.Record(std::move(step));
        if (desk_.Gate().Errors() != errors) return false;
        tape.SetListIndex(tape.Count() > before ? before : -1);
        return true;
    }
    const std::int64_t line = record.Steps()[at].tapeBefore;
    step.modes = record.Steps()[at].modes;
    if (!Splice(at, 0, {std::move(step)}, line)) return false;
    tape.SetListIndex(line);
    return true;
}

bool LineEdits::Splice(std::size_t at, std::size_t removed, std::vector<KeyStep> added, std::int64_t changedLine) {
    KeyRecord& record = history_.Record();
    const std::vector<KeyStep>& steps = record.Steps();
    const std::size_t start = at - at % KeyRecord::kSnapshotEvery;
    if (start >= steps.size() || !steps[start].snapshot) {
        desk_.Messages().Beep();
        return false;
    }
    // The lines the removed steps printed, and what the added ones will print (one line a
    // number, a note its lines): the lines the steps after them select move by the difference.
    const std::int64_t end = at + removed < steps.size() ? steps[at + removed].tapeBefore : record.ExpectedLines();
    const std::int64_t gone = end - (at < steps.size() ? steps[at].tapeBefore : end);
    std::int64_t coming = 0;
    for (const KeyStep& step : added) {
        if (IsKey(step, Command::Note)) coming += static_cast<std::int64_t>(NoteLines(step.input->note).size());
        if (step.input && step.input->entry) ++coming;
    }
    if (at == start && at + removed == steps.size() && added.empty()) {
        // The last steps went: the record ends where they began.
        KeyStep none;
        none.kind = StepKind::Outside;
        none.modes = steps[start].modes;
        none.input = std::make_shared<const StepInput>();
        added.push_back(std::move(none));
    }
    const std::int64_t from = steps[start].tapeBefore;
    StepPatch was = StepPatch::Splice(record.Steps(), start, at, removed, std::move(added), [&](std::int32_t selection) {
        if (selection >= end) return static_cast<std::int32_t>(selection + coming - gone);
        return selection >= changedLine ? -1 : selection;
    });
    return Rewrite(start, from, std::move(was), changedLine);
}

bool LineEdits::Rewrite(std::size_t start, std::int64_t from, StepPatch was, std::int64_t changedLine) {
    Tape& tape = desk_.GetTape();
    KeyRecord& record = history_.Record();
    std::vector<KeyStep>& steps = record.Steps();
    const World before = history_.Capture();
    const std::int64_t top = tape.TopIndex();
    const std::int64_t oldCount = tape.Count();
    TapeListener* listener = tape.Listener();
    tape.SetListener(nullptr);
    TapeSuffix oldTape = tape.TakeSuffix(from);

    const Correction::ReplayOutcome outcome = correction_.RunSteps(start, "Changing the tape");
    const bool refused = outcome.failedLine >= 0 || outcome.cancelled;
    if (refused) {
        tape.TakeSuffix(from);
        tape.PutSuffix(std::move(oldTape));
        was.SwapWith(steps);
        history_.Restore(before);
    } else {
        // Corrections keep their marks, moved with their lines; a deleted line's goes with it.
        const std::int64_t delta = tape.Count() - oldCount;
        for (const auto& [line, text] : oldTape.corrected) {
            if (line < changedLine)
                tape.MarkCorrected(line, text);
            else if ((delta >= 0 || line >= changedLine - delta) && line + delta < tape.Count())
                tape.MarkCorrected(line + delta, text);
        }
    }
    tape.SetListener(listener);
    tape.AnnounceRewritten(from, oldCount);
    tape.ClearSelection();
    tape.SetTopIndex(std::min(top, std::max<std::int64_t>(0, tape.Count() - 1)));
    if (outcome.cancelled) return false;
    if (refused) {
        ShowErrorMessage(desk_.Messages(), kNotChanged + outcome.Failure());
        return false;
    }
    World after = history_.Capture();
    record.Push(UndoRecord{before, after, from, std::move(oldTape), steps.size(), {}, record.BaseLines(), std::move(was)});
    record.SetExpected(after, tape.Count());
    tape.SetDirty(true);
    desk_.SaveMemory();
    history_.MarkRewritten();
    return true;
}

bool LineEdits::RewriteFileLines(std::int64_t first, std::int64_t removed, const std::vector<std::string>& added) {
    RecomputedTape change;
    change.first = first;
    change.lines = added;
    change.removed = removed;
    change.added = static_cast<std::int64_t>(added.size());
    const bool done = correction_.ChangeFileLines(change, -1);
    desk_.GetTape().ClearSelection();
    return done;
}

std::int64_t LineEdits::LastLineOfEntry(std::int64_t index) const {
    const Tape& tape = desk_.GetTape();
    const std::string_view line = tape.Line(index);
    if (IsNoteLine(line)) {
        const auto [first, count] = NoteExtent(index);
        return first + count - 1;
    }
    const bool last = index + 1 >= history_.Record().BaseLines();
    if (!last && ((!line.empty() && line.back() == Tape::kCountMark) ||
                  ReadTapeLine(tape.Line(index + 1), line, false).kind == TapeLineReading::Kind::Clear))
        return index + 1;
    return index;
}

}  // namespace qb
