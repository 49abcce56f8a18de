#include "documents/Documents.h"

#include <algorithm>
#include <new>

#include "desk/Desk.h"
#include "documents/HandOver.h"
#include "documents/PrintLayout.h"
#include "engine/NumberRules.h"
#include "engine/TapeRecompute.h"
#include "guide/CodePageDecoder.h"
#include "platform/ErrorMessage.h"
#include "timers/Timers.h"

namespace qb {
namespace {

constexpr std::size_t kCaptionLength = 75;
constexpr const char* kCrLf = "\r\n";

// A name with something before the tape files' extension (".QBX" alone would be a hidden file
// without a name).
bool HasTapeExtension(const std::string& name) { return name.size() > 4 && name.compare(name.size() - 4, 4, ".QBX") == 0; }

}  // namespace

void Documents::Reset() {
    lastTapeFile_.clear();
    tapeFileName_.clear();
    fileStamp_.clear();
    useCaptionWithoutPrompt_ = false;
}

// Stored by another version or by hand, the caption gets the typed caption's cleaning.
void Documents::LoadCaption() { caption_ = CleanCaption(desk_.Settings().Get(key::LastCaption)); }

std::string Documents::Title() const {
    std::string title = kProduct;
    if (!tapeFileName_.empty()) title += " (" + tapeFileName_ + ")";
    if (recovered_) title += " (recovered)";
    return title;
}

void Documents::SettleRecovered() {
    if (recovered_ && !desk_.GetTape().Dirty()) recovered_ = false;
}

// Captions.

// One line of at most 75 characters: a line break would split the tape file's first line.
std::string Documents::CleanCaption(std::string caption) {
    caption.resize(std::min(caption.size(), kCaptionLength));
    std::replace(caption.begin(), caption.end(), '\r', ' ');
    std::replace(caption.begin(), caption.end(), '\n', ' ');
    return caption;
}

void Documents::ShowCaption() { desk_.Settings().Save(key::LastCaption, caption_); }

bool Documents::PromptForCaption() {
    const std::string shown = Windows1252ToUtf8(caption_);
    std::string typed = shown;
    for (;;) {
        bool tooltips = desk_.GetOptions().Tooltips;
        std::optional<std::string> text = desk_.Dialogs().CaptionPrompt(typed, tooltips);
        // Ctrl+T in the prompt switches the tooltips everywhere once it has closed.
        desk_.FollowTooltips(tooltips);
        if (!text) return false;
        // OK on the caption as it stands keeps it, whatever a file put into it.
        if (*text == shown) break;
        // The caption goes into the tape's file, which holds the Windows-1252 characters alone:
        // another is refused by name and the prompt opens again with what was typed. A pasted
        // tab or line end is a space.
        std::string spaced = *text;
        std::replace_if(spaced.begin(), spaced.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
        const Windows1252Text caption = Utf8ToWindows1252(spaced);
        if (caption.refused.empty()) {
            caption_ = CleanCaption(caption.text);
            break;
        }
        ShowErrorMessage(desk_.Messages(), "The tape cannot hold the character \"" + caption.refused + "\" in a caption");
        typed = std::move(*text);
    }
    ShowCaption();
    useCaptionWithoutPrompt_ = false;
    return true;
}

void Documents::NewCaption() {
    if (PromptForCaption()) useCaptionWithoutPrompt_ = true;
}

void Documents::ClearCaption() {
    caption_.clear();
    ShowCaption();
}

// Saving.

FileDialogRequest Documents::PrepareFileDialog(bool save) const {
    FileDialogRequest request;
    request.save = save;
    request.title = kProduct;
    request.filter = "Tape Files (*.QBX)|*.QBX";
    // A tape named without a folder (an event's suggested name) goes where the user may write.
    request.initialName =
        lastTapeFile_.empty() ? desk_.Places().SaveFolder() + "*.QBX" : desk_.Places().InSaveFolder(lastTapeFile_);
    return request;
}

bool Documents::WriteTapeFile(const std::string& path, const std::string& caption) {
    TapeDocument document;
    static_cast<TapeValues&>(document) = TapeValuesNow();
    document.caption = caption;
    // A file rewritten in place is cut short by a crash half way: first the record holds the
    // tape being saved, on the disk, and names the file, whether or not the tape has changes.
    const bool inPlace = desk_.Files().WritesInPlace(path);
    if (inPlace) {
        writingInPlace_ = path;
        recovery_.Protect();
    }
    desk_.Dialogs().SetBusy(true);
    bool written = false;
    try {
        TapeWriter writer(document, desk_.GetTape().Lines());
        written = desk_.Files().WriteFrom(path, writer);
    } catch (const std::bad_alloc&) {
        // No room for the file's bytes: a failed save, the tape still on screen.
    }
    written = recovery_.SettleWrittenFile(path, written && !inPlace) && written;
    writingInPlace_.clear();
    desk_.Dialogs().SetBusy(false);
    if (!written) {
        ShowErrorMessage(desk_.Messages(),
                         std::string("An error occurred while saving the tape file!") + kCrLf + kCrLf +
                             "Perhaps the disk is full");
        return false;
    }
    desk_.GetTape().SetDirty(false);
    fileStamp_ = desk_.Files().StampOf(path);
    // The record goes only now that the new file is on the disk.
    recovery_.Discard();
    return true;
}

Documents::SaveOutcome Documents::SaveTape() {
    if (timers_.Event().active) {
        const std::string file = lastTapeFile_, name = tapeFileName_;
        lastTapeFile_ = timers_.SuggestedFileName();
        const SaveOutcome outcome = SaveTapeAs();
        // The suggestion was only that: after a cancel the tape has no file; after a failure it
        // keeps the file it had.
        if (outcome == SaveOutcome::Cancelled) {
            lastTapeFile_.clear();
            tapeFileName_.clear();
            fileStamp_.clear();
        } else if (outcome == SaveOutcome::Failed) {
            lastTapeFile_ = file;
            tapeFileName_ = name;
        }
        return outcome;
    }
    if (!lastTapeFile_.empty()) {
        if (!AskReplaceChanged()) return SaveOutcome::Cancelled;
        return WriteTapeFile(lastTapeFile_, caption_) ? SaveOutcome::Saved : SaveOutcome::Failed;
    }
    return SaveTapeAs();
}

// Another copy of the program (in another session) or another program may have written the
// tape's file since it was read or saved here: Save would replace that work unseen.
bool Documents::AskReplaceChanged() {
    if (fileStamp_.empty()) return true;
    const std::string now = desk_.Files().StampOf(lastTapeFile_);
    if (now.empty() || now == fileStamp_) return true;
    MessageRequest question;
    question.title = kProduct;
    question.text = NameOfFile(lastTapeFile_) +
                    (fileStamp_ == kUnknownVersion ? " may have been changed on the disk while this tape waited to be recovered."
                                                   : " has been changed on the disk since this tape was opened or saved.") +
                    kCrLf + "Do you want to replace it with this tape?";
    question.icon = MessageIcon::Exclamation;
    question.buttons = MessageButtons::YesNo;
    question.defaultAnswer = MessageAnswer::No;
    return desk_.Messages().ShowMessage(question) == MessageAnswer::Yes;
}

Documents::SaveOutcome Documents::SaveTapeAs() {
    std::string fileCaption;
    if (desk_.GetOptions().FileCaption) {
        if (!PromptForCaption()) return SaveOutcome::Cancelled;
        fileCaption = caption_;
    } else if (useCaptionWithoutPrompt_) {
        fileCaption = caption_;
    }
    FileDialogRequest request = PrepareFileDialog(true);
    std::string path, name;
    for (;;) {
        std::optional<std::string> chosen = desk_.Dialogs().FileDialog(request);
        if (!chosen) return SaveOutcome::Cancelled;
        path = desk_.Places().InSaveFolder(*chosen);
        name = NameOfFile(path);
        auto dots = std::count(name.begin(), name.end(), '.');
        bool valid = false;
        if (!name.empty() && dots <= 1) {
            if (HasTapeExtension(name)) {
                valid = true;
            } else if (dots == 0) {
                name += ".QBX";
                path += ".QBX";
                valid = true;
            }
        }
        if (!valid) {
            ShowErrorMessage(desk_.Messages(), "The file name " + name + " is not valid for " + kProduct);
            return SaveOutcome::Failed;
        }
        // Asked here, of the name that will be written: the dialog saw the name as typed, which
        // may lack the extension.
        if (!desk_.Files().Exists(path) || AskReplace(name)) break;
        request.initialName = path;
    }
    if (!WriteTapeFile(path, fileCaption)) return SaveOutcome::Failed;
    tapeFileName_ = name;
    lastTapeFile_ = path;
    return SaveOutcome::Saved;
}

bool Documents::AskReplace(const std::string& name) {
    MessageRequest question;
    question.title = kProduct;
    question.text = name + " already exists." + kCrLf + "Do you want to replace it?";
    question.icon = MessageIcon::Exclamation;
    question.buttons = MessageButtons::YesNo;
    question.defaultAnswer = MessageAnswer::No;
    return desk_.Messages().ShowMessage(question) == MessageAnswer::Yes;
}

bool Documents::AskSaveTape() {
    if (timers_.CheckPaused()) return false;
    if (!desk_.GetTape().Dirty()) return true;
    MessageRequest question;
    question.title = kProduct;
    question.text = "Save the tape?";
    question.icon = MessageIcon::Question;
    question.buttons = MessageButtons::YesNoCancel;
    question.defaultAnswer = MessageAnswer::Cancel;
    switch (desk_.Messages().ShowMessage(question)) {
    case MessageAnswer::Yes:
        // Unsaved work is never thrown away after a save that did not happen.
        return SaveTape() == SaveOutcome::Saved;
    case MessageAnswer::No:
        tapeDropped_ = true;
        return true;
    default: return false;
    }
}

// Opening and new tapes.

TapeReadResult Documents::ReadTapeFile(const std::string& path) {
    std::string bytes;
    TapeDocument document;
    ReadOutcome outcome = ReadOutcome::Failed;
    TapeReadResult result = TapeReadResult::NotATapeFile;
    try {
        outcome = desk_.Files().ReadAll(path, bytes, kTapeFileLimit);
        if (outcome == ReadOutcome::Read) {
            // A tape file's lines are some 20 bytes long: enough to tell how far the reading is.
            Progress progress(desk_.ProgressReports(), "Opening the tape", static_cast<std::int64_t>(bytes.size() / 20));
            result = ReadTapeBytes(std::move(bytes), document, &progress);
        }
    } catch (const std::bad_alloc&) {
        // No room for the file or its lines: as a file that cannot be read.
        outcome = ReadOutcome::Failed;
        result = TapeReadResult::NotATapeFile;
    }
    bytes = std::string();
    if (outcome == ReadOutcome::TooLarge) {
        // Refused before anything changes: the tape on screen stays as it was.
        ShowErrorMessage(desk_.Messages(), std::string("The file is too large to be a tape of ") + kProduct);
        return TapeReadResult::NotATapeFile;
    }
    if (result == TapeReadResult::Cancelled) return result;  // the tape on screen stays as it was
    desk_.GetCalculator().ClearSubtotal(false);
    if (result == TapeReadResult::NotATapeFile) {
        ShowErrorMessage(desk_.Messages(), std::string("The file was not created by ") + kProduct);
        return result;
    }
    if (result == TapeReadResult::Corrupted) {
        ShowErrorMessage(desk_.Messages(), "The file is corrupted and unusable");
        desk_.GetCalculator().ClearSubtotal(true);
        return result;
    }
    desk_.GetTape().Replace(std::move(document.lines));
    desk_.GetTape().ScrollTape();
    TakeTapeValues(document);
    return result;
}

TapeValues Documents::TapeValuesNow() const {
    const CalculatorState& state = desk_.GetCalculator().State();
    TapeValues values;
    values.caption = caption_;
    values.subtotal = state.Subtotal;
    values.pendingOperation = state.PendingOperation;
    values.entryText = state.EntryText;
    values.justPressedEquals = state.JustPressedEquals;
    values.specialResult = state.SpecialResult;
    values.elapsedTime = timers_.TapeReading();
    return values;
}

void Documents::TakeTapeValues(const TapeValues& values) {
    timers_.SetTapeReading(values.elapsedTime);
    caption_ = values.caption;
    CalculatorState& state = desk_.GetCalculator().State();
    state.Subtotal = values.subtotal;
    state.PendingOperation = values.pendingOperation;
    state.EntryText = values.entryText;
    state.JustPressedEquals = values.justPressedEquals;
    state.SpecialResult = values.specialResult;
    // The file keeps no count and no cost, sell price or margin given: its lines tell them.
    const OpenSection section = ReadOpenSection(desk_.GetTape().Lines());
    state.ItemCount = section.items;
    state.CsmCost = section.cost;
    state.CsmSell = section.sell;
    state.CsmMargin = section.margin;
    desk_.GetCalculator().SetOperatorIndicator(state.PendingOperation);
    desk_.GetCalculator().ShowEntry();
}

void Documents::OpenTapeFile(const std::string& path) {
    // Told before the read: a write meanwhile makes the version differ, not go unseen.
    const std::string stamp = desk_.Files().StampOf(path);
    if (ReadTapeFile(path) != TapeReadResult::Read) return;
    fileStamp_ = stamp;
    // The title names the file without its extension.
    std::string name = NameOfFile(path);
    tapeFileName_ = name.size() >= 4 ? name.substr(0, name.size() - 4) : std::string();
    lastTapeFile_ = path;
    desk_.GetTape().SetDirty(false);
}

void Documents::OpenCommand() {
    if (!AskSaveTape()) return;
    std::optional<std::string> chosen = desk_.Dialogs().FileDialog(PrepareFileDialog(false));
    if (chosen) OpenTapeFile(*chosen);
    timers_.ShowTapeReading();
}

void Documents::NewTape() {
    if (!AskSaveTape()) return;
    desk_.GetTape().Replace({});
    desk_.GetCalculator().cmdClear_Click(desk_.StartingUp());
    desk_.GetTape().SetDirty(false);
    lastTapeFile_.clear();
    tapeFileName_.clear();
    fileStamp_.clear();
    caption_.clear();
    // The item goes; a run in progress brings it back with its next changed reading.
    timers_.ForgetTapeReading();
}

// Printing.

std::optional<std::string> Documents::CaptionToPrint() {
    if (desk_.GetOptions().TapeCaption) {
        if (!PromptForCaption()) return std::nullopt;
        return caption_;
    }
    return useCaptionWithoutPrompt_ ? caption_ : std::string();
}

void Documents::PrintTape() {
    std::string heading;
    if (timers_.Event().active) {
        heading = EventHeading();
        timers_.CloseEvent(nullptr);
    }
    const std::optional<std::string> caption = CaptionToPrint();
    if (!caption) return;
    std::optional<int> copies = desk_.Dialogs().PrinterDialog(kProduct);
    if (!copies) return;
    Progress progress(desk_.ProgressReports(), "Printing the tape", static_cast<std::int64_t>(*copies) * desk_.GetTape().Count());
    desk_.Dialogs().Printer().SetDocumentName(DocumentTitle());
    PrintTapeCopies(desk_.Dialogs().Printer(), *copies, heading, *caption, desk_.GetTape().Lines(), &progress);
}

std::string Documents::DocumentTitle() const {
    // The caption is kept in the tape's code page, the file's name as the file system gives it.
    if (!caption_.empty()) return Windows1252ToUtf8(caption_);
    // The title bar names a file saved as with its extension (Save As gives it ".QBX"), one
    // opened without: the document goes by one name.
    const std::string& name = tapeFileName_;
    if (HasTapeExtension(name)) return name.substr(0, name.size() - 4);
    return name.empty() ? std::string(kProduct) : name;
}

std::string Documents::EventHeading() const {
    if (!timers_.Event().active) return {};
    const TimedEventState& event = timers_.Event();
    return TimedEventHeading(event.name, event.date, event.description, timers_.TapeReading());
}

// A tape file from outside the program.

std::string Documents::OpenProblem(const std::string& path) {
    // The file port names files in UTF-8: another name would reach some other file, or none.
    if (!IsUtf8(path))
        return "The file name " + ShownName(path) + " is not valid for the Quillbox!\r\n\r\n" +
               "Rename the file, its name is not UTF-8 text";
    switch (desk_.Files().KindOf(path)) {
    case PathKind::File: return {};
    case PathKind::Missing: return "There is no file " + path;
    case PathKind::Folder: return path + " is a folder, not a tape file";
    case PathKind::Other: break;
    }
    return path + " is a pipe or a device, not a tape file";
}

void Documents::OpenFromOutside(const std::string& path) {
    const std::string problem = OpenProblem(path);
    if (!problem.empty()) {
        ShowErrorMessage(desk_.Messages(), problem);
    } else if (AskSaveTape()) {
        OpenTapeFile(path);
        timers_.ShowTapeReading();
    }
}

// The recovery record.

RecoveryState Documents::RecoveryStateNow() const {
    RecoveryState now;
    static_cast<TapeValues&>(now) = TapeValuesNow();
    now.lastTapeFile = lastTapeFile_;
    now.tapeFileName = tapeFileName_;
    now.writingInPlace = writingInPlace_;
    return now;
}

void Documents::Recover(const RecoveredTape& tape) {
    Tape& lines = desk_.GetTape();
    lines.Replace(tape.lines);
    lines.ScrollTape();
    const RecoveryState& state = tape.state;
    TakeTapeValues(state);
    timers_.ShowTapeReading();
    lastTapeFile_ = state.lastTapeFile;
    tapeFileName_ = state.tapeFileName;
    // What the file held then is not known: another copy may have saved it since.
    fileStamp_ = kUnknownVersion;
    // Back as it was when the copy ended: changed, and not saved.
    lines.SetDirty(true);
    recovered_ = true;
}

}  // namespace qb
