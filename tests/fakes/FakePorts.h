#pragma once
// Fakes of the ports: they record what the program asked of the outside and answer from a script.

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/DialogPort.h"
#include "platform/FilePort.h"
#include "platform/MessagePort.h"
#include "platform/NullPorts.h"
#include "platform/Ports.h"
#include "platform/SettingsPort.h"
#include "platform/AudioPort.h"
#include "timers/TimedEvent.h"
#include "fakes/FakePrinter.h"

namespace qb::test {

class FakeMessagePort : public MessagePort {
public:
    MessageAnswer ShowMessage(const MessageRequest& request) override;
    void Beep() override { ++beeps; }

    std::vector<MessageRequest> shown;
    std::deque<MessageAnswer> answers;  // answers to the next questions; else the default answer
    std::function<void(const MessageRequest&)> whileShown;  // what happens while a box is open
    int beeps = 0;

    // The texts of the error boxes shown so far.
    std::vector<std::string> Errors() const;
    void Reset() { shown.clear(), beeps = 0; }
};

// A sound device whose sound is over at once, and says so, so every request plays: requests
// counts them.
class FakeAudioPort : public AudioPort {
public:
    bool Open(const std::string& path) override {
        opened = path;
        return true;
    }
    bool Playing() override { return false; }
    void Play() override {
        ++requests;
        if (ended) ended();
    }
    void Rewind() override {}
    void Close() override {}
    void SetEndedHandler(std::function<void()> handler) override { ended = std::move(handler); }
    int requests = 0;
    std::string opened;  // the wave file
    std::function<void()> ended;
};

// The settings of one user, by key; application and section are checked on every call.
class FakeSettingsPort : public SettingsPort {
public:
    std::string Get(const std::string& application, const std::string& section, const std::string& key) override;
    bool Save(const std::string& application, const std::string& section, const std::string& key,
              const std::string& value) override;
    std::string Place() const override { return "/home/pat/.config/the Quillbox/the Quillbox.ini"; }

    std::map<std::string, std::string> values;
    int writes = 0;
    bool failSaves = false;  // every save fails, as on a read-only file; nothing is kept
};

// Dialogs answered from scripts; an empty script cancels.
class FakeDialogPort : public DialogPort {
public:
    std::optional<std::string> FileDialog(const FileDialogRequest& request) override;
    std::optional<std::string> FileDialogOfType(const FileDialogRequest& request, int& type) override;
    std::optional<std::string> CaptionPrompt(const std::string& initial, bool& tooltipsOn) override;
    std::optional<char> ChooseCopy(bool selectedOffered, bool& tooltipsOn) override;
    bool TimedEventDialog(TimedEventForm& form, bool& tooltipsOn, const TimedEventRules& rules) override;
    bool CorrectLineDialog(CorrectLineForm& form, bool& tooltipsOn) override;
    std::optional<std::string> NotePrompt(const std::string& initial, bool& tooltipsOn) override;
    bool TaxRatesDialog(TaxRatesForm& form, bool& tooltipsOn) override;
    std::optional<std::string> FindPrompt(const std::string& initial, bool& tooltipsOn) override;
    int PrinterCount() override { return printers; }
    std::optional<int> PrinterDialog(const std::string& title) override;
    PrinterPort& Printer() override { return printer ? *printer : nullPrinter; }
    void SetBusy(bool busy) override { busy ? ++busyOn : ++busyOff; }

    std::deque<std::optional<std::string>> files;     // answers of the file dialog
    std::deque<std::optional<std::string>> captions;  // answers of the caption prompt
    std::deque<std::optional<int>> printerAnswers;    // copies, or a cancel
    std::deque<std::optional<char>> copyChoices;  // answers of the copy window
    std::vector<bool> copyOffers;                 // whether each offered "Selected value"
    // Forms typed into the timed event's set-up window and Begin pressed; an empty list cancels.
    // Each Begin is checked by the rules as the window would; a refused one counts as Cancel.
    std::deque<TimedEventForm> eventForms;
    std::vector<TimedEventForm> eventFormsShown;  // what each set-up window opened with
    // Answers of the Correct Line dialog (nothing: Cancel), and what each one opened with.
    std::deque<std::optional<CorrectLineForm>> corrections;
    std::vector<CorrectLineForm> correctionsShown;
    int printers = 1;
    PrinterPort* printer = nullptr;
    NullPrinter nullPrinter;

    std::vector<FileDialogRequest> fileRequests;
    // The types a file dialog of several opened on, and the ones chosen (none: left as offered).
    std::vector<int> fileTypesOffered;
    std::deque<int> fileTypes;
    std::vector<std::string> captionPrompts;  // the text each prompt started with
    std::deque<std::optional<std::string>> notes;  // answers of the note prompt (UTF-8)
    std::vector<std::string> notePrompts;          // the text each note prompt started with
    std::deque<std::optional<TaxRatesForm>> taxRates;  // answers of the Tax Rates dialog (nothing: Cancel)
    std::vector<TaxRatesForm> taxRatesShown;           // what each Tax Rates dialog started with
    std::deque<std::optional<std::string>> finds;  // answers of the find prompt (UTF-8)
    std::vector<std::string> findPrompts;          // the text each find prompt started with
    int busyOn = 0, busyOff = 0;
    bool ctrlT = false;  // every dialog has its tooltip switch turned (Ctrl+T) before it closes
};

// A clock that tests move by hand, and a date parser for m/d/yy, m/d/yyyy and yyyy-mm-dd.
class FakeClockPort : public ClockPort {
public:
    double SecondsSinceMidnight() override { return now; }
    std::string Today() override { return "12/6/2026"; }
    std::optional<std::string> ParseDate(const std::string& text) override;
    std::int64_t SecondsSinceEpoch() override { return epoch; }

