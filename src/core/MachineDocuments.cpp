// The main window's tape-document commands: captions, New Tape, Open, Save, Save As, printing,
// the welcome message, and the close request.
#include "Machine.h"

#include <algorithm>
#include <new>

#include "documents/PrintLayout.h"
#include "engine/NumberRules.h"
#include "platform/ErrorMessage.h"

namespace qb {
namespace {

constexpr const char* kProduct = "the Quillbox";
constexpr const char* kCollapsedTitle = "tQB 1999";
constexpr std::size_t kCaptionLength = 75;
constexpr const char* kCrLf = "\r\n";

// A backslash is a character of a file name here, not a separator.
std::string AfterLastSeparator(const std::string& path) {
    auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

void Machine::SetMainTitle() {
    if (windowCollapsed_) return;
    title_ = tapeFileName_.empty() ? std::string(kProduct) : std::string(kProduct) + " (" + tapeFileName_ + ")";
    if (recoveredTape_) title_ += " (recovered)";
}


// Captions.

// One line of at most 75 characters: a line break would split the tape file's first line.
std::string Machine::CleanCaption(std::string caption) {
    caption.resize(std::min(caption.size(), kCaptionLength));
    std::replace(caption.begin(), caption.end(), '\r', ' ');
    std::replace(caption.begin(), caption.end(), '\n', ' ');
    return caption;
}

void Machine::ShowCaption() { settings_.Save(key::LastCaption, tapeCaption_); }

bool Machine::PromptForCaption() {
    bool tooltips = options_.Tooltips;
    std::optional<std::string> text = dialogs_.CaptionPrompt(tapeCaption_, tooltips);
    // Ctrl+T in the prompt switches the tooltips everywhere once it has closed.
    if (tooltips != options_.Tooltips) ToggleOption(Command::ShowTooltips);
    if (!text) return false;
    tapeCaption_ = CleanCaption(*text);
    ShowCaption();
    useCaptionWithoutPrompt_ = false;
    return true;
}

void Machine::NewCaption() {
    if (PromptForCaption()) useCaptionWithoutPrompt_ = true;
}

void Machine::ClearCaption() {
    tapeCaption_.clear();
    ShowCaption();
}

// Saving.

std::string Machine::SuggestedEventFileName() const {
    std::string name = EventName;
    if (!EventDate.empty()) {
        // m/d/yyyy becomes mm_dd_yyyy.
        std::string parts[3];
        int part = 0;
        for (char c : EventDate) {
            if (c == '/') {
                if (++part > 2) break;
            } else {
                parts[part] += c;
            }
        }
        for (int i = 0; i < 2; ++i)
            if (parts[i].size() < 2) parts[i].insert(0, 2 - parts[i].size(), '0');
        name += " " + parts[0] + "_" + parts[1] + "_" + parts[2];
    }
    if (!EventDescription.empty()) name += " " + EventDescription;
    return name;
}

FileDialogRequest Machine::PrepareFileDialog(bool save) const {
    FileDialogRequest request;
    request.save = save;
    request.title = kProduct;
    request.filter = "Tape Files (*.QBX)|*.QBX";
    // A tape named without a folder (an event's suggested name) goes where the user may write.
    request.initialName =
        lastTapeFile_.empty() ? locations_.SaveFolder() + "*.QBX" : locations_.InSaveFolder(lastTapeFile_);
    return request;
}

bool Machine::WriteTapeFile(const std::string& path, const std::string& caption) {
    TapeDocument document;
    static_cast<TapeValues&>(document) = TapeValuesNow();
    document.caption = caption;
    // A file rewritten in place is cut short by a crash half way: first the record holds the
    // tape being saved, on the disk, and names the file, whether or not the tape has changes.
    const bool inPlace = files_.WritesInPlace(path);
    if (inPlace) {
        writingInPlace_ = path;
        recovery_.Protect(RecoveryStateNow(), tape_.Lines());
    }
    dialogs_.SetBusy(true);
    bool written = false;
    try {
        TapeWriter writer(document, tape_.Lines());
        written = files_.WriteFrom(path, writer);
    } catch (const std::bad_alloc&) {
        // No room for the file's bytes: a failed save, the tape still on screen.
    }
    written = SettleWrittenFile(path, written && !inPlace) && written;
    writingInPlace_.clear();
    dialogs_.SetBusy(false);
    if (!written) {
        ShowErrorMessage(ports_.messages,
                         std::string("An error occurred while saving the tape file!") + kCrLf + kCrLf +
                             "Perhaps the disk is full");
        return false;
    }
    tape_.SetDirty(false);
    // The record goes only now that the new file is on the disk.
    recovery_.Discard();
    return true;
}

Machine::SaveOutcome Machine::SaveTape() {
    if (TimedEventActive) {
        const std::string file = lastTapeFile_, name = tapeFileName_;
        lastTapeFile_ = SuggestedEventFileName();
        const SaveOutcome outcome = SaveTapeAs();
        // The suggestion was only that: after a cancel the tape has no file; after a failure it
        // keeps the file it had.
        if (outcome == SaveOutcome::Cancelled) {
            lastTapeFile_.clear();
            tapeFileName_.clear();
        } else if (outcome == SaveOutcome::Failed) {
            lastTapeFile_ = file;
            tapeFileName_ = name;
        }
        SetMainTitle();
        return outcome;
    }
    if (!lastTapeFile_.empty())
        return WriteTapeFile(lastTapeFile_, tapeCaption_) ? SaveOutcome::Saved : SaveOutcome::Failed;
    return SaveTapeAs();
}

Machine::SaveOutcome Machine::SaveTapeAs() {
    std::string fileCaption;
    if (options_.FileCaption) {
        if (!PromptForCaption()) return SaveOutcome::Cancelled;
        fileCaption = tapeCaption_;
    } else if (useCaptionWithoutPrompt_) {
        fileCaption = tapeCaption_;
    }
    FileDialogRequest request = PrepareFileDialog(true);
    std::string path, name;
    for (;;) {
        std::optional<std::string> chosen = dialogs_.FileDialog(request);
        if (!chosen) return SaveOutcome::Cancelled;
        path = locations_.InSaveFolder(*chosen);
        name = AfterLastSeparator(path);
        auto dots = std::count(name.begin(), name.end(), '.');
        bool valid = false;
        if (!name.empty() && dots <= 1) {
            if (name.size() >= 4 && name.compare(name.size() - 4, 4, ".QBX") == 0) {
                valid = true;
            } else if (dots == 0) {
                name += ".QBX";
                path += ".QBX";
                valid = true;
            }
        }
        if (!valid) {
            ShowErrorMessage(ports_.messages, "The file name " + name + " is not valid for " + kProduct);
            return SaveOutcome::Failed;
        }
        // Asked here, of the name that will be written: the dialog saw the name as typed, which
        // may lack the extension.
        if (!files_.Exists(path) || AskReplace(name)) break;
        request.initialName = path;
    }
    if (!WriteTapeFile(path, fileCaption)) return SaveOutcome::Failed;
    tapeFileName_ = name;
    lastTapeFile_ = path;
    SetMainTitle();
    return SaveOutcome::Saved;
}

bool Machine::AskReplace(const std::string& name) {
    MessageRequest question;
    question.title = kProduct;
    question.text = name + " already exists." + kCrLf + "Do you want to replace it?";
    question.icon = MessageIcon::Exclamation;
    question.buttons = MessageButtons::YesNo;
    question.defaultAnswer = MessageAnswer::No;
    return ports_.messages.ShowMessage(question) == MessageAnswer::Yes;
}

bool Machine::AskSaveTape() {
    if (CheckPausedTimer()) return false;
    if (!tape_.Dirty()) return true;
    MessageRequest question;
    question.title = kProduct;
    question.text = "Save the tape?";
    question.icon = MessageIcon::Question;
    question.buttons = MessageButtons::YesNoCancel;
    question.defaultAnswer = MessageAnswer::Cancel;
    switch (ports_.messages.ShowMessage(question)) {
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

TapeReadResult Machine::ReadTapeFile(const std::string& path) {
    std::string bytes;
    TapeDocument document;
    ReadOutcome outcome = ReadOutcome::Failed;
    TapeReadResult result = TapeReadResult::NotATapeFile;
    try {
        outcome = files_.ReadAll(path, bytes, kTapeFileLimit);
        if (outcome == ReadOutcome::Read) {
            // A tape file's lines are some 20 bytes long: enough to tell how far the reading is.
            Progress progress(ports_.progress, "Opening the tape", static_cast<std::int64_t>(bytes.size() / 20));
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
        ShowErrorMessage(ports_.messages, std::string("The file is too large to be a tape of ") + kProduct);
        return TapeReadResult::NotATapeFile;
    }
    if (result == TapeReadResult::Cancelled) return result;  // the tape on screen stays as it was
    calculator_.ClearSubtotal(false);
    if (result == TapeReadResult::NotATapeFile) {
        ShowErrorMessage(ports_.messages, std::string("The file was not created by ") + kProduct);
        return result;
    }
    if (result == TapeReadResult::Corrupted) {
        ShowErrorMessage(ports_.messages, "The file is corrupted and unusable");
        calculator_.ClearSubtotal(true);
        return result;
    }
    tape_.Replace(std::move(document.lines));
    tape_.ScrollTape();
    TakeTapeValues(document);
    return result;
}

TapeValues Machine::TapeValuesNow() const {
    const CalculatorState& state = calculator_.State();
    TapeValues values;
    values.caption = tapeCaption_;
    values.subtotal = state.Subtotal;
    values.pendingOperation = state.PendingOperation;
    values.entryText = state.EntryText;
    values.justPressedEquals = state.JustPressedEquals;
    values.specialResult = state.SpecialResult;
    values.elapsedTime = stopwatch_.ElapsedTime;
    return values;
}

void Machine::TakeTapeValues(const TapeValues& values) {
    stopwatch_.ElapsedTime = values.elapsedTime;
    tapeCaption_ = values.caption;
    CalculatorState& state = calculator_.State();
    state.Subtotal = values.subtotal;
    state.PendingOperation = values.pendingOperation;
    state.EntryText = values.entryText;
    state.JustPressedEquals = values.justPressedEquals;
    state.SpecialResult = values.specialResult;
    calculator_.SetOperatorIndicator(state.PendingOperation);
    calculator_.ShowEntry();
}

void Machine::OpenTape() {
    std::optional<std::string> chosen = dialogs_.FileDialog(PrepareFileDialog(false));
    if (chosen) OpenTapeFile(*chosen);
}

void Machine::OpenTapeFile(const std::string& path) {
    if (ReadTapeFile(path) != TapeReadResult::Read) return;
    // The title names the file without its extension.
    std::string name = AfterLastSeparator(path);
    tapeFileName_ = name.size() >= 4 ? name.substr(0, name.size() - 4) : std::string();
    lastTapeFile_ = path;
    SetMainTitle();
    tape_.SetDirty(false);
}

void Machine::OpenCommand() {
    if (!AskSaveTape()) return;
    OpenTape();
    stopwatch_.ShowStoredTime(stopwatch_.ElapsedTime);
}

void Machine::NewTape() {
    if (!AskSaveTape()) return;
    tape_.Replace({});
    calculator_.cmdClear_Click(startingUp_);
    tape_.SetDirty(false);
    lastTapeFile_.clear();
    tapeFileName_.clear();
    tapeCaption_.clear();
    title_ = windowCollapsed_ ? kCollapsedTitle : kProduct;
    // The item goes; a run in progress brings it back with its next changed reading.
    stopwatch_.Hide();
    stopwatch_.ClearElapsedTime();
}

// Printing.

std::optional<std::string> Machine::CaptionToPrint() {
    if (options_.TapeCaption) {
        if (!PromptForCaption()) return std::nullopt;
        return tapeCaption_;
    }
    return useCaptionWithoutPrompt_ ? tapeCaption_ : std::string();
}

void Machine::PrintTape() {
    std::string heading;
    if (TimedEventActive) {
        heading = TimedEventHeading(EventName, EventDate, EventDescription, stopwatch_.ElapsedTime);
        CloseTimedEvent(true);
    }
    const std::optional<std::string> caption = CaptionToPrint();
    if (!caption) return;
    std::optional<int> copies = dialogs_.PrinterDialog(kProduct);
    if (!copies) return;
    Progress progress(ports_.progress, "Printing the tape", static_cast<std::int64_t>(*copies) * tape_.Count());
    PrintTapeCopies(dialogs_.Printer(), *copies, heading, *caption, tape_.Lines(), &progress);
}

// Welcome and closing.

void Machine::DisplayWelcomeMsg() {
    MessageRequest message;
    message.title = kProduct;
    message.icon = MessageIcon::Information;
    message.buttons = MessageButtons::OkCancel;
    std::string text = std::string("Welcome to the Quillbox! Thanks for giving ") + "this innovative program a try!" +
                       kCrLf + kCrLf + "> Press F1 to display the User Guide" + kCrLf +
                       "> Press F11 to collapse the Quillbox to " + "its smallest size" + kCrLf +
                       "> The About window lists the tech assist email " + "address" + kCrLf;
    if (firstRun_)
        text += std::string(kCrLf) + "This message will be displayed automatically this once only. " +
                "To redisplay this message, click on Welcome Message on the Help menu." + kCrLf;
    text += std::string(kCrLf) + "Enjoy! ... Ambrose Tolle";
    message.text = text;
    ports_.messages.ShowMessage(message);
}

bool Machine::QueryClose() {
    closeRequested_ = false;
    tapeDropped_ = false;
    bool closing = false;
    if (endUnasked_) {
        closing = true;
    } else if (!TimedEventActive) {
        closing = AskSaveTape();
    } else if (!CheckPausedTimer()) {
        // A save that failed keeps the window, the tape and the event: the tape would be lost.
        // A cancelled Save As lets the close go on.
        closing = CloseTimedEvent();
    }
    // Ended while the question was open: the answer it gave counts for nothing.
    if (endUnasked_) closing = true, tapeDropped_ = false;
    // The record goes only when the user kept the tape (saved, unchanged) or dropped it (No). A
    // close that goes on without either keeps it, up to date and synced, for the next start.
    if (closing && (tapeDropped_ || !tape_.Dirty())) {
        recovery_.Discard();
    } else {
        KeepRecoveryRecord();
        if (closing) SyncRecoveryRecord();
    }
    return closing;
}

void Machine::Unload(long left, long top) {
    recovery_.End();
    settings_.Save(key::LastMode, SettingsStore::TruthText(windowCollapsed_));
    settings_.Save(key::LastLeft, std::to_string(left));
    settings_.Save(key::LastTop, std::to_string(top));
    sounds_.Close();
}

}  // namespace qb
