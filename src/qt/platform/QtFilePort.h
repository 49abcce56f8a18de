#pragma once
// Whole files through QFile and QSaveFile, folders through QDir. Paths are UTF-8. What went
// wrong in a failed read or write goes to the program's output (stderr) in the system's words;
// the user sees the program's own message.

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
    // Written to a temporary file beside the target and renamed over it only when complete. In a
    // folder where no temporary file can be made (read-only, holding a writable tape file), the
    // file is written in place instead.
    bool WriteAll(const std::string& path, const std::string& bytes) override;
    bool WriteFrom(const std::string& path, ByteSource& source) override;
    std::string LastWriteError() const override { return lastWriteError_; }
    bool Exists(const std::string& path) override;
    PathKind KindOf(const std::string& path) override;
    std::vector<std::string> ListFiles(const std::string& folder) override;
    bool CanWriteIn(const std::string& folder) override;
    // With POSIX calls: the folder 0700 and the user's own (never followed through a link), files
    // 0600, written whole to a temporary file, synced and renamed, or appended with O_APPEND and
    // synced; the folder is synced after a rename or a removal. Locks are open file description
    // locks (fcntl F_OFD_SETLK), which NFS keeps too, on a file held open while locked.
    bool MakePrivateFolder(const std::string& folder) override;
    ReadOutcome ReadPrivate(const std::string& path, std::string& bytes, std::uint64_t limit) override;
    LockOutcome LockPrivate(const std::string& path) override;
    void UnlockPrivate(const std::string& path, bool remove) override;
    bool WritePrivate(const std::string& path, ByteSource& source) override;
    bool AppendPrivate(const std::string& path, std::string_view bytes) override;
    bool Rename(const std::string& from, const std::string& to) override;
    bool Remove(const std::string& path) override;

private:
    ReadOutcome ReadOpened(int fd, const std::string& path, std::string& bytes, std::uint64_t limit);
    std::map<std::string, int> locks_;  // the locks held, by their files' paths
    std::string lastWriteError_;
};

}  // namespace qb
