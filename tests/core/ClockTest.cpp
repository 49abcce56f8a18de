// The clock's own reading of a moment, for a port without the user's locale: m/d/yyyy and the
// time of day in UTC, on the proleptic Gregorian calendar.
#include <gtest/gtest.h>

#include "platform/ClockPort.h"

namespace {

struct PlainClock : qb::ClockPort {
    double SecondsSinceMidnight() override { return 0; }
    std::string Today() override { return {}; }
    std::optional<std::string> ParseDate(const std::string&) override { return std::nullopt; }
};

TEST(Clock, ShowsMomentsAsTheCalendarHasThem) {
    const std::pair<std::int64_t, const char*> cases[] = {
        {0, "1/1/1970 00:00 UTC"},
        {-60, "12/31/1969 23:59 UTC"},          // before the epoch: the day before, not a negative time
        {951782400, "2/29/2000 00:00 UTC"},     // a leap day in a year divisible by 400
        {951868800, "3/1/2000 00:00 UTC"},
        {1706745600 + 3723, "2/1/2024 01:02 UTC"},  // January and February count to the year they are in
        {1704067199, "12/31/2023 23:59 UTC"},
        {4107542400, "3/1/2100 00:00 UTC"},     // 2100 is no leap year
        {-62167219200, "1/1/0 00:00 UTC"},      // a moment from a damaged record, before the calendar's first era
    };
    PlainClock clock;
    for (const auto& [seconds, shown] : cases) EXPECT_EQ(clock.ShowDateTime(seconds), shown) << seconds;
}

}  // namespace
