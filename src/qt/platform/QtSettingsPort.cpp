#include "platform/QtSettingsPort.h"

#include <QSettings>

#include "platform/CodePage.h"

namespace qb {

QtSettingsPort::QtSettingsPort()
    : fileName_(QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("the Quillbox"),
                          QStringLiteral("the Quillbox"))
                    .fileName()) {}

QtSettingsPort::QtSettingsPort(const QString& fileName) : fileName_(fileName) {}

// Values are the program's 8-bit texts; the application name chooses the file, the section
// the INI group.
std::string QtSettingsPort::Get(const std::string&, const std::string& section, const std::string& key) {
    QSettings settings(fileName_, QSettings::IniFormat);
    settings.beginGroup(FromCodePage(section));
    return ToCodePage(settings.value(FromCodePage(key)).toString());
}

void QtSettingsPort::Save(const std::string&, const std::string& section, const std::string& key,
                          const std::string& value) {
    QSettings settings(fileName_, QSettings::IniFormat);
    settings.beginGroup(FromCodePage(section));
    settings.setValue(FromCodePage(key), FromCodePage(value));
    settings.endGroup();
    settings.sync();  // written through at once: a crash loses nothing
}

}  // namespace qb
