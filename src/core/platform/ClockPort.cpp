#include "platform/ClockPort.h"

#include <cstdio>

namespace qb {

// Without a locale of its own: the day as m/d/yyyy and the time of day in UTC.
std::string ClockPort::ShowDateTime(std::int64_t secondsSinceEpoch) {
    std::int64_t days = secondsSinceEpoch / 86400, seconds = secondsSinceEpoch % 86400;
    if (seconds < 0) seconds += 86400, --days;
    // Days since 1970-01-01 to a civil date (the proleptic Gregorian calendar).
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    const std::int64_t day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
    const std::int64_t month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
    const std::int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    char text[64];
    std::snprintf(text, sizeof text, "%lld/%lld/%lld %02lld:%02lld UTC", static_cast<long long>(month),
                  static_cast<long long>(day), static_cast<long long>(year), static_cast<long long>(seconds / 3600),
                  static_cast<long long>(seconds / 60 % 60));
    return text;
}

}  // namespace qb
