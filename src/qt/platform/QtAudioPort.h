#pragma once
// The machine sound through QSoundEffect: silent when the file or the audio device is missing.

#include <functional>
#include <memory>

#include "platform/AudioPort.h"

class QSoundEffect;

namespace qb {

class QtAudioPort final : public AudioPort {
public:
    QtAudioPort();
    ~QtAudioPort() override;

    bool Open(const std::string& path) override;
    bool Playing() override;
    void Play() override;
    void Rewind() override;
    void Close() override;
    void SetEndedHandler(std::function<void()> handler) override;

private:
    std::unique_ptr<QSoundEffect> effect_;
    std::function<void()> ended_;
};

}  // namespace qb
