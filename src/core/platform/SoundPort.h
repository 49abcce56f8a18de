#pragma once
// The machine's printing sound.

namespace qb {

class SoundPort {
public:
    virtual ~SoundPort() = default;
    // Asks for one machine sound; returns at once.
    virtual void RequestSound() = 0;
};

}  // namespace qb
