#pragma once
// The desk: what every room of the main window works on. The ports to the outside world, the
// settings, the options, the calculator with its tape, the memory register, the selection and
// the sound, and the commands that change nothing but these. The other rooms get the desk by
// reference; none of them holds a copy of what is here.

#include <memory>
#include <optional>
#include <string>

#include "aids/SoundQueue.h"
#include "engine/Calculator.h"
#include "engine/Options.h"
#include "engine/Tape.h"
#include "platform/QuietPorts.h"
#include "memory/MemoryRegister.h"
#include "memory/TapeSelection.h"
#include "platform/Ports.h"
#include "settings/Locations.h"
#include "settings/SettingsStore.h"
#include "window/Colours.h"
#include "window/Command.h"

namespace qb {


class Desk {
public:
    explicit Desk(Ports ports);
    Desk(const Desk&) = delete;
    Desk& operator=(const Desk&) = delete;

    // The ports as the commands use them: messages through the gate that a replay quiets.
    MessagePort& Messages() { return ports_.messages; }
    MessageGate& Gate() { return messageGate_; }
    SoundGate& SoundsGate() { return soundGate_; }
    DialogPort& Dialogs() { return dialogs_; }
    FilePort& Files() { return files_; }
    ClockPort& Clock() { return clock_; }
    ClipboardPort& Clipboard() { return clipboard_; }
    ProgressPort* ProgressReports() { return ports_.progress; }
    PdfPort* Pdf() { return ports_.pdf; }
    SettingsStore& Settings() { return settings_; }
    Locations& Places() { return locations_; }
    const Locations& Places() const { return locations_; }

    Tape& GetTape() { return tape_; }
    const Tape& GetTape() const { return tape_; }
    Calculator& GetCalculator() { return calculator_; }
    const Calculator& GetCalculator() const { return calculator_; }
    MemoryRegister& Memory() { return memory_; }
    const MemoryRegister& Memory() const { return memory_; }
    TapeSelection& Selection() { return selection_; }
    Options& GetOptions() { return options_; }
    const Options& GetOptions() const { return options_; }
    SoundQueue& Sounds() { return sounds_; }
    const SoundQueue& Sounds() const { return sounds_; }

    // Start-up: set from Load until the window is first activated.
    bool StartingUp() const { return startingUp_; }
    void SetStartingUp(bool starting) { startingUp_ = starting; }
    bool PrinterAvailable() const { return printerAvailable_; }
    void CheckPrinter() { printerAvailable_ = dialogs_.PrinterCount() > 0; }
    // No settings were found: the program runs for the first time (until the welcome is shown).
    bool FirstRun() const { return firstRun_; }
    void EndFirstRun() { firstRun_ = false; }

    // The user's locale's decimal sign (UTF-8). Where it is a comma, a typed or pasted "," is
    // the decimal point too; the CSV export in the locale's form writes it.
    void SetLocaleDecimalSign(std::string sign) { localeDecimalSign_ = std::move(sign); }
    const std::string& LocaleDecimalSign() const { return localeDecimalSign_; }
    bool DecimalComma() const { return localeDecimalSign_ == ","; }

    // Reads the options, the decimal places and the memory; writes back the places when missing.
    void LoadSettings();

    // The options of the Options menu and their check marks; the Rounding submenu's modes check
    // as one of three.
    static bool IsCheckable(Command command);
    bool IsChecked(Command command) const;
    void ToggleOption(Command command);
    // A dialog's Ctrl+T turned the tooltips: the option and its setting follow.
    void FollowTooltips(bool tooltips);
    void SelectDecimalPlaces(int places);
    IndicatorColour DecimalIndicatorColour(int index) const;
    IndicatorColour ClearEntryBoxColour() const;

    // The keys that change the calculator or the memory (a paste's text given).
    void ExecuteKeyed(Command command);
    void PasteText(const std::optional<std::string>& text);
    // The note prompt, until the user gives a note the tape can hold (in its code page) or
    // cancels, starting from initial (UTF-8); then the note lines at the end of the tape.
    std::optional<std::string> AskNote(const std::string& initial);
    void PrintNote(const std::string& note);
    // Puts a recalled number text into the Entry box: a leading "-" becomes the pending minus.
    void RecallIntoEntry(std::string text);
    // While a correction replays the keys the memory is saved once, at the end.
    void HoldMemorySaves(bool hold) { memorySavesHeld_ = hold; }
    void SaveMemory();  // the grand total with it

    // The Copy command's choices: the whole tape, the last or the selected entry.
    void CopyCommand();
    // Tape navigation keys (Up, Down, PgUp, PgDn, Ctrl+Home, Ctrl+End).
    void NavigateTape(int keyCode);

private:
    void DoMemoryOperation(MemoryRegister::Operation operation);
    void RecallMemory();

    MessageGate messageGate_;
    Ports ports_;
    std::unique_ptr<SettingsPort> ownSettings_;
    std::unique_ptr<DialogPort> ownDialogs_;
    std::unique_ptr<FilePort> ownFiles_;
    std::unique_ptr<ClockPort> ownClock_;
    std::unique_ptr<ClipboardPort> ownClipboard_;
    std::unique_ptr<AudioPort> ownAudio_;
    SettingsStore settings_;
    DialogPort& dialogs_;
    FilePort& files_;
    ClockPort& clock_;
    ClipboardPort& clipboard_;
    AudioPort& audio_;
    Locations locations_{files_};
    Options options_;
    SoundQueue sounds_;
    SoundGate soundGate_{sounds_};
    Tape tape_;
    Calculator calculator_;
    MemoryRegister memory_;
    TapeSelection selection_;
    bool startingUp_ = true;
    bool printerAvailable_ = false;
    bool firstRun_ = false;
    bool memorySavesHeld_ = false;
    std::string savedGrandTotal_;
    std::string localeDecimalSign_ = ".";
};

}  // namespace qb
