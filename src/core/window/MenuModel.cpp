#include "window/MenuModel.h"

#include <utility>

#include "window/KeyCodes.h"

namespace qb {
namespace {

constexpr int kCtrl = vk::CtrlState;
constexpr int kShift = vk::ShiftState;

MenuItem Item(const char* name, const char* caption, Command command, Shortcut shortcut = {}) {
    return MenuItem{name, caption, command, shortcut, {}};
}
MenuItem Submenu(const char* name, const char* caption, std::vector<MenuItem> items) {
    return MenuItem{name, caption, Command::None, {}, std::move(items)};
}
MenuItem Separator() { return MenuItem{}; }

std::vector<Menu> BuildMenus() {
    using C = Command;
    std::vector<Menu> menus;
    menus.push_back({"mnuFIFile", "&File",
                     {Item("mnuFIOpen", "&Open...", C::Open, {vk::O, kCtrl}),
                      Item("mnuFISave", "&Save", C::Save, {vk::S, kCtrl}),
                      Item("mnuFISaveAs", "Sa&ve As...", C::SaveAs),
                      Submenu("mnuFIExport", "&Export",
                              {Item("mnuFIExportPdf", "&PDF...", C::ExportPdf),
                               Item("mnuFIExportCsv", "&CSV...", C::ExportCsv)}),
                      Separator(),
                      Item("mnuFICollapse", "&Collapse", C::Collapse), Separator(),
                      Item("mnuFIStopwatch", "Stop&watch", C::Stopwatch, {vk::F2, 0}),
                      Item("mnuFITimedEvent", "&Timed Event...", C::TimedEvent, {vk::F9, 0}), Separator(),
                      Item("mnuFIExit", "E&xit", C::Exit, {vk::X, kCtrl})},
                     true});
    menus.push_back({"mnuCNCaption", "&Caption",
                     {Item("mnuOPClearCaption", "&Clear Caption", C::ClearCaption, {vk::Q, kCtrl}),
                      Item("mnuOPNewCaption", "&New...", C::NewCaption, {vk::W, kCtrl})}});
    menus.push_back({"mnuOPOperation", "&Operation",
                     {Item("mnuOPPaste", "&Paste", C::Paste, {vk::V, kCtrl}),
                      Item("mnuOPClearEntry", "&Clear Entry", C::ClearEntry, {vk::Delete, 0}),
                      Item("mnuOPReference", "&Reference Number (#)", C::Reference), Separator(),
                      Item("mnuOPAddPercent", "&Add %", C::AddPercent, {vk::A, kCtrl}),
                      Item("mnuOPLessPercent", "&Less %", C::LessPercent, {vk::B, kCtrl}), Separator(),
                      Item("mnuOPTaxPlus", "&Tax+", C::TaxPlus, {vk::R, kCtrl}),
                      Item("mnuOPTaxMinus", "Ta&x-", C::TaxMinus, {vk::U, kCtrl}),
                      Item("mnuOPTaxPlusSecond", "Tax+ Secon&d Rate", C::TaxPlusSecond, {vk::R, kCtrl | kShift}),
                      Item("mnuOPTaxMinusSecond", "Tax- Seco&nd Rate", C::TaxMinusSecond, {vk::U, kCtrl | kShift}), Separator(),
                      Item("mnuOPMarkUp", "&Mark-Up", C::MarkUp, {vk::J, kCtrl}),
                      Item("mnuOPCost", "C&ost", C::Cost, {vk::C, kCtrl | kShift}),
                      Item("mnuOPSell", "S&ell", C::Sell, {vk::S, kCtrl | kShift}),
                      Item("mnuOPMargin", "Mar&gin %", C::Margin, {vk::M, kCtrl | kShift})}});
    menus.push_back({"mnuTPTape", "&Tape",
                     {Item("mnuTPClearTotal", "Clear &Subtotal", C::ClearSubtotal, {vk::F3, 0}),
                      Item("mnuTPNewTape", "&New Tape", C::NewTape, {vk::F4, 0}),
                      Item("mnuTPPrint", "&Print", C::Print, {vk::P, kCtrl}),
                      Item("mnuTPCopy", "&Copy", C::Copy, {vk::C, kCtrl}),
                      Item("mnuTPNote", "N&ote...", C::Note, {vk::K, kCtrl}),
                      Item("mnuTPGrandTotal", "&Grand Total", C::GrandTotal, {vk::G, kCtrl | kShift}), Separator(),
                      Item("mnuTPFind", "&Find...", C::Find, {vk::G, kCtrl}),
                      Item("mnuTPFindNext", "Find Ne&xt", C::FindNext, {vk::F3, kShift}),
                      Item("mnuTPFindPrevious", "Find Pre&vious", C::FindPrevious, {vk::F3, kCtrl | kShift}), Separator(),
                      Item("mnuTPCorrectLine", "Co&rrect Line...", C::CorrectLine, {vk::E, kCtrl}),
                      Item("mnuTPUndo", "&Undo", C::Undo, {vk::Z, kCtrl}),
                      Item("mnuTPRedo", "Re&do", C::Redo, {vk::Y, kCtrl}),
                      Item("mnuTPDeleteLine", "De&lete Line", C::DeleteLine, {vk::Delete, kCtrl}),
                      Item("mnuTPInsertLine", "&Insert Line...", C::InsertLine, {vk::I, kCtrl}), Separator(),
                      Item("mnuTPRekeyCheck", "C&heck by Re-keying...", C::RekeyCheck, {vk::H, kCtrl})}});
    menus.push_back({"mnuMEMemory", "&Memory",
                     {Item("mnuMEClear", "&Clear Memory", C::ClearMemory, {vk::N, kCtrl}),
                      Item("mnuMERecall", "&Recall To Entry box", C::RecallMemory, {vk::M, kCtrl}), Separator(),
                      Item("mnuMEAddToMemory", "&Add To Memory", C::MemoryAdd, {vk::F5, 0}),
                      Item("mnuMESubtractFromMemory", "&Subtract From Memory", C::MemorySubtract, {vk::F6, 0}),
                      Item("mnuMEDivideIntoMemory", "&Divide Into Memory", C::MemoryDivide, {vk::F7, 0}),
                      Item("mnuMEMultiplyMemory", "&Multiply By Memory", C::MemoryMultiply, {vk::F8, 0})}});
    menus.push_back({"mnuDCDecimal", "&Decimal",
                     {Item("mnuDCFloatingPoint", "&Floating Point", C::FloatingPoint, {vk::F, kCtrl}),
                      Item("mnuDC1", "&1", C::Places1, {vk::F1, kCtrl}),
                      Item("mnuDC2", "&2", C::Places2, {vk::F2, kCtrl}),
                      Item("mnuDC3", "&3", C::Places3, {vk::F3, kCtrl}),
                      Item("mnuDC4", "&4", C::Places4, {vk::F4, kCtrl}),
                      Item("mnuDC5", "&5", C::Places5, {vk::F5, kCtrl}), Separator(),
                      Submenu("mnuDCRounding", "&Rounding",
                              {Item("mnuDCRoundFiveFour", "Round &5/4", C::RoundFiveFour),
                               Item("mnuDCRoundUp", "Round &Up", C::RoundUp),
                               Item("mnuDCRoundDown", "Round &Down", C::RoundDown)})}});
    menus.push_back({"mnuOPOptions", "O&ptions",
                     {Item("mnuOPAutoDecimal", "&Auto Decimal", C::AutoDecimal, {vk::D, kCtrl}), Separator(),
                      Item("mnuOPTRoundBeforeOperation", "&Round Before Operation", C::RoundBeforeOperation),
                      Item("mnuOPClearOnEqual", "&Clear Subtotal On Equal", C::ClearOnEqual),
                      Item("mnuOPClearEntryBox", "Clear &Entry Box", C::ClearEntryBox, {vk::F12, 0}),
                      Item("mnuOPCommaSeparator", "Comma &Separator", C::CommaSeparator, {vk::L, kCtrl}),
                      Item("mnuOPItemCount", "Item Cou&nt", C::ItemCount),
                      Item("mnuOPGrandTotal", "&Grand Total", C::GrandTotalOption),
                      Item("mnuOPTaxRates", "Ta&x Rates...", C::TaxRates),
                      Separator(),
                      Item("mnuOPTapeCaption", "Prompt For &Print Caption", C::PromptPrintCaption),
                      Item("mnuOPFileCaption", "Prompt For &File Caption", C::PromptFileCaption), Separator(),
                      Item("mnuOPDisplayCopy", "&Display Value Copied", C::DisplayValueCopied), Separator(),
                      Item("mnuOPMachineSounds", "&Machine Sounds", C::MachineSounds), Separator(),
                      Item("mnuOPZoomIn", "Zoom &In", C::ZoomIn, {vk::OemPlus, kCtrl}),
                      Item("mnuOPZoomOut", "Zoom &Out", C::ZoomOut, {vk::OemMinus, kCtrl}),
                      Item("mnuOPActualSize", "Ac&tual Size", C::ActualSize, {vk::Key0, kCtrl})}});
    menus.push_back({"mnuHPHelp", "&Help",
                     {Item("mnuHPUserGuide", "&User Guide...", C::UserGuide, {vk::F1, 0}),
                      Item("mnuHPShortcutKeys", "&Keyboard Shortcut Keys", C::ShortcutKeys, {vk::F1, kShift}),
                      Item("mnuHPShowToolTips", "Show &Tooltips", C::ShowTooltips, {vk::T, kCtrl}), Separator(),
                      Item("mnuHPWelcomeMessage", "&Welcome message...", C::WelcomeMessage),
                      Item("mnuFIAbout", "&About...", C::About)},
                     false,
                     false});
    return menus;
}

std::string KeyName(int key) {
    if (key >= vk::F1 && key <= vk::F12) return "F" + std::to_string(key - vk::F1 + 1);
    if (key >= vk::A && key <= vk::Z) return std::string(1, static_cast<char>(key));
    if (key == vk::Delete) return "Del";
    if (key >= vk::Key0 && key <= vk::Key9) return std::string(1, static_cast<char>(key));
    if (key == vk::OemPlus) return "=";
    if (key == vk::OemMinus) return "-";
    return {};
}

}  // namespace

const std::vector<Menu>& MainMenus() {
    static const std::vector<Menu> menus = BuildMenus();
    return menus;
}

std::string ShortcutText(const Shortcut& shortcut) {
    if (shortcut.key == 0) return {};
    std::string prefix;
    if (shortcut.shift & vk::CtrlState) prefix += "Ctrl+";
    if (shortcut.shift & vk::ShiftState) prefix += "Shift+";
    return prefix + KeyName(shortcut.key);
}

}  // namespace qb