    double now = 9 * 3600;
    std::int64_t epoch = 1796548496;  // 12/6/2026 09:14:56 UTC
};

// Files in memory, named by their whole paths. A write replaces a file whole or not at all;
// writes can be made to fail. Folders are whatever the paths name; those in readOnly refuse new
// files.
class FakeFilePort : public FilePort {
public:
    ReadOutcome ReadAll(const std::string& path, std::string& bytes, std::uint64_t limit) override;
    bool WriteAll(const std::string& path, const std::string& bytes) override;
    bool Exists(const std::string& path) override { return files.count(path) != 0; }
    std::vector<std::string> ListFiles(const std::string& folder) override;
    bool CanWriteIn(const std::string& folder) override;
    PathKind KindOf(const std::string& path) override;
    // A file's bytes are its version here: a write of other bytes is another one.
    std::string StampOf(const std::string& path) override {
        const auto file = files.find(path);
        return file == files.end() ? std::string() : "bytes:" + file->second;
    }

    std::map<std::string, std::string> files;
    std::set<std::string> specials;  // pipes and devices: no plain files, never read
    std::set<std::string> folders;   // beside those that hold files
    std::set<std::string> readOnly;  // folders, ending in '/'
    std::set<std::string> tooLarge;  // files over any limit, without holding their bytes
    bool outOfMemory = false;        // reading throws std::bad_alloc
    std::uint64_t lastLimit = 0;     // the limit of the last read
    bool failWrites = false;
    std::string writeError;  // what a failed write gives as its reason
    int writes = 0;

    // The private files of the recovery record: whole writes, appends, renames and removals.
    bool MakePrivateFolder(const std::string& folder) override;
    bool WritePrivate(const std::string& path, ByteSource& source) override;
    bool AppendPrivate(const std::string& path, std::string_view bytes) override;
    bool Rename(const std::string& from, const std::string& to) override;
    bool Remove(const std::string& path) override;
    ReadOutcome ReadPrivate(const std::string& path, std::string& bytes, std::uint64_t limit) override;
    LockOutcome LockPrivate(const std::string& path) override;
    void UnlockPrivate(const std::string& path, bool remove) override;
    std::set<std::string> privateFolders;
    // Folders (ending in '/') and files that are not the user's own, or are open to others.
    std::set<std::string> notPrivate;
    std::set<std::string> locks;            // held by this copy
    std::set<std::string> lockedElsewhere;  // held by another running copy
    bool noLocks = false;                   // a file system without locks
    int failPrivateWrites = 0;              // so many whole private writes fail next
    int privateWrites = 0, appends = 0;
    // The next append stops after this many bytes, as at a power cut, and fails.
    std::optional<std::size_t> tearNextAppend;
    std::string LastWriteError() const override { return writeError; }

    // Durability: appends wait for SyncPrivate; a file renamed into place waits for its folder.
    bool SyncPrivate(const std::string& path) override;
    bool SyncFolder(const std::string& folder) override;
    std::string LastPrivateError() const override { return ""; }
    void WatchTemporaries(std::function<void(const std::string&)> watcher) override { temporaryWatcher = std::move(watcher); }
    std::function<void(const std::string&)> temporaryWatcher;
    bool failFolderSync = false;
    // What was asked of the disk, in order: "write <path>", "in place <path>", "sync folder
    // <folder>", "write private <path>", "append <path>", "sync <path>", "remove <path>".
    std::vector<std::string> log;
    // The log's entries from the first that begins with from.
    std::vector<std::string> LogFrom(const std::string& from) const;
    // The files as they were when the last write of a file began.
    std::map<std::string, std::string> filesAtWrite;
};

// PDF files in the fake file system: each holds the texts its printer printed, one a line,
// with a form feed between pages. The titles are kept apart.
class FakePdfPort : public PdfPort {
public:
    explicit FakePdfPort(FakeFilePort& files) : files_(files) {}
    PrinterPort& Open(const std::string& path, const std::string& title) override;
    bool Finish(std::string& reason) override;

    FakePrinter printer{11906, 16838};  // A4
    std::string path;
    std::vector<std::string> titles;
    std::optional<std::string> failure;  // the reason Finish gives, when set

private:
    FakeFilePort& files_;
};

class FakeClipboardPort : public ClipboardPort {
public:
    void SetText(const std::string& t) override { text = t; }
    std::optional<std::string> GetText() override { return text; }
    std::optional<std::string> text;
};

// Long work's progress; the user cancels once `cancelAt` steps are reported done.
class FakeProgressPort : public ProgressPort {
public:
    void Begin(const std::string& what, std::int64_t steps) override { begun.emplace_back(what, steps); }
    bool Advance(std::int64_t done) override { return !cancelAt || done < *cancelAt; }
    void End() override { ++ended; }
    std::vector<std::pair<std::string, std::int64_t>> begun;
    int ended = 0;
    std::optional<std::int64_t> cancelAt;
};

struct FakePorts {
    FakeMessagePort messages;
    FakeAudioPort sound;
    FakeSettingsPort settings;
    FakeDialogPort dialogs;
    FakeFilePort files;
    FakeClockPort clock;
    FakeClipboardPort clipboard;
    FakePdfPort pdf{files};
    FakeProgressPort progress;
    Ports ports() { return Ports{messages, &sound, &settings, &dialogs, &files, &clock, &clipboard, &pdf, &progress}; }
};

}  // namespace qb::test
