#include "documents/RecoveryFlow.h"

#include "desk/Desk.h"
#include "guide/CodePageDecoder.h"
#include "platform/ErrorMessage.h"

namespace qb {
namespace {

constexpr const char* kCrLf = "\r\n";

}  // namespace

RecoveryFlow::RecoveryFlow(Desk& desk, RecoverySource& source)
    : desk_(desk), source_(source), keeper_(desk.Files(), desk.Clock()) {}

const TapeLines& RecoveryFlow::Lines() const { return desk_.GetTape().Lines(); }

bool RecoveryFlow::Dirty() const { return desk_.GetTape().Dirty(); }

// After every event the record's new bytes are written, before the program waits for the next
// one: a kill at any moment loses nothing the window showed. The timer syncs them.
void RecoveryFlow::Keep() {
    // While a refused flush waits for the timer to try again there is nothing more to learn,
    // unless the tape became clean.
    if (!keeper_.On() || (keeper_.Pending() && Dirty())) return;
    const RecoveryState now = source_.RecoveryStateNow();
    if (keeper_.Note(Dirty(), now, Lines())) {
        keeper_.Flush(Dirty(), now, Lines());
        if (!endUnasked_) TellFailing();
    }
}

void RecoveryFlow::Sync() {
    Keep();
    if (keeper_.Pending()) keeper_.Flush(Dirty(), source_.RecoveryStateNow(), Lines());
    keeper_.Sync();
}

void RecoveryFlow::Tick() {
    if (keeper_.Pending()) keeper_.Flush(Dirty(), source_.RecoveryStateNow(), Lines());
    keeper_.Sync();
    TellRefused();
    TellFailing();
}

void RecoveryFlow::EndUnasked() {
    endUnasked_ = true;
    Sync();
}

bool RecoveryFlow::SettleWrittenFile(const std::string& path, bool renamed) {
    // A renamed file is on the disk only once its folder is; until then the record stays.
    const bool durable = !renamed || desk_.Files().SyncFolder(FolderOfFile(path));
    keeper_.ForgetTemporaries();
    return durable;
}

void RecoveryFlow::TellFailing() {
    if (keeper_.Failing() == failureTold_ || keeper_.Refused()) return;
    failureTold_ = keeper_.Failing();
    std::string folder = keeper_.Folder();
    if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    MessageRequest message;
    message.title = "the Quillbox";
    message.notice = true;
    if (failureTold_) {
        message.text = "Unsaved tapes are not being kept for recovery: \"" + folder + "\" cannot be written (" +
                       keeper_.FailureReason() + ").";
        message.icon = MessageIcon::Exclamation;
    } else {
        message.text = "Unsaved tapes are kept for recovery again.";
        message.icon = MessageIcon::Information;
    }
    desk_.Messages().ShowMessage(message);
}

void RecoveryFlow::TellRefused() {
    if (!keeper_.Refused() || refusalTold_) return;
    refusalTold_ = true;
    std::string folder = keeper_.Folder();
    if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    MessageRequest message;
    message.title = "the Quillbox";
    message.notice = true;
    message.text = "Unsaved tapes cannot be kept for recovery: \"" + folder +
                   "\" cannot be made, or is not a folder of your own, open to you alone.";
    message.icon = MessageIcon::Exclamation;
    desk_.Messages().ShowMessage(message);
}

// Every record left behind is offered in turn, oldest first. One tape is on screen at a time:
// after a Yes the records still waiting stay as they are, and the user is told that they will be
// offered at the next start.
void RecoveryFlow::RecoverAtStart() {
    // Nothing is done in a folder that is not the user's alone.
    if (!keeper_.Start()) {
        TellRefused();
        return;
    }
    if (!keeper_.On()) return;
    keeper_.PurgeDiscarded();
    bool recovered = false;
    std::size_t waiting = 0;
    for (const LeftRecord& record : keeper_.LeftBehind()) {
        if (!record.tape) {
            const std::string moved = keeper_.MoveAside(record.name);
            keeper_.Let(record.name);
            ShowErrorMessage(desk_.Messages(),
                             (record.read == ReadOutcome::NotPrivate
                                  ? "A recovery record of the Quillbox was not read: it is a link, or not a file of "
                                    "yours alone"
                                  : "A recovery record of the Quillbox cannot be read") +
                                 std::string(kCrLf) + kCrLf +
                                 (moved.empty() ? "It stays at \"" + keeper_.Folder() + record.name + "\""
                                                : "It was moved to \"" + moved + "\""));
            continue;
        }
        if (recovered) {
            ++waiting;
            keeper_.Let(record.name);
            continue;
        }
        const RecoveredTape& tape = *record.tape;
        const std::size_t count = tape.lines.size();
        MessageRequest question;
        question.title = "the Quillbox";
        question.text = "The Quillbox ended on " + desk_.Clock().ShowDateTime(tape.time) + " without saving a tape of " +
                        std::to_string(count) + (count == 1 ? " line" : " lines") +
                        (tape.state.caption.empty() ? std::string()
                                                    : ", \"" + Windows1252ToUtf8(tape.state.caption) + "\"") +
                        ". Recover it?";
        question.icon = MessageIcon::Question;
        question.buttons = MessageButtons::YesNo;
        question.defaultAnswer = MessageAnswer::Yes;
        const MessageAnswer answer = desk_.Messages().ShowMessage(question);
        if (endUnasked_) {
            // The program ends: the question was never answered, and the record waits as it was.
            keeper_.Let(record.name);
            return;
        }
        if (answer != MessageAnswer::Yes) {
            // Not final either: the discarded records are kept for a week.
            keeper_.MoveAside(record.name);
            keeper_.Let(record.name);
            continue;
        }
        source_.Recover(tape);
        recovered = true;
        // The left record goes once this copy's own holds the tape.
        if (keeper_.Flush(true, source_.RecoveryStateNow(), Lines()) && keeper_.Sync()) keeper_.Remove(record.name);
        keeper_.Let(record.name);
        if (tape.damaged) {
            std::string values;
            for (const std::string& what : tape.unreadable) values += (values.empty() ? "" : ", ") + what;
            ShowErrorMessage(desk_.Messages(),
                             "The recovery record was damaged" + std::string(kCrLf) + kCrLf +
                                 "The tape was recovered as it was last kept whole, on " +
                                 desk_.Clock().ShowDateTime(tape.time) + ": " + std::to_string(count) +
                                 (count == 1 ? " line" : " lines") +
                                 (values.empty() ? std::string()
                                                 : std::string(kCrLf) + kCrLf + "These could not be read, and are as on a new tape: " + values));
        }
        if (!tape.state.writingInPlace.empty()) {
            const std::string& file = tape.state.writingInPlace;
            ShowErrorMessage(desk_.Messages(), "The tape file \"" + file.substr(file.find_last_of('/') + 1) +
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
        desk_.Messages().ShowMessage(message);
    }
}

}  // namespace qb
