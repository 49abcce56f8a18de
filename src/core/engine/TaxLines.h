#pragma once
// The tax lines on the tape: which rate a tax line was worked out at. A section's first tax
// line names its rate at its left ("19%      19.00 T"), and so does one whose rate differs from
// the tax line before it in the section; the others are at the last rate named above them.
// When the rate does not fit beside a large tax, the key prints it on a note line of its own
// just above its first line ("Tax 12.3456%"), so that no tax line is ever read at a rate it was
// not worked out at.

#include <cstdint>
#include <optional>
#include <string>

#include "engine/TapeLines.h"

namespace qb {

// The tax line of an amount as the tape prints it, 18 characters wide; with its rate named
// when nameRate and the two fit.
std::string TaxLine(const std::string& amount, double rate, bool nameRate);
// Whether the rate fits at the left of the tax line of this amount.
bool TaxRateFits(const std::string& amount, double rate);
// The note line that names a rate which does not fit beside its tax.
std::string TaxRateLine(double rate);
// At the end of the lines, a tax line at this rate need not name it: the section's tax lines
// above already name it last.
bool TaxRateShown(const TapeLines& lines, double rate);
// The rate a tax line was worked out at, when it is a tax line and its section names one.
std::optional<double> RateOfTaxLineAt(const TapeLines& lines, std::int64_t index);
// A business line's tooltip ("Tax at 19 %", "Net amount"); empty for every other line.
std::string BusinessLineDescription(const TapeLines& lines, std::int64_t index);

}  // namespace qb
