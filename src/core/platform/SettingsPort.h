#pragma once
// The per-user settings store: text values under an application, a section and a key.

#include <string>

namespace qb {

class SettingsPort {
public:
    virtual ~SettingsPort() = default;
    // The stored text, empty when the key is missing.
    virtual std::string Get(const std::string& application, const std::string& section,
                            const std::string& key) = 0;
    // Creates or replaces the value; written through at once.
    virtual void Save(const std::string& application, const std::string& section, const std::string& key,
                      const std::string& value) = 0;
};

}  // namespace qb
