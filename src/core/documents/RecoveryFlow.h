#pragma once
// The recovery room: the record of unsaved changes kept in step with the tape after every
// event, flushed by the shell's short timer, synced when the program ends without asking, and
// offered back at start-up when a copy ended without saving.

#include <string>

#include "documents/RecoveryKeeper.h"

namespace qb {

class Desk;

// What the record keeps of the tape document, and where a recovered tape goes.
class RecoverySource {
public:
    virtual RecoveryState RecoveryStateNow() const = 0;
    virtual void Recover(const RecoveredTape& tape) = 0;

protected:
    ~RecoverySource() = default;
};

class RecoveryFlow {
public:
    RecoveryFlow(Desk& desk, RecoverySource& source);

    const RecoveryKeeper& Keeper() const { return keeper_; }
    void SetPlace(RecoveryPlace place) { keeper_.SetPlace(std::move(place)); }
    bool TimerOn() const { return keeper_.Pending() || keeper_.Unsynced(); }
    static constexpr int kFlushMs = 1000;

    // After every event: the record's new bytes are written before the program waits again.
    void Keep();
    // The timer: a refused flush is tried again, written bytes are synced, trouble is told.
    void Tick();
    // The record written and synced now, without a word to the user.
    void Sync();
    // The program ends without asking (a signal): from here on no question is asked.
    void EndUnasked();
    bool EndingUnasked() const { return endUnasked_; }
    // Offers the tapes of records that copies which ended left behind.
    void RecoverAtStart();

    // A file rewritten in place: first the record holds the tape being saved, on the disk.
    void Protect() { keeper_.Protect(source_.RecoveryStateNow(), Lines()); }
    // After a file was written: its folder synced when it was renamed into place (false when
    // that failed), the list of temporary files forgotten.
    bool SettleWrittenFile(const std::string& path, bool renamed);
    // The tape was saved or dropped: no record is needed.
    void Discard() { keeper_.Discard(); }
    void End() { keeper_.End(); }

private:
    const TapeLines& Lines() const;
    bool Dirty() const;
    // Tells the user, once a run, that the state folder was refused and no record is kept.
    void TellRefused();
    // Tells the user when the record stops being kept, and when it is kept again.
    void TellFailing();

    Desk& desk_;
    RecoverySource& source_;
    RecoveryKeeper keeper_;
    bool refusalTold_ = false;
    bool failureTold_ = false;
    bool endUnasked_ = false;
};

}  // namespace qb
