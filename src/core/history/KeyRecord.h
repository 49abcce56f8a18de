#pragma once
// The record behind undo, redo and check-and-correct: every command that changed the calculator,
// the memory or the tape, in order, with what it needs to run again (the options as they were,
// the selected line, the pasted text), and every so often a snapshot of the calculator to start
// a replay from. A correction replays the commands after the corrected line; undo and redo swap
// the end of the tape and of the record with the other version kept beside them.

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/Calculator.h"
#include "engine/Options.h"
#include "engine/Tape.h"
#include "memory/MemoryRegister.h"
#include "window/Command.h"

namespace qb {

// What undo puts back, and where a replay starts from.
struct World {
    Calculator::Memento calculator;
    MemoryRegister memory;
    // The Entry box holds a number keyed, recalled or pasted since the last one was applied.
    bool entered = false;
    bool operator==(const World&) const = default;
};

// The options a command ran under, packed.
struct StepModes {
    std::uint8_t flags = 0;
    std::int8_t places = 2;
    std::uint8_t more = 0;  // the flags past the first eight
    static StepModes Of(const Options& options, int places);
    void ApplyTo(Options& options) const;
    bool operator==(const StepModes&) const = default;
};

enum class StepKind : std::uint8_t {
    Key,         // a command of the Entry box, the operation keys or the memory
    Backspace,   // the Backspace key
    RecallTape,  // a double-click on a tape line
    Outside,     // lines and changes that no key made (timer lines, a failed open)
};

// What a step needs beyond its command, shared between the versions of the record.
struct StepInput {
    std::optional<std::string> pasted;    // the clipboard's text, for Paste
    std::string note;                     // a note's text, for Note
    std::optional<double> rate;           // the tax rate, for Tax+ and Tax-
    std::vector<std::string> lines;       // the lines an outside change printed
    std::optional<World> world;           // the calculator after an outside change
    // A correction: the Entry box and the pending operation as the printing key found them.
    std::optional<std::string> entry;
    char operation = 0;
};

struct KeyStep {
    StepKind kind = StepKind::Key;
    Command command = Command::None;
    StepModes modes;
    bool failed = false;   // it was refused with an error message
    bool entered = false;  // it printed a number that was entered (the line may be corrected)
    // The subtotal it worked out for the number and total lines it printed (exports show it).
    double subtotal = 0;
    // The Entry box as it found it, when it printed an entered number: the number as keyed,
    // before the line rounded it (what the Correct Line dialog offers).
    std::string keyed;
    std::int32_t selection = -1;
    std::int32_t tapeBefore = 0;  // the tape's length when it ran
    std::shared_ptr<const StepInput> input;
    std::shared_ptr<const World> snapshot;  // the calculator before it, on every 32nd step
};

// The other version of the record from step `from` on: what a replay works out again for each
// step, and the steps that differ where lines were put in or taken out (from `at` on, this
// version's `count` steps stand where the other has `middle`). The steps outside that middle
// pair off one to one, so what each worked out is kept by its place among them. Undo and redo
// swap the versions; a correction changes no step but the corrected one's input.
struct StepPatch {
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    struct Derived {
        std::int32_t tapeBefore = 0;
        std::int32_t selection = -1;
        bool failed = false, entered = false;
        double subtotal = 0;
    };
    std::size_t from = 0;
    std::size_t at = 0;
    std::size_t count = 0;
    std::vector<KeyStep> middle;
    // Of the steps from `from` on outside the middle, by place among them: what each worked out,
    // the Entry box each that printed an entered number found, the snapshots.
    std::vector<Derived> derived;
    std::vector<std::pair<std::size_t, std::string>> keyed;
    std::vector<std::pair<std::size_t, std::shared_ptr<const World>>> snapshots;
    std::size_t corrected = kNone;
    std::shared_ptr<const StepInput> input;

    // The record as it stands from `from` on (the corrected step's input with it).
    static StepPatch Of(const std::vector<KeyStep>& steps, std::size_t from, std::size_t corrected = kNone);
    // Puts `added` in place of the steps from `at` to `at + removed`, and moves the selection
    // of each step after them: the steps from `from` on are to be replayed from the snapshot of
    // step `from`, the only one they keep. Gives the record as it was.
    static StepPatch Splice(std::vector<KeyStep>& steps, std::size_t from, std::size_t at, std::size_t removed,
                            std::vector<KeyStep> added, const std::function<std::int32_t(std::int32_t)>& moveSelection);
    // Makes steps the other version, and this patch the version they were.
    void SwapWith(std::vector<KeyStep>& steps);
    std::size_t Bytes() const;

private:
    // The place of step i (outside the middle) among the steps outside it, and back.
    std::size_t Place(std::size_t i) const { return i < at ? i : i - count; }
    std::size_t StepAt(std::size_t place) const { return place < at ? place : place + count; }
};

struct UndoRecord {
    World before, after;
    // The other version of the tape from tapeFrom on, and of the record: its steps from logFrom
    // on, or (an edit that replayed the record) the patch that turns the record into it.
    std::int64_t tapeFrom = 0;
    TapeSuffix tape;
    std::size_t logFrom = 0;
    std::vector<KeyStep> log;
    std::int64_t otherBase = 0;
    std::optional<StepPatch> patch;
};

class KeyRecord {
public:
    static constexpr std::size_t kSnapshotEvery = 32;
    static constexpr std::size_t kUndoLevels = 10000;
    // Corrections of long tapes keep long versions of them: past this many bytes the oldest
    // levels go, however few remain (a key's level costs some hundred bytes).
    static constexpr std::size_t kUndoBytes = std::size_t{512} << 20;

    // An empty record over a tape whose first baseLines lines have no key record.
    void Reset(std::int64_t baseLines, const World& world, std::uint64_t tapeGeneration);

    std::int64_t BaseLines() const { return base_; }
    void SetBase(std::int64_t baseLines) { base_ = baseLines; }
    std::vector<KeyStep>& Steps() { return steps_; }
    const std::vector<KeyStep>& Steps() const { return steps_; }
    // The step that printed the line, or -1 for a line before the record.
    std::int64_t StepOfLine(std::int64_t line) const;

    // What the record says the tape and the calculator are now.
    const World& Expected() const { return expected_; }
    std::int64_t ExpectedLines() const { return expectedLines_; }
    void SetExpected(World world, std::int64_t lines) {
        expected_ = std::move(world);
        expectedLines_ = lines;
    }
    std::uint64_t TapeGeneration() const { return generation_; }

    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    void Push(UndoRecord record);
    // Undo (redo): swaps the tape's and the record's ends with the other version kept, and gives
    // the calculator to restore.
    const World* Undo(Tape& tape);
    const World* Redo(Tape& tape);

private:
    void Swap(UndoRecord& record, Tape& tape);

    std::int64_t base_ = 0;
    std::vector<KeyStep> steps_;
    World expected_;
    std::int64_t expectedLines_ = 0;
    std::uint64_t generation_ = 0;
    std::deque<UndoRecord> undo_;
    std::deque<std::size_t> undoBytes_;
    std::size_t bytes_ = 0;
    std::vector<UndoRecord> redo_;
};

}  // namespace qb
