#pragma once
// Notes on the tape: text on lines of their own, marked in the operation column, so that nothing
// that reads numbers back from the tape ever takes a note for one.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qb {

// The longest note, in characters of the tape's code page.
constexpr std::size_t kNoteMost = 200;
// The columns of a note line that hold text: all but a blank and the mark.
constexpr std::size_t kNoteColumns = 16;

// The note laid out as tape lines of 18 characters: its words wrapped at 16 columns (a longer
// word is cut), each line's text on the left, a blank and the note mark on the right. Runs of
// blanks count as one. A note of blanks alone gives no lines.
std::vector<std::string> NoteLines(std::string_view note);

bool IsNoteLine(std::string_view line);
// The text of a note line, without its padding and mark.
std::string NoteLineText(std::string_view line);

}  // namespace qb
