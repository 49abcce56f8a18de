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

    // False when another running copy holds the lock.
    bool TryLock();

private:
    QLockFile lock_;
};

}  // namespace qb
