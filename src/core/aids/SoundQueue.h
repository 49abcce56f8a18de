#pragma once
// The machine sound's queue: a request never waits; requests that come while the sound plays
// are counted and played one after another. The queue learns that a sound has ended from the
// device itself, and from the status updates where the device cannot tell.

#include <string>

#include "platform/SoundPort.h"

namespace qb {

class AudioPort;

class SoundQueue : public SoundPort {
public:
    static constexpr int kStatusInterval = 50;  // ms, while a sound plays

    // enabled is the Machine Sounds option, read at every request.
    SoundQueue(AudioPort& audio, const bool& enabled);
    ~SoundQueue();
    SoundQueue(const SoundQueue&) = delete;
    SoundQueue& operator=(const SoundQueue&) = delete;

    // Opens the device on the wave file; SoundReady tells whether it can play.
    void Open(const std::string& path);
    void Close();
    bool SoundReady() const { return ready_; }

    // SoundTheTape.
    void RequestSound() override;
    // The device's status update, every StatusInterval() ms while it is not 0.
    void StatusUpdate();
    // The device's word that the sound it was playing has ended.
    void SoundEnded();

    int PendingSounds() const { return pending_; }
    int StatusInterval() const { return interval_; }
    void Reset() { pending_ = 0; }

private:
    void Start();

    AudioPort& audio_;
    const bool& enabled_;
    bool ready_ = false;
    int pending_ = 0;
    int interval_ = 0;
    // A sound was started and its end has not been seen yet. Requests wait while it is set,
    // so a sound is never started twice for one request, whichever way its end is learnt.
    bool sounding_ = false;
};

}  // namespace qb
