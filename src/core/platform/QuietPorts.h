#pragma once
// Stand-ins between the machine and its message box and sound: while a corrected tape is worked
// out again, the commands it replays neither speak nor sound, but their errors are counted.

#include <string>

#include "platform/MessagePort.h"
#include "platform/SoundPort.h"

namespace qb {

class MessageGate final : public MessagePort {
public:
    explicit MessageGate(MessagePort& port) : port_(port) {}
    MessageAnswer ShowMessage(const MessageRequest& request) override {
        if (request.icon == MessageIcon::Exclamation) {
            ++errors_;
            lastError_ = request.text;
        }
        if (quiet_) return request.defaultAnswer;
        return port_.ShowMessage(request);
    }
    void Beep() override {
        if (!quiet_) port_.Beep();
    }
    void SetQuiet(bool quiet) { quiet_ = quiet; }
    // Error messages shown (or held back) so far, and the last one's text.
    unsigned Errors() const { return errors_; }
    const std::string& LastError() const { return lastError_; }

private:
    MessagePort& port_;
    bool quiet_ = false;
    unsigned errors_ = 0;
    std::string lastError_;
};

class SoundGate final : public SoundPort {
public:
    explicit SoundGate(SoundPort& port) : port_(port) {}
    void RequestSound() override {
        if (!quiet_) port_.RequestSound();
    }
    void SetQuiet(bool quiet) { quiet_ = quiet; }

private:
    SoundPort& port_;
    bool quiet_ = false;
};

}  // namespace qb
