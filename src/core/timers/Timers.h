#pragma once
// The timers' room: the stopwatch and the timed event, with the colour the display takes while
// an event runs.

#include <cstdint>
#include <functional>
#include <string>

#include "timers/Stopwatch.h"
#include "timers/TimedEvent.h"

namespace qb {

class Desk;

struct TimedEventState {
    bool active = false;
    bool paused = false;
    // The event's name, date (m/d/yyyy, or empty) and description.
    std::string name, date, description;
};

class Timers {
public:
    explicit Timers(Desk& desk);

    Stopwatch& GetStopwatch() { return stopwatch_; }
    const Stopwatch& GetStopwatch() const { return stopwatch_; }
    // The stopwatch's reading a tape carries: "hh:mm:ss", or empty.
    const std::string& TapeReading() const { return stopwatch_.ElapsedTime; }
    // A tape brought its reading; Show puts it on the stopwatch's item, Forget takes both away.
    void SetTapeReading(const std::string& reading) { stopwatch_.ElapsedTime = reading; }
    void ShowTapeReading() { stopwatch_.ShowStoredTime(stopwatch_.ElapsedTime); }
    void ForgetTapeReading() {
        stopwatch_.Hide();
        stopwatch_.ClearElapsedTime();
    }
    TimedEventState& Event() { return event_; }
    const TimedEventState& Event() const { return event_; }
    // The background of the display controls: white, or the colour of the running event.
    std::uint32_t DisplayBackground() const { return displayBackground_; }
    int EventColorIndex() const { return eventColorIndex_; }

    // The 100 ms tick, while the stopwatch's timer is on.
    void Tick();
    // The Stopwatch command: starts it, or stops it and tells the elapsed time.
    void StopwatchCommand();
    // Every command is refused while an event is paused: true, after saying so, when it is.
    bool CheckPaused();
    // An event may start only with the stopwatch's item gone; false, after saying why, when not.
    bool MayStartEvent();
    // Asks for the event and starts it; nothing when the dialog is cancelled.
    void StartEvent();
    // F12 during an event.
    void PauseOrResume();
    // Ends the event. save, when given, runs first, while the event still counts (it suggests
    // the event's file name and keeps its reading); false from it keeps the event going.
    bool CloseEvent(const std::function<bool()>& save);
    // The file name a save during the event suggests: "Name mm_dd_yyyy Description".
    std::string SuggestedFileName() const;

private:
    Desk& desk_;
    Stopwatch stopwatch_;
    TimedEventRules eventRules_;
    TimedEventState event_;
    int eventColorIndex_ = 0;
    std::uint32_t displayBackground_ = 0xFFFFFF;
};

}  // namespace qb
