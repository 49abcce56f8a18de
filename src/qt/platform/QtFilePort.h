#pragma once
// Whole files through QFile and QSaveFile, folders through QDir. Paths are UTF-8. What went
// wrong in a failed read or write goes to the program's output (stderr) in the system's words;
// the user sees the program's own message.

#include "platform/FilePort.h"

namespace qb {

class QtFilePort final : public FilePort {
public:
    // Plain files only: a device or a pipe (/dev/zero, a FIFO) is refused at once, never waited on.
    ReadOutcome ReadAll(const std::string& path, std::string& bytes, std::uint64_t limit) override;
    // Written to a temporary file beside the target and renamed over it only when complete. In a
    // folder where no temporary file can be made (read-only, holding a writable tape file), the
    // file is written in place instead.
    bool WriteAll(const std::string& path, const std::string& bytes) override;
    bool WriteFrom(const std::string& path, ByteSource& source) override;
    std::string LastWriteError() const override { return lastWriteError_; }
    bool Exists(const std::string& path) override;
    std::vector<std::string> ListFiles(const std::string& folder) override;
    bool CanWriteIn(const std::string& folder) override;
    // With POSIX calls: the folder 0700 and the user's own (never followed through a link), files
    // 0600, written whole to a temporary file, synced and renamed, or appended with O_APPEND and
    // synced; the folder is synced after a rename or a removal.
    bool MakePrivateFolder(const std::string& folder) override;
    bool WritePrivate(const std::string& path, ByteSource& source) override;
    bool AppendPrivate(const std::string& path, std::string_view bytes) override;
    bool Rename(const std::string& from, const std::string& to) override;
    bool Remove(const std::string& path) override;

private:
    std::string lastWriteError_;
};

}  // namespace qb
