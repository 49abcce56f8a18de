#pragma once
// The tooltip texts of every window, the shortcut-key panels' labels, by control name.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "engine/Rounding.h"

namespace qb {

using TooltipTable = std::vector<std::pair<std::string, std::string>>;

// The main window's tooltips, in the order they are set.
const TooltipTable& MainWindowTooltips();
// The tooltips of the main window's menu items that carry one (the exports, Correct Line,
// Undo and Redo).
const TooltipTable& MenuItemTooltips();
// A dialog's tooltips: "frmTapeCaption", "ChooseCopy", "UsersGuide" (without the viewer's,
// which depends on the topics), "TimedEvent" or "frmCorrectLine".
const TooltipTable& DialogTooltips(const std::string& dialog);
// The tooltip of a control of a window, or "" when it has none.
std::string TooltipOf(const TooltipTable& table, const std::string& control);

// A decimal-places indicator's tooltip (index 0 to 5) with the rounding mode that its fixed
// places round by: "Round to 2 decimal places (Ctrl+F2) - Round Up". Floating point has none.
std::string DecimalPlacesTooltip(int index, Rounding mode);

// A corrected tape line's tooltip and accessible description: "Corrected; was 1,250.00 +".
std::string CorrectedDescription(const std::string& original);
// The colour a corrected line is drawn in on the screen (0xRRGGBB); files and print keep none.
inline constexpr std::uint32_t kCorrectedLineColour = 0x0000C0;
// The background of a line that differs from the first keying in a re-key check (0xRRGGBB).
inline constexpr std::uint32_t kDifferingLineColour = 0xFFC8C8;

// The fifteen labels of shortcut-key panel 1, 2 or 3 (the business keys), top to bottom.
const std::vector<std::string>& ShortcutPanelLabels(int panel);

}  // namespace qb
