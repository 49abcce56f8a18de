#pragma once
// The clock and the calendar through QTime, QDate and QLocale.

#include <QLocale>

#include "platform/ClockPort.h"

namespace qb {

class QtClockPort final : public ClockPort {
public:
    // Dates are read and shown the way the locale writes them; the C locale writes them as in
    // the United States.
    explicit QtClockPort(const QLocale& locale = QLocale());

    double SecondsSinceMidnight() override;
    std::string Today() override;
    // Reads, in this order: numbers in the locale's order (day, month and year; month, day and
    // year; or year, month and day) with any of ". / -" between them (month first never with
    // points); yyyy-mm-dd; the United States' m/d/yy and m-d-yy; the locale's short and long forms and day-month-year or
    // month-day-year with month names, in the locale's language or in English. A year of two
    // digits is 2000 to 2029 for 00 to 29 and 1930 to 1999 for 30 to 99, in every form.
    std::optional<std::string> ParseDate(const std::string& text) override;
    // The locale's short form with a four-digit year when it fits the date box and reads back;
    // else m/d/yyyy where the month comes first, and yyyy-mm-dd elsewhere.
    std::string ShowDate(const std::string& monthDayYear) override;

private:
    enum class Order { DayMonthYear, MonthDayYear, YearMonthDay };
    QLocale locale_;
    Order order_;
    bool shortYearFirst_ = false;  // the locale writes a two-digit year first ("yy. M. d.")
};

}  // namespace qb
