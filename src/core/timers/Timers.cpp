#include "timers/Timers.h"

#include "desk/Desk.h"
#include "platform/ErrorMessage.h"

namespace qb {

Timers::Timers(Desk& desk) : desk_(desk), eventRules_(desk.Clock()) {}

void Timers::Tick() {
    if (stopwatch_.TimerOn()) stopwatch_.Tick(desk_.Clock().SecondsSinceMidnight());
}

void Timers::StopwatchCommand() {
    if (!stopwatch_.ItemVisible()) {
        stopwatch_.Start(desk_.Clock().SecondsSinceMidnight());
        return;
    }
    stopwatch_.Stop(desk_.Clock().SecondsSinceMidnight());
    MessageRequest message;
    message.title = "Stopwatch";
    message.text = "Elapsed time ... " + stopwatch_.ElapsedTime;
    message.icon = MessageIcon::Information;
    desk_.Messages().ShowMessage(message);
}

bool Timers::CheckPaused() {
    if (event_.active && event_.paused) {
        ShowErrorMessage(desk_.Messages(), "Press F12 to turn the timer back on");
        return true;
    }
    return false;
}

bool Timers::MayStartEvent() {
    if (!stopwatch_.ItemVisible()) return true;
    const std::string& caption = stopwatch_.ItemCaption();
    ShowErrorMessage(desk_.Messages(), caption.size() > 2 && caption[2] == ':'
                                           ? "The stopwatch is active ... unable to start a timed event"
                                           : "Clear the timed event tape first");
    return false;
}

void Timers::StartEvent() {
    TimedEventForm form;
    form.name = event_.name;
    form.date = event_.date.empty() ? eventRules_.Today() : event_.date;
    form.description = event_.description;
    form.colorIndex = eventColorIndex_ < 1 ? 7 : eventColorIndex_;
    bool tooltips = desk_.GetOptions().Tooltips;
    bool begun = desk_.Dialogs().TimedEventDialog(form, tooltips, eventRules_);
    desk_.FollowTooltips(tooltips);
    if (!begun) return;
    event_.name = form.name;
    event_.date = form.date;
    event_.description = form.description;
    eventColorIndex_ = form.colorIndex;
    displayBackground_ = TimedEventRules::ColorRgb(eventColorIndex_);
    stopwatch_.Start(desk_.Clock().SecondsSinceMidnight());
    event_.active = true;
    event_.paused = false;
}

void Timers::PauseOrResume() {
    if (!event_.active) return;
    if (!event_.paused) {
        event_.paused = true;
        stopwatch_.Pause();
    } else {
        event_.paused = false;
        stopwatch_.Resume(desk_.Clock().SecondsSinceMidnight());
    }
}

bool Timers::CloseEvent(const std::function<bool()>& save) {
    if (!event_.active) return true;
    const std::uint32_t eventBackground = displayBackground_;
    stopwatch_.Halt();
    displayBackground_ = 0xFFFFFF;
    if (save && !save()) {
        // The event goes on as it was, its clock counting from its start.
        stopwatch_.Continue();
        displayBackground_ = eventBackground;
        return false;
    }
    event_.active = false;
    event_.paused = false;
    stopwatch_.ClearElapsedTime();
    return true;
}

std::string Timers::SuggestedFileName() const {
    std::string name = event_.name;
    if (!event_.date.empty()) {
        // m/d/yyyy becomes mm_dd_yyyy.
        std::string parts[3];
        int part = 0;
        for (char c : event_.date) {
            if (c == '/') {
                if (++part > 2) break;
            } else {
                parts[part] += c;
            }
        }
        for (int i = 0; i < 2; ++i)
            if (parts[i].size() < 2) parts[i].insert(0, 2 - parts[i].size(), '0');
        name += " " + parts[0] + "_" + parts[1] + "_" + parts[2];
    }
    if (!event_.description.empty()) name += " " + event_.description;
    return name;
}

}  // namespace qb
