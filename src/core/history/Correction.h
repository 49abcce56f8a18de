#pragma once
// Check and correct: a line of the tape shows another number or operation, as if keyed in the
// first place. A keyed line is corrected by replaying the key record from the snapshot before
// it; a line read from a file by working its lines out again.

#include <cstdint>
#include <string>

namespace qb {

class Desk;
class History;
struct RecomputedTape;

class Correction {
public:
    Correction(Desk& desk, History& history) : desk_(desk), history_(history) {}

    // A line the Correct Line command works on: one that shows a number a key entered (or,
    // on a tape read from a file, any number line).
    bool LineCorrectable(std::int64_t index) const;
    // The Correct Line command: the dialog on the selected line.
    void CorrectSelectedLine();
    // Line index is to show number (as typed into the Entry box) with operation ('+', '-',
    // 'x', '/' or '%'). False, with a message, when the correction is refused; nothing changes then.
    bool CorrectLine(std::int64_t index, const std::string& number, char operation);

private:
    // Replays the key record: from the snapshot before step, whose line index shows number and
    // operation instead; or, after the file's lines from index on were rewritten (fileLines),
    // from the record's start, with the subtotal those lines now give.
    bool Replay(std::int64_t index, std::int64_t step, const std::string& number, char operation,
                const RecomputedTape* fileLines);
    bool CorrectFileLine(std::int64_t index, const std::string& number, char operation);

    Desk& desk_;
    History& history_;
};

}  // namespace qb
