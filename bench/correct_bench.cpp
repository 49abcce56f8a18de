// Check and correct on a long tape, through the real main window offscreen: the first number of
// a 100,000-line tape keyed on the keys is corrected, every line after it is worked out again,
// and the window is drawn. The same for a tape of that length read from a file, whose totals are
// recomputed from the printed numbers. Each correction is undone (untimed) before the next.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QListView>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>
#include <time.h>

#include "Machine.h"
#include "WindowBench.h"
#include "windows/MainWindow.h"
#include "windows/ProgramStyle.h"

namespace {

constexpr std::int64_t kLines = 100000;

class SilentMessages final : public qb::MessagePort {
public:
    qb::MessageAnswer ShowMessage(const qb::MessageRequest& request) override { return request.defaultAnswer; }
    void Beep() override {}
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

struct Rig {
    explicit Rig(bool keyed) {
        machine.Load();
        machine.FirstActivation();
        if (keyed) {
            // Numbers keyed digit by digit, a total every hundred lines.
            for (std::int64_t line = 1; machine.GetTape().Count() < kLines; ++line) {
                for (char c : std::to_string(line % 997 + 1) + ".25") {
                    machine.Run(c == '.' ? qb::Command::DecimalPoint : qb::DigitCommand(c - '0'));
                }
                machine.Run(line % 100 == 0 ? qb::Command::Equals : qb::Command::Plus);
            }
        } else {
            std::vector<std::string> lines{qb::Tape::LayOut("0 =")};
            double subtotal = 0;
            while (static_cast<std::int64_t>(lines.size()) < kLines) {
                lines.push_back(qb::Tape::LayOut("1,234.25 +"));
                subtotal += 1234.25;
                char total[40];
                std::snprintf(total, sizeof total, "%.2f =", subtotal);
                if (lines.size() % 100 == 0) lines.push_back(qb::Tape::LayOut(total));
            }
            machine.GetTape().Replace(qb::TapeLines(lines));
        }
        window = std::make_unique<qb::MainWindow>(machine, messages);
        window->show();
        window->Render();
        QApplication::processEvents();
    }

    SilentMessages messages;
    qb::Machine machine{qb::Ports{messages}};
    std::unique_ptr<qb::MainWindow> window;
};

std::map<bool, std::vector<double>> milliseconds, cpuMilliseconds;

void BM_CorrectFirstLine(benchmark::State& state) {
    const bool keyed = state.range(0) != 0;
    Rig rig(keyed);
    int n = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = ThreadCpuMilliseconds();
        const bool made = rig.machine.CorrectLine(1, std::to_string(2 + n++ % 7), '+');
        rig.window->Render();
        rig.window->repaint();
        QApplication::processEvents();
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(ms / 1000);
        milliseconds[keyed].push_back(ms);
        cpuMilliseconds[keyed].push_back(ThreadCpuMilliseconds() - cpuStart);
        if (!made) state.SkipWithError("the correction was refused");
        rig.machine.Run(qb::Command::Undo);
    }
    state.counters["tape_lines"] = static_cast<double>(rig.machine.GetTape().Count());
}
BENCHMARK(BM_CorrectFirstLine)->Arg(1)->Arg(0)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);

// Tape > Delete Line on the first number of the keyed tape: its keys go and the rest replays.
std::vector<double> deleteMilliseconds;

void BM_DeleteFirstLine(benchmark::State& state) {
    Rig rig(true);
    for (auto _ : state) {
        const std::int64_t lines = rig.machine.GetTape().Count();
        const auto start = std::chrono::steady_clock::now();
        rig.machine.TapeClicked(1);
        rig.machine.Run(qb::Command::DeleteLine);
        rig.window->Render();
        rig.window->repaint();
        QApplication::processEvents();
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(ms / 1000);
        deleteMilliseconds.push_back(ms);
        if (rig.machine.GetTape().Count() != lines - 1) state.SkipWithError("the line was not deleted");
        rig.machine.Run(qb::Command::Undo);
    }
}
BENCHMARK(BM_DeleteFirstLine)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);

}  // namespace

int main(int argc, char** argv) {
    qb::bench::ChooseOffscreen();
    QApplication app(argc, argv);
    qb::UseProgramStyle();
    if (!qb::bench::RunBenchmarks(argc, argv)) return 1;
    if (milliseconds.count(true))
        std::printf("first line of a 100,000-line keyed tape corrected, window drawn: %.1f ms, CPU %.1f ms (medians;"
                    " target under 100 ms)\n", Median(milliseconds[true]), Median(cpuMilliseconds[true]));
    if (milliseconds.count(false))
        std::printf("first line of a 100,000-line tape from a file corrected, window drawn: %.1f ms, CPU %.1f ms (medians)\n",
                    Median(milliseconds[false]), Median(cpuMilliseconds[false]));
    if (!deleteMilliseconds.empty())
        std::printf("first line of a 100,000-line keyed tape deleted, window drawn: %.1f ms (median; target under 100 ms)\n",
                    Median(deleteMilliseconds));
    return 0;
}
