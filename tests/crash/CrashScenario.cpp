// A day's file work of the program, driven through the core with the real file port, for a
// driver that kills it at one system call after another and looks at what each kill left:
//
//   crash_scenario prepare WORK   the folders and the older tape files the day starts from
//   crash_scenario run WORK [REF] the day, step by step; with REF, what each step leaves on the
//                                 disk is copied to REF/<n> (REF/0: as prepared)
//   crash_scenario check WORK REF after a kill: the files, the start-up recovery and stray copies
//
// While it runs, the day marks "B n" before step n and "E n" after it on descriptor 3 (when
// open) with pwrite, a call the driver never kills, so a check knows which step was under way.

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "Machine.h"
#include "fakes/FakePorts.h"
#include "platform/QtFilePort.h"

namespace fs = std::filesystem;
using namespace qb;
using namespace qb::test;

namespace {

const char* const kOlderTape = "QBX=An older tape\r\nACC=1\r\n";
const char* const kFixedTape = "QBX=A tape in a closed folder\r\nACC=2\r\n";
// The files the day writes, and where; a check compares each with its versions.
const std::vector<std::string> kWatched = {"tapes/Tape.QBX", "tapes/Tape.csv", "fixed/Fixed.QBX"};

// The program as the shell makes it, on the real file port; dialogs and messages from scripts.
struct Program {
    FakeMessagePort messages;
    FakeSettingsPort settings;
    FakeDialogPort dialogs;
    QtFilePort files;
    FakeClockPort clock;
    Machine machine{Ports{messages, nullptr, &settings, &dialogs, &files, &clock, nullptr, nullptr}};

    Program(const std::string& work, const std::string& recordName) {
        machine.SetStartDirectory(work + "/tapes/");
        machine.SetRecoveryPlace({work + "/state/", recordName});
        machine.Load();
        machine.FirstActivation();
    }

