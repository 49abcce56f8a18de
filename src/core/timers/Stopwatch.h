#pragma once
// The stopwatch: elapsed wall-clock time in whole seconds, shown as HH:MM:SS on a menu-bar item
// that changes once a second while a run goes on.

#include <string>

namespace qb {

class Stopwatch {
public:
    // Starts a run at the given time of day (seconds since midnight).
    void Start(double now);
    // Takes a reading: handles one passage of midnight since the start and rounds halves to even.
    void GetElapsedTime(double now);
    // The 100 ms tick: a reading, and the item's caption follows when the reading changed.
    void Tick(double now);
    // Stops the run: a reading, the timer off, the item hidden.
    void Stop(double now);
    // A timed event's pause and resume: no reading while paused, and the paused time is not counted.
    void Pause();
    void Resume(double now);
    // Forgets the reading (a new tape, the end of a timed event).
    void ClearElapsedTime() { ElapsedTime.clear(); }
    // An opened tape's stored reading, shown as "Time: ..." with the timer untouched.
    void ShowStoredTime(const std::string& elapsed);
    void Hide() { itemVisible_ = false; }
    // The timer off and the item hidden, keeping the last reading.
    void Halt() {
        timerOn_ = false;
        itemVisible_ = false;
    }
    // Takes a Halt back: the run goes on, counted from its start.
    void Continue() {
        timerOn_ = true;
        itemVisible_ = true;
    }

    bool TimerOn() const { return timerOn_; }
    bool ItemVisible() const { return itemVisible_; }
    const std::string& ItemCaption() const { return itemCaption_; }

    double StopwatchStart = 0;
    double StopwatchEnd = 0;
    long ElapsedTotal = 0;
    int ElapsedHours = 0, ElapsedMinutes = 0, ElapsedSeconds = 0;
    std::string ElapsedTime;

private:
    bool timerOn_ = false;
    bool itemVisible_ = false;
    std::string itemCaption_ = "00:00:00";
};

}  // namespace qb
