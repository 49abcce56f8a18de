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
    // Creates or replaces the value; written through at once. False when it could not be
    // written (a read-only file, a folder closed to the user).
    virtual bool Save(const std::string& application, const std::string& section, const std::string& key,
                      const std::string& value) = 0;
    // Where the values are kept, as the user would look for it (a file's path).
    virtual std::string Place() const { return {}; }
};

}  // namespace qb
