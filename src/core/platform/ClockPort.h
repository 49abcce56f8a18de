#pragma once
// The clock and the calendar: the time of day, today's date and the platform's date parser.

#include <optional>
#include <string>

namespace qb {

class ClockPort {
public:
    virtual ~ClockPort() = default;
    // Seconds since local midnight, with a fraction.
    virtual double SecondsSinceMidnight() = 0;
    // Today as "m/d/yyyy".
    virtual std::string Today() = 0;
    // A written date ("7/4/99", "July 4, 1999", "1999-07-04", ...), in UTF-8 as the user typed
    // it, as "m/d/yyyy" with a year of 1000 to 9999, or nothing.
    // Where two forms read the text as different days, the user's own way of writing dates wins.
    virtual std::optional<std::string> ParseDate(const std::string& text) = 0;
    // A date kept as "m/d/yyyy", written in UTF-8 the way the user's locale writes dates, in at
    // most ten characters; ParseDate reads it back as the same day.
    virtual std::string ShowDate(const std::string& monthDayYear) { return monthDayYear; }
};

}  // namespace qb
