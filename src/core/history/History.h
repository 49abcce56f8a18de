#pragma once
// The history: every key that changes the calculator, the memory or the tape goes through here
// into the key record, which undo and redo walk back and forth and a correction replays.

#include <cstdint>
#include <optional>
#include <vector>

#include "history/KeyRecord.h"
#include "window/Command.h"

namespace qb {

class Desk;

class History {
public:
    explicit History(Desk& desk) : desk_(desk) {}

    // The commands recorded as key steps.
    static bool IsKeyedCommand(Command command);
    // The last character of a line that shows a number with its operation.
    static bool IsOperationSymbol(char c) { return c == '+' || c == '-' || c == '*' || c == '/' || c == '%'; }
    // Runs the step on the desk and keeps it, with what undo needs to take it back.
    void Record(KeyStep step);
    // Runs the step on the desk: live, or again in a replay (its outcome noted in the step).
    void Apply(KeyStep& step);
    // A digit or point key of the Entry box, as keyed (not a corrected number).
    static bool IsEntryKey(const KeyStep& step);
    // Entry keys in a row, at most count from steps on, run at once: as many as the Entry box
    // takes without a refusal or a beep, each noted as Apply notes it. How many.
    std::size_t ApplyEntryKeys(KeyStep* steps, std::size_t count);
    // What changed since the record's last step without a key (a new tape, a timer's lines, a
    // file that could not be read) joins the record, so that undo and replays know of it.
    void Sync();
    // An empty record over the tape as it stands.
    void Reset();

    bool CanUndo() const;
    bool CanRedo() const;
    void Undo(bool redo);

    World Capture() const;
    // The same as Capture() == world, without the copy (asked on every key and every render).
    bool Is(const World& world) const;
    void Restore(const World& world);

    KeyRecord& Record() { return record_; }
    const KeyRecord& Record() const { return record_; }
    // The record was taken up with the tape it describes (not replaced by another tape).
    bool InStep() const;
    // Goes up by one whenever the tape is rewritten rather than appended to: an undo, a redo,
    // a correction. A copy of the tape taken before it changed is no longer its beginning.
    std::uint64_t TapeRewritten() const { return tapeRewritten_; }
    void MarkRewritten() { ++tapeRewritten_; }

    // The running subtotal after each tape line, nothing where it is not known: keyed lines keep
    // what the calculator worked out, a file's lines are recomputed from their numbers.
    std::vector<std::optional<double>> LineSubtotals();

private:
    Desk& desk_;
    KeyRecord record_;
    // The Entry box holds a number entered since the last one was applied.
    bool entered_ = false;
    std::uint64_t tapeRewritten_ = 0;
};

}  // namespace qb
