#include "platform/QtFilePort.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <algorithm>
#include <limits>
#include <cstdio>
#include <utility>
#include <vector>
#include <cerrno>
#include <cstring>
#include <random>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>


namespace qb {
namespace {

void Report(const char* what, const QString& path, const QString& reason) {
    std::fprintf(stderr, "the Quillbox: cannot %s %s: %s\n", what, path.toLocal8Bit().constData(),
                 reason.toLocal8Bit().constData());
}

}  // namespace

QtFilePort::~QtFilePort() {
    for (const auto& [path, fd] : locks_) ::close(fd);
    for (const auto& [path, fd] : appending_) ::close(fd);
}

ReadOutcome QtFilePort::ReadAll(const std::string& path, std::string& bytes, std::uint64_t limit) {
    bytes.clear();
    // Opened without waiting, so a pipe does not hang the program, and read only when it is a
    // plain file: a pipe or a device (/dev/zero) is no tape, and may never end or never answer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        Report("read", QString::fromStdString(path), QString::fromLocal8Bit(std::strerror(errno)));
        return ReadOutcome::Failed;
    }
    return ReadOpened(fd, path, bytes, limit);
}

ReadOutcome QtFilePort::ReadOpened(int fd, const std::string& path, std::string& bytes, std::uint64_t limit) {
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        Report("read", QString::fromStdString(path), QStringLiteral("not a plain file"));
        return ReadOutcome::Failed;
    }
    if (static_cast<std::uint64_t>(status.st_size) > limit) {
        ::close(fd);
        return ReadOutcome::TooLarge;
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        Report("read", QString::fromStdString(path), file.errorString());
        return ReadOutcome::Failed;
    }
    auto failed = [&] {
        Report("read", QString::fromStdString(path), file.errorString());
        bytes = std::string();
        return ReadOutcome::Failed;
    };
    // Its stated size in one read; then blocks for what the file gained meanwhile.
    bytes.resize(static_cast<std::size_t>(status.st_size));
    const qint64 got = file.read(bytes.data(), static_cast<qint64>(bytes.size()));
    if (got < 0) return failed();
    bytes.resize(static_cast<std::size_t>(got));
    std::vector<char> block(1 << 16);
    for (;;) {
        const qint64 more = file.read(block.data(), static_cast<qint64>(block.size()));
        if (more < 0) return failed();
        if (more == 0) return ReadOutcome::Read;
        if (bytes.size() + static_cast<std::uint64_t>(more) > limit) {
            bytes = std::string();
            return ReadOutcome::TooLarge;
        }
        bytes.append(block.data(), static_cast<std::size_t>(more));
    }
}

bool QtFilePort::WriteAll(const std::string& path, const std::string& bytes) {
    StringSource whole(bytes);
    return WriteFrom(path, whole);
}

namespace {

// Why a write stopped: Qt's reason, or the system's when Qt has none (a short write on a full
// disk sets no error of Qt's own).
QString WriteFailure(const QFileDevice& file, int error) {
    const QString reason = file.errorString();
    if (file.error() != QFileDevice::NoError && !reason.isEmpty() && reason != QStringLiteral("Unknown error"))
        return reason;
    return QString::fromLocal8Bit(std::strerror(error != 0 ? error : ENOSPC));
}

// Writes every piece; false with the reason when one is not written whole.
bool WritePieces(QFileDevice& file, ByteSource& source, QString& reason) {
    for (std::string_view piece = source.Next(); !piece.empty(); piece = source.Next()) {
        while (!piece.empty()) {
            errno = 0;
            const qint64 written = file.write(piece.data(), static_cast<qint64>(piece.size()));
            if (written <= 0) {
                reason = WriteFailure(file, errno);
                return false;
            }
            piece.remove_prefix(static_cast<std::size_t>(written));
        }
    }
    return true;
}

}  // namespace

