#pragma once
// The modal dialogs and the few window-system services the commands wait on. Each call blocks
// until the user answers and returns the answer, as the program's flow expects.

#include <optional>
#include <string>

namespace qb {

class PrinterPort;
class TimedEventRules;
struct TimedEventForm;

struct FileDialogRequest {
    bool save = false;         // Save As; otherwise Open
    std::string title;         // "the Quillbox"
    std::string filter;        // "Tape Files (*.QBX)|*.QBX"
    std::string initialName;   // a full path, or the start directory followed by "*.QBX"
};

// The Correct Line dialog's fields: the number as the Entry box takes it, and the operation
// as the tape shows it ('+', '-', '*', '/' or '%').
struct CorrectLineForm {
    std::string number;
    char operation = '+';
    // The number's label, saying how what is typed is read ("&Number (Auto Decimal, 2 places: ...").
    std::string label = "&Number:";
    // The dialog's title: the same form inserts a line.
    std::string title = "Correct Line";
    // The locale's decimal sign is a comma: a comma typed is the point, as in the Entry box. The
    // number comes back with a point.
    bool decimalComma = false;
};

// The Tax Rates dialog's fields: the two rates as typed (empty: no rate).
struct TaxRatesForm {
    std::string first, second;
};

class DialogPort {
public:
    virtual ~DialogPort() = default;

    // The chosen full path, or nothing when the user cancelled. In save mode the dialog neither
    // asks before overwriting nor adds an extension: the program adds ".QBX" and then asks
    // about the name it will really write.
    virtual std::optional<std::string> FileDialog(const FileDialogRequest& request) = 0;
    // The same with a filter of several types ("A (*.a)|*.a|B (*.b)|*.b"): type is the one
    // selected as the dialog opens (0 the first), and the one the user chose when it closes.
    virtual std::optional<std::string> FileDialogOfType(const FileDialogRequest& request, int& type) {
        type = 0;
        return FileDialog(request);
    }

    // The caption prompt, starting with initial (at most 75 characters; UTF-8). The text on OK
    // (UTF-8), nothing on Cancel. tooltipsOn is the program-wide switch, which Ctrl+T in the prompt may flip.
    virtual std::optional<std::string> CaptionPrompt(const std::string& initial, bool& tooltipsOn) = 0;

    // The copy choice: 'L' the last value on the tape, 'S' the selected value (offered only when
    // selectedOffered, and then preselected), 'W' the entire tape; nothing when cancelled.
    virtual std::optional<char> ChooseCopy(bool selectedOffered, bool& tooltipsOn) = 0;

    // The timed event's set-up window, filled from form. True when Begin passed the rules'
    // checks (form then holds what was entered), false on Cancel.
    virtual bool TimedEventDialog(TimedEventForm& form, bool& tooltipsOn, const TimedEventRules& rules) = 0;

    // The Correct Line dialog, filled from form: true on OK (form then holds the answer).
    virtual bool CorrectLineDialog(CorrectLineForm& /*form*/, bool& /*tooltipsOn*/) { return false; }

    // The note prompt, starting with initial (UTF-8): the text typed (UTF-8) on OK, nothing on
    // Cancel. The core checks the text and asks again with it when it cannot take it.
    virtual std::optional<std::string> NotePrompt(const std::string& /*initial*/, bool& /*tooltipsOn*/) {
        return std::nullopt;
    }

    // The Tax Rates dialog, filled from form: true on OK (form then holds what was typed). The
    // core checks the rates and asks again with them when it cannot take them.
    virtual bool TaxRatesDialog(TaxRatesForm& /*form*/, bool& /*tooltipsOn*/) { return false; }

    // The find prompt, starting with initial (UTF-8): the text to find (UTF-8), nothing on Cancel.
    virtual std::optional<std::string> FindPrompt(const std::string& /*initial*/, bool& /*tooltipsOn*/) {
        return std::nullopt;
    }

    // Installed printers.
    virtual int PrinterCount() = 0;
    // The printer dialog: the number of copies, or nothing when cancelled.
    virtual std::optional<int> PrinterDialog(const std::string& title) = 0;
    // The printer chosen in the last printer dialog.
    virtual PrinterPort& Printer() = 0;

    // The busy mouse pointer, while a tape file is written.
    virtual void SetBusy(bool busy) = 0;
};

}  // namespace qb
