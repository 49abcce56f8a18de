#pragma once
// Every command of the main window: one per key, button and menu item.

namespace qb {

enum class Command {
    None,
    // Entry box keys
    Digit0, Digit1, Digit2, Digit3, Digit4, Digit5, Digit6, Digit7, Digit8, Digit9, Digit00,
    DecimalPoint, PlusMinus, ClearEntry,
    // Operations
    Plus, Minus, Multiply, Divide, Percent, Equals, ClearSubtotal, Inverse, SquareRoot,
    // File menu
    Open, Save, SaveAs, Collapse, Stopwatch, TimedEvent, Exit,
    // Caption
    NewCaption, ClearCaption,
    // Operation menu and clipboard
    Paste, Copy,
    // Tape
    NewTape, Print,
    // Memory
    ClearMemory, RecallMemory, MemoryAdd, MemorySubtract, MemoryDivide, MemoryMultiply,
    // Decimal places
    FloatingPoint, Places1, Places2, Places3, Places4, Places5,
    // Options
    AutoDecimal, RoundBeforeOperation, ClearOnEqual, ClearEntryBox, CommaSeparator,
    PromptPrintCaption, PromptFileCaption, DisplayValueCopied, MachineSounds,
    // Help
    UserGuide, ShortcutKeys, ShowTooltips, WelcomeMessage, About,
    // Tape corrections
    CorrectLine, Undo, Redo,
    // Exports of the tape (File menu, Export submenu)
    ExportPdf, ExportCsv,
    // The window's size (Options menu)
    ZoomIn, ZoomOut, ActualSize,
    // The rounding to fixed places (Decimal menu, Rounding submenu)
    RoundFiveFour, RoundUp, RoundDown,
    // The percentage keys (Operation menu)
    AddPercent, LessPercent,
    // Lines that are not amounts: a reference number ("#") and a note (Tape menu)
    Reference, Note,
    // Finding a number or a note on the tape (Tape menu)
    Find, FindNext, FindPrevious,
    // Totals with the count of their numbers (Options menu)
    ItemCount,
    // The accountant's tape: the grand total (Options and Tape menus), deleting and inserting
    // lines, and checking a second keying against the first (Tape menu)
    GrandTotalOption, GrandTotal, DeleteLine, InsertLine, RekeyCheck,
    // The business keys: the tax rates (Options menu), Tax+ and Tax- at the first or the second
    // rate, mark-up, and cost, sell price and margin (Operation menu)
    TaxRates, TaxPlus, TaxMinus, TaxPlusSecond, TaxMinusSecond, MarkUp, Cost, Sell, Margin,
};

inline Command DigitCommand(int index) { return static_cast<Command>(static_cast<int>(Command::Digit0) + index); }
inline int DigitIndex(Command c) { return static_cast<int>(c) - static_cast<int>(Command::Digit0); }
inline bool IsDigitCommand(Command c) { return c >= Command::Digit0 && c <= Command::Digit00; }
inline Command PlacesCommand(int places) {
    return static_cast<Command>(static_cast<int>(Command::FloatingPoint) + places);
}
inline int PlacesIndex(Command c) { return static_cast<int>(c) - static_cast<int>(Command::FloatingPoint); }
inline bool IsRoundingCommand(Command c) { return c >= Command::RoundFiveFour && c <= Command::RoundDown; }
inline bool IsTaxCommand(Command c) { return c >= Command::TaxPlus && c <= Command::TaxMinusSecond; }
inline bool IsPlacesCommand(Command c) { return c >= Command::FloatingPoint && c <= Command::Places5; }

}  // namespace qb
