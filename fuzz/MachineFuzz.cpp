// The whole program through the core, as a user with a hostile file and a restless hand would
// drive it: a fuzzed tape file is opened, then a fuzzed run of keys and commands follows (memory,
// copy, paste, selection, options, captions, saves, reopening, timed events), with every dialog
// and question answered from the same bytes. Nothing may crash, and after every save the file
// must open again as the same tape, subtotal, operation and flags.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "Machine.h"
#include "engine/NumberRules.h"
#include "platform/NullPorts.h"
#include "timers/TimedEvent.h"
#include "window/KeyCodes.h"

namespace {

using namespace qb;

// Whatever the bytes say; the bytes running out answers with the quiet choice.
struct Answers {
    FuzzedDataProvider* data = nullptr;
    bool Has() const { return data && data->remaining_bytes() > 0; }
    int Pick(int count) { return Has() ? data->ConsumeIntegralInRange<int>(0, count - 1) : 0; }
    std::string Text(std::size_t most) { return Has() ? data->ConsumeRandomLengthString(most) : std::string(); }
};

class Messages final : public MessagePort {
public:
    explicit Messages(Answers& answers) : answers_(answers) {}
    MessageAnswer ShowMessage(const MessageRequest& request) override {
        switch (request.buttons) {
        case MessageButtons::Ok: return MessageAnswer::Ok;
        case MessageButtons::OkCancel: return answers_.Pick(2) ? MessageAnswer::Cancel : MessageAnswer::Ok;
        case MessageButtons::YesNo: return answers_.Pick(2) ? MessageAnswer::No : MessageAnswer::Yes;
        case MessageButtons::YesNoCancel: {
            const MessageAnswer all[] = {MessageAnswer::No, MessageAnswer::Yes, MessageAnswer::Cancel};
            return all[answers_.Pick(3)];
        }
        }
        return request.defaultAnswer;
    }
    void Beep() override {}

private:
    Answers& answers_;
};

// What a tape file must bring back.
struct Kept {
    std::vector<std::string> lines;
    std::string subtotal;
    char operation;
    std::string entry;
    bool justPressedEquals, specialResult;
    bool operator==(const Kept&) const = default;
};

Kept KeptOf(const Machine& machine) {
    const CalculatorState& state = machine.GetCalculator().State();
    return Kept{machine.GetTape().Lines().ToVector(), NumberToText(state.Subtotal), state.PendingOperation,
                state.EntryText, state.JustPressedEquals, state.SpecialResult};
}

// A file as it was written, and the machine as it stood when it was.
struct Written {
    std::string bytes;
    Kept kept;
};

// Files in memory; a write fails when the bytes say so.
class Files final : public FilePort {
public:
    explicit Files(Answers& answers) : answers_(answers) {}
    ReadOutcome ReadAll(const std::string& path, std::string& bytes, std::uint64_t limit) override {
        auto it = files.find(path);
        if (it == files.end()) return ReadOutcome::Failed;
        if (it->second.size() > limit) return ReadOutcome::TooLarge;
        bytes = it->second;
        return ReadOutcome::Read;
    }
    bool WriteAll(const std::string& path, const std::string& bytes) override {
        if (answers_.Pick(8) == 0) return false;
        files[path] = bytes;
        if (writer) written.push_back({bytes, KeptOf(*writer)});
        return true;
    }
    bool Exists(const std::string& path) override { return files.count(path) != 0; }
    std::vector<std::string> ListFiles(const std::string&) override { return {}; }
    bool CanWriteIn(const std::string& folder) override { return folder == "/t/"; }

