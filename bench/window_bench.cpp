// The program's figures through the real main window, offscreen:
// - key latency: a digit key and an operation key sent as key events, with the model update, the
//   rendering and the repaint, on a short tape and on a tape of a million lines;
// - an option toggled and a memory command, on a one-line and a million-line tape;
// - the resident memory with the million-line tape on screen;
// - a million-line tape file written by Save As and read by Open, against cat of the same file;
// - start-up from the splash timer's tick to the working main window;
// - CPU used while the window sits idle.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QListView>
#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <malloc.h>
#include <sys/resource.h>

#include "Machine.h"
#include "WindowBench.h"
#include "platform/NullPorts.h"
#include "platform/QtFilePort.h"
#include "windows/MainWindow.h"
#include "windows/ProgramStyle.h"

namespace {

// Boxes answered at once: Yes to replacing a file, the default to the rest.
class SilentMessages final : public qb::MessagePort {
public:
    qb::MessageAnswer ShowMessage(const qb::MessageRequest& request) override {
        return request.buttons == qb::MessageButtons::YesNo ? qb::MessageAnswer::Yes : request.defaultAnswer;
    }
    void Beep() override {}
};

// Counts the repaints of the tape, to make sure the benchmark measures them.
class PaintCounter final : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
    long paints = 0;
};

double ThreadCpuMicroseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

long ResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

struct Rig {
    explicit Rig(std::int64_t lines) {
        machine.Load();
        machine.FirstActivation();
        qb::Tape& tape = machine.GetTape();
        while (tape.Count() < lines) tape.AppendTapeLine("1,234,567.89 +");
        tape.ScrollTape();
        window = std::make_unique<qb::MainWindow>(machine, messages);
        window->show();
        window->Render();
        keys = window->findChild<QWidget*>(QStringLiteral("txtKeyStroke"));
        window->findChild<QListView*>(QStringLiteral("lstTape"))->viewport()->installEventFilter(&paints);
        QApplication::processEvents();
    }

    void Strike(int key, Qt::KeyboardModifiers modifiers, const QString& text) {
        qb::bench::Strike(keys, key, modifiers, text);
    }

    SilentMessages messages;
    qb::Machine machine{qb::Ports{messages}};
    std::unique_ptr<qb::MainWindow> window;
    QWidget* keys = nullptr;
    PaintCounter paints;
};

std::map<std::int64_t, std::unique_ptr<Rig>> rigs;
// Every run's time per key by tape length; the median is reported, so that a run slowed by other
// work on the machine does not decide the figure.
std::map<std::int64_t, std::vector<double>> microsecondsPerKey;
std::map<std::int64_t, std::vector<double>> cpuMicrosecondsPerKey;
long residentWithMillionLines = -1;

Rig& RigOf(std::int64_t lines) {
    auto& rig = rigs[lines];
    if (!rig) rig = std::make_unique<Rig>(lines);
    return *rig;
}

void BM_KeyLatency(benchmark::State& state) {
    const std::int64_t lines = state.range(0);
    Rig& rig = RigOf(lines);
    if (lines >= 1000000) residentWithMillionLines = ResidentKilobytes();
    const long paintsBefore = rig.paints.paints;
    std::int64_t keys = 0;
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = ThreadCpuMicroseconds();
    for (auto _ : state) {
        rig.Strike(Qt::Key_5, Qt::NoModifier, QStringLiteral("5"));
        rig.Strike(Qt::Key_Plus, Qt::ShiftModifier, QStringLiteral("+"));
        keys += 2;
    }
    const double cpu = (ThreadCpuMicroseconds() - cpuStart) / static_cast<double>(keys);
    const double elapsed =
        std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count() /
        static_cast<double>(keys);
    microsecondsPerKey[lines].push_back(elapsed);
    cpuMicrosecondsPerKey[lines].push_back(cpu);
    state.counters["us_per_key"] = elapsed;
    state.counters["cpu_us_per_key"] = cpu;
    state.counters["tape_paints_per_key"] =
        static_cast<double>(rig.paints.paints - paintsBefore) / static_cast<double>(keys);
    state.counters["tape_lines"] = static_cast<double>(rig.machine.GetTape().Count());
}
BENCHMARK(BM_KeyLatency)->Arg(100)->Arg(1000000)->Unit(benchmark::kMicrosecond)->MinTime(0.5)->Repetitions(3);

