#include "platform/QtFilePort.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QString>
#include <cstdio>
#include <unistd.h>

namespace qb {
namespace {

void Report(const char* what, const QString& path, const QString& reason) {
    std::fprintf(stderr, "the Quillbox: cannot %s %s: %s\n", what, path.toLocal8Bit().constData(),
                 reason.toLocal8Bit().constData());
}

}  // namespace

bool QtFilePort::ReadAll(const std::string& path, std::string& bytes) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        Report("read", file.fileName(), file.errorString());
        return false;
    }
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        Report("read", file.fileName(), file.errorString());
        return false;
    }
    bytes.assign(data.constData(), static_cast<std::size_t>(data.size()));
    return true;
}

bool QtFilePort::WriteAll(const std::string& path, const std::string& bytes) {
    QSaveFile file(QString::fromStdString(path));
    // Only where the folder refuses the temporary file; the file itself must still be writable.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly)) {
        Report("write", file.fileName(), file.errorString());
        return false;
    }
    const qint64 size = static_cast<qint64>(bytes.size());
    if (file.write(bytes.data(), size) != size) {
        Report("write", file.fileName(), file.errorString());
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        Report("write", file.fileName(), file.errorString());
        return false;
    }
    return true;
}

bool QtFilePort::Exists(const std::string& path) { return QFileInfo(QString::fromStdString(path)).isFile(); }

std::vector<std::string> QtFilePort::ListFiles(const std::string& folder) {
    std::vector<std::string> names;
    const QDir dir(QString::fromStdString(folder));
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden)) names.push_back(name.toStdString());
    return names;
}

bool QtFilePort::CanWriteIn(const std::string& folder) {
    const QString path = QString::fromStdString(folder);
    // access() answers for this user, read-only mounts and access lists included.
    return QFileInfo(path).isDir() && ::access(QFile::encodeName(path).constData(), W_OK | X_OK) == 0;
}

}  // namespace qb
