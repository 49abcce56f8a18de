#pragma once
// Notes on the tape: text on lines of their own, marked in the operation column, so that nothing
// that reads numbers back from the tape ever takes a note for one.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/TapeLines.h"

namespace qb {

// The longest note, in characters of the tape's code page.
constexpr std::size_t kNoteMost = 200;
// The columns of a note line that hold text: all but a blank and the mark.
constexpr std::size_t kNoteColumns = 16;

// The column before the note mark shows a blank, but says how the line goes on from the one
// above it, so that a note read back from a file is the note that was written: a blank on a
// note's first line, a no-break space on a line that goes on after a blank, and the unit
// separator (a control character) on a line that goes on inside a word cut at the end of the
// line above. The tape shows, prints, copies and exports the column as a blank (ShownLine); the
// line stays a tape line of 18 characters that a reader without the joins still shows, the
// separator as an empty box at worst. Files written before the joins held a blank there on
// every note line: each of their note lines reads as a note of its own.
enum class NoteJoin { Begins, AfterBlank, InWord };
constexpr char kNoteBegins = ' ';
constexpr char kNoteGoesOn = '\xA0';
constexpr char kNoteWordGoesOn = '\x1F';

// The note laid out as tape lines of 18 characters: its words wrapped at 16 columns (a longer
// word is cut), each line's text on the left, the join's character and the note mark on the
// right. Runs of blanks count as one. A note of blanks alone gives no lines.
std::vector<std::string> NoteLines(std::string_view note);

bool IsNoteLine(std::string_view line);
// How a note line goes on from the line above it: a line that says it goes on begins a note
// all the same where no note line stands above it.
NoteJoin NoteLineJoin(std::string_view line, std::string_view above);
// The text of a note line, without its padding and mark: a view into the line.
std::string_view NoteLineText(std::string_view line);

// The note lines that stand with the note line at index, below end: the first and how many.
std::pair<std::int64_t, std::int64_t> NoteAround(const TapeLines& lines, std::int64_t index, std::int64_t end);
// The text of a note from its lines, as it was written (runs of blanks as one).
std::string NoteText(const TapeLines& lines, std::int64_t first, std::int64_t count);

// A tape line as the tape shows and prints it: a note line's join as a blank.
std::string ShownLine(std::string_view line);
// The same, put on the end of out.
void AppendShownLine(std::string& out, std::string_view line);

}  // namespace qb
