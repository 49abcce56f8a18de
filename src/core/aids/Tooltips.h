#pragma once
// The tooltip texts of every window, the shortcut-key panels' labels, by control name.

#include <string>
#include <utility>
#include <vector>

namespace qb {

using TooltipTable = std::vector<std::pair<std::string, std::string>>;

// The main window's tooltips, in the order they are set.
const TooltipTable& MainWindowTooltips();
// A dialog's tooltips: "frmTapeCaption", "ChooseCopy", "UsersGuide" (without the viewer's,
// which depends on the topics) or "TimedEvent".
const TooltipTable& DialogTooltips(const std::string& dialog);
// The tooltip of a control of a window, or "" when it has none.
std::string TooltipOf(const TooltipTable& table, const std::string& control);

// The fifteen labels of shortcut-key panel 1 or 2, top to bottom.
const std::vector<std::string>& ShortcutPanelLabels(int panel);

}  // namespace qb
