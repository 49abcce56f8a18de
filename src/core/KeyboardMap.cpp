#include "KeyboardMap.h"

#include "Machine.h"
#include "window/KeyCodes.h"
#include "window/MenuModel.h"

namespace qb {
namespace {

bool IsCaptionCursorKey(int k) { return k == vk::End || k == vk::Home || k == vk::Left || k == vk::Right; }
bool IsNavigationKey(int k) { return k == vk::Prior || k == vk::Next || k == vk::Up || k == vk::Down; }

// Ctrl+letter and Ctrl+F1..F5 as the hidden menus of the collapsed window would take them.
Command CollapsedCtrlCommand(int k) {
    switch (k) {
    case vk::C: return Command::Copy;
    case vk::D: return Command::AutoDecimal;
    case vk::F: return Command::FloatingPoint;
    case vk::L: return Command::CommaSeparator;
    case vk::M: return Command::RecallMemory;
    case vk::N: return Command::ClearMemory;
    case vk::P: return Command::Print;
    case vk::Q: return Command::ClearCaption;
    case vk::T: return Command::ShowTooltips;
    case vk::V: return Command::Paste;
    case vk::W: return Command::NewCaption;
    default: break;
    }
    if (k >= vk::F1 && k <= vk::F5) return PlacesCommand(k - vk::F1 + 1);
    return Command::None;
}

Command CollapsedPlainCommand(int k) {
    switch (k) {
    case vk::Delete: return Command::ClearEntry;
    case vk::F1: return Command::UserGuide;
    case vk::F3: return Command::ClearSubtotal;
    case vk::F4: return Command::NewTape;
    case vk::F5: return Command::MemoryAdd;
    case vk::F6: return Command::MemorySubtract;
    case vk::F7: return Command::MemoryDivide;
    case vk::F8: return Command::MemoryMultiply;
    default: return Command::None;
    }
}

// What a key does at key-down by its place alone, without Ctrl: the digit keys of the main row
// and the keypad, Right for "00", X, Shift+5, Shift+8, Shift+X and the keypad's minus, point and
// slash. The keys with an operation also type a character that is then left alone.
Command PlaceCommand(int k, int s, bool& handlesCharacter) {
    handlesCharacter = false;
    Command command = Command::None;
    if (s == vk::ShiftState) {
        if (k == vk::Key5) command = Command::Percent;
        if (k == vk::Key8 || k == vk::X) command = Command::Multiply;
        handlesCharacter = command != Command::None;
        return command;
    }
    if (k == vk::Right) return Command::Digit00;
    if (k >= vk::Key0 && k <= vk::Key9) return DigitCommand(k - vk::Key0);
    if (k >= vk::Numpad0 && k <= vk::Numpad9) return DigitCommand(k - vk::Numpad0);
    if (k == vk::X) command = Command::Multiply;
    if (k == vk::Subtract) command = Command::Minus;
    if (k == vk::DecimalKey) command = Command::DecimalPoint;
    if (k == vk::Divide) command = Command::Divide;
    handlesCharacter = command != Command::None;
    return command;
}

bool IsKeypadKey(int k) { return k >= vk::Numpad0 && k <= vk::Divide; }

}  // namespace

Command TypedCommand(char c, bool decimalComma) {
    if (c >= '0' && c <= '9') return DigitCommand(c - '0');
    switch (c) {
    case '\r':
    case '=': return Command::Equals;
    case '%': return Command::Percent;
    case '*': return Command::Multiply;
    case '+': return Command::Plus;
    case '-': return Command::Minus;
    case '.': return Command::DecimalPoint;
    case ',': return decimalComma ? Command::DecimalPoint : Command::None;
    case '/': return Command::Divide;
    case '#': return Command::Reference;
    default: return Command::None;
    }
}

void KeyboardMap::Key(int keyCode, int shift, char character) {
    if (MenuShortcut(keyCode, shift)) return;
    bool inCaption = machine_.Window().CaptionFocus();
    // A key the window-level handler took for a hidden menu goes no further, not even as the
    // character it types (Ctrl+M types a carriage return, which would run Equals).
    if (!WindowKeyDown(keyCode, shift)) return;
    if (inCaption && IsCaptionCursorKey(keyCode)) return;  // the caption box moves its cursor
    DispatcherKeyDown(keyCode, shift, character);
    if (inCaption) machine_.FinalFocusStep();
    // Characters typed while the caption box has the focus are lost there.
    if (character != 0 && !inCaption) KeyPress(character);
}

bool KeyboardMap::MenuShortcut(int keyCode, int shift) {
    for (const Menu& menu : MainMenus()) {
        if (machine_.Window().Collapsed() && !menu.keptWhenCollapsed) continue;
        for (const MenuItem& item : menu.items) {
            if (item.IsSeparator() || item.shortcut.key == 0 || item.shortcut.key != keyCode || item.shortcut.shift != shift) continue;
            // Ctrl+S saves a tape without a file too (through Save As), like the Save button,
            // though the File menu shows its Save item only for a tape that has a file.
            if (machine_.IsEnabled(item.command)) machine_.Run(item.command);
            return true;
        }
    }
    return false;
}

bool KeyboardMap::WindowKeyDown(int k, int s) {
    if (machine_.Window().CaptionFocus() && IsCaptionCursorKey(k)) return true;
    if (machine_.Event().active && machine_.Event().paused) {
        machine_.FinalFocusStep();
        return true;
    }
    if (machine_.Window().Collapsed()) {
        Command command = Command::None;
        if (s == vk::ShiftState) {
            if (k == vk::F1) command = Command::ShortcutKeys;
        } else if (s == vk::CtrlState) {
            command = CollapsedCtrlCommand(k);
        } else if (k == vk::Escape) {
            machine_.Execute(Command::Collapse);  // expands the collapsed window
            return false;
        } else if (s == 0) {
            // A plain key's command only without modifiers: Ctrl+Shift+F3 is no F3.
            command = CollapsedPlainCommand(k);
        }
        if (command != Command::None) {
            machine_.Run(command);
            return false;
        }
    }
    if (k == vk::F11) machine_.Execute(Command::Collapse);
    if (k == vk::F12) machine_.Run(Command::ClearEntryBox);
    if ((s == vk::CtrlState && (k == vk::End || k == vk::Home)) || IsNavigationKey(k))
        machine_.NavigateTape(k, s);
    if (k == vk::Back) machine_.Backspace();
    machine_.FinalFocusStep();
    return true;
}

void KeyboardMap::DispatcherKeyDown(int k, int s, char character) {
    if (machine_.Window().CaptionFocus() && IsCaptionCursorKey(k)) return;
    if (s != vk::ShiftState) machine_.HideShortcutKeys();
    if (machine_.Event().active && k == vk::F12) {
        machine_.PauseOrResumeTimedEvent();
        return;
    }
    if (machine_.CheckPausedTimer()) return;
    if (s == 0 && k == vk::Left) {
        if (machine_.Event().active)
            machine_.CloseTimedEvent();
        else
            machine_.Execute(Command::Stopwatch);
        return;
    }
    if (s == vk::CtrlState) return;
    if (IsNavigationKey(k)) return;
    machine_.GetTape().ClearSelection();
    handledAtKeyDown_ = false;
    bool handlesCharacter = false;
    const Command byPlace = PlaceCommand(k, s, handlesCharacter);
    // A layout may put a digit, an operation or the point on a key whose place means something
    // else (an AZERTY Shift+8 types 8, its 6 key types "-"): what the key types decides then.
    // The keypad keeps its own meaning. Digits come at key-down; an operation waits for its
    // character, as on any key that only types one.
    const Command typed = IsKeypadKey(k) ? Command::None : TypedCommand(character, machine_.GetDesk().DecimalComma());
    if (typed != Command::None && typed != byPlace) {
        if (IsDigitCommand(typed)) machine_.Run(typed);
        return;
    }
    if (byPlace == Command::None) return;
    machine_.Run(byPlace);
    handledAtKeyDown_ = handlesCharacter;
}

void KeyboardMap::KeyPress(char c) {
    if (handledAtKeyDown_) return;
    if (machine_.Event().active && machine_.Event().paused) return;
    if (machine_.Window().Collapsed() && c == 27) {
        machine_.Execute(Command::Collapse);
        return;
    }
    // Digits come by their keys, at key-down.
    const Command command = TypedCommand(c, machine_.GetDesk().DecimalComma());
    if (command != Command::None && !IsDigitCommand(command)) machine_.Run(command);
}

}  // namespace qb
