#pragma once
// The main window's state and commands. The shell draws what this holds after every event
// and turns clicks, menu choices and keys into the calls below; it decides nothing itself.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "aids/SoundQueue.h"
#include "engine/Calculator.h"
#include "engine/Options.h"
#include "engine/Tape.h"
#include "documents/RecoveryKeeper.h"
#include "documents/TapeFile.h"
#include "history/QuietPorts.h"
#include "memory/MemoryRegister.h"
#include "memory/TapeSelection.h"
#include "platform/Ports.h"
#include "settings/Locations.h"
#include "settings/SettingsStore.h"
#include "timers/Stopwatch.h"
#include "timers/TimedEvent.h"
#include "window/Command.h"

namespace qb {

class KeyboardMap;
class KeyRecord;
struct KeyStep;
struct RecomputedTape;
struct World;

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
    // The user's zoom of the window, in percent (Options menu).
    int ZoomPercent() const { return zoom_; }
    void FirstActivation();
    bool StartingUp() const { return startingUp_; }
    // Where the program was started, ending in a path separator: the first folder for the User
    // Guide topics and the sound, and the file dialog's first look when the user may write
    // there. Set by the shell before Load, with the other folders the program uses.
    void SetStartDirectory(std::string directory) { locations_.SetStart(std::move(directory)); }
    void SetFolders(Folders folders) { locations_.SetFolders(std::move(folders)); }
    const std::string& StartDirectory() const { return locations_.Start(); }
    // The user's locale's decimal sign (UTF-8), for the CSV export in the locale's form.
    void SetLocaleDecimalSign(std::string sign) { localeDecimalSign_ = std::move(sign); }
    // The user's decimal separator is a comma: a typed or pasted "," is then the decimal point.
    // Set by the shell from the user's locale.
    void SetDecimalComma(bool comma) { decimalComma_ = comma; }
    bool DecimalComma() const { return decimalComma_; }
    const Locations& GetLocations() const { return locations_; }
    bool PrinterAvailable() const { return printerAvailable_; }
    // A tape file named on the command line or handed over by a second start: opened as Open
    // opens the file chosen in its dialog, after "Save the tape?". A name that is no file's
    // says so, and nothing changes.
    void OpenFileCommand(const std::string& path);
    // A close request (close box, Close, Exit): false when the close is cancelled.
    bool QueryClose();
    // The window is going away: remembers its mode and position (twips) for the next start.
    void Unload(long left, long top);
    // The welcome message of the Help menu (and of the first run).
    void DisplayWelcomeMsg();

    // The window's place on the screen, all in twips. The shell tells the screen size and the
    // expanded window's outer size before Load, and every move of the window; the machine says
    // where the window is to be and how large.
    struct Geometry {
        long left = 0, top = 0, width = 0, height = 0;
    };
    void SetScreen(long width, long height);
    void SetExpandedSize(long width, long height);
    void WindowMoved(long left, long top);
    const Geometry& WindowGeometry() const { return geometry_; }
    // Collapsed, the window stays above all others.
    bool Topmost() const { return windowCollapsed_; }
    // The menus of the bar: only the File menu (and the timer item) stays on the collapsed window.
    bool MenuVisible(const std::string& menuName) const;
    // Centres a window of that outer size on the screen.
    Geometry CenterForm(long width, long height) const;
    void CollapseForm();
    void ExpandForm();

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
    bool MenuItemEnabled(Command command) const;
    bool IsChecked(Command command) const;
    std::string MenuCaption(Command command, const std::string& designed) const;
    bool ShortcutPanelVisible(int panel) const { return panel == 1 ? panel1Visible_ : panel2Visible_; }
    bool TapeVisible() const { return tapeVisible_; }
    bool WindowCollapsed() const { return windowCollapsed_; }
    const std::string& Title() const { return title_; }
    const std::string& MemoryText() const { return memory_.Text(); }
    const MemoryRegister& Memory() const { return memory_; }
    const std::string& CaptionText() const { return tapeCaption_; }
    bool UseCaptionWithoutPrompt() const { return useCaptionWithoutPrompt_; }
    const std::string& LastTapeFile() const { return lastTapeFile_; }
    const std::string& TapeFileName() const { return tapeFileName_; }
    // The timer item of the menu bar, and the 100 ms timer behind it.
    bool StopwatchItemVisible() const { return stopwatch_.ItemVisible(); }
    const std::string& StopwatchCaption() const { return stopwatch_.ItemCaption(); }
    const std::string& ElapsedTime() const { return stopwatch_.ElapsedTime; }
    bool StopwatchTimerOn() const { return stopwatch_.TimerOn(); }
    void StopwatchTick();
    // The machine sound's status update, every SoundStatusInterval() ms while it is not 0.
    void SoundStatusUpdate();
    int SoundStatusInterval() const { return sounds_.StatusInterval(); }
    const SoundQueue& Sounds() const { return sounds_; }
    // The user scrolled the tape by hand.
    void TapeScrolled(std::int64_t topIndex);
    // Menu items that carry a check mark.
    static bool IsCheckable(Command command);
    const Stopwatch& GetStopwatch() const { return stopwatch_; }
    // The background of the display controls: white, or the colour of a running timed event
    // (red, green, blue).
    std::uint32_t DisplayBackground() const { return displayBackground_; }
    int EventColorIndex() const { return eventColorIndex_; }

