#pragma once
// How numbers become text and text becomes numbers, everywhere in the program.
// The decimal point is always "." and the thousands separator ",", whatever the locale.

#include <string>
#include <string_view>

#include "engine/Rounding.h"

namespace qb {

// The value of the number at the start of the text (leading blanks skipped; sign, digits,
// one ".", optional exponent). Text without a number, or one beyond the range of a double,
// gives 0: no text ever brings infinity or NaN into the calculator.
double ParseNumber(std::string_view text);

// Formats a value with a pattern of "#" and "," placeholders, one "." and d zeros after it
// (plus the one pattern "0.0000000000000"). The mode decides the last place, judged on the
// value's 15-significant-digit decimal form: by 5/4 halves go away from zero, so 1.005 at 2
// places gives 1.01; 1.1 rounded up stays 1.1 although its binary value lies a little above.
std::string FormatNumber(double value, std::string_view pattern, Rounding mode = Rounding::FiveFour);

// Plain decimal text with at most 15 significant digits; exponent form ("1.5E+20", "2E-07")
// for magnitudes of 1E+15 and above and below 1E-04.
std::string NumberToText(double value);

// As NumberToText, but never in exponent form (".0000002", "150000000000000000000").
std::string NumberToPlainText(double value);

// Reformats a number text for the floating-point mode: exactly the decimals it has.
std::string FormatFloating(std::string_view numberText, std::string_view formatBase);

// Digits, "." and a leading "-" only.
std::string KeepNumeric(std::string_view text);

// Digits, "-" and "." only, every occurrence kept.
std::string NoSpecialChar(std::string_view DirtyMoney);

// Pads with blanks up to width, on the left when rightAlign.
void PadToWidth(std::string& text, std::size_t width, bool rightAlign = false);

// "###,###,###,###." or "###############."
std::string CreateFormatBase(bool commaSeparator);

// FormatBase followed by decimalPlaces zeros.
std::string CreateFormatString(bool commaSeparator, int decimalPlaces);

// A number text for the Entry box from a computed value: NumberToText's 15 significant digits
// in plain decimals, its fraction cut (not rounded) to 15 characters in all; integer digits
// are never given up. Empty when no significant digit is left within the 15 characters.
std::string FitEntryText(double value);

}  // namespace qb
