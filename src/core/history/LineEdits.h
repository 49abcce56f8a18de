#pragma once
// Lines put into or taken out of the middle of the tape: a note after the selected line, a note
// written again, a line deleted as if it had never been keyed, a number and operation keyed in
// after the selected line. Keyed lines change the key record and replay it, as a correction does
// (with its refusals); a file's notes and reference numbers are moved in the file's lines, and
// its numbers go and come as a correction of them does, the totals after them worked out again.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "history/KeyRecord.h"

namespace qb {

class Desk;
class History;
class Correction;

class LineEdits {
public:
    LineEdits(Desk& desk, History& history, Correction& correction)
        : desk_(desk), history_(history), correction_(correction) {}

    // Tape > Note...: a new note after the selected line (at the end when none is), or, on a
    // selected note line, that note written again.
    void NoteCommand();
    // Tape > Delete Line: the selected line, as if it had never been keyed. False (with a beep or
    // a message) when it is refused; nothing changes then.
    bool DeleteLine(std::int64_t index);
    // Tape > Insert Line...: the dialog, then the number and operation after the selected line.
    void InsertLineCommand();
    // number (as typed into the Entry box) with operation printed after line index.
    bool InsertLine(std::int64_t index, const std::string& number, char operation);
    // The line may be deleted (a keyed number, a reference number or a note).
    bool LineDeletable(std::int64_t index) const;

private:
    // Takes out a deletable line, as DeleteLine does, without selecting anything.
    bool RemoveLine(std::int64_t index);
    // The record, changed from step start on (printed from line `from` on), is replayed from the
    // snapshot of step start; undone as one, to the record as it `was`. changedLine is the first
    // line the edit touched.
    bool Rewrite(std::size_t start, std::int64_t from, StepPatch was, std::int64_t changedLine);
    // Lines first to first + removed of the file's lines give way to added.
    bool RewriteFileLines(std::int64_t first, std::int64_t removed, const std::vector<std::string>& added);
    // Steps from `at` replaced by `steps` (removing `removed` of them).
    bool Splice(std::size_t at, std::size_t removed, std::vector<KeyStep> steps, std::int64_t changedLine);
    // The last of the file's lines that came of the key that printed line index with it: a
    // note's last line, the "0 =" after a clear's blank line, the total after its count.
    std::int64_t LastLineOfEntry(std::int64_t index) const;
    // The note's lines around line index: its first line and how many.
    std::pair<std::int64_t, std::int64_t> NoteExtent(std::int64_t index) const;
    void PutNote(std::int64_t selected, const std::string& note);

    Desk& desk_;
    History& history_;
    Correction& correction_;
};

}  // namespace qb
