#pragma once
// The clock and the calendar through QTime, QDate and QLocale.

#include "platform/ClockPort.h"

namespace qb {

class QtClockPort final : public ClockPort {
public:
    double SecondsSinceMidnight() override;
    std::string Today() override;
    // Accepts m/d/yy, m/d/yyyy, "July 4, 1999", "Jul 4, 1999", yyyy-mm-dd and the locale's own
    // short and long forms. Two-digit years: 00 to 29 are 2000 to 2029, 30 to 99 are 1930 to 1999.
    std::optional<std::string> ParseDate(const std::string& text) override;
};

}  // namespace qb
