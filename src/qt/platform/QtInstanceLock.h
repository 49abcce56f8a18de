#pragma once
// One running copy per user: a lock file that a crashed copy does not leave stuck (the lock
// holds the owner's process id, and a lock whose owner is gone is taken over).

#include <QLockFile>
#include <QString>

namespace qb {

class QtInstanceLock {
public:
    // The lock file below the user's runtime or temporary folder.
    QtInstanceLock();
    explicit QtInstanceLock(const QString& path);

    enum class Outcome {
        Locked,           // this copy holds the lock
        AnotherCopyRuns,  // a running copy holds it
        NoLock,           // the lock file cannot be made here: the copy runs without it
    };
    Outcome TryLock();
    // What went wrong when the lock could not be made.
    QString Reason() const;

private:
    QLockFile lock_;
};

}  // namespace qb
