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
    const QVariant value = settings.value(FromCodePage(key));
    // A value edited by hand with a comma and no quotes ("Memory=1,234.50") reads as a list:
    // it is the text as written (QSettings drops blanks after the commas).
    if (value.typeId() == QMetaType::QStringList) return ToCodePage(value.toStringList().join(QLatin1Char(',')));
    return ToCodePage(value.toString());
}

bool QtSettingsPort::Save(const std::string&, const std::string& section, const std::string& key,
                          const std::string& value) {
    QSettings settings(fileName_, QSettings::IniFormat);
    settings.beginGroup(FromCodePage(section));
    settings.setValue(FromCodePage(key), FromCodePage(value));
    settings.endGroup();
    settings.sync();  // written through at once: a crash loses nothing
    return settings.status() == QSettings::NoError;
}

std::string QtSettingsPort::Place() const { return fileName_.toStdString(); }

}  // namespace qb
