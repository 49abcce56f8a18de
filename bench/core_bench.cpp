// The cost of the calculator's keys in the core, tape line included; of writing and reading a
// million-line tape file in memory; and of the User Guide's reader on hostile topic files.
#include <benchmark/benchmark.h>

#include <string>

#include "Machine.h"
#include "documents/TapeFile.h"
#include "guide/RtfReader.h"
#include "platform/MessagePort.h"

namespace {

struct QuietMessages : qb::MessagePort {
    qb::MessageAnswer ShowMessage(const qb::MessageRequest&) override { return qb::MessageAnswer::Ok; }
    void Beep() override {}
};

// A digit and an operation key: one number applied and printed on the tape.
void OperationKeyWithTapeLine(benchmark::State& state) {
    QuietMessages messages;
    qb::Machine machine(qb::Ports{messages});
    machine.Load();
    machine.FirstActivation();
    machine.Run(qb::Command::Digit7);
    for (auto _ : state) {
        machine.Run(qb::Command::Digit1);
        machine.Run(qb::Command::Digit2);
        machine.Run(qb::Command::DecimalPoint);
        machine.Run(qb::Command::Digit5);
        machine.Run(qb::Command::Plus);
    }
    state.counters["tape lines"] = static_cast<double>(machine.GetTape().Count());
}
BENCHMARK(OperationKeyWithTapeLine)->Repetitions(5)->ReportAggregatesOnly(true);

// The operation key alone, its number already keyed.
void OperationKeyAlone(benchmark::State& state) {
    QuietMessages messages;
    qb::Machine machine(qb::Ports{messages});
    machine.Load();
    machine.FirstActivation();
    machine.Run(qb::Command::ClearEntryBox);  // the operand stays for the next key
    machine.Run(qb::Command::Digit9);
    machine.Run(qb::Command::Plus);
    for (auto _ : state) machine.Run(qb::Command::Plus);
}
BENCHMARK(OperationKeyAlone)->Repetitions(5)->ReportAggregatesOnly(true);

qb::TapeDocument MillionLineTape() {
    qb::TapeDocument document;
    document.caption = "Year";
    document.subtotal = 123456.78;
    document.pendingOperation = '+';
    document.lines.reserve(1'000'000, 18'000'000);
    for (int i = 0; i < 1'000'000; ++i) {
        std::string line = std::to_string(i % 100'000) + ".00 +";
        document.lines.push_back(std::string(18 - line.size(), ' ') + line);
    }
    return document;
}

// The bytes of a million-line tape file, built in memory (no disk).
void WriteMillionLineTape(benchmark::State& state) {
    const qb::TapeDocument document = MillionLineTape();
    for (auto _ : state) benchmark::DoNotOptimize(qb::WriteTapeBytes(document));
}
BENCHMARK(WriteMillionLineTape)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

// Those bytes read back into a tape (no disk).
void ReadMillionLineTape(benchmark::State& state) {
    const std::string bytes = qb::WriteTapeBytes(MillionLineTape());
    for (auto _ : state) {
        qb::TapeDocument read;
        benchmark::DoNotOptimize(qb::ReadTapeBytes(bytes, read));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(ReadMillionLineTape)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

// Topic files shaped to hurt a reader: deep runs of groups, long Unicode runs, long words, long
// font names. The time per byte should not grow with the size (state.range: bytes of the shape).
std::string HostileTopic(std::size_t n) {
    std::string rtf = "{\\rtf1{\\fonttbl{\\f0 " + std::string(n / 8, 'N') + ";}{\\f1 B;}}";
    for (std::size_t i = 0; i < n / 64; ++i) rtf += "{\\b a}\\u8364 ";
    for (std::size_t i = 0; i < n / 64; ++i) rtf += "\\f0 a\\f1 b\\par";
    rtf += std::string(n / 4, 'w') + "}";
    return rtf;
}

void ReadHostileTopic(benchmark::State& state) {
    const std::string rtf = HostileTopic(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(qb::ReadRtf(rtf));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(rtf.size()));
}
BENCHMARK(ReadHostileTopic)->Arg(400'000)->Arg(4'000'000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
