#pragma once
// The main window's state and commands. The shell draws what this holds after every event
// and turns clicks, menu choices and keys into the calls below; it decides nothing itself.

#include <cstdint>
#include <memory>
#include <string>

#include "engine/Calculator.h"
#include "engine/Options.h"
#include "engine/Tape.h"
#include "memory/MemoryRegister.h"
#include "memory/TapeSelection.h"
#include "platform/Ports.h"
#include "settings/SettingsStore.h"
#include "window/Command.h"

namespace qb {

class KeyboardMap;

enum class IndicatorColour { ButtonFace, LightCyan, Red };

// Controls whose focus the program watches.
enum class Control { KeyStroke, Display, AltDisplay, Memory, Tape, Caption };

class Machine {
public:
    explicit Machine(Ports ports);
    ~Machine();
    Machine(const Machine&) = delete;
    Machine& operator=(const Machine&) = delete;

    // Start-up: the zero subtotal line, a reset calculator and every setting. The start-up
    // flag stays set until FirstActivation.
    void Load();
    // Reads every setting in its order and applies it; writes back the defaults of missing ones.
    void LoadSettings();
    // No settings were found: the program runs for the first time.
    bool FirstRun() const { return firstRun_; }
    void FirstActivation();
    bool StartingUp() const { return startingUp_; }

    // A click on a key, a button or a menu item: the command frame around the command.
    void Run(Command command);
    // A key stroke: key-down (virtual-key code and shift state) and the character it types,
    // 0 when it types none.
    void Key(int keyCode, int shift, char character);
    // A menu of the menu bar is being opened.
    void MenuOpened(const std::string& menuName);
    // A click on a tape line, and a double-click, which recalls its number.
    void TapeClicked(std::int64_t index);
    void TapeDoubleClicked(std::int64_t index);
    // A control of the main window got or lost the keyboard focus.
    void FocusEntered(Control control);
    void FocusLeft(Control control);

    // What the window shows.
    const std::string& DisplayText() const { return calculator_.DisplayText(); }
    const std::string& OperatorCaption() const { return calculator_.OperatorCaption(); }
    OperatorFont OperatorFontName() const { return calculator_.OperatorFontName(); }
    IndicatorColour DecimalIndicatorColour(int index) const;
    IndicatorColour ClearEntryBoxColour() const;
    bool IsEnabled(Command command) const;
    bool IsChecked(Command command) const;
    std::string MenuCaption(Command command, const std::string& designed) const;
    bool ShortcutPanelVisible(int panel) const { return panel == 1 ? panel1Visible_ : panel2Visible_; }
    bool TapeVisible() const { return tapeVisible_; }
    bool WindowCollapsed() const { return windowCollapsed_; }
    const std::string& Title() const { return title_; }
    const std::string& MemoryText() const { return memory_.Text(); }
    const MemoryRegister& Memory() const { return memory_; }
    const std::string& CaptionText() const { return captionText_; }

    // The keyboard focus goes back to the keystroke box; the shell moves it and clears this.
    bool TakeFocusRequest();
    // Exit was chosen; the shell closes the window.
    bool CloseRequested() const { return closeRequested_; }

    const Tape& GetTape() const { return tape_; }
    Tape& GetTape() { return tape_; }
    const Calculator& GetCalculator() const { return calculator_; }
    Calculator& GetCalculator() { return calculator_; }
    const Options& GetOptions() const { return options_; }

    // The timed event's two flags (the timed event itself sets them).
    bool TimedEventActive = false;
    bool TimedEventPaused = false;

    // The command frame, for the keyboard map.
    void HideShortcutKeys();
    bool CheckPausedTimer();
    void FinalFocusStep();
    // The command body alone, without the frame.
    void Execute(Command command);
    MessagePort& Messages() { return ports_.messages; }
    bool CaptionFocus() const { return captionFocus_; }
    // Tape navigation keys (Up, Down, PgUp, PgDn, Ctrl+Home, Ctrl+End).
    void NavigateTape(int keyCode, int shift);
    // F12 during a timed event, and the Left arrow that ends it.
    void PauseOrResumeTimedEvent();
    void CloseTimedEvent();

private:
    void ToggleOption(Command command);
    void SelectDecimalPlaces(int places);
    void DoMemoryOperation(MemoryRegister::Operation operation);
    void RecallMemory();
    void ClearMemory();
    void SaveMemory();
    // Puts a recalled number text into the Entry box: a leading "-" becomes the pending minus.
    void RecallIntoEntry(std::string text);

    Ports ports_;
    std::unique_ptr<SettingsPort> ownSettings_;
    SettingsStore settings_;
    Options options_;
    Tape tape_;
    Calculator calculator_;
    MemoryRegister memory_;
    TapeSelection selection_;
    std::unique_ptr<KeyboardMap> keyboard_;
    bool startingUp_ = true;
    bool focusRequest_ = false;
    bool closeRequested_ = false;
    bool panel1Visible_ = false;
    bool panel2Visible_ = false;
    bool tapeVisible_ = true;
    bool windowCollapsed_ = false;
    std::string title_ = "the Quillbox";
    std::string captionText_;
    bool firstRun_ = false;
    // The window's last mode and position, applied when the window is first shown.
    std::string storedLastMode_, storedLastLeft_, storedLastTop_;
    bool captionFocus_ = false;
};

}  // namespace qb
