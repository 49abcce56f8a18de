// The main window's timers: the stopwatch and the timed event.
#include "Machine.h"

#include "platform/ErrorMessage.h"

namespace qb {

void Machine::StopwatchTick() {
    if (stopwatch_.TimerOn()) stopwatch_.Tick(clock_.SecondsSinceMidnight());
    KeepRecoveryRecord();
}

void Machine::StopwatchCommand() {
    if (!stopwatch_.ItemVisible()) {
        stopwatch_.Start(clock_.SecondsSinceMidnight());
        return;
    }
    stopwatch_.Stop(clock_.SecondsSinceMidnight());
    MessageRequest message;
    message.title = "Stopwatch";
    message.text = "Elapsed time ... " + stopwatch_.ElapsedTime;
    message.icon = MessageIcon::Information;
    ports_.messages.ShowMessage(message);
}

void Machine::TimedEventCommand() {
    if (TimedEventActive)
        CloseTimedEvent();
    else
        StartTimedEvent();
}

void Machine::StartTimedEvent() {
    if (stopwatch_.ItemVisible()) {
        const std::string& caption = stopwatch_.ItemCaption();
        ShowErrorMessage(ports_.messages, caption.size() > 2 && caption[2] == ':'
                                              ? "The stopwatch is active ... unable to start a timed event"
                                              : "Clear the timed event tape first");
        return;
    }
    if (!AskSaveTape()) return;
    TimedEventForm form;
    form.name = EventName;
    form.date = EventDate.empty() ? eventRules_.Today() : EventDate;
    form.description = EventDescription;
    form.colorIndex = eventColorIndex_ < 1 ? 7 : eventColorIndex_;
    bool tooltips = options_.Tooltips;
    bool begun = dialogs_.TimedEventDialog(form, tooltips, eventRules_);
    if (tooltips != options_.Tooltips) ToggleOption(Command::ShowTooltips);
    if (!begun) return;
    EventName = form.name;
    EventDate = form.date;
    EventDescription = form.description;
    eventColorIndex_ = form.colorIndex;
    displayBackground_ = TimedEventRules::ColorRgb(eventColorIndex_);
    stopwatch_.Start(clock_.SecondsSinceMidnight());
    TimedEventActive = true;
    TimedEventPaused = false;
}

void Machine::PauseOrResumeTimedEvent() {
    if (!TimedEventActive) return;
    if (!TimedEventPaused) {
        TimedEventPaused = true;
        stopwatch_.Pause();
    } else {
        TimedEventPaused = false;
        stopwatch_.Resume(clock_.SecondsSinceMidnight());
    }
}

bool Machine::CloseTimedEvent(bool skipSave) {
    if (!TimedEventActive) return true;
    const std::uint32_t eventBackground = displayBackground_;
    stopwatch_.Halt();
    displayBackground_ = 0xFFFFFF;
    // The save still sees the event: it suggests the event's file name and keeps its reading.
    if (!skipSave && SaveTape() == SaveOutcome::Failed) {
        // The event goes on as it was, its clock counting from its start.
        stopwatch_.Continue();
        displayBackground_ = eventBackground;
        return false;
    }
    TimedEventActive = false;
    TimedEventPaused = false;
    stopwatch_.ClearElapsedTime();
    return true;
}

}  // namespace qb
