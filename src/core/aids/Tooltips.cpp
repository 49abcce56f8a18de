#include "aids/Tooltips.h"

namespace qb {
namespace {

TooltipTable BuildMainWindow() {
    const std::string keys = "List of shortcut keys (Shift+F1)";
    TooltipTable t = {
        {"txtCaption", "Caption for printed/saved tape"},
        {"txtDisplay", "Entry box"},
        {"lblOperator", "Next operation to be performed"},
        {"txtAltDisplay", "Entry box"},
        {"lblAltOperator", "Next operation to be performed"},
        {"lstTape", "Continuous tape"},
        {"frmShortcutKeys1", keys},
        {"frmShortcutKeys2", keys},
    };
    for (int i = 0; i < 30; ++i) t.emplace_back("lblKey(" + std::to_string(i) + ")", keys);
    t.insert(t.end(), {
                          {"txtMemory", "Memory"},
                          {"lblGrandTotal", "Grand total: every total (=) added up; Ctrl+Shift+G prints it, and pressed again at once clears it"},
                          {"cmdNewCaption", "Enter a new caption (Ctrl+W)"},
                          {"cmdClearCaption", "Clear displayed caption (Ctrl+Q)"},
                          {"cmdPaste", "Paste a number from the clipboard (Ctrl+V)"},
                          {"cmdClearEntry", "Clear Entry box (Del)"},
                          {"cmdOpen", "Open a tape disk file (Ctrl+O)"},
                          {"cmdSave", "Save tape in disk file (Ctrl+S)"},
                          {"cmdClear", "Reset the tape subtotal to zero (F3)"},
                          {"cmdNewTape", "Start a new tape (F4)"},
                          {"cmdPrintTape", "Print tape on default printer (Ctrl+P)"},
                          {"cmdCopy", "Copy number or entire tape to clipboard (Ctrl+C)"},
                          {"cmdExit", "Exit the Quillbox (Ctrl+X)"},
                      });
    for (int d = 0; d <= 9; ++d) {
        std::string digit = std::to_string(d);
        std::string article = d == 8 ? "an " : "a ";
        t.emplace_back("cmdKey(" + digit + ")",
                       "Enter " + article + digit + " in the Entry box (Either " + digit + " key)");
    }
    t.insert(t.end(), {
                          {"cmdKey(10)", "Enter 00 in the Entry box (Right Arrow)"},
                          {"cmdDecimal", "Enter a decimal point in the Entry box (Dec Pt or Period)"},
                          {"cmdPlus", "Change next operation to Plus (Either + key)"},
                          {"cmdMinus", "Change next operation to Minus (Either - key)"},
                          {"cmdMultiply", "Change next operation to Multiply (Either * key or X)"},
                          {"cmdDivide", "Change next operation to Divide (Either / key)"},
                          {"cmdEquals", "Subtotal the tape (Enter or = key)"},
                          {"cmdPlusMinus", "Toggle the sign of the number in Entry box"},
                          {"cmdInverse", "Calculate the inverse of the number in the Entry box"},
                          {"cmdSquareRoot", "Calculate the square root of the number in the Entry box"},
                          {"cmdPercent", "Change next operation to Percent Of (% key)"},
                          {"cmdMemoryRecall", "Overwrite Entry box with the value in Memory (Ctrl+M)"},
                          {"cmdClearMemory", "Clear Memory (Ctrl+N)"},
                          {"cmdMemoryAdd", "Add last/selected tape number to Memory (F5)"},
                          {"cmdMemorySubtract", "Subtract last/selected tape number from Memory (F6)"},
                          {"cmdMemoryDivide", "Divide last/selected tape number into Memory (F7)"},
                          {"cmdMemoryMultiply", "Multiply Memory by last/selected tape number (F8)"},
                          {"lblDecimalPlaces(0)", "Floating decimal point (Ctrl+F)"},
                          {"lblDecimalPlaces(1)", "Round to 1 decimal place (Ctrl+F1)"},
                      });
    for (int p = 2; p <= 5; ++p)
        t.emplace_back("lblDecimalPlaces(" + std::to_string(p) + ")",
                       "Round to " + std::to_string(p) + " decimal places (Ctrl+F" + std::to_string(p) + ")");
    return t;
}

TooltipTable BuildTapeCaption() {
    const std::string caption = "Enter up to 75 characters for a tape caption";
    return {{"frmTapeCaption", caption},
            {"txtTapeCaption", caption},
            {"cmdOK", "Click OK to do the print or save"},
            {"cmdCancel", "Click Cancel to abandon the print or save"}};
}

TooltipTable BuildChooseCopy() {
    const std::string choose = "Click on a copy selection";
    return {{"optCopy(0)", choose},          {"optCopy(1)", choose},
            {"optCopy(2)", choose},          {"frmChooseCopy", choose},
            {"cmdOK", "Click OK to do the copy"}, {"cmdCancel", "Click Cancel to abandon the copy"}};
}

TooltipTable BuildUsersGuide() {
    const std::string list = "Use the mouse with this list box to select a help topic";
    return {{"cmbTopics", list},
            {"lblSelectTopic", list},
            {"cmdFirst", "Click on First to display the alphabetically first topic"},
            {"cmdLast", "Click on Last to display the alphabetically last topic"},
            {"cmdNext", "Click on Next to display the alphabetically next topic"},
            {"cmdPrev", "Click on Previous to display the alphabetically previous topic"},
            {"cmdClose", "Click on Close to exit the User Guide"}};
}

TooltipTable BuildTimedEvent() {
    const std::string color = "Click on a background color for the event";
    TooltipTable t = {{"txtName", "Enter your name (required)"},
                      {"txtDate", "Enter the event date (optional)"},
                      {"txtEvent", "Enter an event description (optional)"}};
    for (int i = 0; i < 8; ++i) t.emplace_back("optColor(" + std::to_string(i) + ")", color);
    for (int i = 0; i < 8; ++i) t.emplace_back("lblColor(" + std::to_string(i) + ")", color);
    t.emplace_back("cmdBegin", "Click on Begin, or press F9 to start the event");
    t.emplace_back("cmdCancel", "Click on Cancel to abandon the event");
    return t;
}

TooltipTable BuildTaxRates() {
    return {{"txtRate1", "The rate of Tax+ and Tax- (Ctrl+R, Ctrl+U), 0 to 100 %, such as 19 or 7.5"},
            {"txtRate2", "The rate of Tax+ and Tax- with Shift (Ctrl+Shift+R, Ctrl+Shift+U); empty for none"},
            {"cmdOK", "Click OK to keep the rates"},
            {"cmdCancel", "Click Cancel to leave the rates as they were"}};
}

TooltipTable BuildCorrectLine() {
    return {{"txtNumber", "The number the line is to show, as you would key it"},
            {"cmbOperation", "The operation the number undergoes"},
            {"cmdOK", "Click OK to correct the line (Ctrl+Z takes it back)"},
            {"cmdCancel", "Click Cancel to leave the tape as it is"}};
}

}  // namespace

std::string CorrectedDescription(const std::string& original) {
    const auto first = original.find_first_not_of(' ');
    return "Corrected; was " + (first == std::string::npos ? std::string() : original.substr(first));
}

const TooltipTable& MainWindowTooltips() {
    static const TooltipTable table = BuildMainWindow();
    return table;
}

const TooltipTable& MenuItemTooltips() {
    static const TooltipTable table = {
        {"mnuFIExportPdf", "Save the tape as a PDF file, laid out as it prints"},
        {"mnuFIExportCsv", "Save the tape as a CSV file for a spreadsheet"},
        {"mnuTPCorrectLine", "Click here or press Ctrl+E to correct the selected tape line"},
        {"mnuTPUndo", "Click here or press Ctrl+Z to undo the last change to the tape, Entry box or Memory"},
        {"mnuTPRedo", "Click here or press Ctrl+Y to redo what Undo took back"},
        {"mnuOPAddPercent", "Put the Entry box number as a percentage on the subtotal: 100 + 10 Add % gives 110 (Ctrl+A)"},
        {"mnuOPLessPercent", "Take the Entry box number as a percentage off the subtotal: 100 + 10 Less % gives 90 (Ctrl+B)"},
        {"mnuDCRoundFiveFour", "Fixed places round halves away from zero: 2.345 gives 2.35, 2.344 gives 2.34"},
        {"mnuDCRoundUp", "Fixed places round any remainder away from zero: 2.341 gives 2.35, -2.341 gives -2.35"},
        {"mnuDCRoundDown", "Fixed places cut any remainder: 2.349 gives 2.34, -2.349 gives -2.34"},
        {"mnuOPTaxRates", "Click here to set the two tax rates of Tax+ and Tax-"},
        {"mnuOPTaxPlus", "Tax on the Entry box number (or the subtotal): prints net, tax and gross; 100 Tax+ at 19 % gives 119 (Ctrl+R)"},
        {"mnuOPTaxMinus", "Tax out of the Entry box number (or the subtotal) as a gross amount: prints gross, tax and net; 119 Tax- at 19 % gives 100 (Ctrl+U)"},
        {"mnuOPTaxPlusSecond", "Tax+ at the second tax rate (Ctrl+Shift+R)"},
        {"mnuOPTaxMinusSecond", "Tax- at the second tax rate (Ctrl+Shift+U)"},
        {"mnuOPMarkUp", "Sell price at the Entry box number as a mark-up in per cent on the subtotal as cost: 80 + 25 Mark-Up gives 100 (Ctrl+J)"},
        {"mnuOPCost", "The Entry box number as the cost; with the sell price or the margin, prints the third and the profit (Ctrl+Shift+C)"},
        {"mnuOPSell", "The Entry box number as the sell price; with the cost or the margin, prints the third and the profit (Ctrl+Shift+S)"},
        {"mnuOPMargin", "The Entry box number as the margin in per cent of the sell price; with the cost or the sell price, prints the third and the profit (Ctrl+Shift+M)"},
        {"mnuTPFind", "Click here or press Ctrl+G to find a number (typed in any form) or a note's text on the tape"},
        {"mnuTPFindNext", "Click here or press Shift+F3 to find the same number or text further down the tape"},
        {"mnuTPFindPrevious", "Click here or press Ctrl+Shift+F3 to find the same number or text further up the tape"},
        {"mnuOPItemCount", "Click here to show on each total how many numbers went into it"},
        {"mnuTPNote", "Click here or press Ctrl+K to write a note of up to 200 characters on the tape"},
        {"mnuOPReference", "Click here or type # to print the number in the Entry box as a reference (an invoice or cheque number) that is not added"},
        {"mnuOPGrandTotal", "Click here to add every total (=) into the grand total"},
        {"mnuTPGrandTotal", "Click here or press Ctrl+Shift+G to print the grand total; press it again at once to clear it"},
        {"mnuTPDeleteLine", "Click here or press Ctrl+Del to delete the selected line as if it had never been keyed"},
        {"mnuTPInsertLine", "Click here or press Ctrl+I to key a number and operation in after the selected line"},
        {"mnuTPRekeyCheck", "Click here or press Ctrl+H to key the tape again and check each line against the first keying"},
    };
    return table;
}

std::string DecimalPlacesTooltip(int index, Rounding mode) {
    std::string text = TooltipOf(MainWindowTooltips(), "lblDecimalPlaces(" + std::to_string(index) + ")");
    if (index > 0) text += " - " + std::string(RoundingName(mode));
    return text;
}

const TooltipTable& DialogTooltips(const std::string& dialog) {
    static const TooltipTable caption = BuildTapeCaption();
    static const TooltipTable copy = BuildChooseCopy();
    static const TooltipTable guide = BuildUsersGuide();
    static const TooltipTable event = BuildTimedEvent();
    static const TooltipTable correct = BuildCorrectLine();
    static const TooltipTable taxRates = BuildTaxRates();
    static const TooltipTable none;
    if (dialog == "frmTapeCaption") return caption;
    if (dialog == "ChooseCopy") return copy;
    if (dialog == "UsersGuide") return guide;
    if (dialog == "TimedEvent") return event;
    if (dialog == "frmCorrectLine") return correct;
    if (dialog == "frmTaxRates") return taxRates;
    return none;
}

std::string TooltipOf(const TooltipTable& table, const std::string& control) {
    for (const auto& [name, text] : table)
        if (name == control) return text;
    return {};
}

const std::vector<std::string>& ShortcutPanelLabels(int panel) {
    static const std::vector<std::string> first = {
        "User Guide ... F1",           "Clear Entry box ... Delete",  "Clear Subtotal ... F3",
        "New Tape ... F4",             "Add to Memory ... F5",        "Subtract from Memory ... F6",
        "Divide into Memory ... F7",   "Multiply by Memory ... F8",   "Timed Event ... F9",
        "Pause Timed Event ... F12",   "Collapse / Expand ... F11",   "Double zero ... Right Arrow",
        "Stopwatch ... Left Arrow",    "Exit the program ... Ctrl+X", "Next list >> Shift+F1"};
    static const std::vector<std::string> second = {
        "Open a tape file ... Ctrl+O",  "Save a tape ... Ctrl+S",       "Clear the caption ... Ctrl+Q",
        "New caption ... Ctrl+W",       "Copy ... Ctrl+C",              "Paste ... Ctrl+V",
        "Print ... Ctrl+P",             "Clear Memory ... Ctrl+N",      "Recall Memory ... Ctrl+M",
        "Auto Decimal ... Ctrl+D",      "Comma Separator ... Ctrl+L",   "Floating Point ... Ctrl+F",
        "Decimal Point n ... Ctrl+Fn",  "Show Tooltips ... Ctrl+T",     "Previous List << Shift+F1"};
    return panel == 2 ? second : first;
}

}  // namespace qb
