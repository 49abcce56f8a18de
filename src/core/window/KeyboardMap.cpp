#include "window/KeyboardMap.h"

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

}  // namespace

void KeyboardMap::Key(int keyCode, int shift, char character) {
    if (MenuShortcut(keyCode, shift)) return;
    bool inCaption = machine_.CaptionFocus();
    // A key the window-level handler took for a hidden menu goes no further, not even as the
    // character it types (Ctrl+M types a carriage return, which would run Equals).
    if (!WindowKeyDown(keyCode, shift)) return;
    if (inCaption && IsCaptionCursorKey(keyCode)) return;  // the caption box moves its cursor
    DispatcherKeyDown(keyCode, shift);
    if (inCaption) machine_.FinalFocusStep();
    // Characters typed while the caption box has the focus are lost there.
    if (character != 0 && !inCaption) KeyPress(character);
}

bool KeyboardMap::MenuShortcut(int keyCode, int shift) {
    for (const Menu& menu : MainMenus()) {
        if (machine_.WindowCollapsed() && !menu.keptWhenCollapsed) continue;
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
    if (machine_.CaptionFocus() && IsCaptionCursorKey(k)) return true;
    if (machine_.TimedEventActive && machine_.TimedEventPaused) {
        machine_.FinalFocusStep();
        return true;
    }
    if (machine_.WindowCollapsed()) {
        Command command = Command::None;
        if (s == vk::ShiftState) {
            if (k == vk::F1) command = Command::ShortcutKeys;
        } else if (s == vk::CtrlState) {
            command = CollapsedCtrlCommand(k);
        } else if (k == vk::Escape) {
            machine_.Execute(Command::Collapse);  // expands the collapsed window
            return false;
        } else {
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

void KeyboardMap::DispatcherKeyDown(int k, int s) {
    if (machine_.CaptionFocus() && IsCaptionCursorKey(k)) return;
    if (s != vk::ShiftState) machine_.HideShortcutKeys();
    if (machine_.TimedEventActive && k == vk::F12) {
        machine_.PauseOrResumeTimedEvent();
        return;
    }
    if (machine_.CheckPausedTimer()) return;
    if (s == 0 && k == vk::Left) {
        if (machine_.TimedEventActive)
            machine_.CloseTimedEvent();
        else
            machine_.Execute(Command::Stopwatch);
        return;
    }
    if (s == vk::CtrlState) return;
    if (IsNavigationKey(k)) return;
    machine_.GetTape().ClearSelection();
    handledAtKeyDown_ = false;
    if (s == vk::ShiftState) {
        if (k == vk::Key5) {
            machine_.Run(Command::Percent);
            handledAtKeyDown_ = true;
        } else if (k == vk::Key8 || k == vk::X) {
            machine_.Run(Command::Multiply);
            handledAtKeyDown_ = true;
        }
        return;
    }
    if (k == vk::Right) {
        machine_.Run(Command::Digit00);
    } else if (k >= vk::Key0 && k <= vk::Key9) {
        machine_.Run(DigitCommand(k - vk::Key0));
    } else if (k >= vk::Numpad0 && k <= vk::Numpad9) {
        machine_.Run(DigitCommand(k - vk::Numpad0));
    } else if (k == vk::X) {
        machine_.Run(Command::Multiply);
        handledAtKeyDown_ = true;
    } else if (k == vk::Subtract) {
        machine_.Run(Command::Minus);
        handledAtKeyDown_ = true;
    } else if (k == vk::DecimalKey) {
        machine_.Run(Command::DecimalPoint);
        handledAtKeyDown_ = true;
    } else if (k == vk::Divide) {
        machine_.Run(Command::Divide);
        handledAtKeyDown_ = true;
    }
}

void KeyboardMap::KeyPress(char c) {
    if (handledAtKeyDown_) return;
    if (machine_.TimedEventActive && machine_.TimedEventPaused) return;
    if (machine_.WindowCollapsed() && c == 27) {
        machine_.Execute(Command::Collapse);
        return;
    }
    switch (c) {
    case '\r':
    case '=': machine_.Run(Command::Equals); break;
    case '%': machine_.Run(Command::Percent); break;
    case '*': machine_.Run(Command::Multiply); break;
    case '+': machine_.Run(Command::Plus); break;
    case '-': machine_.Run(Command::Minus); break;
    case '.': machine_.Run(Command::DecimalPoint); break;
    case '/': machine_.Run(Command::Divide); break;
    default: break;
    }
}

}  // namespace qb
