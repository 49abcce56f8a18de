// The main window's recovery record: kept in step with the tape after every event, flushed by
// the shell's short timer, and offered back at start-up when a copy ended without saving.
#include "Machine.h"

#include "guide/CodePageDecoder.h"
#include "platform/ErrorMessage.h"

namespace qb {
namespace {

constexpr const char* kCrLf = "\r\n";

}  // namespace

RecoveryState Machine::RecoveryStateNow() const {
    RecoveryState now;
    static_cast<TapeValues&>(now) = TapeValuesNow();
    now.lastTapeFile = lastTapeFile_;
    now.tapeFileName = tapeFileName_;
    now.writingInPlace = writingInPlace_;
    return now;
}

// After every event the record's new bytes are written, before the program waits for the next
// one: a kill at any moment loses nothing the window showed. The timer syncs them.
void Machine::KeepRecoveryRecord() {
    if (recoveredTape_ && !tape_.Dirty()) {
        recoveredTape_ = false;
        SetMainTitle();
    }
    // While a refused flush waits for the timer to try again there is nothing more to learn,
    // unless the tape became clean.
    if (!recovery_.On() || (recovery_.Pending() && tape_.Dirty())) return;
    const RecoveryState now = RecoveryStateNow();
    if (recovery_.Note(tape_.Dirty(), now, tape_.Lines())) {
        recovery_.Flush(tape_.Dirty(), now, tape_.Lines());
        if (!endUnasked_) TellRecoveryFailing();
    }
}

void Machine::SyncRecoveryRecord() {
    KeepRecoveryRecord();
    if (recovery_.Pending()) recovery_.Flush(tape_.Dirty(), RecoveryStateNow(), tape_.Lines());
    recovery_.Sync();
}

void Machine::RecoveryTick() {
    if (recovery_.Pending()) recovery_.Flush(tape_.Dirty(), RecoveryStateNow(), tape_.Lines());
    recovery_.Sync();
    TellRecoveryRefused();
    TellRecoveryFailing();
}

void Machine::EndUnasked() {
    endUnasked_ = true;
    SyncRecoveryRecord();
}

void Machine::KeepForSessionEnd() { SyncRecoveryRecord(); }

bool Machine::SettleWrittenFile(const std::string& path, bool renamed) {
    // A renamed file is on the disk only once its folder is; until then the record stays.
    const bool durable = !renamed || files_.SyncFolder(FolderOfFile(path));
    recovery_.ForgetTemporaries();
    return durable;
}

void Machine::TellRecoveryFailing() {
    if (recovery_.Failing() == recoveryFailureTold_ || recovery_.Refused()) return;
    recoveryFailureTold_ = recovery_.Failing();
    std::string folder = recovery_.Folder();
    if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    MessageRequest message;
    message.title = "the Quillbox";
    if (recoveryFailureTold_) {
        message.text = "Unsaved tapes are not being kept for recovery: \"" + folder + "\" cannot be written (" +
                       recovery_.FailureReason() + ").";
        message.icon = MessageIcon::Exclamation;
    } else {
        message.text = "Unsaved tapes are kept for recovery again.";
        message.icon = MessageIcon::Information;
    }
    ports_.messages.ShowMessage(message);
}

void Machine::TellRecoveryRefused() {
    if (!recovery_.Refused() || recoveryRefusalTold_) return;
    recoveryRefusalTold_ = true;
    std::string folder = recovery_.Folder();
    if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    MessageRequest message;
    message.title = "the Quillbox";
    message.text = "Unsaved tapes cannot be kept for recovery: \"" + folder +
                   "\" cannot be made, or is not a folder of your own, open to you alone.";
    message.icon = MessageIcon::Exclamation;
    ports_.messages.ShowMessage(message);
}

void Machine::RecoverTape(const RecoveredTape& tape) {
    tape_.Replace(tape.lines);
    tape_.ScrollTape();
    const RecoveryState& state = tape.state;
    TakeTapeValues(state);
    stopwatch_.ShowStoredTime(stopwatch_.ElapsedTime);
    lastTapeFile_ = state.lastTapeFile;
    tapeFileName_ = state.tapeFileName;
    // Back as it was when the copy ended: changed, and not saved.
    tape_.SetDirty(true);
    recoveredTape_ = true;
    SetMainTitle();
}

// Every record left behind is offered in turn, oldest first. One tape is on screen at a time:
// after a Yes the records still waiting stay as they are, and the user is told that they will be
// offered at the next start.
void Machine::RecoverAtStart() {
    // Nothing is done in a folder that is not the user's alone.
    if (!recovery_.Start()) {
        TellRecoveryRefused();
        return;
    }
    if (!recovery_.On()) return;
    recovery_.PurgeDiscarded();
    bool recovered = false;
    std::size_t waiting = 0;
    for (const LeftRecord& record : recovery_.LeftBehind()) {
        if (!record.tape) {
            const std::string moved = recovery_.MoveAside(record.name);
            recovery_.Let(record.name);
            ShowErrorMessage(ports_.messages,
                             (record.read == ReadOutcome::NotPrivate
                                  ? "A recovery record of the Quillbox was not read: it is a link, or not a file of "
                                    "yours alone"
                                  : "A recovery record of the Quillbox cannot be read") +
                                 std::string(kCrLf) + kCrLf +
                                 (moved.empty() ? "It stays at \"" + recovery_.Folder() + record.name + "\""
                                                : "It was moved to \"" + moved + "\""));
            continue;
        }
        if (recovered) {
            ++waiting;
            recovery_.Let(record.name);
            continue;
        }
        const RecoveredTape& tape = *record.tape;
        const std::size_t count = tape.lines.size();
        MessageRequest question;
        question.title = "the Quillbox";
        question.text = "The Quillbox ended on " + clock_.ShowDateTime(tape.time) + " without saving a tape of " +
                        std::to_string(count) + (count == 1 ? " line" : " lines") +
                        (tape.state.caption.empty() ? std::string()
                                                    : ", \"" + Windows1252ToUtf8(tape.state.caption) + "\"") +
                        ". Recover it?";
        question.icon = MessageIcon::Question;
        question.buttons = MessageButtons::YesNo;
        question.defaultAnswer = MessageAnswer::Yes;
        const MessageAnswer answer = ports_.messages.ShowMessage(question);
        if (endUnasked_) {
            // The program ends: the question was never answered, and the record waits as it was.
            recovery_.Let(record.name);
            return;
        }
        if (answer != MessageAnswer::Yes) {
            // Not final either: the discarded records are kept for a week.
            recovery_.MoveAside(record.name);
            recovery_.Let(record.name);
            continue;
        }
        RecoverTape(tape);
        recovered = true;
        // The left record goes once this copy's own holds the tape.
        if (recovery_.Flush(true, RecoveryStateNow(), tape_.Lines()) && recovery_.Sync()) recovery_.Remove(record.name);
        recovery_.Let(record.name);
        if (tape.damaged) {
            std::string values;
            for (const std::string& what : tape.unreadable) values += (values.empty() ? "" : ", ") + what;
            ShowErrorMessage(ports_.messages,
                             "The recovery record was damaged" + std::string(kCrLf) + kCrLf +
                                 "The tape was recovered as it was last kept whole, on " +
                                 clock_.ShowDateTime(tape.time) + ": " + std::to_string(count) +
                                 (count == 1 ? " line" : " lines") +
                                 (values.empty() ? std::string()
                                                 : std::string(kCrLf) + kCrLf + "These could not be read, and are as on a new tape: " + values));
        }
        if (!tape.state.writingInPlace.empty()) {
            const std::string& file = tape.state.writingInPlace;
            ShowErrorMessage(ports_.messages, "The tape file \"" + file.substr(file.find_last_of('/') + 1) +
                                                  "\" may be incomplete" + kCrLf + kCrLf +
                                                  "The Quillbox ended while writing it. The recovered tape is as it "
                                                  "was being saved: save it again to keep it");
        }
    }
    if (waiting > 0) {
        MessageRequest message;
        message.title = "the Quillbox";
        message.text = (waiting == 1 ? std::string("Another unsaved tape waits")
                                     : std::to_string(waiting) + " more unsaved tapes wait") +
                       ": the Quillbox offers " + (waiting == 1 ? "it" : "them") + " again at its next start.";
        message.icon = MessageIcon::Information;
        ports_.messages.ShowMessage(message);
    }
}

}  // namespace qb
