#include "Machine.h"

#include <algorithm>
#include <cmath>

#include "engine/NumberRules.h"
#include "history/KeyRecord.h"
#include "platform/ErrorMessage.h"
#include "platform/NullPorts.h"
#include "settings/MemorySettings.h"
#include "window/KeyCodes.h"
#include "window/KeyboardMap.h"
#include "window/MenuModel.h"
#include "window/Zoom.h"

namespace qb {
namespace {

constexpr const char* kPausedMessage = "Press F12 to turn the timer back on";

char OperationOf(Command command) {
    switch (command) {
    case Command::Plus: return '+';
    case Command::Minus: return '-';
    case Command::Multiply: return 'x';
    case Command::Divide: return '/';
    case Command::Percent: return '%';
    default: return 0;
    }
}

bool IsOptionCommand(Command command) {
    return command >= Command::AutoDecimal && command <= Command::MachineSounds;
}

// The port given, or a stand-in of Fallback kept in own.
template <class Fallback, class Port>
Port& Choose(Port* given, std::unique_ptr<Port>& own) {
    if (given) return *given;
    own = std::make_unique<Fallback>();
    return *own;
}

// The setting key and the option field behind each option command.
struct OptionBinding {
    Command command;
    const char* key;
    bool Options::*field;
};

constexpr OptionBinding kOptionBindings[] = {
    {Command::AutoDecimal, key::AutoDecimal, &Options::AutoDecimal},
    {Command::RoundBeforeOperation, key::RoundBeforeOperation, &Options::RoundBeforeOperation},
    {Command::ClearOnEqual, key::ClearOnEqual, &Options::ClearOnEqual},
    {Command::ClearEntryBox, key::ClearEntryBox, &Options::ClearEntryBox},
    {Command::CommaSeparator, key::CommaSeparator, &Options::CommaSeparator},
    {Command::PromptPrintCaption, key::TapeCaption, &Options::TapeCaption},
    {Command::PromptFileCaption, key::FileCaption, &Options::FileCaption},
    {Command::DisplayValueCopied, key::ShowCopy, &Options::ShowCopy},
    {Command::MachineSounds, key::MachineSounds, &Options::MachineSounds},
    {Command::ShowTooltips, key::Tooltips, &Options::Tooltips},
};

const OptionBinding* BindingOf(Command command) {
    for (const auto& b : kOptionBindings)
        if (b.command == command) return &b;
    return nullptr;
}

}  // namespace

Machine::Machine(Ports ports)
    : messageGate_(ports.messages),
      ports_{messageGate_, ports.audio, ports.settings, ports.dialogs, ports.files, ports.clock, ports.clipboard, ports.pdf,
             ports.progress},
      settings_(Choose<MemorySettings>(ports.settings, ownSettings_)),
      dialogs_(Choose<NullDialogs>(ports.dialogs, ownDialogs_)),
      files_(Choose<NullFiles>(ports.files, ownFiles_)),
      clock_(Choose<NullClock>(ports.clock, ownClock_)),
      clipboard_(Choose<OwnClipboard>(ports.clipboard, ownClipboard_)),
      audio_(Choose<NullAudio>(ports.audio, ownAudio_)),
      sounds_(audio_, options_.MachineSounds),
      calculator_(tape_, options_, ports_.messages, soundGate_),
      selection_(tape_, ports_.messages),
      eventRules_(clock_),
      keyboard_(std::make_unique<KeyboardMap>(*this)),
      history_(std::make_unique<KeyRecord>()) {}

Machine::~Machine() = default;

void Machine::Load() {
    startingUp_ = true;
    printerAvailable_ = dialogs_.PrinterCount() > 0;
    calculator_.cmdClear_Click(true);
    LoadSettings();
    lastTapeFile_.clear();
    tapeFileName_.clear();
    calculator_.State().SpecialResult = false;
    tape_.SetDirty(false);
    useCaptionWithoutPrompt_ = false;
    TimedEventActive = false;
    windowCollapsed_ = false;
    captionFocus_ = false;
    collapsedTop_ = collapsedLeft_ = 0;
    sounds_.Reset();
    geometry_ = CenterForm(expandedWidth_, expandedHeight_);
    SetMainTitle();
    ResetHistory();
}

void Machine::LoadSettings() {
    firstRun_ = !SettingsStore::ParseTruth(settings_.Get(key::AutoDecimal)).has_value();
    options_.AutoDecimal = settings_.ReadTruth(key::AutoDecimal, false);

    if (auto places = SettingsStore::ParseDecimalPlaces(settings_.Get(key::DecimalPlaces))) {
        calculator_.SetDecimalPlaces(*places);
    } else {
        calculator_.SetDecimalPlaces(2);
        settings_.Save(key::DecimalPlaces, "2");
    }

    options_.TapeCaption = settings_.ReadTruth(key::TapeCaption, true);
    options_.FileCaption = settings_.ReadTruth(key::FileCaption, true);
    options_.ShowCopy = settings_.ReadTruth(key::ShowCopy, true);
    // Stored by another version or by hand, it gets the typed caption's cleaning.
    tapeCaption_ = CleanCaption(settings_.Get(key::LastCaption));
    std::string memory = settings_.Get(key::Memory);
    if (!memory.empty()) memory_.Restore(memory);
    options_.RoundBeforeOperation = settings_.ReadTruth(key::RoundBeforeOperation, true);
    options_.ClearOnEqual = settings_.ReadTruth(key::ClearOnEqual, false);
    options_.CommaSeparator = settings_.ReadTruth(key::CommaSeparator, true);
    calculator_.CreateFormatString();
    options_.Tooltips = settings_.ReadTruth(key::Tooltips, true);
    options_.MachineSounds = settings_.ReadTruth(key::MachineSounds, true);
    options_.ClearEntryBox = settings_.ReadTruth(key::ClearEntryBox, true);
    zoom_ = Zoom::Parse(settings_.Get(Zoom::kSettingKey));
    storedLastMode_ = settings_.Get(key::LastMode);
    storedLastLeft_ = settings_.Get(key::LastLeft);
    storedLastTop_ = settings_.Get(key::LastTop);
}

void Machine::FirstActivation() {
    if (!startingUp_) return;
    if (!printerAvailable_)
        ShowErrorMessage(ports_.messages, "There is no printer available!\r\n\r\nYou will not be able to print the tape");
    if (firstRun_) {
        DisplayWelcomeMsg();
        firstRun_ = false;
    } else if (!storedLastMode_.empty()) {
        if (SettingsStore::ParseTruth(storedLastMode_).value_or(false)) {
            CollapseForm();
            // A stored place off the screen (or no number at all) would lose the window.
            auto clamp = [](double stored, long screen, long size) {
                double highest = screen > size ? static_cast<double>(screen - size) : 0.0;
                return static_cast<long>(std::clamp(std::round(stored), 0.0, highest));
            };
            WindowMoved(clamp(ParseNumber(storedLastLeft_), screenWidth_, geometry_.width),
                        clamp(ParseNumber(storedLastTop_), screenHeight_, geometry_.height));
        }
        storedLastMode_.clear();
    }
    sounds_.Open(locations_.Resource("Quillbox.wav"));
    sounds_.RequestSound();
    startingUp_ = false;
    RecoverAtStart();
    FinalFocusStep();
}

void Machine::DisplayShortcutKeys() {
    if (panel1Visible_) {
        panel2Visible_ = true;
        panel1Visible_ = false;
    } else if (panel2Visible_) {
        panel1Visible_ = true;
        panel2Visible_ = false;
    } else {
        panel1Visible_ = true;
    }
    tapeVisible_ = false;
}

void Machine::HideShortcutKeys() {
    tapeVisible_ = true;
    panel1Visible_ = false;
    panel2Visible_ = false;
}

bool Machine::CheckPausedTimer() {
    if (TimedEventActive && TimedEventPaused) {
        ShowErrorMessage(ports_.messages, kPausedMessage);
        return true;
    }
    return false;
}

void Machine::FinalFocusStep() {
    if (!startingUp_) focusRequest_ = true;
}

bool Machine::TakeFocusRequest() {
    bool requested = focusRequest_;
    focusRequest_ = false;
    return requested;
}

void Machine::Run(Command command) {
    if (!IsEnabled(command)) return;
    // Most option toggles leave the shortcut-key panels alone.
    bool hidesPanels = !IsOptionCommand(command) || command == Command::AutoDecimal ||
                       command == Command::CommaSeparator;
    // The Help menu's shortcut-key panels and welcome message work while an event is paused.
    bool guarded = command != Command::WelcomeMessage && command != Command::ShortcutKeys;
    if (hidesPanels && command != Command::ShortcutKeys && command != Command::About) HideShortcutKeys();
    if (!guarded || !CheckPausedTimer()) Execute(command);
    FinalFocusStep();
    KeepRecoveryRecord();
}

void Machine::Key(int keyCode, int shift, char character) {
    keyboard_->Key(keyCode, shift, character);
    KeepRecoveryRecord();
}

void Machine::Execute(Command command) {
    if (!IsEnabled(command)) return;
    if (IsKeyedCommand(command)) {
        KeyStep step;
        step.command = command;
        if (command == Command::Paste) {
            StepInput input;
            input.pasted = clipboard_.GetText();
            step.input = std::make_shared<const StepInput>(std::move(input));
        }
        RecordStep(std::move(step));
        return;
    }
    if (IsPlacesCommand(command)) {
        SelectDecimalPlaces(PlacesIndex(command));
        return;
    }
    if (BindingOf(command)) {
        ToggleOption(command);
        return;
    }
    switch (command) {
    case Command::Exit: closeRequested_ = true; break;
    case Command::NewTape: NewTape(); break;
    case Command::Open: OpenCommand(); break;
    case Command::Save: SaveTape(); break;
    case Command::SaveAs: SaveTapeAs(); break;
    case Command::NewCaption: NewCaption(); break;
    case Command::ClearCaption: ClearCaption(); break;
    case Command::Print: PrintTape(); break;
    case Command::ExportPdf: ExportPdfCommand(); break;
    case Command::ExportCsv: ExportCsvCommand(); break;
    case Command::WelcomeMessage: DisplayWelcomeMsg(); break;
    case Command::Stopwatch: StopwatchCommand(); break;
    case Command::TimedEvent: TimedEventCommand(); break;
    case Command::Copy: CopyCommand(); break;
    case Command::ShortcutKeys: DisplayShortcutKeys(); break;
    case Command::UserGuide: userGuideRequested_ = true; break;
    case Command::About: aboutRequested_ = true; break;
    case Command::Collapse:
        if (windowCollapsed_)
            ExpandForm();
        else
            CollapseForm();
        break;
    case Command::CorrectLine: CorrectLineCommand(); break;
    case Command::Undo: UndoCommand(false); break;
    case Command::Redo: UndoCommand(true); break;
    case Command::ZoomIn: SetZoom(Zoom::Larger(zoom_)); break;
    case Command::ZoomOut: SetZoom(Zoom::Smaller(zoom_)); break;
    case Command::ActualSize: SetZoom(Zoom::kSmallest); break;
    default: break;
    }
}

void Machine::SetZoom(int percent) {
    zoom_ = percent;
    settings_.Save(Zoom::kSettingKey, std::to_string(percent));
}

// The commands that change the calculator, the memory or the tape, run live or replayed.
void Machine::ExecuteKeyed(Command command) {
    if (IsDigitCommand(command)) {
        calculator_.cmdKey_Click(DigitIndex(command));
        return;
    }
    if (char operation = OperationOf(command)) {
        calculator_.OperationKey(operation);
        return;
    }
    switch (command) {
    case Command::DecimalPoint: calculator_.cmdDecimal_Click(); break;
    case Command::PlusMinus: calculator_.cmdPlusMinus_Click(); break;
    case Command::ClearEntry: calculator_.cmdClearEntry_Click(); break;
    case Command::Equals: calculator_.cmdEquals_Click(); break;
    case Command::ClearSubtotal: calculator_.cmdClear_Click(startingUp_); break;
    case Command::Inverse: calculator_.cmdInverse_Click(); break;
    case Command::SquareRoot: calculator_.cmdSquareRoot_Click(); break;
    case Command::MemoryAdd: DoMemoryOperation(MemoryRegister::Operation::Add); break;
    case Command::MemorySubtract: DoMemoryOperation(MemoryRegister::Operation::Subtract); break;
    case Command::MemoryDivide: DoMemoryOperation(MemoryRegister::Operation::Divide); break;
    case Command::MemoryMultiply: DoMemoryOperation(MemoryRegister::Operation::Multiply); break;
    case Command::RecallMemory: RecallMemory(); break;
    case Command::ClearMemory: ClearMemory(); break;
    default: break;
    }
}

void Machine::ToggleOption(Command command) {
    const OptionBinding* binding = BindingOf(command);
    bool& value = options_.*(binding->field);
    value = !value;
    settings_.SaveTruth(binding->key, value);
    if (command == Command::CommaSeparator) calculator_.CreateFormatString();
}

void Machine::SelectDecimalPlaces(int places) {
    calculator_.SetDecimalPlaces(places);
    settings_.Save(key::DecimalPlaces, std::to_string(places));
}

void Machine::DoMemoryOperation(MemoryRegister::Operation operation) {
    if (memory_.Blocked()) {
        ShowErrorMessage(ports_.messages, "Unable to do memory calculations because the value in memory is too large");
        return;
    }
    std::string operand = selection_.LastTapeEntry(tape_.ListIndex() >= 0);
    if (operand.empty()) return;
    auto outcome = memory_.Combine(operation, ParseNumber(operand), calculator_.FormatBase());
    SaveMemory();
    if (outcome == MemoryRegister::Outcome::Overflow)
        ShowErrorMessage(ports_.messages, "The value in memory has exceeded memory's capacity");
}

void Machine::RecallMemory() {
    if (memory_.Blocked()) {
        ShowErrorMessage(ports_.messages, "The memory value is too large to recall");
        return;
    }
    // Without thousands separators: a comma would end the number the subtotal receives.
    RecallIntoEntry(memory_.RecallText());
}

void Machine::RecallIntoEntry(std::string text) {
    CalculatorState& state = calculator_.State();
    if (!text.empty()) {
        bool negative = text[0] == '-';
        if (negative) text.erase(0, 1);
        state.PendingOperation = negative ? '-' : '+';
        calculator_.SetOperatorIndicator(state.PendingOperation);
        state.EntryText = text;
        calculator_.ShowEntry();
    }
    state.JustPressedEquals = false;
    state.SpecialResult = false;
}

void Machine::ClearMemory() {
    memory_.Clear();
    SaveMemory();
}

void Machine::SaveMemory() {
    // A replay saves the memory once, at its end.
    if (!replaying_) settings_.Save(key::Memory, memory_.Text());
}

void Machine::MenuOpened(const std::string& menuName) {
    for (const Menu& menu : MainMenus())
        if (menu.name == menuName && menu.hidesShortcutKeys) HideShortcutKeys();
    if (menuName == "mnuFIFile") fileMenuOpened_ = true;
}

void Machine::TapeClicked(std::int64_t index) {
    if (index >= 0 && index < tape_.Count()) tape_.SetListIndex(index);
}

void Machine::TapeDoubleClicked(std::int64_t index) {
    TapeClicked(index);
    KeyStep step;
    step.kind = StepKind::RecallTape;
    RecordStep(std::move(step));
    KeepRecoveryRecord();
}

void Machine::FocusEntered(Control control) {
    if (startingUp_) return;
    switch (control) {
    case Control::Display:
    case Control::AltDisplay:
    case Control::Memory:
        ports_.messages.Beep();
        focusRequest_ = true;
        break;
    case Control::Tape: focusRequest_ = true; break;
    case Control::Caption: captionFocus_ = true; break;
    case Control::KeyStroke: break;
    }
}

void Machine::SoundStatusUpdate() {
    sounds_.StatusUpdate();
    if (!startingUp_) focusRequest_ = true;
}

void Machine::TapeScrolled(std::int64_t topIndex) {
    if (topIndex >= 0 && topIndex < std::max<std::int64_t>(1, tape_.Count())) tape_.SetTopIndex(topIndex);
}

bool Machine::IsCheckable(Command command) { return BindingOf(command) != nullptr; }

void Machine::FocusLeft(Control control) {
    if (control == Control::Caption) captionFocus_ = false;
}

void Machine::NavigateTape(int keyCode, int) {
    using Move = TapeSelection::Move;
    switch (keyCode) {
    case vk::Up: selection_.Navigate(Move::Up); break;
    case vk::Down: selection_.Navigate(Move::Down); break;
    case vk::Prior: selection_.Navigate(Move::PageUp); break;
    case vk::Next: selection_.Navigate(Move::PageDown); break;
    case vk::Home: selection_.Navigate(Move::First); break;
    case vk::End: selection_.Navigate(Move::Last); break;
    default: break;
    }
}


IndicatorColour Machine::DecimalIndicatorColour(int index) const {
    int places = calculator_.DecimalPlaces();
    if (index != places) return IndicatorColour::ButtonFace;
    return places > 0 && options_.AutoDecimal ? IndicatorColour::Red : IndicatorColour::LightCyan;
}

IndicatorColour Machine::ClearEntryBoxColour() const {
    return options_.ClearEntryBox ? IndicatorColour::ButtonFace : IndicatorColour::Red;
}

bool Machine::IsEnabled(Command command) const {
    switch (command) {
    case Command::Print: return printerAvailable_;
    case Command::Undo: return CanUndo();
    case Command::Redo: return CanRedo();
    case Command::ZoomIn: return zoom_ < Zoom::kLargest;
    case Command::ZoomOut: return zoom_ > Zoom::kSmallest;
    case Command::None: return false;
    default: return true;
    }
}

bool Machine::MenuItemEnabled(Command command) const {
    // The File menu offers Save only for a tape that has a file; the Save button always works.
    if (command == Command::Save) return !lastTapeFile_.empty();
    return IsEnabled(command);
}

bool Machine::IsChecked(Command command) const {
    if (const OptionBinding* binding = BindingOf(command)) return options_.*(binding->field);
    return false;
}

std::string Machine::MenuCaption(Command command, const std::string& designed) const {
    // The collapse item names what it will do, once the File menu has been opened.
    if (command == Command::Collapse && fileMenuOpened_) return windowCollapsed_ ? "Expand (F11)" : "Collapse (F11)";
    return designed;
}

}  // namespace qb