    // The User Guide and About windows were asked for; the shell shows them and clears this.
    bool TakeUserGuideRequest() { return std::exchange(userGuideRequested_, false); }
    bool TakeAboutRequest() { return std::exchange(aboutRequested_, false); }
    // While About is open the main window steps aside towards the upper left corner, and comes
    // back afterwards.
    void BeginAbout();
    void EndAbout();
    // Ctrl+T in the User Guide: turns the one tooltip switch, which the main window and the
    // setting follow, and gives where it stands; nothing when the pause guard refuses.
    std::optional<bool> ToggleTooltipsInUserGuide();

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
    // The timed event's name, date (m/d/yyyy, or empty) and description.
    std::string EventName, EventDate, EventDescription;
    // The file name a save during a timed event suggests: "Name mm_dd_yyyy Description".
    std::string SuggestedEventFileName() const;

    // The command frame, for the keyboard map.
    void HideShortcutKeys();
    void DisplayShortcutKeys();
    bool CheckPausedTimer();
    void FinalFocusStep();
    // The command body alone, without the frame.
    void Execute(Command command);
    // The Backspace key.
    void Backspace();

    // Check and correct, undo and redo (MachineCorrection.cpp).
    bool CanUndo() const;
    bool CanRedo() const;
    // A line the Correct Line command works on: one that shows a number a key entered (or,
    // on a tape read from a file, any number line).
    bool LineCorrectable(std::int64_t index) const;
    // Line index is to show number (as typed into the Entry box) with operation ('+', '-',
    // 'x', '/' or '%'), as if they had been keyed in the first place. False, with a message,
    // when the correction is refused; nothing changes then.
    bool CorrectLine(std::int64_t index, const std::string& number, char operation);
    // Goes up by one whenever the tape is rewritten rather than appended to: an undo, a redo,
    // a correction. A copy of the tape taken before it changed is no longer its beginning.
    std::uint64_t TapeRewritten() const { return tapeRewritten_; }
    MessagePort& Messages() { return ports_.messages; }
    bool CaptionFocus() const { return captionFocus_; }
    // Tape navigation keys (Up, Down, PgUp, PgDn, Ctrl+Home, Ctrl+End).
    void NavigateTape(int keyCode, int shift);
    // F12 during a timed event, and the end of the event (without its save when skipSave).
    void PauseOrResumeTimedEvent();
    // Ends the event, saving the tape unless skipSave. False when that save failed: the event
    // then goes on as it was.
    bool CloseTimedEvent(bool skipSave = false);

