#pragma once
// The machine sound. Silent for now: the sound device comes with the machine-sound option.

#include "platform/SoundPort.h"

namespace qb {

class QtSoundPort final : public SoundPort {
public:
    void RequestSound() override;
};

}  // namespace qb
