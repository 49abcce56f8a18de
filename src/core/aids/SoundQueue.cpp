#include "aids/SoundQueue.h"

#include "platform/AudioPort.h"

namespace qb {

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
    if (!audio_.Playing()) {
        interval_ = kStatusInterval;
        audio_.Play();
    }
}

void SoundQueue::StatusUpdate() {
    if (audio_.Playing()) return;
    interval_ = 0;
    audio_.Rewind();
    if (pending_ > 0) --pending_;
    if (pending_ > 0) {
        interval_ = kStatusInterval;
        audio_.Play();
    }
}

}  // namespace qb
