#pragma once
// Ports for a machine that has no outside world of that kind: every dialog is cancelled, there
// is no printer and no file can be read or written.

#include "platform/AudioPort.h"
#include "platform/ClipboardPort.h"
#include "platform/ClockPort.h"
#include "platform/DialogPort.h"
#include "platform/FilePort.h"
#include "platform/PrinterPort.h"

namespace qb {

class NullPrinter : public PrinterPort {
public:
    int PageWidth() override { return 0; }
    int PageHeight() override { return 0; }
    std::string FontName() override { return {}; }
    void SetFontName(const std::string&) override {}
    double CurrentX() override { return 0; }
    double CurrentY() override { return 0; }
    void SetCurrentX(double) override {}
    void SetCurrentY(double) override {}
    void PrintLine(const std::string&) override {}
    void SkipLine() override {}
    void NewPage() override {}
    void EndDoc() override {}
};

class NullDialogs : public DialogPort {
public:
    std::optional<std::string> FileDialog(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> CaptionPrompt(const std::string&, bool&) override { return std::nullopt; }
    std::optional<char> ChooseCopy(bool, bool&) override { return std::nullopt; }
    bool TimedEventDialog(TimedEventForm&, bool&, const TimedEventRules&) override { return false; }
    int PrinterCount() override { return 0; }
    std::optional<int> PrinterDialog(const std::string&) override { return std::nullopt; }
    PrinterPort& Printer() override { return printer_; }
    void SetBusy(bool) override {}

private:
    NullPrinter printer_;
};

class NullFiles : public FilePort {
public:
    ReadOutcome ReadAll(const std::string&, std::string&, std::uint64_t) override { return ReadOutcome::Failed; }
    bool WriteAll(const std::string&, const std::string&) override { return false; }
    bool Exists(const std::string&) override { return false; }
    std::vector<std::string> ListFiles(const std::string&) override { return {}; }
    bool CanWriteIn(const std::string&) override { return false; }
};

class NullClock : public ClockPort {
public:
    double SecondsSinceMidnight() override { return 0; }
    std::string Today() override { return "1/1/2000"; }
    std::optional<std::string> ParseDate(const std::string&) override { return std::nullopt; }
};

class NullAudio : public AudioPort {
public:
    bool Open(const std::string&) override { return false; }
    bool Playing() override { return false; }
    void Play() override {}
    void Rewind() override {}
    void Close() override {}
};

// A clipboard that only this program sees.
class OwnClipboard : public ClipboardPort {
public:
    void SetText(const std::string& text) override { text_ = text; }
    std::optional<std::string> GetText() override { return text_; }

private:
    std::optional<std::string> text_;
};

}  // namespace qb
