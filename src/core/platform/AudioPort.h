#pragma once
// The wave-audio device that plays the machine sound. Playing never blocks.

#include <functional>
#include <string>

namespace qb {

class AudioPort {
public:
    virtual ~AudioPort() = default;
    // Opens the wave file; false when it or the device is missing (the program then runs silent).
    virtual bool Open(const std::string& path) = 0;
    virtual bool Playing() = 0;
    virtual void Play() = 0;
    // Back to the start of the sound.
    virtual void Rewind() = 0;
    virtual void Close() = 0;
    // Who is told when a sound has played to its end, on the user-interface thread (an empty
    // function: nobody). A device that cannot tell leaves it to the status updates.
    virtual void SetEndedHandler(std::function<void()>) {}
};

}  // namespace qb
