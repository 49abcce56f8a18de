#pragma once
// Whole files through POSIX calls (an unnamed temporary file linked into place) and QFile, folders
// through QDir. Paths are UTF-8. What went wrong in a failed read or write goes to the program's
// output (stderr) in the system's words; the user sees the program's own message.

#include <QString>
#include <functional>
#include <map>

#include "platform/FilePort.h"

namespace qb {

class QtFilePort final : public FilePort {
public:
    QtFilePort() = default;
    QtFilePort(const QtFilePort&) = delete;
    QtFilePort& operator=(const QtFilePort&) = delete;
    // Lets every lock still held go, leaving its file.
    ~QtFilePort() override;
    // Plain files only: a device or a pipe (/dev/zero, a FIFO) is refused at once, never waited on.
    ReadOutcome ReadAll(const std::string& path, std::string& bytes, std::uint64_t limit) override;
    // Written to an unnamed temporary file in the target's folder (O_TMPFILE), synced, and given
    // its name only when complete: linked straight to a new name, or linked to a hidden name of
    // its own and renamed over the old file. Where the folder has no unnamed files, a hidden
    // named one is made instead; either name is told to the watcher before it exists. In a
    // folder where no temporary file can be made (read-only, holding a writable tape file), the
    // file is written in place instead.
    bool WriteAll(const std::string& path, const std::string& bytes) override;
    bool WriteFrom(const std::string& path, ByteSource& source) override;
    std::string LastWriteError() const override { return lastWriteError_; }
    bool Exists(const std::string& path) override;
    PathKind KindOf(const std::string& path) override;
    std::string StampOf(const std::string& path) override;
    std::vector<std::string> ListFiles(const std::string& folder) override;
    bool CanWriteIn(const std::string& folder) override;
    bool SyncFolder(const std::string& folder) override;
    void WatchTemporaries(std::function<void(const std::string& path)> watcher) override {
        temporaryWatcher_ = std::move(watcher);
    }
    // With POSIX calls: the folder 0700 and the user's own (never followed through a link), files
    // 0600, written whole to a temporary file, synced and renamed, or appended with O_APPEND and
    // left to SyncPrivate (the file is kept open between appends); the folder is synced after a
    // rename or a removal. Locks are open file description
    // locks (fcntl F_OFD_SETLK), which NFS keeps too, on a file held open while locked.
    bool MakePrivateFolder(const std::string& folder) override;
    ReadOutcome ReadPrivate(const std::string& path, std::string& bytes, std::uint64_t limit) override;
    LockOutcome LockPrivate(const std::string& path) override;
    void UnlockPrivate(const std::string& path, bool remove) override;
    bool WritePrivate(const std::string& path, ByteSource& source) override;
    bool AppendPrivate(const std::string& path, std::string_view bytes) override;
    bool SyncPrivate(const std::string& path) override;
    std::string LastPrivateError() const override { return lastPrivateError_; }
    bool Rename(const std::string& from, const std::string& to) override;
    bool Remove(const std::string& path) override;

private:
    ReadOutcome ReadOpened(int fd, const std::string& path, std::string& bytes, std::uint64_t limit);
    bool WriteNamed(const std::string& path, ByteSource& source, QString& reason);
    std::string TemporaryName(const std::string& path);
    void CloseAppending(const std::string& path);
    bool PrivateFailed(const char* what, const std::string& path);
    std::map<std::string, int> locks_;      // the locks held, by their files' paths
    std::map<std::string, int> appending_;  // private files open for appends, by their paths
    std::string lastWriteError_, lastPrivateError_;
    std::function<void(const std::string& path)> temporaryWatcher_;
};

}  // namespace qb