bool QtFilePort::WriteFrom(const std::string& path, ByteSource& source) {
    // Only a plain file is written over: never a device, a pipe or a folder of that name.
    lastWriteError_.clear();
    auto failed = [&](const QString& reason) {
        Report("write", QString::fromStdString(path), reason);
        lastWriteError_ = reason.toStdString();  // messages are UTF-8
        return false;
    };
    const QString name = QString::fromStdString(path);
    const QFileInfo target(name);
    if ((target.exists() || target.isSymLink()) && !target.isFile())
        return failed(QStringLiteral("not a plain file"));
    QString reason;
    if (target.exists() && !CanWriteIn(target.absolutePath().toStdString())) {
        // A writable file in a folder that takes no new file: written in place. Its old bytes
        // are kept first and put back if the new ones cannot all be written, so a failure
        // never leaves a file cut short.
        std::string old;
        if (ReadAll(path, old, std::numeric_limits<std::uint64_t>::max()) != ReadOutcome::Read)
            return failed(QStringLiteral("the file cannot be read to keep it safe"));
        QFile file(name);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
            return failed(file.errorString());
        if (WritePieces(file, source, reason) && file.flush() && ::fsync(file.handle()) == 0) return true;
        if (reason.isEmpty()) reason = WriteFailure(file, errno);
        file.seek(0);
        file.resize(0);
        StringSource whole(old);
        QString ignored;
        if (!WritePieces(file, whole, ignored) || ::fsync(file.handle()) != 0)
            reason += QStringLiteral("; the earlier file could not be put back whole");
        return failed(reason);
    }
    // A link is written through: the file it leads to is replaced, the link stays.
    const std::string real = target.isSymLink() ? target.canonicalFilePath().toStdString() : path;
    if (!WriteNamed(real.empty() ? path : real, source, reason)) return failed(reason);
    // The caller syncs the folder the path names; the file a link leads to was renamed into the
    // folder that holds it, which must reach the disk as well.
    // (SyncFolder says why it failed.)
    if (!real.empty() && real != path && !SyncFolder(FolderOfFile(real))) return false;
    return true;
}

bool QtFilePort::Exists(const std::string& path) { return QFileInfo(QString::fromStdString(path)).isFile(); }

PathKind QtFilePort::KindOf(const std::string& path) {
    struct stat status {};
    // A file that is there but cannot be looked at (a closed folder) is left to the read to report.
    if (::stat(path.c_str(), &status) != 0)
        return errno == ENOENT || errno == ENOTDIR ? PathKind::Missing : PathKind::File;
    if (S_ISREG(status.st_mode)) return PathKind::File;
    return S_ISDIR(status.st_mode) ? PathKind::Folder : PathKind::Other;
}

std::string QtFilePort::StampOf(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return {};
    return std::to_string(status.st_dev) + ':' + std::to_string(status.st_ino) + ':' + std::to_string(status.st_size) +
           ':' + std::to_string(status.st_mtim.tv_sec) + '.' + std::to_string(status.st_mtim.tv_nsec);
}

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

