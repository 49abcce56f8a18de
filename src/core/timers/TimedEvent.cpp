#include "timers/TimedEvent.h"

#include "platform/ClockPort.h"

namespace qb {
namespace {

// A to Z and a to z, whatever the user's locale says a letter is (a Turkish one knows no
// capital of i).
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

bool TimedEventRules::ValidateDate(std::string& text) const {
    std::optional<std::string> date = clock_.ParseDate(text);
    if (!date) return false;
    text = *date;
    return true;
}

std::string TimedEventRules::Today() const { return clock_.Today(); }

std::string TimedEventRules::ShownDate(const std::string& monthDayYear) const {
    return monthDayYear.empty() ? monthDayYear : clock_.ShowDate(monthDayYear);
}

std::optional<EventProblem> TimedEventRules::Check(TimedEventForm& form) const {
    if (form.name.empty()) return EventProblem{EventField::Name, "A name is required"};
    for (char c : form.name)
        if (!IsLetter(c) && c != ' ') return EventProblem{EventField::Name, "The Name may contain letters only"};
    if (!form.date.empty() && !ValidateDate(form.date))
        return EventProblem{EventField::Date, "The Date is not valid"};
    for (char c : form.description)
        if (!IsLetter(c) && c != ' ' && !(c >= '0' && c <= '9'))
            return EventProblem{EventField::Event, "The Event may contain numbers and letters only"};
    return std::nullopt;
}

std::uint32_t TimedEventRules::ColorRgb(int index) {
    static constexpr std::uint32_t kColors[] = {0xFFC0C0, 0xFFE0C0, 0xFFFFC0, 0xC0FFC0,
                                                0xC0FFFF, 0xC0C0FF, 0xFFC0FF, 0xFFFFFF};
    return index >= 0 && index < 8 ? kColors[index] : 0xFFFFFF;
}

}  // namespace qb
