// The main window's two layouts, collapse and expand, and the clipboard commands.
#include "Machine.h"

#include <algorithm>

#include "aids/WindowPlacement.h"
#include "engine/NumberRules.h"
#include "memory/DecimalComma.h"
#include "platform/ErrorMessage.h"

namespace qb {
namespace {

// The designed sizes of the controls the collapsed window keeps, in twips.
constexpr long kTapeWidth = 2235;
constexpr long kTapeHeight = 3390;
constexpr long kAltDisplayHeight = 225;
constexpr const char* kCollapsedTitle = "tQB 1999";

}  // namespace

void Machine::SetScreen(long width, long height) {
    screenWidth_ = width;
    screenHeight_ = height;
}

// The window system gives the window its frame only once it is shown. An expanded window that
// still stands where it was centred is centred again on its outer size, frame and all.
void Machine::SetExpandedSize(long width, long height) {
    const Geometry centred = CenterForm(expandedWidth_, expandedHeight_);
    const bool standsCentred = geometry_.left == centred.left && geometry_.top == centred.top;
    expandedWidth_ = width;
    expandedHeight_ = height;
    if (windowCollapsed_) return;
    if (standsCentred) {
        geometry_ = CenterForm(width, height);
    } else {
        geometry_.width = width;
        geometry_.height = height;
    }
}

void Machine::WindowMoved(long left, long top) {
    geometry_.left = left;
    geometry_.top = top;
}

// A window larger than the screen (a large zoom on a small screen) starts at the screen's
// corner, so its menus and the collapsed window that takes its place stay on the screen.
Machine::Geometry Machine::CenterForm(long width, long height) const {
    return Geometry{std::max(0L, (screenWidth_ - width) / 2), std::max(0L, (screenHeight_ - height) / 2), width,
                    height};
}

bool Machine::MenuVisible(const std::string& menuName) const {
    return !windowCollapsed_ || menuName == "mnuFIFile";
}

void Machine::CollapseForm() {
    windowCollapsed_ = true;
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
    geometry_.width = kTapeWidth + 100;
    geometry_.height = kAltDisplayHeight + 50 + kTapeHeight + 775;
    title_ = kCollapsedTitle;
    FinalFocusStep();
}

void Machine::ExpandForm() {
    collapsedTop_ = geometry_.top;
    collapsedLeft_ = geometry_.left;
    windowCollapsed_ = false;
    // The expanded window always comes back centred.
    geometry_ = CenterForm(expandedWidth_, expandedHeight_);
    SetMainTitle();
    FinalFocusStep();
}

void Machine::BeginAbout() {
    aboutReturnLeft_ = geometry_.left;
    aboutReturnTop_ = geometry_.top;
    Point aside = MainWindowDuringAbout({geometry_.left, geometry_.top});
    geometry_.left = aside.left;
    geometry_.top = aside.top;
}

void Machine::EndAbout() {
    geometry_.left = aboutReturnLeft_;
    geometry_.top = aboutReturnTop_;
    FinalFocusStep();
}

// Ctrl+T in the User Guide turns the one switch as it stands now, and is refused like any
// command while a timed event is paused.
std::optional<bool> Machine::ToggleTooltipsInUserGuide() {
    if (CheckPausedTimer()) return std::nullopt;
    ToggleOption(Command::ShowTooltips);
    return options_.Tooltips;
}

void Machine::CopyCommand() {
    bool selected = tape_.ListIndex() >= 0;
    bool tooltips = options_.Tooltips;
    std::optional<char> choice = dialogs_.ChooseCopy(selected, tooltips);
    if (tooltips != options_.Tooltips) ToggleOption(Command::ShowTooltips);
    if (!choice) return;
    if (*choice == 'W') {
        std::string text = " ";
        text.reserve(1 + static_cast<std::size_t>(tape_.Count()) * (Tape::kLineWidth + 2));
        for (const std::string_view line : tape_.Lines()) {
            text += line;
            text += "\r\n";
        }
        clipboard_.SetText(text);
        return;
    }
    if (*choice != 'L' && *choice != 'S') return;
    std::string value = NoSpecialChar(selection_.LastTapeEntry(*choice == 'S'));
    if (value.empty()) return;
    clipboard_.SetText(value);
    if (options_.ShowCopy) {
        MessageRequest message;
        message.title = kCollapsedTitle;
        message.text = value + " copied to the Clipboard";
        message.icon = MessageIcon::Information;
        ports_.messages.ShowMessage(message);
    }
}

void Machine::PasteText(const std::optional<std::string>& text) {
    constexpr const char* kNothing = "There is no value on the Clipboard to paste";
    if (!text) {
        ShowErrorMessage(ports_.messages, kNothing);
        return;
    }
    std::string cleaned = NoSpecialChar(decimalComma_ ? CommaDecimalToPoint(*text) : *text);
    double value = ParseNumber(cleaned);
    // ParseNumber gives 0 for a number beyond the calculator's range too.
    if (cleaned.empty() || value == 0) {
        ShowErrorMessage(ports_.messages, kNothing);
        return;
    }
    // Plain decimals: the tape prints exactly what the subtotal will receive.
    calculator_.SetEntryFromValue(NumberToPlainText(value));
}

}  // namespace qb
