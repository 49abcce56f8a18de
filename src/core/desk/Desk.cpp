#include "desk/Desk.h"

#include <cmath>

#include "engine/BusinessRules.h"
#include "engine/NoteLines.h"
#include "engine/NumberRules.h"
#include "guide/CodePageDecoder.h"
#include "memory/DecimalComma.h"
#include "platform/ErrorMessage.h"
#include "platform/NullPorts.h"
#include "settings/MemorySettings.h"
#include "window/KeyCodes.h"

namespace qb {
namespace {

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
    {Command::ItemCount, key::ItemCount, &Options::ItemCount},
    {Command::GrandTotalOption, key::GrandTotal, &Options::GrandTotal},
};

// The Rounding submenu's commands in the order of the modes.
Rounding RoundingOf(Command command) {
    return static_cast<Rounding>(static_cast<int>(command) - static_cast<int>(Command::RoundFiveFour));
}

const OptionBinding* BindingOf(Command command) {
    for (const auto& b : kOptionBindings)
        if (b.command == command) return &b;
    return nullptr;
}

}  // namespace

Desk::Desk(Ports ports)
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
      selection_(tape_, ports_.messages) {}

void Desk::LoadSettings() {
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
    std::string memory = settings_.Get(key::Memory);
    if (!memory.empty()) memory_.Restore(memory);
    options_.RoundBeforeOperation = settings_.ReadTruth(key::RoundBeforeOperation, true);
    options_.ClearOnEqual = settings_.ReadTruth(key::ClearOnEqual, false);
    options_.CommaSeparator = settings_.ReadTruth(key::CommaSeparator, true);
    calculator_.CreateFormatString();
    options_.Tooltips = settings_.ReadTruth(key::Tooltips, true);
    options_.MachineSounds = settings_.ReadTruth(key::MachineSounds, true);
    options_.ClearEntryBox = settings_.ReadTruth(key::ClearEntryBox, true);
    options_.RoundingMode = ParseRoundingSetting(settings_.Get(key::Rounding)).value_or(Rounding::FiveFour);
    // Written only once chosen, so a first start stores the same keys as ever.
    options_.ItemCount = SettingsStore::ParseTruth(settings_.Get(key::ItemCount)).value_or(false);
    options_.GrandTotal = SettingsStore::ParseTruth(settings_.Get(key::GrandTotal)).value_or(false);
    savedGrandTotal_ = settings_.Get(key::GrandTotalValue);
    const double grand = ParseNumber(savedGrandTotal_);
    calculator_.State().GrandTotal = std::isfinite(grand) ? grand : 0;
}

bool Desk::IsCheckable(Command command) { return BindingOf(command) != nullptr || IsRoundingCommand(command); }

bool Desk::IsChecked(Command command) const {
    if (IsRoundingCommand(command)) return options_.RoundingMode == RoundingOf(command);
    if (const OptionBinding* binding = BindingOf(command)) return options_.*(binding->field);
    return false;
}

void Desk::ToggleOption(Command command) {
    if (IsRoundingCommand(command)) {
        // One of three: choosing a mode again keeps it.
        options_.RoundingMode = RoundingOf(command);
        settings_.Save(key::Rounding, std::string(RoundingSetting(options_.RoundingMode)));
        return;
    }
    const OptionBinding* binding = BindingOf(command);
    bool& value = options_.*(binding->field);
    value = !value;
    settings_.SaveTruth(binding->key, value);
    if (command == Command::CommaSeparator) calculator_.CreateFormatString();
}

void Desk::FollowTooltips(bool tooltips) {
    if (tooltips != options_.Tooltips) ToggleOption(Command::ShowTooltips);
}

void Desk::SelectDecimalPlaces(int places) {
    calculator_.SetDecimalPlaces(places);
    settings_.Save(key::DecimalPlaces, std::to_string(places));
}

IndicatorColour Desk::DecimalIndicatorColour(int index) const {
    int places = calculator_.DecimalPlaces();
    if (index != places) return IndicatorColour::ButtonFace;
    return places > 0 && options_.AutoDecimal ? IndicatorColour::Red : IndicatorColour::LightCyan;
}

IndicatorColour Desk::ClearEntryBoxColour() const {
    return options_.ClearEntryBox ? IndicatorColour::ButtonFace : IndicatorColour::Red;
}

