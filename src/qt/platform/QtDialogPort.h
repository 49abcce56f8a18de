#pragma once
// The modal dialogs through Qt: the file dialog, the caption prompt, the printer dialog and the
// printer, and the busy pointer.

#include <QPrinter>
#include <functional>
#include <memory>

#include "platform/DialogPort.h"
#include "platform/QtPrinterPort.h"

class QWidget;

namespace qb {

class MessagePort;

class QtDialogPort final : public DialogPort {
public:
    // Messages: where the set-up window of a timed event reports what Begin refused.
    explicit QtDialogPort(MessagePort& messages);
    // The window the dialogs belong to (and are centred over).
    void SetParent(QWidget* parent) { parent_ = parent; }
    // Called before a dialog shows, so the window behind it is up to date.
    void SetBeforeShow(std::function<void()> beforeShow) { beforeShow_ = std::move(beforeShow); }

    std::optional<std::string> FileDialog(const FileDialogRequest& request) override;
    std::optional<std::string> FileDialogOfType(const FileDialogRequest& request, int& type) override;
    std::optional<std::string> CaptionPrompt(const std::string& initial, bool& tooltipsOn) override;
    std::optional<char> ChooseCopy(bool selectedOffered, bool& tooltipsOn) override;
    bool TimedEventDialog(TimedEventForm& form, bool& tooltipsOn, const TimedEventRules& rules) override;
    bool CorrectLineDialog(CorrectLineForm& form, bool& tooltipsOn) override;
    bool TaxRatesDialog(TaxRatesForm& form, bool& tooltipsOn) override;
    std::optional<std::string> NotePrompt(const std::string& initial, bool& tooltipsOn) override;
    std::optional<std::string> FindPrompt(const std::string& initial, bool& tooltipsOn) override;
    int PrinterCount() override;
    std::optional<int> PrinterDialog(const std::string& title) override;
    PrinterPort& Printer() override { return printerPort_; }
    void SetBusy(bool busy) override;

    QPrinter& QtPrinter() { return printer_; }

private:
    std::optional<std::string> TextPrompt(const char* name, const char* title, const char* label,
                                          const std::string& initial);
    MessagePort& messages_;
    std::function<void()> beforeShow_;
    QWidget* parent_ = nullptr;
    QPrinter printer_;
    QtPrinterPort printerPort_;
};

}  // namespace qb