    std::map<std::string, std::string> files;
    const Machine* writer = nullptr;
    std::vector<Written> written;

private:
    Answers& answers_;
};

const char* const kPaths[] = {"/t/a", "/t/a.QBX", "/t/b.QBX", "/t/in.QBX", "/t/bad.txt", "/t/c.d.QBX", "x"};

class Dialogs final : public NullDialogs {
public:
    explicit Dialogs(Answers& answers) : answers_(answers) {}
    std::optional<std::string> FileDialog(const FileDialogRequest&) override {
        const int pick = answers_.Pick(8);
        if (pick == 7) return std::nullopt;
        return std::string(kPaths[pick]);
    }
    std::optional<std::string> CaptionPrompt(const std::string& initial, bool& tooltipsOn) override {
        // Out of answers, the user cancels: a refused caption is asked for again until then.
        switch (answers_.Pick(4)) {
        case 0: return std::nullopt;
        case 1: return initial;
        case 2: tooltipsOn = !tooltipsOn; return initial;
        default: return answers_.Text(100);
        }
    }
    // A note or a text to find: none (the prompt cancelled, which ends a refusal's asking again)
    // or any bytes, past the longest note too.
    std::optional<std::string> NotePrompt(const std::string&, bool&) override { return Typed(220); }
    std::optional<std::string> FindPrompt(const std::string&, bool&) override { return Typed(20); }
    std::optional<std::string> Typed(std::size_t most) {
        if (answers_.Pick(3) == 0) return std::nullopt;
        return answers_.Text(most);
    }
    // Tax rates: cancelled (which ends a refusal's asking again), or a common rate, or any bytes.
    bool TaxRatesDialog(TaxRatesForm& form, bool&) override {
        if (answers_.Pick(3) == 0) return false;
        const char* common[] = {"19", "7", "7,5", "100", ""};
        form.first = answers_.Pick(2) ? common[answers_.Pick(5)] : answers_.Text(10);
        form.second = answers_.Pick(2) ? common[answers_.Pick(5)] : answers_.Text(10);
        return true;
    }
    bool CorrectLineDialog(CorrectLineForm& form, bool&) override {
        if (answers_.Pick(4) == 0) return false;
        form.number = answers_.Text(16);
        form.operation = "+-*/%x="[answers_.Pick(7)];
        return true;
    }
    std::optional<char> ChooseCopy(bool selectedOffered, bool&) override {
        const char all[] = {'L', 'S', 'W', 0};
        const char choice = all[answers_.Pick(4)];
        if (!choice || (choice == 'S' && !selectedOffered)) return std::nullopt;
        return choice;
    }
    bool TimedEventDialog(TimedEventForm& form, bool&, const TimedEventRules& rules) override {
        if (answers_.Pick(2)) return false;
        TimedEventForm typed{answers_.Text(12), answers_.Text(12), answers_.Text(12), 1 + answers_.Pick(8)};
        if (rules.Check(typed)) return false;  // the window would not close on a refused form
        form = typed;
        return true;
    }

private:
    Answers& answers_;
};

class Clipboard final : public ClipboardPort {
public:
    explicit Clipboard(Answers& answers) : answers_(answers) {}
    void SetText(const std::string& t) override { text = t; }
    std::optional<std::string> GetText() override {
        if (answers_.Pick(3) == 0) return answers_.Text(40);
        return text;
    }
    std::optional<std::string> text;

private:
    Answers& answers_;
};

class Settings final : public SettingsPort {
public:
    std::string Get(const std::string&, const std::string&, const std::string& key) override {
        auto it = values.find(key);
        return it == values.end() ? std::string() : it->second;
    }
    bool Save(const std::string&, const std::string&, const std::string& key, const std::string& value) override {
        values[key] = value;
        return true;
    }
    std::map<std::string, std::string> values;
};

class Clock final : public NullClock {
public:
    double SecondsSinceMidnight() override { return now; }
    std::string Today() override { return "12/6/2026"; }
    std::optional<std::string> ParseDate(const std::string& text) override {
        return text.empty() ? std::nullopt : std::optional<std::string>("7/4/2024");
    }
    double now = 3600;
};

// Opens the bytes as a file in a machine of its own that answers every question quietly.
Kept Reopened(const std::string& bytes) {
    const std::string path = "/t/written.QBX";
    Answers none;
    Messages messages(none);
    Files reader(none);
    reader.files[path] = bytes;
    struct OneFile final : NullDialogs {
        std::string path;
        std::optional<std::string> FileDialog(const FileDialogRequest&) override { return path; }
    } dialogs;
    dialogs.path = path;
    Machine machine(Ports{messages, nullptr, nullptr, &dialogs, &reader});
    machine.Load();
    machine.FirstActivation();
    machine.Run(Command::Open);
    return KeptOf(machine);
}

// Commands of the menus and buttons; keys come separately.
const Command kCommands[] = {
    Command::Open,          Command::Save,           Command::SaveAs,         Command::Collapse,
    Command::Stopwatch,     Command::TimedEvent,     Command::NewCaption,     Command::ClearCaption,
    Command::Paste,         Command::Copy,           Command::NewTape,        Command::ClearMemory,
    Command::RecallMemory,  Command::MemoryAdd,      Command::MemorySubtract, Command::MemoryDivide,
    Command::MemoryMultiply, Command::FloatingPoint, Command::Places1,        Command::Places3,
    Command::Places5,       Command::AutoDecimal,    Command::RoundBeforeOperation, Command::ClearOnEqual,
    Command::ClearEntryBox, Command::CommaSeparator, Command::PromptFileCaption, Command::ShortcutKeys,
    Command::Inverse,       Command::SquareRoot,     Command::PlusMinus,      Command::ClearSubtotal,
    Command::ClearEntry,    Command::Equals,         Command::Exit,           Command::CorrectLine,
    Command::Undo,          Command::Redo,           Command::Undo,
    Command::Reference,     Command::Note,           Command::Find,           Command::FindNext,
    Command::FindPrevious,  Command::ItemCount,
    Command::GrandTotalOption, Command::GrandTotal, Command::GrandTotal, Command::DeleteLine,
    Command::InsertLine,    Command::RekeyCheck,
    Command::AddPercent,    Command::LessPercent,    Command::RoundUp,        Command::RoundDown,
    Command::TaxRates,      Command::TaxPlus,        Command::TaxMinus,       Command::TaxPlusSecond,
    Command::TaxMinusSecond, Command::MarkUp,        Command::Cost,           Command::Sell,
    Command::Margin,
};

// Keys as the window passes them on: code, shift state, character.
struct KeyPress {
    int code, shift;
    char character;
};
const KeyPress kKeys[] = {
    {'1', 0, '1'},          {'5', 0, '5'},          {'9', 0, '9'},         {'0', 0, '0'},
    {vk::DecimalKey, 0, '.'},  {vk::Add, 0, '+'},      {vk::Subtract, 0, '-'}, {vk::Multiply, 0, '*'},
    {vk::Divide, 0, '/'},   {'5', 1, '%'},          {vk::Return, 0, '\r'},  {vk::Back, 0, '\b'},
    {vk::Delete, 0, 0},     {vk::Up, 0, 0},         {vk::Down, 0, 0},       {vk::Prior, 0, 0},
    {vk::Next, 0, 0},       {vk::Right, 0, 0},      {vk::Left, 0, 0},       {vk::F12, 0, 0},
    {vk::F11, 0, 0},        {vk::Escape, 0, 0},     {vk::F3, 0, 0},         {vk::F5, 0, 0},
    {'E', 2, 0x05},         {'Z', 2, 0x1A},         {'Y', 2, 0x19},
    {'3', 1, '#'},          {'K', 2, 0x0B},         {'G', 2, 0x07},        {vk::F3, 1, 0},
    {'J', 2, 0x0A},         {vk::Delete, 2, 0},     {'I', 2, 0x09},        {'R', 2, 0x12},
    {'M', 2, '\r'},         {'V', 2, 0x16},         {'C', 2, 0x03},        {'S', 2, 0x13},        {'X', 2, 0x18},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    Answers answers{&data};
    Messages messages(answers);
    Files files(answers);
    Dialogs dialogs(answers);
    Clipboard clipboard(answers);
    Settings settings;
    Clock clock;
    files.files["/t/in.QBX"] = data.ConsumeRandomLengthString(4000);

    Machine machine(Ports{messages, nullptr, &settings, &dialogs, &files, &clock, &clipboard});
    files.writer = &machine;
    machine.SetFolders({"/t", "", "", "/t"});
    machine.Load();
    machine.FirstActivation();

    for (int step = 0; step < 400 && data.remaining_bytes() > 0; ++step) {
        files.written.clear();
        clock.now += data.ConsumeIntegralInRange<int>(0, 90);
        machine.StopwatchTick();
        if (data.ConsumeBool()) {
            const KeyPress& key = kKeys[data.ConsumeIntegralInRange<std::size_t>(0, std::size(kKeys) - 1)];
            machine.Key(key.code, key.shift, key.character);
        } else {
            machine.Run(kCommands[data.ConsumeIntegralInRange<std::size_t>(0, std::size(kCommands) - 1)]);
        }
        if (machine.Window().CloseRequested()) machine.QueryClose();
        for (const Written& file : files.written)
            if (Reopened(file.bytes) != file.kept) std::abort();
    }
    return 0;
}
