#pragma once
// How a key travels through the main window: the menu shortcuts, the window-level handler,
// the keystroke dispatcher and the character handler, in that order.

#include "window/Command.h"

namespace qb {

class Machine;

// The command a typed character stands for: a digit, an operation ("+ - * / % =", Enter) or the
// decimal point, which is "," too where the user's decimal separator is a comma.
Command TypedCommand(char character, bool decimalComma);

class KeyboardMap {
public:
    explicit KeyboardMap(Machine& machine) : machine_(machine) {}

    // One key stroke: its key-down and the character it types (0 when none).
    void Key(int keyCode, int shift, char character);

    // The layers, each on its own.
    bool MenuShortcut(int keyCode, int shift);
    bool WindowKeyDown(int keyCode, int shift);  // false when it ended the handling
    // The character the key types, when known, decides over the key's place on the keyboard
    // where it is a digit, an operation or the decimal point.
    void DispatcherKeyDown(int keyCode, int shift, char character = 0);
    void KeyPress(char character);

    bool HandledAtKeyDown() const { return handledAtKeyDown_; }

private:
    Machine& machine_;
    bool handledAtKeyDown_ = false;
};

}  // namespace qb
