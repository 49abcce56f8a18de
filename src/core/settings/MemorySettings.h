#pragma once
// A settings store that lives for one run only: for a machine given no store of its own.

#include <map>
#include <string>

#include "platform/SettingsPort.h"

namespace qb {

class MemorySettings : public SettingsPort {
public:
    std::string Get(const std::string& application, const std::string& section, const std::string& key) override {
        auto it = values_.find(application + '\n' + section + '\n' + key);
        return it == values_.end() ? std::string() : it->second;
    }
    bool Save(const std::string& application, const std::string& section, const std::string& key,
              const std::string& value) override {
        values_[application + '\n' + section + '\n' + key] = value;
        return true;
    }

private:
    std::map<std::string, std::string> values_;
};

}  // namespace qb
