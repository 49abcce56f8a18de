// A key's cost through the real main window, offscreen, on a 1,000,000-line tape: with the
// recovery record kept (every key's bytes written to a real file at once, synced by the timer
// outside the key) against the same window without a record. Keys go in alternating blocks so
// both see the same load on the machine; the median block decides.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

#include "Machine.h"
#include "WindowBench.h"
#include "platform/QtFilePort.h"
#include "windows/MainWindow.h"

namespace {

class SilentMessages final : public qb::MessagePort {
public:
    qb::MessageAnswer ShowMessage(const qb::MessageRequest& request) override { return request.defaultAnswer; }
    void Beep() override {}
};

struct Rig {
    explicit Rig(const std::string& recordFolder) {
        if (!recordFolder.empty()) machine.SetRecoveryPlace({recordFolder, "1-1.QBR"});
        machine.Load();
        machine.FirstActivation();
        qb::TapeLines lines;
        lines.reserve(1'000'000, 18'000'000);
        for (int i = 0; i < 1'000'000; ++i) lines.push_back("    1,234,567.89 +");
        machine.GetTape().Replace(std::move(lines));
        machine.GetTape().ScrollTape();
        window = std::make_unique<qb::MainWindow>(machine, messages);
        window->show();
        window->Render();
        keys = window->findChild<QWidget*>(QStringLiteral("txtKeyStroke"));
        QApplication::processEvents();
        Keys(2);
    }
    void Strike(int key, Qt::KeyboardModifiers modifiers, const QString& text) {
        qb::bench::Strike(keys, key, modifiers, text);
    }
    // Seconds for so many digit-and-plus pairs.
    double Keys(int pairs) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < pairs; ++i) {
            Strike(Qt::Key_5, Qt::NoModifier, QStringLiteral("5"));
            Strike(Qt::Key_Plus, Qt::ShiftModifier, QStringLiteral("+"));
        }
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    SilentMessages messages;
    qb::QtFilePort files;
    qb::Machine machine{qb::Ports{messages, nullptr, nullptr, nullptr, &files}};
    std::unique_ptr<qb::MainWindow> window;
    QWidget* keys = nullptr;
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void KeyThroughTheWindowWithRecoveryRecord(benchmark::State& state) {
    QTemporaryDir dir;
    Rig off(""), on(dir.filePath("the Quillbox").toStdString() + "/");
    constexpr int kPairs = 200;
    std::vector<double> offBlocks, onBlocks;
    for (auto _ : state) {
        offBlocks.push_back(off.Keys(kPairs));
        onBlocks.push_back(on.Keys(kPairs));
        state.SetIterationTime(onBlocks.back());
    }
    const double perKey = 1e6 / (2.0 * kPairs);
    state.counters["off us/key"] = Median(offBlocks) * perKey;
    state.counters["on us/key"] = Median(onBlocks) * perKey;
    state.counters["ratio"] = Median(onBlocks) / Median(offBlocks);
    state.counters["tape lines"] = static_cast<double>(on.machine.GetTape().Count());
    state.counters["record kept"] = on.machine.Recovery().RecordExists();
}
BENCHMARK(KeyThroughTheWindowWithRecoveryRecord)->UseManualTime()->Iterations(15)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (!qb::bench::RunBenchmarks(argc, argv)) return 1;
    return 0;
}