// Toggling an option and a memory command: the window renders after each, whatever the tape's length.
void BM_OptionToggle(benchmark::State& state) {
    Rig& rig = RigOf(state.range(0));
    for (auto _ : state) {
        rig.machine.Run(qb::Command::CommaSeparator);
        rig.window->Render();
    }
    state.counters["tape_lines"] = static_cast<double>(rig.machine.GetTape().Count());
}
BENCHMARK(BM_OptionToggle)->Arg(1)->Arg(1000000)->Unit(benchmark::kMicrosecond)->MinTime(0.3);

void BM_MemoryAdd(benchmark::State& state) {
    Rig& rig = RigOf(state.range(0));
    for (auto _ : state) {
        rig.machine.Run(qb::Command::MemoryAdd);
        rig.machine.Run(qb::Command::ClearMemory);
        rig.window->Render();
    }
    state.counters["tape_lines"] = static_cast<double>(rig.machine.GetTape().Count());
}
BENCHMARK(BM_MemoryAdd)->Arg(1)->Arg(1000000)->Unit(benchmark::kMicrosecond)->MinTime(0.3);

// Dialogs that answer at once: the caption as it is, and the file named beforehand.
class AnsweringDialogs final : public qb::NullDialogs {
public:
    std::optional<std::string> FileDialog(const qb::FileDialogRequest&) override { return path; }
    std::optional<std::string> CaptionPrompt(const std::string& initial, bool&) override { return initial; }
    std::string path;
};

