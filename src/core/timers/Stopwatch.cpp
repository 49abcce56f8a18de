#include "timers/Stopwatch.h"

#include <cmath>

namespace qb {
namespace {

std::string TwoDigits(long value) {
    std::string text = std::to_string(value);
    return text.size() < 2 ? "0" + text : text;
}

}  // namespace

void Stopwatch::Start(double now) {
    itemCaption_ = "00:00:00";
    itemVisible_ = true;
    ElapsedTime.clear();
    timerOn_ = true;
    StopwatchStart = now;
}

void Stopwatch::GetElapsedTime(double now) {
    StopwatchEnd = now;
    if (now < StopwatchStart) StopwatchStart -= 86400;
    ElapsedTotal = std::lround(std::nearbyint(StopwatchEnd - StopwatchStart));  // halves to even
    ElapsedHours = static_cast<int>(ElapsedTotal / 3600);
    long rest = ElapsedTotal - ElapsedHours * 3600L;
    ElapsedMinutes = static_cast<int>(rest / 60);
    ElapsedSeconds = static_cast<int>(rest - ElapsedMinutes * 60L);
    ElapsedTime = TwoDigits(ElapsedHours) + ":" + TwoDigits(ElapsedMinutes) + ":" + TwoDigits(ElapsedSeconds);
}

void Stopwatch::Tick(double now) {
    GetElapsedTime(now);
    if (ElapsedTime != itemCaption_) {
        itemCaption_ = ElapsedTime;
        itemVisible_ = true;
    }
}

void Stopwatch::Stop(double now) {
    GetElapsedTime(now);
    timerOn_ = false;
    itemVisible_ = false;
}

void Stopwatch::Pause() {
    timerOn_ = false;
    itemCaption_ += " Paused";
}

void Stopwatch::Resume(double now) {
    StopwatchStart = now - (ElapsedHours * 3600.0 + ElapsedMinutes * 60.0 + ElapsedSeconds);
    timerOn_ = true;
    itemCaption_ = ElapsedTime;
}

void Stopwatch::ShowStoredTime(const std::string& elapsed) {
    ElapsedTime = elapsed;
    if (elapsed.empty()) {
        itemCaption_.clear();
        itemVisible_ = false;
    } else {
        itemCaption_ = "Time: " + elapsed;
        itemVisible_ = true;
    }
}

}  // namespace qb