    // The recovery record of unsaved changes. The shell says where it is kept before Load, runs
    // the flush timer while RecoveryTimerOn and calls RecoveryTick when it fires.
    void SetRecoveryPlace(RecoveryPlace place) { recovery_.SetPlace(std::move(place)); }
    bool RecoveryTimerOn() const { return recovery_.Pending() || recovery_.Unsynced(); }
    void RecoveryTick();
    // The program ends without asking (a SIGTERM, SIGHUP or SIGINT): the record is written and
    // synced now, and kept, as after a close whose "Save the tape?" was never answered. From
    // here on no question is asked: a close goes on, and a question still open counts for nothing.
    void EndUnasked();
    bool EndingUnasked() const { return endUnasked_; }
    // The desktop session ends: the record is written, synced and kept.
    void KeepForSessionEnd();
    static constexpr int kRecoveryFlushMs = 1000;
    const RecoveryKeeper& Recovery() const { return recovery_; }
    // The tape came back from a record and has not been saved since.
    bool Recovered() const { return recoveredTape_; }

private:
    void SetZoom(int percent);
    // Check and correct, undo and redo (MachineCorrection.cpp).
    static bool IsKeyedCommand(Command command);
    void ExecuteKeyed(Command command);
    void RecordStep(KeyStep step);
    void ApplyStep(KeyStep& step);
    World CaptureWorld() const;
    bool WorldIs(const World& world) const;
    void RestoreWorld(const World& world);
    void SyncHistory();
    void ResetHistory();
    void UndoCommand(bool redo);
    void CorrectLineCommand();
    // Replays the key record: from the snapshot before step, whose line index shows number and
    // operation instead; or, after the file's lines from index on were rewritten (fileLines),
    // from the record's start, with the subtotal those lines now give.
    bool ReplayCorrection(std::int64_t index, std::int64_t step, const std::string& number, char operation,
                          const RecomputedTape* fileLines);
    bool CorrectFileLine(std::int64_t index, const std::string& number, char operation);
    void PasteText(const std::optional<std::string>& text);

    // Exporting the tape (MachineExport.cpp).
    void ExportPdfCommand();
    void ExportCsvCommand();
    // The export's file: asked for in the save folder, the extension added when missing, and
    // replacing a file only when the user agrees. Nothing when cancelled.
    // With a filter of several types, type is the one offered first and then the one chosen.
    std::optional<std::string> AskExportPath(const char* filter, const char* extension, int* type = nullptr);
    void ExportFailed(const std::string& path, std::string reason);
    // The running subtotal after each tape line, nothing where it is not known.
    std::vector<std::optional<double>> LineSubtotals();

    void ToggleOption(Command command);
    void SelectDecimalPlaces(int places);
    void DoMemoryOperation(MemoryRegister::Operation operation);
    void RecallMemory();
    void ClearMemory();
    void SaveMemory();
    // Puts a recalled number text into the Entry box: a leading "-" becomes the pending minus.
    void RecallIntoEntry(std::string text);

    // Tape documents. The bool results are false where the program's questions would leave
    // "CANX": the user cancelled, and the command that asked stops.
    enum class SaveOutcome { Saved, Cancelled, Failed };
    bool AskSaveTape();
    SaveOutcome SaveTape();
    SaveOutcome SaveTapeAs();
    // "... already exists. Do you want to replace it?": true on Yes.
    bool AskReplace(const std::string& name);
    static std::string CleanCaption(std::string caption);
    bool WriteTapeFile(const std::string& path, const std::string& caption);
    TapeReadResult ReadTapeFile(const std::string& path);
    // The tape's caption, calculator state and timer reading, as a tape file keeps them; and
    // the same taken back (the Entry box and the operation indicator follow).
    TapeValues TapeValuesNow() const;
    void TakeTapeValues(const TapeValues& values);
    void OpenCommand();
    void OpenTape();
    void OpenTapeFile(const std::string& path);
    // Why a path given from outside cannot be opened, as the user is told; empty when it can.
    std::string OpenProblem(const std::string& path);
    void NewTape();
    FileDialogRequest PrepareFileDialog(bool save) const;
    void SetMainTitle();
    bool PromptForCaption();
    // The caption a printout (or its PDF) carries, asked for when the option says so; nothing
    // when the prompt was cancelled.
    std::optional<std::string> CaptionToPrint();
    void ShowCaption();
    void NewCaption();
    void ClearCaption();
    void PrintTape();
    void StopwatchCommand();
    void CopyCommand();
    void TimedEventCommand();
    void StartTimedEvent();
    // After every event: notes what the recovery record lacks.
    void KeepRecoveryRecord();
    RecoveryState RecoveryStateNow() const;
    // Offers the tapes of records that copies which ended left behind.
    void RecoverAtStart();
    // Tells the user, once a run, that the state folder was refused and no record is kept.
    void TellRecoveryRefused();
    // Tells the user when the record stops being kept, and when it is kept again.
    void TellRecoveryFailing();
    // The record written and synced now, without a word to the user.
    void SyncRecoveryRecord();
    // After a file was written: its folder synced when it was renamed into place (false when
    // that failed), the list of temporary files forgotten.
    bool SettleWrittenFile(const std::string& path, bool renamed);
    void RecoverTape(const RecoveredTape& tape);

