#include "aids/SoundQueue.h"

#include "platform/AudioPort.h"

namespace qb {

SoundQueue::SoundQueue(AudioPort& audio, const bool& enabled) : audio_(audio), enabled_(enabled) {
    audio_.SetEndedHandler([this] { SoundEnded(); });
}

SoundQueue::~SoundQueue() { audio_.SetEndedHandler({}); }

void SoundQueue::Open(const std::string& path) {
    ready_ = false;
    ready_ = audio_.Open(path);
}

void SoundQueue::Close() {
    if (ready_) audio_.Close();
    ready_ = false;
}

void SoundQueue::RequestSound() {
    if (!enabled_) return;
    ++pending_;
    if (!sounding_) Start();
}

void SoundQueue::Start() {
    sounding_ = true;
    interval_ = kStatusInterval;
    audio_.Play();  // a device may report the end from within
}

void SoundQueue::StatusUpdate() {
    if (sounding_ && !audio_.Playing()) SoundEnded();
}

void SoundQueue::SoundEnded() {
    // Counted already, by the other way of learning it; or a late word about an earlier sound
    // while the next one plays.
    if (!sounding_ || audio_.Playing()) return;
    sounding_ = false;
    interval_ = 0;
    audio_.Rewind();
    if (pending_ > 0) --pending_;
    if (pending_ > 0) Start();
}

}  // namespace qb
