#pragma once
// Numbers written where the decimal separator is a comma, for the clipboard.

#include <string>
#include <string_view>

namespace qb {

// A number text as a user whose decimal separator is a comma writes it, with "." for its
// decimal point: "1.234,56" becomes "1234.56". The last comma between digits is the decimal
// point unless a point between digits follows it; the points before it group thousands and go.
// A text whose last separator is a point ("1,234.56", the program's own tape lines) stays as it
// is, and so does one whose several commas group thousands ("1,234,567"); several points that
// group thousands ("1.234.567") go.
std::string CommaDecimalToPoint(std::string_view text);

}  // namespace qb
