#pragma once
// The wave-audio device that plays the machine sound. Playing never blocks.

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
};

}  // namespace qb