    MessageGate messageGate_;
    Ports ports_;
    std::unique_ptr<SettingsPort> ownSettings_;
    std::unique_ptr<DialogPort> ownDialogs_;
    std::unique_ptr<FilePort> ownFiles_;
    SettingsStore settings_;
    DialogPort& dialogs_;
    FilePort& files_;
    Locations locations_{files_};
    std::unique_ptr<ClockPort> ownClock_;
    ClockPort& clock_;
    std::unique_ptr<ClipboardPort> ownClipboard_;
    ClipboardPort& clipboard_;
    std::unique_ptr<AudioPort> ownAudio_;
    AudioPort& audio_;
    RecoveryKeeper recovery_{files_, clock_};
    bool recoveredTape_ = false;
    bool recoveryRefusalTold_ = false;
    bool recoveryFailureTold_ = false;
    bool endUnasked_ = false;
    std::string writingInPlace_;  // a tape file being rewritten in place
    bool tapeDropped_ = false;  // the user answered No to "Save the tape?"
    Options options_;
    SoundQueue sounds_;
    SoundGate soundGate_{sounds_};
    Tape tape_;
    Calculator calculator_;
    MemoryRegister memory_;
    TapeSelection selection_;
    Stopwatch stopwatch_;
    TimedEventRules eventRules_;
    int eventColorIndex_ = 0;
    std::uint32_t displayBackground_ = 0xFFFFFF;
    std::unique_ptr<KeyboardMap> keyboard_;
    bool startingUp_ = true;
    bool focusRequest_ = false;
    bool closeRequested_ = false;
    bool panel1Visible_ = false;
    bool panel2Visible_ = false;
    bool tapeVisible_ = true;
    bool windowCollapsed_ = false;
    bool fileMenuOpened_ = false;
    long screenWidth_ = 0, screenHeight_ = 0;
    long expandedWidth_ = 0, expandedHeight_ = 0;
    Geometry geometry_;
    long expandedTop_ = 0, expandedLeft_ = 0;
    long collapsedTop_ = 0, collapsedLeft_ = 0;
    std::string title_ = "the Quillbox";
    std::string tapeCaption_;
    bool useCaptionWithoutPrompt_ = false;
    std::string lastTapeFile_;
    std::string tapeFileName_;
    bool printerAvailable_ = false;
    bool firstRun_ = false;
    int zoom_ = 100;
    // The window's last mode and position, applied when the window is first shown.
    std::string storedLastMode_, storedLastLeft_, storedLastTop_;
    bool captionFocus_ = false;
    bool decimalComma_ = false;
    bool userGuideRequested_ = false;
    bool aboutRequested_ = false;
    long aboutReturnLeft_ = 0, aboutReturnTop_ = 0;
    std::unique_ptr<KeyRecord> history_;
    // The Entry box holds a number entered since the last one was applied.
    bool entered_ = false;
    bool replaying_ = false;
    std::uint64_t tapeRewritten_ = 0;
    std::string localeDecimalSign_ = ".";
    int csvType_ = 0;  // the CSV form chosen last: 0 comma and point, 1 the locale's
};

}  // namespace qb