namespace {

std::string ParentOf(const std::string& path) {
    std::string folder = path;
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    const auto slash = folder.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : folder.substr(0, slash);
}

// A rename or a removal is on the disk only once its folder is.
void SyncFolderOf(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

bool WriteWhole(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

void ReportErrno(const char* what, const std::string& path) {
    Report(what, QString::fromStdString(path), QString::fromLocal8Bit(std::strerror(errno)));
}

}  // namespace

std::string QtFilePort::TemporaryName(const std::string& path) {
    // Hidden, and ending in no extension of the program's: never taken for a tape.
    static std::mt19937_64 random{std::random_device{}()};
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    const std::size_t slash = path.find_last_of('/');
    std::string name = path.substr(0, slash + 1) + "." + path.substr(slash + 1) + "-";
    for (int i = 0; i < 8; ++i) name += kLetters[random() % (sizeof kLetters - 1)];
    name += ".saving";
    if (temporaryWatcher_) temporaryWatcher_(name);
    return name;
}

bool QtFilePort::WriteNamed(const std::string& path, ByteSource& source, QString& reason) {
    auto failed = [&](int error) {
        reason = QString::fromLocal8Bit(std::strerror(error));
        return false;
    };
    const std::string folder = ParentOf(path);
    struct stat old {};
    const bool replacing = ::stat(path.c_str(), &old) == 0;
    // An unnamed file leaves nothing behind whenever the program ends; it is given a name
    // through /proc, so it needs that too.
    std::string temporary;
    int fd = ::access("/proc/self/fd", X_OK) == 0 ? ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666) : -1;
    if (fd < 0) {
        for (int tries = 0; fd < 0 && tries < 10; ++tries) {
            temporary = TemporaryName(path);
            fd = ::open(temporary.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_NOFOLLOW | O_CLOEXEC, 0666);
            if (fd < 0 && errno != EEXIST) break;
        }
        if (fd < 0) return failed(errno);
    }
    int error = 0;
    // The file replaced keeps its permissions.
    if (replacing) ::fchmod(fd, old.st_mode & 07777);
    for (std::string_view piece = source.Next(); error == 0 && !piece.empty(); piece = source.Next())
        if (!WriteWhole(fd, piece)) error = errno != 0 ? errno : ENOSPC;
    if (error == 0 && ::fsync(fd) != 0) error = errno;
    if (error == 0 && temporary.empty()) {
        const std::string self = "/proc/self/fd/" + std::to_string(fd);
        // A new file is linked straight to its name; one that replaces another gets a hidden
        // name first, then takes the old one's with a rename.
        if (replacing || ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) != 0) {
            if (!replacing && errno != EEXIST) error = errno;
            for (int tries = 0; error == 0 && temporary.empty() && tries < 10; ++tries) {
                temporary = TemporaryName(path);
                if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temporary.c_str(), AT_SYMLINK_FOLLOW) != 0) {
                    if (errno != EEXIST) error = errno;
                    temporary.clear();
                }
            }
            if (error == 0 && temporary.empty()) error = EEXIST;
        }
    }
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && !temporary.empty() && ::rename(temporary.c_str(), path.c_str()) != 0) error = errno;
    if (error != 0) {
        if (!temporary.empty()) ::unlink(temporary.c_str());
        return failed(error);
    }
    return true;
}

bool QtFilePort::SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    // A file system that cannot sync a folder (EINVAL) keeps its names as it keeps them.
    bool synced = fd >= 0 && (::fsync(fd) == 0 || errno == EINVAL);
    if (!synced) {
        lastWriteError_ = QString::fromLocal8Bit(std::strerror(errno)).toStdString();
        ReportErrno("sync", folder);
    }
    if (fd >= 0) ::close(fd);
    return synced;
}

bool QtFilePort::MakePrivateFolder(const std::string& folder) {
    std::string path = folder;
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    // Its parents as any folder of the user's; the folder itself for the user alone.
    if (!QDir().mkpath(QString::fromStdString(ParentOf(path)))) {
        Report("make", QString::fromStdString(ParentOf(path)), QStringLiteral("the folder cannot be made"));
        return false;
    }
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
        ReportErrno("make", path);
        return false;
    }
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0 || !S_ISDIR(status.st_mode) || status.st_uid != ::geteuid()) {
        Report("use", QString::fromStdString(path), QStringLiteral("not a folder of this user's own"));
        return false;
    }
    // Files others could have put in it are never trusted.
    if ((status.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        Report("use", QString::fromStdString(path), QStringLiteral("others may write in it"));
        return false;
    }
    if ((status.st_mode & 0777) != 0700 && ::chmod(path.c_str(), 0700) != 0) {
        ReportErrno("protect", path);
        return false;
    }
    return true;
}

ReadOutcome QtFilePort::ReadPrivate(const std::string& path, std::string& bytes, std::uint64_t limit) {
    bytes.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        ReportErrno("read", path);
        // A link, or a file this user may not read: not the user's alone.
        return error == ELOOP || error == EACCES || error == EPERM ? ReadOutcome::NotPrivate : ReadOutcome::Failed;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_uid != ::geteuid() ||
        (status.st_mode & 0777) != 0600) {
        ::close(fd);
        Report("read", QString::fromStdString(path), QStringLiteral("not a file of this user's alone"));
        return ReadOutcome::NotPrivate;
    }
    return ReadOpened(fd, path, bytes, limit);
}

