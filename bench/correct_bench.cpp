// Line edits on a long tape, through the real main window offscreen: the first number of a
// 100,000-line tape keyed on the keys is corrected, deleted, or gets a line inserted after it;
// every line after it is worked out again and the window is drawn. The same for a tape of that
// length read from a file, whose totals are recomputed from the printed numbers (a file's
// numbers cannot be deleted nor lines put among them: there a reference number is deleted).
// And a file tape keyed with the Grand Total option, its first section cleared after its total:
// a correction there changes every g line below, past the clear. Each edit is undone (untimed)
// before the next.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>
#include <time.h>

#include "Machine.h"
#include "WindowBench.h"
#include "platform/NullPorts.h"
#include "windows/MainWindow.h"
#include "windows/ProgramStyle.h"

namespace {

constexpr std::int64_t kLines = 100000;

class SilentMessages final : public qb::MessagePort {
public:
    qb::MessageAnswer ShowMessage(const qb::MessageRequest& request) override { return request.defaultAnswer; }
    void Beep() override {}
};

// The Insert Line dialog answered with "5 +".
class InsertDialogs final : public qb::NullDialogs {
public:
    bool CorrectLineDialog(qb::CorrectLineForm& form, bool&) override {
        form.number.assign(1, '5');  // a literal assigned here trips a false GCC 12 warning
        form.operation = '+';
        return true;
    }
};

double ThreadCpuMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

enum class Kind { Keyed, File, FileGrandTotals };

struct Rig {
    explicit Rig(Kind kind) {
        machine.Load();
        machine.FirstActivation();
        if (kind == Kind::Keyed) {
            // Numbers keyed digit by digit, a total every hundred lines.
            for (std::int64_t line = 1; machine.GetTape().Count() < kLines; ++line) {
                for (char c : std::to_string(line % 997 + 1) + ".25") {
                    machine.Run(c == '.' ? qb::Command::DecimalPoint : qb::DigitCommand(c - '0'));
                }
                machine.Run(line % 100 == 0 ? qb::Command::Equals : qb::Command::Plus);
            }
        } else {
            // Line 2 is a reference number, which the file's lines may lose.
            std::vector<std::string> lines{qb::Tape::LayOut("0 ="), qb::Tape::LayOut("1,234.25 +"), qb::Tape::LayOut("4711 #")};
            double subtotal = 1234.25, grand = 0;
            if (kind == Kind::FileGrandTotals) {
                for (const char* line : {"1,234.25 =", "", "0 ="}) lines.push_back(qb::Tape::LayOut(line));
                subtotal = 0;
                grand = 1234.25;
            }
            while (static_cast<std::int64_t>(lines.size()) < kLines) {
                lines.push_back(qb::Tape::LayOut("1,234.25 +"));
                subtotal += 1234.25;
                char total[40];
                std::snprintf(total, sizeof total, "%.2f =", subtotal);
                if (lines.size() % 100 != 0) continue;
                lines.push_back(qb::Tape::LayOut(total));
                grand += subtotal;
                std::snprintf(total, sizeof total, "%.2f g", grand);
                if (kind == Kind::FileGrandTotals && lines.size() % 1000 < 100) lines.push_back(qb::Tape::LayOut(total));
            }
            machine.GetTape().Replace(qb::TapeLines(lines));
        }
        window = std::make_unique<qb::MainWindow>(machine, messages);
        window->show();
        window->Render();
        QApplication::processEvents();
    }

    SilentMessages messages;
    InsertDialogs dialogs;
    qb::Machine machine{qb::Ports{messages, nullptr, nullptr, &dialogs}};
    std::unique_ptr<qb::MainWindow> window;
};

struct Figures {
    std::vector<double> wall, cpu;
};
std::map<std::string, Figures> figures;

// Times edit (which answers whether it was made) with the window drawn; undoes it untimed.
void Time(benchmark::State& state, Rig& rig, const std::string& name, const std::function<bool()>& edit) {
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = ThreadCpuMilliseconds();
        const bool made = edit();
        rig.window->Render();
        rig.window->repaint();
        QApplication::processEvents();
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(ms / 1000);
        figures[name].wall.push_back(ms);
        figures[name].cpu.push_back(ThreadCpuMilliseconds() - cpuStart);
        if (!made) state.SkipWithError("the edit was refused");
        rig.machine.Run(qb::Command::Undo);
    }
    state.counters["tape_lines"] = static_cast<double>(rig.machine.GetTape().Count());
}

const char* TapeName(Kind kind) {
    return kind == Kind::Keyed ? "keyed" : kind == Kind::File ? "file" : "file, grand totals";
}

void BM_CorrectFirstLine(benchmark::State& state) {
    const auto kind = static_cast<Kind>(state.range(0));
    Rig rig(kind);
    int n = 0;
    Time(state, rig, std::string("Correct Line, ") + TapeName(kind),
         [&] { return rig.machine.CorrectLine(1, std::to_string(2 + n++ % 7), '+'); });
}
BENCHMARK(BM_CorrectFirstLine)->Arg(0)->Arg(1)->Arg(2)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);

// Tape > Delete Line: the keyed tape's first number (its keys go and the rest replays), the
// file's reference number on line 2 (the lines after it move up).
void BM_DeleteLine(benchmark::State& state) {
    const auto kind = static_cast<Kind>(state.range(0));
    Rig rig(kind);
    const std::int64_t line = kind == Kind::Keyed ? 1 : 2;
    Time(state, rig, std::string("Delete Line, ") + TapeName(kind), [&] {
        const std::int64_t lines = rig.machine.GetTape().Count();
        rig.machine.TapeClicked(line);
        rig.machine.Run(qb::Command::DeleteLine);
        return rig.machine.GetTape().Count() == lines - 1;
    });
}
BENCHMARK(BM_DeleteLine)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);

// Tape > Insert Line: "5 +" after the keyed tape's first number.
void BM_InsertLine(benchmark::State& state) {
    Rig rig(Kind::Keyed);
    Time(state, rig, "Insert Line, keyed", [&] {
        const std::int64_t lines = rig.machine.GetTape().Count();
        rig.machine.TapeClicked(1);
        rig.machine.Run(qb::Command::InsertLine);
        return rig.machine.GetTape().Count() == lines + 1;
    });
}
BENCHMARK(BM_InsertLine)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);

}  // namespace

int main(int argc, char** argv) {
    qb::bench::ChooseOffscreen();
    QApplication app(argc, argv);
    qb::UseProgramStyle();
    if (!qb::bench::RunBenchmarks(argc, argv)) return 1;
    std::printf("on a 100,000-line tape, the window drawn (medians; target under 100 ms on the keyed tape):\n");
    for (const auto& [name, f] : figures)
        std::printf("  %-34s %7.1f ms, CPU %7.1f ms\n", name.c_str(), Median(f.wall), Median(f.cpu));
    return 0;
}
