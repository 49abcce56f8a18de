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

QtInstanceLock::Outcome QtInstanceLock::TryLock() {
    if (lock_.tryLock(0)) return Outcome::Locked;
    // A copy that crashed left its file: QLockFile checks whether its process still runs.
    if (lock_.error() == QLockFile::LockFailedError && lock_.removeStaleLockFile() && lock_.tryLock(0))
        return Outcome::Locked;
    // Only a copy that really holds the lock keeps this one from starting; a folder where no lock
    // can be made (missing, read-only) does not.
    return lock_.error() == QLockFile::LockFailedError ? Outcome::AnotherCopyRuns : Outcome::NoLock;
}

QString QtInstanceLock::Reason() const {
    switch (lock_.error()) {
    case QLockFile::NoError: return QStringLiteral("no error");
    case QLockFile::LockFailedError: return QStringLiteral("held by another process");
    case QLockFile::PermissionError: return QStringLiteral("permission denied");
    case QLockFile::UnknownError: break;
    }
    return QStringLiteral("the folder is missing or cannot be written");
}

}  // namespace qb
