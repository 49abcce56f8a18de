#pragma once
// The main window's state and commands. The shell draws what this holds after every event
// and turns clicks, menu choices and keys into the calls below; it decides nothing itself.
// The machine is the router: each command goes to the room that owns its state (see
// docs/architecture.md), and after every event the recovery record catches up.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "desk/Desk.h"
#include "desk/Finder.h"
#include "desk/RekeyCheck.h"
#include "desk/TaxRates.h"
#include "documents/Documents.h"
#include "documents/RecoveryFlow.h"
#include "export/Exporter.h"
#include "history/Correction.h"
#include "history/History.h"
#include "history/LineEdits.h"
#include "timers/Timers.h"
#include "window/Layout.h"

namespace qb {

class KeyboardMap;

class Machine {
public:
    explicit Machine(Ports ports);
    ~Machine();
    Machine(const Machine&) = delete;
    Machine& operator=(const Machine&) = delete;

    // Start-up: the zero subtotal line, a reset calculator and every setting; the start-up
    // flag stays set until FirstActivation. Before Load the shell sets the folders, the
    // locale's decimal sign, the recovery record's place and the screen.
    void Load();
    void FirstActivation();
    void SetStartDirectory(std::string directory) { desk_.Places().SetStart(std::move(directory)); }
    void SetFolders(Folders folders) { desk_.Places().SetFolders(std::move(folders)); }
    void SetLocaleDecimalSign(std::string sign) { desk_.SetLocaleDecimalSign(std::move(sign)); }
    void SetRecoveryPlace(RecoveryPlace place) { recovery_.SetPlace(std::move(place)); }
    // A close request (close box, Close, Exit): false when the close is cancelled.
    bool QueryClose();
    // The window is going away: remembers its mode and position (twips) for the next start.
    void Unload(long left, long top);

    // Events: a click on a key, a button or a menu item (the command frame around the command);
    // a key stroke (virtual-key code, shift state and the character typed, 0 when none).
    void Run(Command command);
    void Key(int keyCode, int shift, char character);
    void MenuOpened(const std::string& menuName);
    void TapeClicked(std::int64_t index);
    void TapeDoubleClicked(std::int64_t index);  // recalls the line's number
    void TapeScrolled(std::int64_t topIndex);
    void FocusEntered(Control control);
    void FocusLeft(Control control) { layout_.FocusLeft(control); }
    void StopwatchTick();
    void SoundStatusUpdate();
    void OpenFileCommand(const std::string& path);
    void SetScreen(long width, long height) { layout_.SetScreen(width, height); }
    void SetWorkArea(long width, long height, long left = 0, long top = 0) {
        layout_.SetWorkArea(width, height, left, top);
    }
    void SetCollapsedSize(long width, long height) { layout_.SetCollapsedSize(width, height); }
    void SetExpandedSize(long width, long height, int drawnAtZoom = 0) {
        layout_.SetExpandedSize(width, height, drawnAtZoom);
    }
    void WindowMoved(long left, long top) { layout_.WindowMoved(left, top); }
    void BeginAbout() { layout_.BeginAbout(); }
    void EndAbout();
    // Ctrl+T in the User Guide: turns the one tooltip switch and gives where it stands;
    // nothing when the pause guard refuses.
    std::optional<bool> ToggleTooltipsInUserGuide();
    bool CorrectLine(std::int64_t index, const std::string& number, char operation);
    // Recovery: the flush timer's tick, and the program ending without asking (a signal) or
    // with the desktop session: the record is written, synced and kept.
    void RecoveryTick();
    void EndUnasked();
    void KeepForSessionEnd();

    // The command frame and the key layers, for the keyboard map.
    void Execute(Command command);  // the command body alone
    void Backspace();
    void NavigateTape(int keyCode, int shift);
    void HideShortcutKeys() { layout_.HideShortcutKeys(); }
    bool CheckPausedTimer() { return timers_.CheckPaused(); }
    void FinalFocusStep();
    void PauseOrResumeTimedEvent() { timers_.PauseOrResume(); }
    // Ends the event, saving the tape unless skipSave; false when that save failed.
    bool CloseTimedEvent(bool skipSave = false);
    void DisplayWelcomeMsg();

    // What the window shows, room by room.
    const Desk& GetDesk() const { return desk_; }
    const Layout& Window() const { return layout_; }
    const Timers& GetTimers() const { return timers_; }
    const Documents& Document() const { return documents_; }
    const RecoveryKeeper& Recovery() const { return recovery_.Keeper(); }
    TimedEventState& Event() { return timers_.Event(); }
    const TimedEventState& Event() const { return timers_.Event(); }
    Tape& GetTape() { return desk_.GetTape(); }
    const Tape& GetTape() const { return desk_.GetTape(); }
    Calculator& GetCalculator() { return desk_.GetCalculator(); }
    const Calculator& GetCalculator() const { return desk_.GetCalculator(); }
    const Options& GetOptions() const { return desk_.GetOptions(); }
    const MemoryRegister& Memory() const { return desk_.Memory(); }
    MessagePort& Messages() { return desk_.Messages(); }
    std::string Title() const;
    bool IsEnabled(Command command) const;
    bool MenuItemEnabled(Command command) const;
    bool IsChecked(Command command) const { return desk_.IsChecked(command); }
    static bool IsCheckable(Command command) { return Desk::IsCheckable(command); }
    std::string MenuCaption(Command command, const std::string& designed) const;
    bool LineCorrectable(std::int64_t index) const { return correction_.LineCorrectable(index); }
    // While a re-key check runs: what the first keying has where the line differs, else empty.
    std::string LineDifference(std::int64_t index) const { return rekey_.Difference(index); }
    const RekeyCheck& Rekey() const { return rekey_; }
    bool CanUndo() const { return history_.CanUndo(); }
    bool CanRedo() const { return history_.CanRedo(); }
    std::uint64_t TapeRewritten() const { return history_.TapeRewritten(); }
    bool RecoveryTimerOn() const { return recovery_.TimerOn(); }
    static constexpr int kRecoveryFlushMs = RecoveryFlow::kFlushMs;
    // The requests the shell carries out and clears.
    bool TakeFocusRequest() { return layout_.TakeFocusRequest(); }
    bool TakeUserGuideRequest() { return layout_.TakeUserGuideRequest(); }
    bool TakeAboutRequest() { return layout_.TakeAboutRequest(); }

private:
    // After every event: notes what the recovery record lacks.
    void KeepRecoveryRecord();
    void TimedEventCommand();
    void ToggleCollapse();
    void RekeyCommand();

    Desk desk_;
    Layout layout_;
    Timers timers_;
    History history_;
    Correction correction_;
    LineEdits lineEdits_{desk_, history_, correction_};
    Finder finder_{desk_};
    RekeyCheck rekey_;
    TaxRates taxRates_{desk_};
    Documents documents_;
    RecoveryFlow recovery_;
    Exporter exporter_;
    std::unique_ptr<KeyboardMap> keyboard_;
};

}  // namespace qb
