#pragma once
// Finding a number or a text on the tape. A number is found by its value, however it was typed
// ("1250", "1,250.00", "1250.0") and however the line shows it; a text in the notes, whatever
// the case of its letters, a note's lines joined as the note reads.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/TapeLines.h"

namespace qb {

struct FindQuery {
    std::optional<double> number;  // the value typed, when it reads as a number
    std::string text;              // what was typed, in small letters (the tape's code page)
    bool Empty() const { return text.empty(); }
};

// typed: in the tape's code page. With a decimal comma, "1.250,5" reads as 1250.5.
FindQuery MakeFindQuery(std::string_view typed, bool decimalComma);

// Whether the line at `at` holds what is looked for: a number it shows, or the start of the text
// in a note.
bool LineMatches(const FindQuery& query, const TapeLines& lines, std::size_t at);

struct FindResult {
    std::int64_t line = -1;  // -1: nowhere on the tape
    bool wrapped = false;    // it went past an end of the tape to get there
};

// The next line that matches after from (before it, when not forward), going on from the other
// end past the last; from -1 searches from the first line (the last, going back). The line
// from itself comes last. A text found in a note gives the line where it begins.
FindResult FindOnTape(const TapeLines& lines, const FindQuery& query, std::int64_t from, bool forward);

}  // namespace qb
