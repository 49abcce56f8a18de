#include "Machine.h"

#include "KeyboardMap.h"
#include "platform/ErrorMessage.h"
#include "window/Zoom.h"

namespace qb {
namespace {

constexpr const char* kCollapsedTitle = "tQB 1999";

// Most option toggles leave the shortcut-key panels alone.
bool HidesPanels(Command command) {
    const bool option = command >= Command::AutoDecimal && command <= Command::MachineSounds;
    return (!option || command == Command::AutoDecimal || command == Command::CommaSeparator) &&
           command != Command::ShortcutKeys && command != Command::About;
}

}  // namespace

Machine::Machine(Ports ports)
    : desk_(ports),
      layout_(desk_.Settings(), desk_.Messages()),
      timers_(desk_),
      history_(desk_),
      correction_(desk_, history_),
      documents_(desk_, timers_, recovery_),
      recovery_(desk_, documents_),
      exporter_(desk_, documents_, history_, recovery_),
      keyboard_(std::make_unique<KeyboardMap>(*this)) {}

Machine::~Machine() = default;

void Machine::Load() {
    desk_.SetStartingUp(true);
    desk_.CheckPrinter();
    desk_.GetCalculator().cmdClear_Click(true);
    desk_.LoadSettings();
    documents_.LoadCaption();
    layout_.LoadSettings();
    documents_.Reset();
    desk_.GetCalculator().State().SpecialResult = false;
    desk_.GetTape().SetDirty(false);
    timers_.Event().active = false;
    layout_.Reset();
    desk_.Sounds().Reset();
    history_.Reset();
}

void Machine::FirstActivation() {
    if (!desk_.StartingUp()) return;
    if (!desk_.PrinterAvailable())
        ShowErrorMessage(desk_.Messages(), "There is no printer available!\r\n\r\nYou will not be able to print the tape");
    if (desk_.FirstRun()) {
        DisplayWelcomeMsg();
        desk_.EndFirstRun();
    } else {
        layout_.RestoreLastMode();
    }
    // After the welcome: a first run greets before it warns.
    desk_.Settings().TellLoss(desk_.Messages());
    desk_.Sounds().Open(desk_.Places().Resource("Quillbox.wav"));
    desk_.Sounds().RequestSound();
    desk_.SetStartingUp(false);
    recovery_.RecoverAtStart();
    FinalFocusStep();
}

void Machine::FinalFocusStep() {
    if (!desk_.StartingUp()) layout_.RequestFocus();
}

void Machine::KeepRecoveryRecord() {
    // After every event the re-key check looks at the lines keyed, and ends at the first keying's end.
    if (rekey_.Active() && rekey_.Follow(desk_.GetTape())) rekey_.End(desk_.GetTape(), desk_.Messages());
    desk_.GetOptions().GrandTotalPaused = rekey_.Active();
    documents_.SettleRecovered();
    recovery_.Keep();
}

void Machine::Run(Command command) {
    if (!IsEnabled(command)) return;
    // The Help menu's shortcut-key panels and welcome message work while an event is paused.
    const bool guarded = command != Command::WelcomeMessage && command != Command::ShortcutKeys;
    if (HidesPanels(command)) layout_.HideShortcutKeys();
    if (!guarded || !timers_.CheckPaused()) Execute(command);
    desk_.Settings().TellLoss(desk_.Messages());
    FinalFocusStep();
    KeepRecoveryRecord();
}

void Machine::Key(int keyCode, int shift, char character) {
    keyboard_->Key(keyCode, shift, character);
    KeepRecoveryRecord();
    desk_.Settings().TellLoss(desk_.Messages());
}

void Machine::Execute(Command command) {
    if (!IsEnabled(command)) return;
    if (command == Command::Note) {
        lineEdits_.NoteCommand();
        return;
    }
    if (History::IsKeyedCommand(command)) {
        KeyStep step;
        step.command = command;
        if (command == Command::Paste) {
            StepInput input;
            input.pasted = desk_.Clipboard().GetText();
            step.input = std::make_shared<const StepInput>(std::move(input));
        }
        if (IsTaxCommand(command)) {
            // The rate goes with the step, so a replay taxes at the rate the key used.
            const bool second = command == Command::TaxPlusSecond || command == Command::TaxMinusSecond;
            if (desk_.GetCalculator().RefuseTaxOverOpenSum(command == Command::TaxMinus || command == Command::TaxMinusSecond))
                return;
            StepInput input;
            input.rate = taxRates_.RateForKey(second);
            if (!input.rate) return;
            step.input = std::make_shared<const StepInput>(std::move(input));
        }
        history_.Record(std::move(step));
        return;
    }
    if (IsPlacesCommand(command)) {
        desk_.SelectDecimalPlaces(PlacesIndex(command));
        return;
    }
    if (Desk::IsCheckable(command)) {
        desk_.ToggleOption(command);
        return;
    }
    switch (command) {
    case Command::Exit: layout_.RequestClose(true); break;
    case Command::NewTape: documents_.NewTape(); break;
    case Command::Open: documents_.OpenCommand(); break;
    case Command::Save: documents_.SaveTape(); break;
    case Command::SaveAs: documents_.SaveTapeAs(); break;
    case Command::NewCaption: documents_.NewCaption(); break;
    case Command::ClearCaption: documents_.ClearCaption(); break;
    case Command::Print: documents_.PrintTape(); break;
    case Command::ExportPdf: exporter_.ExportPdf(); break;
    case Command::ExportCsv: exporter_.ExportCsv(); break;
    case Command::WelcomeMessage: DisplayWelcomeMsg(); break;
    case Command::Stopwatch: timers_.StopwatchCommand(); break;
    case Command::TimedEvent: TimedEventCommand(); break;
    case Command::Copy: desk_.CopyCommand(); break;
    case Command::ShortcutKeys: layout_.DisplayShortcutKeys(); break;
    case Command::UserGuide: layout_.RequestUserGuide(); break;
    case Command::About: layout_.RequestAbout(); break;
    case Command::Collapse: ToggleCollapse(); break;
    case Command::CorrectLine: correction_.CorrectSelectedLine(); break;
    case Command::DeleteLine: lineEdits_.DeleteLine(desk_.GetTape().ListIndex()); break;
    case Command::InsertLine: lineEdits_.InsertLineCommand(); break;
    case Command::RekeyCheck: RekeyCommand(); break;
    case Command::Find: finder_.FindCommand(); break;
    case Command::TaxRates: taxRates_.Ask(); break;
    case Command::FindNext: finder_.FindAgain(true); break;
    case Command::FindPrevious: finder_.FindAgain(false); break;
    case Command::Undo: history_.Undo(false); break;
    case Command::Redo: history_.Undo(true); break;
    case Command::ZoomIn: layout_.ZoomIn(); break;
    case Command::ZoomOut: layout_.SetZoom(Zoom::Smaller(layout_.ZoomPercent())); break;
    case Command::ActualSize: layout_.SetZoom(Zoom::kSmallest); break;
    default: break;
    }
}

void Machine::ToggleCollapse() {
    if (layout_.Collapsed())
        layout_.ExpandForm();
    else
        layout_.CollapseForm();
    FinalFocusStep();
}

// The event starts only after "Save the tape?"; it ends with a save of its tape.
void Machine::TimedEventCommand() {
    if (timers_.Event().active) {
        CloseTimedEvent();
    } else if (timers_.MayStartEvent() && documents_.AskSaveTape()) {
        timers_.StartEvent();
    }
}

bool Machine::CloseTimedEvent(bool skipSave) {
    if (skipSave) return timers_.CloseEvent(nullptr);
    return timers_.CloseEvent([this] { return documents_.SaveTape() != Documents::SaveOutcome::Failed; });
}

void Machine::Backspace() {
    KeyStep step;
    step.kind = StepKind::Backspace;
    history_.Record(std::move(step));
}

void Machine::NavigateTape(int keyCode, int) { desk_.NavigateTape(keyCode); }

void Machine::MenuOpened(const std::string& menuName) { layout_.MenuOpened(menuName); }

void Machine::TapeClicked(std::int64_t index) {
    Tape& tape = desk_.GetTape();
    if (index >= 0 && index < tape.Count()) tape.SetListIndex(index);
}

void Machine::TapeDoubleClicked(std::int64_t index) {
    TapeClicked(index);
    KeyStep step;
    step.kind = StepKind::RecallTape;
    history_.Record(std::move(step));
    KeepRecoveryRecord();
}

void Machine::TapeScrolled(std::int64_t topIndex) {
    Tape& tape = desk_.GetTape();
    if (topIndex >= 0 && topIndex < std::max<std::int64_t>(1, tape.Count())) tape.SetTopIndex(topIndex);
}

void Machine::FocusEntered(Control control) {
    if (!desk_.StartingUp()) layout_.FocusEntered(control);
}

void Machine::StopwatchTick() {
    timers_.Tick();
    KeepRecoveryRecord();
}

void Machine::SoundStatusUpdate() {
    desk_.Sounds().StatusUpdate();
    FinalFocusStep();
}

void Machine::OpenFileCommand(const std::string& path) {
    layout_.HideShortcutKeys();
    if (!timers_.CheckPaused()) documents_.OpenFromOutside(path);
    FinalFocusStep();
    KeepRecoveryRecord();
}

void Machine::EndAbout() {
    layout_.EndAbout();
    FinalFocusStep();
}

// Ctrl+T in the User Guide turns the one switch as it stands now, and is refused like any
// command while a timed event is paused.
std::optional<bool> Machine::ToggleTooltipsInUserGuide() {
    if (timers_.CheckPaused()) return std::nullopt;
    desk_.ToggleOption(Command::ShowTooltips);
    return desk_.GetOptions().Tooltips;
}

bool Machine::CorrectLine(std::int64_t index, const std::string& number, char operation) {
    return correction_.CorrectLine(index, number, operation);
}

void Machine::RecoveryTick() { recovery_.Tick(); }

void Machine::EndUnasked() {
    documents_.SettleRecovered();
    recovery_.EndUnasked();
}

void Machine::KeepForSessionEnd() {
    documents_.SettleRecovered();
    recovery_.Sync();
}

std::string Machine::Title() const {
    return layout_.Collapsed() ? kCollapsedTitle : documents_.Title() + rekey_.TitleText();
}

// The tape as it stands becomes the first keying; a fresh tape (after "Save the tape?") the second.
void Machine::RekeyCommand() {
    Tape& tape = desk_.GetTape();
    if (rekey_.Active()) {
        rekey_.End(tape, desk_.Messages());
        return;
    }
    if (tape.Count() < 2) {
        ShowErrorMessage(desk_.Messages(), "Key the tape first: the check compares a second keying with it");
        return;
    }
    TapeLines first = tape.Lines();
    const std::uint64_t replaced = tape.Replacements();
    documents_.NewTape();
    if (tape.Replacements() != replaced) rekey_.Begin(std::move(first));
}

bool Machine::IsEnabled(Command command) const {
    switch (command) {
    case Command::Print: return desk_.PrinterAvailable();
    case Command::Undo: return history_.CanUndo();
    case Command::Redo: return history_.CanRedo();
    case Command::GrandTotal: return desk_.GetOptions().GrandTotal;
    case Command::ZoomIn: return layout_.ZoomPercent() < Zoom::kLargest;
    case Command::ZoomOut: return layout_.ZoomPercent() > Zoom::kSmallest;
    case Command::None: return false;
    default: return true;
    }
}

bool Machine::MenuItemEnabled(Command command) const {
    // The File menu offers Save only for a tape that has a file; the Save button always works.
    if (command == Command::Save) return !documents_.LastTapeFile().empty();
    return IsEnabled(command);
}

std::string Machine::MenuCaption(Command command, const std::string& designed) const {
    return command == Command::Collapse ? layout_.MenuCaption(designed) : designed;
}

bool Machine::QueryClose() {
    layout_.RequestClose(false);
    documents_.TakeTapeDropped();
    bool closing = false;
    if (recovery_.EndingUnasked()) {
        closing = true;
    } else if (!timers_.Event().active) {
        closing = documents_.AskSaveTape();
    } else if (!timers_.CheckPaused()) {
        // A save that failed keeps the window, the tape and the event: the tape would be lost.
        // A cancelled Save As lets the close go on.
        closing = CloseTimedEvent();
    }
    bool dropped = documents_.TakeTapeDropped();
    // Ended while the question was open: the answer it gave counts for nothing.
    if (recovery_.EndingUnasked()) closing = true, dropped = false;
    // The record goes only when the user kept the tape (saved, unchanged) or dropped it (No). A
    // close that goes on without either keeps it, up to date and synced, for the next start.
    if (closing && (dropped || !desk_.GetTape().Dirty())) {
        recovery_.Discard();
    } else {
        KeepRecoveryRecord();
        if (closing) recovery_.Sync();
    }
    return closing;
}

void Machine::Unload(long left, long top) {
    recovery_.End();
    layout_.SaveLastMode(left, top);
    desk_.Sounds().Close();
}

void Machine::DisplayWelcomeMsg() {
    MessageRequest message;
    message.title = Documents::kProduct;
    message.icon = MessageIcon::Information;
    message.buttons = MessageButtons::OkCancel;
    std::string text = std::string("Welcome to the Quillbox! Thanks for giving ") + "this innovative program a try!" +
                       "\r\n\r\n> Press F1 to display the User Guide\r\n" +
                       "> Press F11 to collapse the Quillbox to " + "its smallest size\r\n" +
                       "> The About window lists the tech assist email " + "address\r\n";
    if (desk_.FirstRun())
        text += std::string("\r\n") + "This message will be displayed automatically this once only. " +
                "To redisplay this message, click on Welcome Message on the Help menu.\r\n";
    text += "\r\nEnjoy! ... Ambrose Tolle";
    message.text = text;
    desk_.Messages().ShowMessage(message);
}

}  // namespace qb
