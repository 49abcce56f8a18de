#include "window/Layout.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "aids/WindowPlacement.h"
#include "engine/NumberRules.h"
#include "platform/MessagePort.h"
#include "settings/SettingsStore.h"
#include "window/MenuModel.h"
#include "window/Zoom.h"

namespace qb {
namespace {

constexpr const char* kFileMenu = "mnuFIFile";

}  // namespace

void Layout::Reset() {
    collapsed_ = false;
    captionFocus_ = false;
    collapsedTop_ = collapsedLeft_ = 0;
    pullPending_ = false;
    geometry_ = CenterForm(expandedWidth_, expandedHeight_);
}

void Layout::LoadSettings() {
    zoom_ = Zoom::Parse(settings_.Get(Zoom::kSettingKey));
    storedLastMode_ = settings_.Get(key::LastMode);
    storedLastLeft_ = settings_.Get(key::LastLeft);
    storedLastTop_ = settings_.Get(key::LastTop);
}

void Layout::RestoreLastMode() {
    if (storedLastMode_.empty()) return;
    if (SettingsStore::ParseTruth(storedLastMode_).value_or(false)) {
        CollapseForm();
        // A stored number of any size, or none, is a place; the pull below keeps it on the screen.
        auto place = [](const std::string& stored) {
            const double at = ParseNumber(stored);
            return std::isnan(at) ? 0L : std::lround(std::clamp(at, -1e9, 1e9));
        };
        WindowMoved(place(storedLastLeft_), place(storedLastTop_));
        PullOntoWorkArea();
        pullPending_ = true;
    }
    storedLastMode_.clear();
}

void Layout::SaveLastMode(long left, long top) {
    settings_.Save(key::LastMode, SettingsStore::TruthText(collapsed_));
    settings_.Save(key::LastLeft, std::to_string(left));
    settings_.Save(key::LastTop, std::to_string(top));
}

void Layout::SetScreen(long width, long height) {
    screenWidth_ = width;
    screenHeight_ = height;
}

void Layout::SetWorkArea(long width, long height, long left, long top) {
    workWidth_ = width;
    workHeight_ = height;
    workLeft_ = left;
    workTop_ = top;
}

// The window system gives the window its frame only once it is shown. An expanded window that
// still stands where it was centred is centred again on its outer size, frame and all.
void Layout::SetExpandedSize(long width, long height, int drawnAtZoom) {
    const Geometry centred = CenterForm(expandedWidth_, expandedHeight_);
    const bool standsCentred = geometry_.left == centred.left && geometry_.top == centred.top;
    expandedWidth_ = width;
    expandedHeight_ = height;
    if (collapsed_) return;
    if (drawnAtZoom == 0 || drawnAtZoom == zoom_) FitZoomToWorkArea();
    if (standsCentred) {
        geometry_ = CenterForm(width, height);
    } else {
        geometry_.width = width;
        geometry_.height = height;
    }
}

// A zoom kept from a larger screen would open the window past this one's edges: it is drawn at
// the largest step that fits instead, while the setting keeps the user's choice for that screen.
// The shell draws the window again at the new zoom and tells its new size.
void Layout::FitZoomToWorkArea() {
    int percent = zoom_;
    while (percent > Zoom::kSmallest && !FitsAt(percent)) percent = Zoom::Smaller(percent);
    zoom_ = percent;
}

// The whole window grows with the zoom, so its size at another zoom is its size now in
// proportion (its frame counted as growing too, which errs on the side of fitting). With no work
// area or size known, every zoom fits.
bool Layout::FitsAt(int percent) const {
    if (workWidth_ <= 0 || workHeight_ <= 0 || expandedWidth_ <= 0 || expandedHeight_ <= 0) return true;
    const double grow = static_cast<double>(percent) / zoom_;
    return expandedWidth_ * grow <= workWidth_ && expandedHeight_ * grow <= workHeight_;
}

// Told as the collapsed window is first drawn, the size brings a window restored from a stored
// place whole within the work area once more.
void Layout::SetCollapsedSize(long width, long height) {
    collapsedWidth_ = width;
    collapsedHeight_ = height;
    if (collapsed_ && std::exchange(pullPending_, false)) PullOntoWorkArea();
}

// A stored place off the screen (or no number at all) would lose the window: it is kept whole
// within the work area (the screen, when none is known), at the size it is drawn, and its corner
// within it when it is larger.
void Layout::PullOntoWorkArea() {
    auto clamp = [](long at, long screen, long workFrom, long work, long size) {
        const long lowest = work > 0 ? workFrom : 0;
        const long room = work > 0 ? work : screen;
        return std::clamp(at, lowest, lowest + std::max(0L, room - size));
    };
    WindowMoved(clamp(geometry_.left, screenWidth_, workLeft_, workWidth_, std::max(geometry_.width, collapsedWidth_)),
                clamp(geometry_.top, screenHeight_, workTop_, workHeight_, std::max(geometry_.height, collapsedHeight_)));
}

void Layout::WindowMoved(long left, long top) {
    geometry_.left = left;
    geometry_.top = top;
}

// A window larger than the screen (a large zoom on a small screen) starts at the screen's
// corner, so its menus and the collapsed window that takes its place stay on the screen.
Layout::Geometry Layout::CenterForm(long width, long height) const {
    return Geometry{std::max(0L, (screenWidth_ - width) / 2), std::max(0L, (screenHeight_ - height) / 2), width,
                    height};
}

void Layout::CollapseForm() {
    collapsed_ = true;
    expandedTop_ = geometry_.top;
    expandedLeft_ = geometry_.left;
    // A collapsed window dragged to the very top is not remembered.
    if (collapsedTop_ < 1) {
        geometry_.top = expandedTop_;
        geometry_.left = expandedLeft_;
    } else {
        geometry_.top = collapsedTop_;
        geometry_.left = collapsedLeft_;
    }
    geometry_.width = kCollapsedWidth;
    geometry_.height = kCollapsedHeight;
}

void Layout::ExpandForm() {
    collapsedTop_ = geometry_.top;
    collapsedLeft_ = geometry_.left;
    collapsed_ = false;
    // The expanded window always comes back centred.
    geometry_ = CenterForm(expandedWidth_, expandedHeight_);
}

bool Layout::MenuVisible(const std::string& menuName) const { return !collapsed_ || menuName == kFileMenu; }

void Layout::MenuOpened(const std::string& menuName) {
    for (const Menu& menu : MainMenus())
        if (menu.name == menuName && menu.hidesShortcutKeys) HideShortcutKeys();
    if (menuName == kFileMenu) fileMenuOpened_ = true;
}

std::string Layout::MenuCaption(const std::string& designed) const {
    if (fileMenuOpened_) return collapsed_ ? "Expand (F11)" : "Collapse (F11)";
    return designed;
}

void Layout::DisplayShortcutKeys() {
    if (panel1Visible_) {
        panel2Visible_ = true;
        panel1Visible_ = false;
    } else if (panel2Visible_) {
        panel1Visible_ = true;
        panel2Visible_ = false;
    } else {
        panel1Visible_ = true;
    }
    tapeVisible_ = false;
}

void Layout::HideShortcutKeys() {
    tapeVisible_ = true;
    panel1Visible_ = false;
    panel2Visible_ = false;
}

void Layout::SetZoom(int percent) {
    zoom_ = percent;
    settings_.Save(Zoom::kSettingKey, std::to_string(percent));
}

void Layout::ZoomIn() {
    const int larger = Zoom::Larger(zoom_);
    if (!FitsAt(larger)) {
        messages_.Beep();
        return;
    }
    SetZoom(larger);
}

void Layout::FocusEntered(Control control) {
    switch (control) {
    case Control::Display:
    case Control::AltDisplay:
    case Control::Memory:
        messages_.Beep();
        focusRequest_ = true;
        break;
    case Control::Tape: focusRequest_ = true; break;
    case Control::Caption: captionFocus_ = true; break;
    case Control::KeyStroke: break;
    }
}

void Layout::FocusLeft(Control control) {
    if (control == Control::Caption) captionFocus_ = false;
}

void Layout::BeginAbout() {
    aboutReturnLeft_ = geometry_.left;
    aboutReturnTop_ = geometry_.top;
    Point aside = MainWindowDuringAbout({geometry_.left, geometry_.top});
    geometry_.left = aside.left;
    geometry_.top = aside.top;
}

void Layout::EndAbout() {
    geometry_.left = aboutReturnLeft_;
    geometry_.top = aboutReturnTop_;
}

}  // namespace qb
