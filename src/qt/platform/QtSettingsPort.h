#pragma once
// The per-user settings store: an INI file per user through QSettings.

#include <QString>

#include "platform/SettingsPort.h"

namespace qb {

class QtSettingsPort final : public SettingsPort {
public:
    // The file QSettings keeps for this user ("the Quillbox/the Quillbox.ini" below the
    // user's configuration folder), or the given file.
    QtSettingsPort();
    explicit QtSettingsPort(const QString& fileName);

    std::string Get(const std::string& application, const std::string& section, const std::string& key) override;
    bool Save(const std::string& application, const std::string& section, const std::string& key,
              const std::string& value) override;
    std::string Place() const override;

    QString FileName() const { return fileName_; }

private:
    QString fileName_;
};

}  // namespace qb
