#pragma once
// The timed event's set-up values and the checks its Begin button makes.

#include <cstdint>
#include <optional>
#include <string>

namespace qb {

class ClockPort;

// What the set-up window edits; the last event's values pre-fill the next.
struct TimedEventForm {
    std::string name;         // 1 to 50 characters: letters and spaces
    std::string date;         // empty, or "m/d/yyyy"; as typed (UTF-8) until Check rewrites it
    std::string description;  // 0 to 50 characters: letters, digits and spaces
    int colorIndex = 7;       // 0 to 7
};

enum class EventField { Name, Date, Event };

struct EventProblem {
    EventField field;
    std::string message;
};

class TimedEventRules {
public:
    static constexpr std::size_t kNameLength = 50;
    static constexpr std::size_t kDateLength = 10;
    static constexpr std::size_t kEventLength = 50;

    explicit TimedEventRules(ClockPort& clock) : clock_(clock) {}

    // Rewrites a date the platform can read as "m/d/yyyy"; false leaves it unchanged.
    bool ValidateDate(std::string& text) const;
    // Begin's checks, in order; the first failure is returned. A valid date is rewritten.
    std::optional<EventProblem> Check(TimedEventForm& form) const;
    std::string Today() const;
    // A "m/d/yyyy" date as the set-up window shows it: the way the user's locale writes dates.
    std::string ShownDate(const std::string& monthDayYear) const;

    // The swatches' colours as red, green, blue.
    static std::uint32_t ColorRgb(int index);

private:
    ClockPort& clock_;
};

}  // namespace qb
