#pragma once
// Whole-file reads and writes, and the few questions the program asks of folders. A write
// replaces the file only once every byte is written: a failed write leaves the previous file
// exactly as it was and no partial file behind. (Only where the folder refuses a temporary file
// but the file itself may be written is it written in place.)

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qb {

// A file's bytes piece by piece, so a large file need never be whole in memory.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // The next piece; empty at the end.
    virtual std::string_view Next() = 0;
};

// The bytes of a string (which must outlive it), as one piece.
class StringSource final : public ByteSource {
public:
    explicit StringSource(std::string_view bytes) : bytes_(bytes) {}
    std::string_view Next() override {
        const std::string_view piece = bytes_;
        bytes_ = {};
        return piece;
    }

private:
    std::string_view bytes_;
};

enum class LockOutcome {
    Held,           // this process holds it now
    HeldElsewhere,  // another process holds it
    Failed,         // no lock here: the file cannot be made, or the file system has no locks
};

// What a path names, a link followed.
enum class PathKind { Missing, File, Folder, Other /* a pipe, a device, a socket */ };

enum class ReadOutcome {
    Read,
    Failed,      // the file cannot be opened or read, or is no plain file (a device, a pipe)
    TooLarge,    // it holds more than the limit
    NotPrivate,  // a private file that is a link, someone else's, or open to others: never read
};

// The folder a file's path names, with its trailing '/'; "./" for a bare name.
inline std::string FolderOfFile(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

// The file's own name, after the path's last '/' (a backslash is a character of a name here).
inline std::string NameOfFile(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

class FilePort {
public:
    virtual ~FilePort() = default;
    // The whole file, when it holds at most limit bytes; bytes is left empty otherwise.
    virtual ReadOutcome ReadAll(const std::string& path, std::string& bytes, std::uint64_t limit) = 0;
    virtual bool WriteAll(const std::string& path, const std::string& bytes) = 0;
    // The same, from pieces. By default they are gathered and written whole.
    virtual bool WriteFrom(const std::string& path, ByteSource& source) {
        std::string bytes;
        for (std::string_view piece = source.Next(); !piece.empty(); piece = source.Next()) bytes += piece;
        return WriteAll(path, bytes);
    }
    // Why the last write failed, in the system's words ("No space left on device"), UTF-8;
    // empty when it is not known.
    virtual std::string LastWriteError() const { return {}; }
    // A file (not a folder) of that path exists.
    virtual bool Exists(const std::string& path) = 0;
    // A write of that path would rewrite the file in place: it exists, but its folder takes no
    // new file. Such a write can be cut short by a crash.
    virtual bool WritesInPlace(const std::string& path) { return Exists(path) && !CanWriteIn(FolderOfFile(path)); }
    // Brings the folder's names (a file renamed into it, one removed) to the disk. A write
    // that renamed its file into place is durable only after this.
    virtual bool SyncFolder(const std::string& /*folder*/) { return true; }
    // Where a write keeps the temporary file it renames into place, as it makes one, so a
    // crash that leaves it behind can be mended; the watcher is told before the file is made
    // under that name. Only a temporary that can be left behind under a name is told of.
    virtual void WatchTemporaries(std::function<void(const std::string& path)> /*watcher*/) {}
    // What tells this version of the file from another written since (its place on the disk, size
    // and time of change); empty when the file is not there or that cannot be told.
    virtual std::string StampOf(const std::string& /*path*/) { return {}; }
    // What the path names; a plain file or nothing, by default.
    virtual PathKind KindOf(const std::string& path) { return Exists(path) ? PathKind::File : PathKind::Missing; }
    // The names of the files in a folder, without the folder; none when it cannot be read.
    virtual std::vector<std::string> ListFiles(const std::string& folder) = 0;
    // The folder exists and this user may create files in it.
    virtual bool CanWriteIn(const std::string& folder) = 0;

    // Files private to the user, for the recovery record; none of them by default. Each call
    // but AppendPrivate leaves its bytes on the disk (synced) when it reports success.
    // The folder exists (made with its parents if need be), is a folder (not a link) of this
    // user's own, and is open to this user alone. One of the user's that others could not write
    // in is closed to them; one that others could write in is refused, never used.
    virtual bool MakePrivateFolder(const std::string& /*folder*/) { return false; }
    // Reads a file only when it is this user's own plain file, open to this user alone (0600),
    // and not a link.
    virtual ReadOutcome ReadPrivate(const std::string& /*path*/, std::string& bytes, std::uint64_t /*limit*/) {
        bytes.clear();
        return ReadOutcome::Failed;
    }
    // Takes the lock of a private file (made, 0600, if need be; never through a link) without
    // waiting, and holds it until UnlockPrivate or the process ends: whichever way a process
    // ends, its locks go with it.
    virtual LockOutcome LockPrivate(const std::string& /*path*/) { return LockOutcome::Failed; }
    // Lets a lock held here go; its file is removed first when asked.
    virtual void UnlockPrivate(const std::string& /*path*/, bool /*remove*/) {}
    // Writes a file open to this user alone, replacing any file of that name only once complete.
    // The bytes go first to a file named after it: its name, a dot and a few characters.
    virtual bool WritePrivate(const std::string& /*path*/, ByteSource& /*source*/) { return false; }
    // Adds the bytes at the end of such a file: written (they outlive the process at once),
    // not synced. A failure may leave part of them there.
    virtual bool AppendPrivate(const std::string& /*path*/, std::string_view /*bytes*/) { return false; }
    // Brings such a file's bytes to the disk.
    virtual bool SyncPrivate(const std::string& /*path*/) { return false; }
    // Why the last private write, append or sync failed, in the system's words.
    virtual std::string LastPrivateError() const { return {}; }
    // Moves a file within one folder tree; replaces nothing.
    virtual bool Rename(const std::string& /*from*/, const std::string& /*to*/) { return false; }
    virtual bool Remove(const std::string& /*path*/) { return false; }
};

}  // namespace qb