LockOutcome QtFilePort::LockPrivate(const std::string& path) {
    if (locks_.count(path)) return LockOutcome::Held;
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        ReportErrno("lock", path);
        return LockOutcome::Failed;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_uid != ::geteuid()) {
        ::close(fd);
        Report("lock", QString::fromStdString(path), QStringLiteral("not a file of this user's own"));
        return LockOutcome::Failed;
    }
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    if (::fcntl(fd, F_OFD_SETLK, &lock) != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EAGAIN || error == EACCES) return LockOutcome::HeldElsewhere;
        errno = error;
        ReportErrno("lock", path);
        return LockOutcome::Failed;
    }
    locks_[path] = fd;
    return LockOutcome::Held;
}

void QtFilePort::UnlockPrivate(const std::string& path, bool remove) {
    const auto held = locks_.find(path);
    if (held == locks_.end()) return;
    // Removed while still locked: a process that opens it now finds it taken, or a new file.
    if (remove) ::unlink(path.c_str());
    ::close(held->second);
    locks_.erase(held);
}

bool QtFilePort::PrivateFailed(const char* what, const std::string& path) {
    lastPrivateError_ = std::strerror(errno);
    ReportErrno(what, path);
    return false;
}

void QtFilePort::CloseAppending(const std::string& path) {
    const auto open = appending_.find(path);
    if (open == appending_.end()) return;
    ::close(open->second);
    appending_.erase(open);
}

bool QtFilePort::WritePrivate(const std::string& path, ByteSource& source) {
    CloseAppending(path);
    std::string temporary = path + ".XXXXXX";
    // mkstemp makes the file for this user alone (0600), under a name no one else has.
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return PrivateFailed("write", path);
    errno = 0;
    bool written = ::fchmod(fd, 0600) == 0;
    for (std::string_view piece = source.Next(); written && !piece.empty(); piece = source.Next())
        written = WriteWhole(fd, piece);
    written = written && ::fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    written = written && ::rename(temporary.c_str(), path.c_str()) == 0;
    if (!written) {
        if (errno == 0) errno = ENOSPC;
        PrivateFailed("write", path);
        ::unlink(temporary.c_str());
        return false;
    }
    SyncFolderOf(ParentOf(path));
    return true;
}

bool QtFilePort::AppendPrivate(const std::string& path, std::string_view bytes) {
    // Only to a record already there, never through a link; kept open for the next appends.
    auto open = appending_.find(path);
    if (open == appending_.end()) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) return PrivateFailed("append to", path);
        open = appending_.emplace(path, fd).first;
    }
    errno = 0;
    if (WriteWhole(open->second, bytes)) return true;
    if (errno == 0) errno = ENOSPC;
    PrivateFailed("append to", path);
    CloseAppending(path);
    return false;
}

bool QtFilePort::SyncPrivate(const std::string& path) {
    const auto open = appending_.find(path);
    const int fd = open != appending_.end() ? open->second : ::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return PrivateFailed("sync", path);
    const bool synced = ::fsync(fd) == 0;
    if (!synced) PrivateFailed("sync", path);
    if (open == appending_.end()) ::close(fd);
    return synced;
}

bool QtFilePort::Rename(const std::string& from, const std::string& to) {
    CloseAppending(from);
    // A hard link and the old name's removal: fails rather than replace a file of the new name.
    if (::link(from.c_str(), to.c_str()) != 0) {
        ReportErrno("move", from);
        return false;
    }
    ::unlink(from.c_str());
    SyncFolderOf(ParentOf(to));
    SyncFolderOf(ParentOf(from));
    return true;
}

bool QtFilePort::Remove(const std::string& path) {
    CloseAppending(path);
    if (::unlink(path.c_str()) != 0) return false;
    SyncFolderOf(ParentOf(path));
    return true;
}

}  // namespace qb
