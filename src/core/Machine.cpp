#include "Machine.h"

#include "platform/ErrorMessage.h"
#include "window/KeyboardMap.h"

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

}  // namespace

Machine::Machine(Ports ports)
    : ports_(ports),
      calculator_(tape_, options_, ports.messages, ports.sound),
      keyboard_(std::make_unique<KeyboardMap>(*this)) {}

Machine::~Machine() = default;

void Machine::Load() {
    startingUp_ = true;
    calculator_.cmdClear_Click(true);
    calculator_.CreateFormatString();
    tape_.SetDirty(false);
}

void Machine::FirstActivation() {
    startingUp_ = false;
    FinalFocusStep();
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
    if (hidesPanels) HideShortcutKeys();
    if (!CheckPausedTimer()) Execute(command);
    FinalFocusStep();
}

void Machine::Key(int keyCode, int shift, char character) { keyboard_->Key(keyCode, shift, character); }

void Machine::Execute(Command command) {
    if (!IsEnabled(command)) return;
    if (IsDigitCommand(command)) {
        calculator_.cmdKey_Click(DigitIndex(command));
        return;
    }
    if (IsPlacesCommand(command)) {
        calculator_.SetDecimalPlaces(PlacesIndex(command));
        return;
    }
    if (IsOptionCommand(command)) {
        ToggleOption(command);
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
    case Command::Exit: closeRequested_ = true; break;
    default: break;
    }
}

void Machine::ToggleOption(Command command) {
    switch (command) {
    case Command::AutoDecimal: options_.AutoDecimal = !options_.AutoDecimal; break;
    case Command::RoundBeforeOperation: options_.RoundBeforeOperation = !options_.RoundBeforeOperation; break;
    case Command::ClearOnEqual: options_.ClearOnEqual = !options_.ClearOnEqual; break;
    case Command::ClearEntryBox: options_.ClearEntryBox = !options_.ClearEntryBox; break;
    case Command::CommaSeparator:
        options_.CommaSeparator = !options_.CommaSeparator;
        calculator_.CreateFormatString();
        break;
    default: break;
    }
}

void Machine::MenuOpened(const std::string&) { HideShortcutKeys(); }

void Machine::TapeClicked(std::int64_t index) {
    if (index >= 0 && index < tape_.Count()) tape_.SetListIndex(index);
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

void Machine::FocusLeft(Control control) {
    if (control == Control::Caption) captionFocus_ = false;
}

void Machine::NavigateTape(int, int) {}

void Machine::PauseOrResumeTimedEvent() {}

void Machine::CloseTimedEvent() {}

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
    case Command::Open:
    case Command::Save:
    case Command::SaveAs:
    case Command::Collapse:
    case Command::Stopwatch:
    case Command::TimedEvent:
    case Command::NewCaption:
    case Command::ClearCaption:
    case Command::Paste:
    case Command::Copy:
    case Command::NewTape:
    case Command::Print:
    case Command::ClearMemory:
    case Command::RecallMemory:
    case Command::MemoryAdd:
    case Command::MemorySubtract:
    case Command::MemoryDivide:
    case Command::MemoryMultiply:
    case Command::PromptPrintCaption:
    case Command::PromptFileCaption:
    case Command::DisplayValueCopied:
    case Command::MachineSounds:
    case Command::UserGuide:
    case Command::ShortcutKeys:
    case Command::ShowTooltips:
    case Command::WelcomeMessage:
    case Command::About:
    case Command::None: return false;
    default: return true;
    }
}

bool Machine::IsChecked(Command command) const {
    switch (command) {
    case Command::AutoDecimal: return options_.AutoDecimal;
    case Command::RoundBeforeOperation: return options_.RoundBeforeOperation;
    case Command::ClearOnEqual: return options_.ClearOnEqual;
    case Command::ClearEntryBox: return options_.ClearEntryBox;
    case Command::CommaSeparator: return options_.CommaSeparator;
    default: return false;
    }
}

std::string Machine::MenuCaption(Command, const std::string& designed) const { return designed; }

}  // namespace qb
