#pragma once
// Check and correct: a line of the tape shows another number or operation, as if keyed in the
// first place. A keyed line is corrected by replaying the key record from the snapshot before
// it; a line read from a file by working its lines out again.

#include <cstddef>
#include <cstdint>
#include <string>

namespace qb {

class Desk;
class History;
struct RecomputedTape;
enum class LineEdit;

// The label of the Correct Line dialog's number: how the Entry box reads what is typed there.
std::string EntryNumberLabel(bool autoDecimal, int places);

class Correction {
public:
    Correction(Desk& desk, History& history) : desk_(desk), history_(history) {}

    // A line the Correct Line command works on: one that shows a number a key entered (or,
    // on a tape read from a file, any number line).
    bool LineCorrectable(std::int64_t index) const;
    // Refuses a line that a percent, tax, mark-up or margin key worked out, saying why, and
    // answers whether it was one ("corrected" or "deleted" names what was asked).
    bool RefuseWorkedOutLine(std::int64_t index, const char* asked) const;
    // The Correct Line command: the dialog on the selected line.
    void CorrectSelectedLine();
    // Line index is to show number (as typed into the Entry box) with operation ('+', '-',
    // 'x', '/' or '%'). False, with a message, when the correction is refused; nothing changes then.
    bool CorrectLine(std::int64_t index, const std::string& number, char operation);

    // Runs the key record again from step start (which has a snapshot) on the tape as it stands,
    // quietly, each step under its own modes; stops at the first step that newly fails.
    struct ReplayOutcome {
        std::int64_t failedLine = -1;
        std::string failure;
        bool cancelled = false;
        // "line 7 would fail (Cannot divide by zero)"
        std::string Failure() const;
    };
    ReplayOutcome RunSteps(std::size_t start, const char* title);
    // A number and operation a line may show (the number as typed into the Entry box, not 0);
    // else false, with a message naming the line ("corrected", "inserted").
    bool AcceptsNumber(const std::string& number, char operation, const std::string& line) const;

    // Line index, one of the lines read from a file, shows number (as typed into the Entry box)
    // and operation instead, goes, or has a new line showing them after it (edit); the totals
    // after it follow. False, with a message, when refused; nothing changes then.
    bool EditFileLine(std::int64_t index, const std::string& number, char operation, LineEdit edit);
    // The file's lines change as `change` says, and the keyed lines after them move; when the
    // subtotal they end with changes, the keys after them are replayed from it. corrected: the
    // line to mark as corrected, or -1. Undone as one.
    bool ChangeFileLines(const RecomputedTape& change, std::int64_t corrected);

private:
    // Replays the key record from the snapshot before step, whose line index shows number and
    // operation instead.
    bool Replay(std::int64_t index, std::int64_t step, const std::string& number, char operation);

    Desk& desk_;
    History& history_;
};

}  // namespace qb
