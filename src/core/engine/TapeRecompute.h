#pragma once
// Reading the numbers back out of tape lines that have no key record (a tape read from a file),
// and recomputing the totals after one of them is corrected. Needs nothing but the lines.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Rounding.h"
#include "engine/TapeLines.h"

namespace qb {

// What a tape line shows, read as the calculator printed it.
struct TapeLineReading {
    enum class Kind {
        Number,    // a number and the operation applied to it ("1,250.00 +")
        Total,     // a subtotal ("15.00 =")
        Clear,     // the zero line of a Clear Subtotal: "0 =" after a blank line or first
        Overflow,  // the "*" form of a line too wide for the tape
        Adjusted,  // a business key's line: Add %, Less %, tax, mark-up, cost-sell-margin ("10.00 A", "110.00 S")
        Other,     // blank lines, timer lines, headings, captions
    };
    Kind kind = Kind::Other;
    double value = 0;
    char operation = 0;  // '+', '-', 'x', '/', '%' or '=', or the mark of an adjusted line
    // The number's format: the digits after its point, whether it has a point at all, and
    // whether it groups thousands.
    int decimals = 0;
    bool point = false;
    bool separators = false;
};

// A number as a tape line prints it: a sign, digits with thousands separators, a point and
// decimals ("-1,250.00", "12", "1,250.", ".5", the lone "." of a zero).
bool IsTapeNumberText(std::string_view text);

// previous: the line above (a "0 =" line counts as a clear after a blank line).
TapeLineReading ReadTapeLine(std::string_view line, std::string_view previous, bool first);

// A number typed for a line, read as the Entry box reads it: with Auto Decimal on and 1 to 5
// places, a number without a point gets one that many digits from its end ("750" gives "7.50").
std::string WithAutoDecimal(std::string number, bool autoDecimal, int places);

struct RecomputedTape {
    enum class Outcome { Done, NotANumber, OverflowLine, Refused };
    Outcome outcome = Outcome::Done;
    std::int64_t failedLine = -1;  // the line that cannot be read or would fail
    std::string reason;            // why, for the message
    // From line `first` on the tape reads `lines` instead: `removed` lines went at `first` and
    // `added` new ones came there; the others are the lines that were there, rewritten (down to
    // the last g line that changes, where that is past the clear).
    std::int64_t first = 0;
    std::vector<std::string> lines;
    bool reachesEnd = false;  // no clear after the changed line: the subtotal is `subtotal`
    double subtotal = 0;
    std::int64_t removed = 0, added = 0;
};

// What becomes of the line: it shows another number, goes, or has a new line after it.
enum class LineEdit { Correct, Remove, InsertAfter };

// What a corrected (or inserted) line is to show, and how the lines rewritten for it are laid out.
struct LineCorrection {
    std::string number;      // as the Entry box took it: digits, one point, a leading "-"
    char operation = '+';    // '+', '-', 'x', '/' or '%'
    bool separators = true;  // the Comma Separator option in force
    Rounding rounding = Rounding::FiveFour;  // the rounding mode in force
    LineEdit edit = LineEdit::Correct;
    int places = 0;  // the places in force (0: floating point), for a section that shows none
};

// Line index shows the corrected number and operation instead (or goes, or is followed by a
// line that shows them): every other line counts as keyed as it is printed, and the totals down
// to the next clear (or to line end) follow, and so do the grand totals (g lines) they went
// into, past that clear too. The section's format comes from all its number and total lines: one
// number of decimals shared by all of them is that many fixed places; a line ending in its point
// ("10."), or lines that differ, is the floating-point mode, which shows every decimal. The
// totals and grand totals rewritten show it; the corrected number never shows fewer decimals
// than it was typed with.
// A line that goes must be a number line; a line may be inserted after any line.
RecomputedTape RecomputeTape(const TapeLines& lines, std::int64_t index, const LineCorrection& correction,
                             std::int64_t end);

// The running subtotal after each line, recomputed from the lines alone as a correction
// recomputes it: from nothing at the top and at every clear, through each number line. After a
// line too wide for the tape, or an operation that would fail, it is unknown (nothing) down to
// the next clear.
std::vector<std::optional<double>> RecomputeSubtotals(const TapeLines& lines);

// What the tape's last section still holds for the keys that come after it, read from its lines
// as they were printed: the numbers applied since its last total or clear (the count Item Count
// shows on the next total), and the cost, sell price and margin given and not yet worked out. A
// tape read from a file or recovered goes on with them as if it had been keyed here.
struct OpenSection {
    int items = 0;
    std::optional<double> cost, sell, margin;
};
OpenSection ReadOpenSection(const TapeLines& lines);

}  // namespace qb