    // The shell's flush timer, run out.
    void Settle() {
        for (int tick = 0; machine.RecoveryTimerOn() && tick < RecoveryKeeper::kMostTries; ++tick)
            machine.RecoveryTick();
    }
    void Do(Command command) {
        machine.Run(command);
        Settle();
    }
    void Keys(const std::string& keys) {
        for (char c : keys) {
            if (c >= '0' && c <= '9')
                machine.Run(DigitCommand(c - '0'));
            else
                machine.Run(c == '.' ? Command::DecimalPoint : c == '+' ? Command::Plus : Command::Minus);
        }
        Settle();
    }
    void SaveAs(const std::string& path) {
        dialogs.captions.push_back(std::string("Day"));
        dialogs.files.push_back(path);
        messages.answers.push_back(MessageAnswer::Yes);  // "... already exists. Do you want to replace it?"
        Do(Command::SaveAs);
    }
    std::vector<std::string> Lines() const { return machine.GetTape().Lines().ToVector(); }
};

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void Write(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += line + "\n";
    return text;
}

struct Step {
    const char* name;
    std::function<void(Program&, const std::string& work)> run;
    bool asUser = false;  // only where the folder's mode binds, which it does not for root
};

const std::vector<Step>& Day() {
    static const std::vector<Step> steps = {
        {"a fresh record", [](Program& p, const std::string&) { p.Keys("12.5+"); }},
        {"an appended line", [](Program& p, const std::string&) { p.Keys("7.5+"); }},
        {"Save As over an older file",
         [](Program& p, const std::string& w) { p.SaveAs(w + "/tapes/Tape.QBX"); }},
        {"a record after a save", [](Program& p, const std::string&) { p.Keys("3+"); }},
        {"an appended line", [](Program& p, const std::string&) { p.Keys("4+"); }},
        {"an undo: the record afresh", [](Program& p, const std::string&) { p.Do(Command::Undo); }},
        {"Save", [](Program& p, const std::string&) { p.Do(Command::Save); }},
        {"the export",
         [](Program& p, const std::string& w) {
             p.dialogs.files.push_back(w + "/tapes/Tape.csv");
             p.machine.Run(Command::ExportCsv);
         }},
        {"a line before a drop", [](Program& p, const std::string&) { p.Keys("9+"); }},
        {"the tape dropped",
         [](Program& p, const std::string&) {
             p.messages.answers.push_back(MessageAnswer::No);  // "Save the tape?"
             p.Do(Command::NewTape);
         }},
        {"a line after the drop", [](Program& p, const std::string&) { p.Keys("8+"); }},
        {"Save As over a file in a closed folder: written in place",
         [](Program& p, const std::string& w) { p.SaveAs(w + "/fixed/Fixed.QBX"); }, true},
    };
    return steps;
}

class Marks {
public:
    Marks() : on_(::fcntl(3, F_GETFD) != -1) {}
    void Put(char what, std::size_t step) {
        if (!on_) return;
        const std::string mark = std::string(1, what) + " " + std::to_string(step) + "\n";
        if (::pwrite(3, mark.data(), mark.size(), static_cast<off_t>(offset_)) > 0) offset_ += mark.size();
    }

private:
    bool on_;
    std::size_t offset_ = 0;
};

// What the disk holds after a step: the watched files, and the tape a recovery is to bring back
// ("recovery", absent when no record is due).
void Snapshot(const std::string& work, const fs::path& into, const Program* program) {
    fs::create_directories(into);
    for (const auto& file : kWatched)
        if (fs::exists(work + "/" + file)) fs::copy_file(work + "/" + file, into / fs::path(file).filename());
    if (program && program->machine.GetTape().Dirty()) Write(into / "recovery", Joined(program->Lines()));
}

int Prepare(const std::string& work) {
    for (const char* folder : {"tapes", "fixed", "state"}) fs::create_directories(work + "/" + folder);
    Write(work + "/tapes/Tape.QBX", kOlderTape);
    Write(work + "/fixed/Fixed.QBX", kFixedTape);
    // A folder that takes no new file, holding a tape file that may be written.
    fs::permissions(work + "/fixed", fs::perms::all & ~(fs::perms::owner_write | fs::perms::group_write |
                                                        fs::perms::others_write));
    return 0;
}

bool Applies(const Step& step) { return !step.asUser || ::geteuid() != 0; }

int Run(const std::string& work, const std::optional<std::string>& reference) {
    Marks marks;
    if (reference) Snapshot(work, *reference + "/0", nullptr);
    Program program(work, "day.QBR");
    const auto& day = Day();
    for (std::size_t i = 0; i < day.size(); ++i) {
        if (!Applies(day[i])) continue;
        marks.Put('B', i);
        day[i].run(program, work);
        marks.Put('E', i);
        if (reference) Snapshot(work, *reference + "/" + std::to_string(i + 1), &program);
    }
    // Only a day that went as planned tests anything.
    const auto errors = program.messages.Errors();
    for (const auto& error : errors)
        std::fprintf(stderr, "crash_scenario: the day showed an error: %s\n", error.c_str());
    return errors.empty() ? 0 : 1;
}

// The steps' states a kill may have left: the one before the step under way, and after it.
std::vector<std::size_t> PossibleStates(const std::string& work) {
    std::istringstream marks(Read(work + "/marks"));
    char what = 0;
    std::size_t step = 0;
    bool begun = false, ended = false;
    for (std::string line; std::getline(marks, line);) {
        if (std::sscanf(line.c_str(), "%c %zu", &what, &step) != 2) continue;
        begun = true;
        ended = what == 'E';
    }
    const std::size_t last = step;
    if (!begun) return {0};
    if (ended) return {last + 1};
    std::vector<std::size_t> states{last + 1};
    // The state before this step is the last one a step that applies left.
    std::size_t before = last;
    while (before > 0 && !Applies(Day()[before - 1])) --before;
    states.insert(states.begin(), before);
    return states;
}

std::optional<std::string> MaybeRead(const fs::path& path) {
    if (!fs::exists(path)) return std::nullopt;
    return Read(path);
}

std::string Quoted(const std::optional<std::string>& text) {
    if (!text) return "(none)";
    if (text->empty()) return "(empty)";
    std::string out;
    for (char c : *text)
        out += c == '\n' ? std::string("|") : c == '\r' ? std::string("\\r") : std::string(1, c);
    return out;
}

std::vector<std::string> Strays(const std::string& work) {
    const std::set<std::string> expected = {"Tape.QBX", "Tape.csv", "Fixed.QBX", "Check.QBX"};
    std::vector<std::string> strays;
    for (const char* folder : {"tapes", "fixed", "state"}) {
        for (const auto& entry : fs::directory_iterator(work + "/" + folder)) {
            const std::string name = entry.path().filename().string();
            const bool own = std::string(folder) == "state" &&
                             (name == RecoveryKeeper::kDiscarded || entry.path().extension() == ".QBR" ||
                              entry.path().extension() == ".lock");
            if (!own && !expected.count(name)) strays.push_back(std::string(folder) + "/" + name);
        }
    }
    return strays;
}

int Check(const std::string& work, const std::string& reference) {
    const std::vector<std::size_t> states = PossibleStates(work);
    const auto stateFile = [&](std::size_t state, const std::string& name) {
        return MaybeRead(reference + "/" + std::to_string(state) + "/" + name);
    };
    std::vector<std::string> faults;
    // The start-up, answering Yes to the recovery.
    Program program(work, "check.QBR");
    bool offered = false;
    for (const auto& message : program.messages.shown)
        if (message.text.rfind("The Quillbox ended on ", 0) == 0) offered = true;
    const std::optional<std::string> recovered =
        offered ? std::optional<std::string>(Joined(program.Lines())) : std::nullopt;
    // The files: each as one of the states left it, byte for byte. Only a file written in place
    // may be neither, when the tape being saved came back and the user was told the file may be
    // incomplete; while it is being written, that warning may come whatever the file holds.
    std::set<std::size_t> fileStates(states.begin(), states.end());
    std::set<std::string> told;
    for (const auto& file : kWatched) {
        const std::string name = fs::path(file).filename().string();
        const auto now = MaybeRead(work + "/" + file);
        std::set<std::size_t> matching;
        for (std::size_t s : states)
            if (stateFile(s, name) == now) matching.insert(s);
        const bool inPlace = file.rfind("fixed/", 0) == 0;
        const bool written = stateFile(states.front(), name) != stateFile(states.back(), name);
        bool warned = false;
        for (const auto& error : program.messages.Errors())
            if (inPlace && written && error.find("\"" + name + "\"") != std::string::npos &&
                error.find("incomplete") != std::string::npos) {
                told.insert(error);
                warned = true;
            }
        if (matching.empty()) {
            if (!warned || recovered != stateFile(states.front(), "recovery"))
                faults.push_back(
                    file + " is neither its old nor its new version" +
                    (inPlace ? ", and the next start did not bring its tape back saying so: " : ": ") +
                    Quoted(now));
            continue;
        }
        std::set<std::size_t> both;
        std::set_intersection(fileStates.begin(), fileStates.end(), matching.begin(), matching.end(),
                              std::inserter(both, both.end()));
        fileStates = both;
    }
    // The start-up recovery: the tape of a state no later than the files' (a record that
    // outlives its save is harmless; a record gone before its file is new loses the tape).
    bool recoveryFits = false;
    for (std::size_t s : states) {
        if (stateFile(s, "recovery") != recovered) continue;
        for (std::size_t f : fileStates) recoveryFits = recoveryFits || f >= s;
    }
    if (!recoveryFits) {
        std::string expected;
        for (std::size_t s : states) expected += " or " + Quoted(stateFile(s, "recovery"));
        faults.push_back("start-up recovered " + Quoted(recovered) + ", expected" + expected.substr(3) +
                         " (to match the files)");
    }
    for (const auto& error : program.messages.Errors())
        if (!told.count(error)) faults.push_back("start-up showed an error: " + Quoted(error));
    // No stray copies, once the program has saved in the tapes' folder again.
    program.SaveAs(work + "/tapes/Check.QBX");
    // A copy of the tape is a fault wherever it is left; a private file of the state folder that
    // holds no tape is only noted.
    std::vector<std::string> notes;
    for (const auto& stray : Strays(work)) {
        if (stray.rfind("state/", 0) == 0 && Read(work + "/" + stray).find("QBX=") == std::string::npos)
            notes.push_back("note: a file holding no tape is left in the state folder: " + stray);
        else
            faults.push_back("a stray file is left: " + stray);
    }
    if (!faults.empty() && states.size() == 2)
        std::printf("in step %zu, %s:\n", states.back() - 1, Day()[states.back() - 1].name);
    for (const auto& fault : faults) std::printf("%s\n", fault.c_str());
    for (const auto& note : notes) std::printf("%s\n", note.c_str());
    return faults.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 2 && args[0] == "prepare") return Prepare(args[1]);
    if (args.size() >= 2 && args.size() <= 3 && args[0] == "run")
        return Run(args[1], args.size() == 3 ? std::optional<std::string>(args[2]) : std::nullopt);
    if (args.size() == 3 && args[0] == "check") return Check(args[1], args[2]);
    std::fprintf(stderr, "usage: crash_scenario prepare WORK | run WORK [REF] | check WORK REF\n");
    return 2;
}
