#include "platform/QtInstanceLock.h"

#include <QDir>
#include <QStandardPaths>
#include <cerrno>
#include <signal.h>
#include <unistd.h>

namespace qb {
namespace {

// The user's runtime folder, private to the user; else the shared temporary folder, with the
// user's id in the name so that another user's copy is no copy of this user's.
QString DefaultPath() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!folder.isEmpty()) return QDir(folder).filePath(QStringLiteral("the Quillbox.lock"));
    return QDir(QDir::tempPath()).filePath(QStringLiteral("the Quillbox %1.lock").arg(getuid()));
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
    // Only a copy that really holds the lock keeps this one from starting: its lock file names a
    // process that runs. A folder where no lock can be made (missing, read-only), or something
    // else in the lock's place (a folder, a file that is no lock), does not.
    if (lock_.error() != QLockFile::LockFailedError) return Outcome::NoLock;
    qint64 pid = 0;
    QString host, application;
    if (!lock_.getLockInfo(&pid, &host, &application) || pid <= 0) return Outcome::NoLock;
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM ? Outcome::AnotherCopyRuns : Outcome::NoLock;
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