// The commands that change the calculator, the memory or the tape, run live or replayed.
void Desk::ExecuteKeyed(Command command) {
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
    case Command::Equals:
        calculator_.cmdEquals_Click();
        if (options_.GrandTotal) SaveMemory();
        break;
    case Command::ClearSubtotal: calculator_.cmdClear_Click(startingUp_); break;
    case Command::Inverse: calculator_.cmdInverse_Click(); break;
    case Command::SquareRoot: calculator_.cmdSquareRoot_Click(); break;
    case Command::AddPercent: calculator_.PercentAdjustKey(false); break;
    case Command::LessPercent: calculator_.PercentAdjustKey(true); break;
    case Command::MarkUp: calculator_.MarkUpKey(); break;
    case Command::Cost: calculator_.CostSellMarginKey(kCostMark); break;
    case Command::Sell: calculator_.CostSellMarginKey(kSellMark); break;
    case Command::Margin: calculator_.CostSellMarginKey(kMarginMark); break;
    case Command::Reference: calculator_.PrintReference(); break;
    case Command::GrandTotal:
        calculator_.GrandTotalKey();
        SaveMemory();
        break;
    case Command::MemoryAdd: DoMemoryOperation(MemoryRegister::Operation::Add); break;
    case Command::MemorySubtract: DoMemoryOperation(MemoryRegister::Operation::Subtract); break;
    case Command::MemoryDivide: DoMemoryOperation(MemoryRegister::Operation::Divide); break;
    case Command::MemoryMultiply: DoMemoryOperation(MemoryRegister::Operation::Multiply); break;
    case Command::RecallMemory: RecallMemory(); break;
    case Command::ClearMemory:
        memory_.Clear();
        SaveMemory();
        break;
    default: break;
    }
}

void Desk::DoMemoryOperation(MemoryRegister::Operation operation) {
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

void Desk::RecallMemory() {
    if (memory_.Blocked()) {
        ShowErrorMessage(ports_.messages, "The memory value is too large to recall");
        return;
    }
    // Without thousands separators: a comma would end the number the subtotal receives.
    RecallIntoEntry(memory_.RecallText());
}

void Desk::RecallIntoEntry(std::string text) {
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

void Desk::SaveMemory() {
    if (memorySavesHeld_) return;
    settings_.Save(key::Memory, memory_.Text());
    // The grand total is kept as the memory is, once there has been one.
    const double grand = calculator_.State().GrandTotal;
    const std::string text = NumberToPlainText(grand);
    if (text == savedGrandTotal_ || (savedGrandTotal_.empty() && grand == 0)) return;
    settings_.Save(key::GrandTotalValue, text);
    savedGrandTotal_ = text;
}

void Desk::PasteText(const std::optional<std::string>& text) {
    constexpr const char* kNothing = "There is no value on the Clipboard to paste";
    if (!text) {
        ShowErrorMessage(ports_.messages, kNothing);
        return;
    }
    std::string cleaned = NoSpecialChar(DecimalComma() ? CommaDecimalToPoint(*text) : *text);
    double value = ParseNumber(cleaned);
    // ParseNumber gives 0 for a number beyond the calculator's range too.
    if (cleaned.empty() || value == 0) {
        ShowErrorMessage(ports_.messages, kNothing);
        return;
    }
    // Plain decimals: the tape prints exactly what the subtotal will receive.
    calculator_.SetEntryFromValue(NumberToPlainText(value));
}

std::optional<std::string> Desk::AskNote(const std::string& initial) {
    std::string typed = initial;
    for (;;) {
        bool tooltips = options_.Tooltips;
        std::optional<std::string> answer = dialogs_.NotePrompt(typed, tooltips);
        FollowTooltips(tooltips);
        if (!answer) return std::nullopt;
        typed = std::move(*answer);
        Windows1252Text note = Utf8ToWindows1252(typed);
        if (!note.refused.empty())
            ShowErrorMessage(ports_.messages, "The tape cannot hold the character \"" + note.refused + "\" in a note");
        else if (note.text.size() > kNoteMost)
            ShowErrorMessage(ports_.messages, "A note holds at most " + std::to_string(kNoteMost) + " characters; this one has " +
                                                  std::to_string(note.text.size()));
        else if (NoteLines(note.text).empty())
            return std::nullopt;
        else
            return std::move(note.text);
    }
}

void Desk::PrintNote(const std::string& note) {
    tape_.ClearSelection();
    for (const std::string& line : NoteLines(note)) tape_.AppendLaidOut(line);
    tape_.ScrollTape();
}

void Desk::CopyCommand() {
    bool selected = tape_.ListIndex() >= 0;
    bool tooltips = options_.Tooltips;
    std::optional<char> choice = dialogs_.ChooseCopy(selected, tooltips);
    FollowTooltips(tooltips);
    if (!choice) return;
    if (*choice == 'W') {
        std::string text = " ";
        text.reserve(1 + static_cast<std::size_t>(tape_.Count()) * (Tape::kLineWidth + 2));
        for (const std::string_view line : tape_.Lines()) {
            AppendShownLine(text, line);
            text += "\r\n";
        }
        clipboard_.SetText(text);
        return;
    }
    if (*choice != 'L' && *choice != 'S') return;
    std::string value = NoSpecialChar(selection_.LastTapeEntry(*choice == 'S'));
    if (value.empty()) return;
    clipboard_.SetText(value);
    if (options_.ShowCopy) {
        MessageRequest message;
        message.title = "tQB 1999";
        message.text = value + " copied to the Clipboard";
        message.icon = MessageIcon::Information;
        ports_.messages.ShowMessage(message);
    }
}

void Desk::NavigateTape(int keyCode) {
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

}  // namespace qb
