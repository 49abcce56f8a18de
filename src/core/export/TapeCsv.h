#pragma once
// The tape as a spreadsheet reads it: comma-separated values (RFC 4180) in UTF-8 with CR LF
// line ends, one row per tape line under a header row. Spreadsheets read such a file with the
// user's locale, so it comes in two forms: a comma between fields and a point in numbers, or
// the locale's list separator and decimal sign.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/TapeLines.h"

namespace qb {

// What one tape line gives each column: the line as shown, its number as a plain decimal
// ("1,250.00 +" gives 1250.00; nothing for a line without a number, or one too wide for the
// tape), its operation as the tape shows it ('+', '-', '*', '/', '%', '=', or 0 for none).
struct CsvLineFields {
    std::string number;
    char operation = 0;
};
CsvLineFields CsvFieldsOfLine(std::string_view line, std::string_view previous, bool first);

// What kind of line it is, in a word or two: "number", "total", "clear", "overflow", "adjusted"
// (Add % and Less %), "note", "reference", "count", "grand total", "blank" or "text" (a timer's
// line, a heading).
std::string_view CsvLineKind(std::string_view line, std::string_view previous, bool first);

// The field separator and the decimal sign of the numbers.
struct CsvStyle {
    char separator = ',';
    std::string decimal = ".";
    // A locale's: its decimal sign (UTF-8), and ";" between fields where that sign is ",", as
    // spreadsheets there expect.
    static CsvStyle ForLocale(std::string decimalSign);
};

// The columns line, text, number, operation, subtotal and kind. subtotals holds the running subtotal
// after each line, nothing where it is not known (an empty field); it is as long as lines.
std::string TapeCsv(const TapeLines& lines, const std::vector<std::optional<double>>& subtotals,
                    const CsvStyle& style = {});

// A field as RFC 4180 writes it: quoted, with its quotes doubled, when it holds the separator, a
// quote or a line break, or begins or ends with a blank (which some readers would trim).
std::string CsvField(std::string_view text, char separator = ',');

}  // namespace qb
