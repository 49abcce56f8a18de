#pragma once
// The window's layout: the expanded and collapsed modes, the window's place and size (twips),
// the shortcut-key panels over the tape, the zoom, the keyboard focus, and the windows the
// shell is asked to show.

#include <optional>
#include <string>
#include <utility>

namespace qb {

class MessagePort;
class SettingsStore;

// Controls whose focus the program watches.
enum class Control { KeyStroke, Display, AltDisplay, Memory, Tape, Caption };

class Layout {
public:
    struct Geometry {
        long left = 0, top = 0, width = 0, height = 0;
    };

    Layout(SettingsStore& settings, MessagePort& messages) : settings_(settings), messages_(messages) {}

    // Start-up: expanded and centred, the zoom and last mode read from the settings.
    void Reset();
    void LoadSettings();
    // The window's last mode and place, applied when the window is first shown: collapsed when
    // it was, at its place kept on the screen.
    void RestoreLastMode();
    // The window is going away: its mode and place are kept for the next start.
    void SaveLastMode(long left, long top);

    void SetScreen(long width, long height);
    // The part of the screen windows may take (less the desktop's panels), from its top left
    // corner; none known, no limit.
    void SetWorkArea(long width, long height, long left = 0, long top = 0);
    // The expanded window's outer size, as drawn at a zoom (0: the zoom in force). A size drawn at
    // another zoom than the one in force is the window's before it is drawn anew.
    void SetExpandedSize(long width, long height, int drawnAtZoom = 0);
    // The collapsed window's outer size as it will be drawn (at the zoom and desktop font, frame
    // and menu bar included), which may be larger than its designed one.
    void SetCollapsedSize(long width, long height);
    // The collapsed window's designed outer size, in twips: the tape (2235 by 3390) under the
    // entry line (225), with their margins, the menu bar and the frame.
    static constexpr long kCollapsedWidth = 2235 + 100, kCollapsedHeight = 225 + 50 + 3390 + 775;
    void WindowMoved(long left, long top);
    const Geometry& WindowGeometry() const { return geometry_; }
    // Centres a window of that outer size on the screen.
    Geometry CenterForm(long width, long height) const;
    bool Collapsed() const { return collapsed_; }
    void CollapseForm();
    void ExpandForm();
    // The menus of the bar: only the File menu (and the timer item) stays on the collapsed window.
    bool MenuVisible(const std::string& menuName) const;
    void MenuOpened(const std::string& menuName);
    // The collapse item names what it will do, once the File menu has been opened.
    std::string MenuCaption(const std::string& designed) const;

    // The shortcut-key panels take the tape's place in turn.
    void DisplayShortcutKeys();
    void HideShortcutKeys();
    bool ShortcutPanelVisible(int panel) const { return panel == 1 ? panel1Visible_ : panel2Visible_; }
    bool TapeVisible() const { return tapeVisible_; }

    // The user's zoom of the window, in percent, kept in the settings when changed.
    int ZoomPercent() const { return zoom_; }
    void SetZoom(int percent);
    // One step larger, refused with a beep when the expanded window would no longer fit the work area.
    void ZoomIn();

    // The keyboard focus goes back to the keystroke box; the shell moves it and clears this.
    void RequestFocus() { focusRequest_ = true; }
    bool TakeFocusRequest() { return std::exchange(focusRequest_, false); }
    void FocusEntered(Control control);
    void FocusLeft(Control control);
    bool CaptionFocus() const { return captionFocus_; }

    // The User Guide and About windows; while About is open the main window steps aside
    // towards the upper left corner, and comes back afterwards.
    void RequestUserGuide() { userGuideRequested_ = true; }
    void RequestAbout() { aboutRequested_ = true; }
    bool TakeUserGuideRequest() { return std::exchange(userGuideRequested_, false); }
    bool TakeAboutRequest() { return std::exchange(aboutRequested_, false); }
    void BeginAbout();
    void EndAbout();

    // Exit was chosen; the shell closes the window.
    void RequestClose(bool close) { closeRequested_ = close; }
    bool CloseRequested() const { return closeRequested_; }

private:
    void FitZoomToWorkArea();
    bool FitsAt(int percent) const;
    void PullOntoWorkArea();
    SettingsStore& settings_;
    MessagePort& messages_;
    bool panel1Visible_ = false;
    bool panel2Visible_ = false;
    bool tapeVisible_ = true;
    bool collapsed_ = false;
    bool fileMenuOpened_ = false;
    bool focusRequest_ = false;
    bool captionFocus_ = false;
    bool closeRequested_ = false;
    bool userGuideRequested_ = false;
    bool aboutRequested_ = false;
    long screenWidth_ = 0, screenHeight_ = 0;
    long workWidth_ = 0, workHeight_ = 0, workLeft_ = 0, workTop_ = 0;
    long expandedWidth_ = 0, expandedHeight_ = 0;
    long collapsedWidth_ = 0, collapsedHeight_ = 0;
    bool pullPending_ = false;  // a collapsed window restored, not yet drawn
    Geometry geometry_;
    long expandedTop_ = 0, expandedLeft_ = 0;
    long collapsedTop_ = 0, collapsedLeft_ = 0;
    long aboutReturnLeft_ = 0, aboutReturnTop_ = 0;
    int zoom_ = 100;
    std::string storedLastMode_, storedLastLeft_, storedLastTop_;
};

}  // namespace qb