double Milliseconds(const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// A shown main window on the real file port, whose dialogs name one file.
struct FileRig {
    explicit FileRig(const std::string& file) {
        dialogs.path = file;
        machine.Load();
        machine.FirstActivation();
    }
    void Show() {
        window.show();
        window.Render();
        QApplication::processEvents();
    }
    // A command and the window drawn after it.
    double Timed(qb::Command command) {
        return Milliseconds([&] {
            machine.Run(command);
            window.Render();
            QApplication::processEvents();
        });
    }
    SilentMessages messages;
    AnsweringDialogs dialogs;
    qb::QtFilePort files;
    qb::Machine machine{qb::Ports{messages, nullptr, nullptr, &dialogs, &files}};
    qb::MainWindow window{machine, messages};
};

void TapeFileFigures() {
    QTemporaryDir dir;
    const std::string file = dir.filePath("million.QBX").toStdString();
    std::vector<double> writes, reads;
    {
        // A million lines saved by Save As, three times over.
        FileRig rig(file);
        qb::Tape& tape = rig.machine.GetTape();
        while (tape.Count() < 1000000) tape.AppendTapeLine("1,234,567.89 +");
        tape.ScrollTape();
        rig.Show();
        for (int i = 0; i < 3; ++i) writes.push_back(rig.Timed(qb::Command::SaveAs));
    }
    malloc_trim(0);

    // The empty program, then the same file opened in it, three times over.
    FileRig rig(file);
    rig.Show();
    malloc_trim(0);
    const long emptyProgram = ResidentKilobytes();
    for (int i = 0; i < 3; ++i) reads.push_back(rig.Timed(qb::Command::Open));
    malloc_trim(0);
    const long withTape = ResidentKilobytes();

    // cat of the file, and cat of an empty file: the difference is cat's reading alone, without
    // starting the shell and cat.
    const std::string empty = dir.filePath("empty.QBX").toStdString();
    { std::ofstream touch(empty); }
    auto catOf = [](const std::string& path) {
        const std::string command = "cat '" + path + "' > /dev/null";
        std::vector<double> times;
        for (int i = 0; i < 7; ++i) times.push_back(Milliseconds([&] { (void)std::system(command.c_str()); }));
        return Median(times);
    };
    const double catTime = catOf(file), catStart = catOf(empty);
    const double catRead = std::max(0.1, catTime - catStart);
    const double fileBytes = static_cast<double>(QFileInfo(QString::fromStdString(file)).size());
    const double write = Median(writes), read = Median(reads);
    std::printf("1,000,000-line tape file (%.1f MB): written by Save As in %.0f ms, read by Open in %.0f ms\n",
                fileBytes / 1e6, write, read);
    std::printf("  cat of the file %.1f ms: ratios %.1f and %.1f (target under 10 each);"
                " cat's reading alone (less %.1f ms to start it) %.1f ms: ratios %.1f and %.1f\n",
                catTime, write / catTime, read / catTime, catStart, catRead, write / catRead, read / catRead);
    std::printf("resident memory of that tape opened: %.1f MB over the empty program's %.1f MB,"
                " %.2f bytes per byte of the file (target at most 2)\n",
                (withTape - emptyProgram) / 1024.0, emptyProgram / 1024.0,
                (withTape - emptyProgram) * 1024.0 / fileBytes);
    if (rig.machine.GetTape().Count() != 1000000)
        std::printf("  (the tape read back has %lld lines)\n", static_cast<long long>(rig.machine.GetTape().Count()));
}

// From the splash timer's tick to a main window that takes keys: what the tick does.
void StartUpFigures() {
    std::vector<double> times;
    for (int i = 0; i < 5; ++i) {
        SilentMessages messages;
        qb::Machine machine{qb::Ports{messages}};
        std::unique_ptr<qb::MainWindow> window;
        times.push_back(Milliseconds([&] {
            window = std::make_unique<qb::MainWindow>(machine, messages);
            machine.Load();
            window->Render();
            window->show();
            window->FirstActivation();
            QApplication::processEvents();
        }));
    }
    std::printf("start-up from the splash timer to the working main window: %.1f ms (median of 5)\n", Median(times));

    // Idle: no timer of the window runs, and the process uses no CPU to speak of.
    SilentMessages messages;
    qb::Machine machine{qb::Ports{messages}};
    qb::MainWindow window(machine, messages);
    machine.Load();
    window.show();
    window.FirstActivation();
    QApplication::processEvents();
    rusage before{}, after{};
    getrusage(RUSAGE_SELF, &before);
    QEventLoop idle;
    QTimer::singleShot(2000, &idle, &QEventLoop::quit);
    idle.exec();
    getrusage(RUSAGE_SELF, &after);
    int activeTimers = 0;
    for (QTimer* timer : window.findChildren<QTimer*>()) activeTimers += timer->isActive();
    auto micros = [](const rusage& r) {
        return (r.ru_utime.tv_sec + r.ru_stime.tv_sec) * 1e6 + r.ru_utime.tv_usec + r.ru_stime.tv_usec;
    };
    std::printf("idle for 2 s: %.2f ms of CPU, %ld voluntary context switches, %d timers of the window running\n",
                (micros(after) - micros(before)) / 1000.0, after.ru_nvcsw - before.ru_nvcsw, activeTimers);
}

}  // namespace

int main(int argc, char** argv) {
    qb::bench::ChooseOffscreen();
    QApplication app(argc, argv);
    qb::UseProgramStyle();
    if (!qb::bench::RunBenchmarks(argc, argv)) return 1;

    if (microsecondsPerKey.count(100) && microsecondsPerKey.count(1000000)) {
        const double shortTape = Median(microsecondsPerKey[100]), longTape = Median(microsecondsPerKey[1000000]);
        const double shortCpu = Median(cpuMicrosecondsPerKey[100]), longCpu = Median(cpuMicrosecondsPerKey[1000000]);
        std::printf("key latency (median run): %.1f us with 100 lines, %.1f us with 1,000,000 lines"
                    " (target under 1000 us)\n", shortTape, longTape);
        std::printf("  of which CPU time of the window's thread: %.1f us and %.1f us\n", shortCpu, longCpu);
        std::printf("ratio long/short tape: %.2f, in CPU time %.2f (target under 1.5)\n", longTape / shortTape,
                    longCpu / shortCpu);
    }
    if (residentWithMillionLines >= 0)
        std::printf("resident memory with 1,000,000 tape lines shown: %.1f MB (target under 200 MB)\n",
                    residentWithMillionLines / 1024.0);
    rigs.clear();
    TapeFileFigures();
    StartUpFigures();
    return 0;
}
