#pragma once
// How a key travels through the main window: the menu shortcuts, the window-level handler,
// the keystroke dispatcher and the character handler, in that order.

namespace qb {

class Machine;

class KeyboardMap {
public:
    explicit KeyboardMap(Machine& machine) : machine_(machine) {}

    // One key stroke: its key-down and the character it types (0 when none).
    void Key(int keyCode, int shift, char character);

    // The layers, each on its own.
    bool MenuShortcut(int keyCode, int shift);
    bool WindowKeyDown(int keyCode, int shift);  // false when it ended the handling
    void DispatcherKeyDown(int keyCode, int shift);
    void KeyPress(char character);

    bool HandledAtKeyDown() const { return handledAtKeyDown_; }

private:
    Machine& machine_;
    bool handledAtKeyDown_ = false;
};

}  // namespace qb
