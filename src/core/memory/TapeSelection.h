#pragma once
// Selecting tape lines with the keys, and reading a tape number back out of a line.

#include <string>

namespace qb {

class Tape;
class MessagePort;

class TapeSelection {
public:
    TapeSelection(Tape& tape, MessagePort& messages) : tape_(tape), messages_(messages) {}

    // Up, Down, PgUp, PgDn, Ctrl+Home (home) and Ctrl+End (end).
    enum class Move { Up, Down, PageUp, PageDown, First, Last };
    void Navigate(Move move);

    // The number of the selected line (selected) or of the last line, as digits, "." and a
    // leading "-" for a number that lowered the subtotal; "-" alone for a line with a minus sign
    // and no digits. Empty when there is no line or the line holds neither.
    std::string LastTapeEntry(bool selected = false);

    void TurnOnTapeSelect();
    void SoundTheBeep();

private:
    Tape& tape_;
    MessagePort& messages_;
    bool edgeBeep_ = false;
};

}  // namespace qb
