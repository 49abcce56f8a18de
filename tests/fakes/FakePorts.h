#pragma once
// Fakes of the ports: they record what the program asked of the outside and answer from a script.

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "platform/MessagePort.h"
#include "platform/Ports.h"
#include "platform/SettingsPort.h"
#include "platform/SoundPort.h"

namespace qb::test {

class FakeMessagePort : public MessagePort {
public:
    MessageAnswer ShowMessage(const MessageRequest& request) override;
    void Beep() override { ++beeps; }

    std::vector<MessageRequest> shown;
    std::deque<MessageAnswer> answers;  // next answers; the default answer when empty
    int beeps = 0;

    // The texts of the error boxes shown so far.
    std::vector<std::string> Errors() const;
    void Reset() { shown.clear(), beeps = 0; }
};

class FakeSoundPort : public SoundPort {
public:
    void RequestSound() override { ++requests; }
    int requests = 0;
};

// The settings of one user, by key; application and section are checked on every call.
class FakeSettingsPort : public SettingsPort {
public:
    std::string Get(const std::string& application, const std::string& section, const std::string& key) override;
    void Save(const std::string& application, const std::string& section, const std::string& key,
              const std::string& value) override;

    std::map<std::string, std::string> values;
    int writes = 0;
};

struct FakePorts {
    FakeMessagePort messages;
    FakeSoundPort sound;
    FakeSettingsPort settings;
    Ports ports() { return Ports{messages, sound, &settings}; }
};

}  // namespace qb::test
