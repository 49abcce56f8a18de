#pragma once
// Keeps this copy's recovery record in step with the tape, and looks after the records that
// copies which ended without saving left behind.
//
// The record is private to the user (the folder and its files) and lives in one folder: this
// copy's record under a name of its own, the records refused at start-up in "discarded" beside
// it, kept for seven days. The keeper writes only when told to flush: the shell's short timer
// does that while changes wait, so an idle program never wakes up.
//
// Each copy holds, for as long as it runs, the lock of a file named as its record but ending in
// ".lock": a record is left behind only when its lock is free, whatever host or login session
// the copy that keeps it runs in. A copy that starts holds the locks of the left records while
// it deals with them, so no other copy offers them at the same time.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "documents/RecoveryRecord.h"
#include "engine/TapeLines.h"
#include "platform/ClockPort.h"
#include "platform/FilePort.h"

namespace qb {

struct RecoveryPlace {
    std::string folder;   // the user's state folder for the program
    std::string ownName;  // this copy's record, a name no other copy uses
};

// A record some copy left behind.
struct LeftRecord {
    std::string name;
    std::optional<RecoveredTape> tape;  // none when it cannot be read at all
    ReadOutcome read = ReadOutcome::Failed;  // why it could not: NotPrivate, a file not the user's alone
};

class RecoveryKeeper {
public:
    static constexpr const char* kExtension = ".QBR";
    static constexpr const char* kDiscarded = "discarded";
    static constexpr std::int64_t kDiscardedKept = 7 * 24 * 3600;
    // Appended entries beyond this (and beyond the record's first size) start a fresh record.
    static constexpr std::uint64_t kMostAppended = 1 << 20;
    static constexpr const char* kLockExtension = ".lock";
    static constexpr const char* kTemporariesExtension = ".QBT";
    // A flush the disk refused is tried again, afresh, on the next ticks; after this many in a
    // row, only after the next change.
    static constexpr int kMostTries = 5;

    RecoveryKeeper(FilePort& files, ClockPort& clock) : files_(files), clock_(clock) {}

    void SetPlace(RecoveryPlace place);
    // At start-up, before anything is done in the folder: makes it if need be and takes this
    // copy's lock. False, and the record off for the run, when the folder is not the user's own
    // and open to the user alone; nothing in it is then touched.
    bool Start();
    // This copy ends: its lock goes, and the lock's file.
    void End();
    bool On() const { return !path_.empty(); }
    // The folder was refused (at start-up or later): no record this run.
    bool Refused() const { return refused_; }
    const std::string& Path() const { return path_; }
    const std::string& Folder() const { return place_.folder; }

    // Compares the tape with what the record holds. True when there is something to flush. A
    // tape without unsaved changes needs no record: this copy's goes at once.
    bool Note(bool dirty, const RecoveryState& state, const TapeLines& lines);
    bool Pending() const { return pending_; }
    // Brings the record up to date: the entries of the changes appended (written, not yet
    // synced), or the whole record written afresh and synced when the tape was rewritten;
    // removed when the tape holds no unsaved change. False when the disk refused it: it stays
    // pending, and the next flush writes it afresh.
    bool Flush(bool dirty, const RecoveryState& state, const TapeLines& lines);
    // Appended bytes wait to be synced.
    bool Unsynced() const { return unsynced_; }
    // Brings the appended bytes to the disk. False when the disk refused: the next flush writes
    // the record afresh.
    bool Sync();
    // The record holds this tape and is on the disk, whether or not it has unsaved changes: a
    // rewrite of its file in place is about to begin. False when there is no record to hold it.
    bool Protect(const RecoveryState& state, const TapeLines& lines);
    // The flushes fail, and have for kMostTries in a row: the record is not being kept. It stays
    // so until one succeeds. Why the last one failed, in the system's words.
    bool Failing() const { return failing_; }
    const std::string& FailureReason() const { return failure_; }
    // The temporary files that saves made are all gone: the list of them goes too.
    void ForgetTemporaries();
    // This copy's record goes: the tape was kept or dropped as the user chose.
    void Discard();
    bool RecordExists() const { return exists_; }

    // The records that copies which ended left behind, oldest first, and what they hold; only
    // the user's own private files are read. Their locks are held until Let.
    std::vector<LeftRecord> LeftBehind();
    // Moves a left record to the discarded ones; gives where it went, "" when it could not.
    std::string MoveAside(const std::string& name);
    // Removes a left record (its tape lives on in this copy's record).
    void Remove(const std::string& name);
    // Lets a left record's lock go: it was dealt with, or waits for another start.
    void Let(const std::string& name);
    // Removes the discarded records older than seven days.
    void PurgeDiscarded();

private:
    bool NeedsFresh(const TapeLines& lines) const;
    bool Failed(std::string reason);
    bool Succeeded();
    void NoteTemporary(const std::string& path);
    void RemoveTemporaries(const std::string& list);
    std::string LockOf(const std::string& stem) const { return place_.folder + stem + kLockExtension; }
    void Remember(const RecoveryState& state, const TapeLines& lines);

    FilePort& files_;
    ClockPort& clock_;
    RecoveryPlace place_;
    std::string path_;
    bool exists_ = false;
    bool pending_ = false;
    bool refused_ = false;
    bool locked_ = false;  // this copy's lock is held
    int failures_ = 0;     // flushes refused in a row
    bool failing_ = false;
    std::string failure_;
    bool unsynced_ = false;                // appended bytes not yet synced
    std::vector<std::string> temporaries_;  // listed in this copy's ".QBT" file
    std::string ownStem_;
    bool broken_ = false;  // the record on disk is not what was remembered: write it afresh
    // What the record on disk holds.
    std::uint64_t generation_ = 0;
    std::size_t count_ = 0;
    std::string lastLine_;
    RecoveryState written_;
    std::uint64_t freshBytes_ = 0, appendedBytes_ = 0;
    std::string entries_;  // the last flush's entries, its room used again
};

}  // namespace qb
