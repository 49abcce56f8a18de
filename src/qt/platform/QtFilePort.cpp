#include "platform/QtFilePort.h"

#include <QFile>
#include <QSaveFile>
#include <QString>

namespace qb {

bool QtFilePort::ReadAll(const std::string& path, std::string& bytes) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return false;
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) return false;
    bytes.assign(data.constData(), static_cast<std::size_t>(data.size()));
    return true;
}

bool QtFilePort::WriteAll(const std::string& path, const std::string& bytes) {
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly)) return false;
    const qint64 size = static_cast<qint64>(bytes.size());
    if (file.write(bytes.data(), size) != size) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

}  // namespace qb
