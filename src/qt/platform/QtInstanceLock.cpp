#include "platform/QtInstanceLock.h"

#include <QDir>
#include <QStandardPaths>

namespace qb {
namespace {

QString DefaultPath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) folder = QDir::tempPath();
    return QDir(folder).filePath(QStringLiteral("the Quillbox.lock"));
}

}  // namespace

QtInstanceLock::QtInstanceLock() : QtInstanceLock(DefaultPath()) {}

QtInstanceLock::QtInstanceLock(const QString& path) : lock_(path) {
    lock_.setStaleLockTime(0);  // only a lock whose process is gone is stale
}

bool QtInstanceLock::TryLock() {
    if (lock_.tryLock(0)) return true;
    // A copy that crashed left its file: QLockFile checks whether its process still runs.
    if (lock_.error() == QLockFile::LockFailedError && lock_.removeStaleLockFile()) return lock_.tryLock(0);
    return false;
}

}  // namespace qb
