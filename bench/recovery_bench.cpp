// The recovery record's cost on a key: a key that prints a line on a 1,000,000-line tape, with
// the record kept, against the same key without a record. The record's writes go to
// memory: the figure is the program's own work, and the bytes show that a key appends a few
// entries and never writes the tape again.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "Machine.h"
#include "platform/MessagePort.h"

namespace {

struct QuietMessages : qb::MessagePort {
    qb::MessageAnswer ShowMessage(const qb::MessageRequest&) override { return qb::MessageAnswer::No; }
    void Beep() override {}
};

// Private files in memory, counted.
struct CountingFiles : qb::FilePort {
    qb::ReadOutcome ReadAll(const std::string&, std::string&, std::uint64_t) override { return qb::ReadOutcome::Failed; }
    bool WriteAll(const std::string&, const std::string&) override { return false; }
    bool Exists(const std::string&) override { return false; }
    std::vector<std::string> ListFiles(const std::string&) override { return {}; }
    bool CanWriteIn(const std::string&) override { return false; }
    bool MakePrivateFolder(const std::string&) override { return true; }
    bool WritePrivate(const std::string&, qb::ByteSource& source) override {
        ++wholeWrites;
        for (std::string_view piece = source.Next(); !piece.empty(); piece = source.Next()) bytes += piece.size();
        return true;
    }
    bool AppendPrivate(const std::string&, std::string_view appended) override {
        bytes += appended.size();
        return true;
    }
    bool Remove(const std::string&) override { return true; }
    std::uint64_t bytes = 0;
    int wholeWrites = 0;
};

// A machine with a changed tape of a million lines; with its record already written when on.
struct LongTape {
    explicit LongTape(bool recordOn) {
        if (recordOn) machine.SetRecoveryPlace({"/state/the Quillbox/", "1-1.QBR", nullptr});
        machine.Load();
        machine.FirstActivation();
        qb::TapeLines lines;
        lines.reserve(1'000'000, 18'000'000);
        for (int i = 0; i < 1'000'000; ++i) {
            std::string line = std::to_string(i % 100'000) + ".00 +";
            lines.push_back(std::string(18 - line.size(), ' ') + line);
        }
        machine.GetTape().Replace(std::move(lines));
        Key(true);
        files.bytes = 0;
        files.wholeWrites = 0;
    }
    // A number keyed and added: one line printed. flush: the timer fires after it.
    void Key(bool flush) {
        machine.Run(qb::Command::Digit1);
        machine.Run(qb::Command::Plus);
        if (flush && machine.RecoveryTimerOn()) machine.RecoveryTick();
    }
    QuietMessages messages;
    CountingFiles files;
    qb::Machine machine{qb::Ports{messages, nullptr, nullptr, nullptr, &files}};
};

// Keys in alternating blocks, so all see the same machine load: without a record; with one
// flushed as the program flushes it (its timer fires a second after a change: at a fast typist's
// ten keys a second, once every ten keys); and flushed after every key, the worst case.
void KeyWithRecoveryRecord(benchmark::State& state) {
    LongTape on(true), off(false);
    constexpr int kBlock = 2000;
    double offSeconds = 0, pacedSeconds = 0, everySeconds = 0;
    std::int64_t keys = 0, flushes = 0;
    auto time = [](double& seconds, auto&& keys) {
        const auto start = std::chrono::steady_clock::now();
        keys();
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    for (auto _ : state) {
        time(offSeconds, [&] {
            for (int i = 0; i < kBlock; ++i) off.Key(false);
        });
        time(pacedSeconds, [&] {
            for (int i = 0; i < kBlock; ++i) on.Key(i % 10 == 9);
        });
        time(everySeconds, [&] {
            for (int i = 0; i < kBlock; ++i) on.Key(true);
        });
        keys += kBlock;
        flushes += kBlock / 10 + kBlock;
        state.SetIterationTime(pacedSeconds / static_cast<double>(keys) * kBlock);
    }
    const double perKey = 1e9 / static_cast<double>(keys);
    state.counters["off ns/key"] = offSeconds * perKey;
    state.counters["on ns/key"] = pacedSeconds * perKey;
    state.counters["ratio"] = pacedSeconds / offSeconds;
    state.counters["flush/key ns/key"] = everySeconds * perKey;
    state.counters["flush/key ratio"] = everySeconds / offSeconds;
    state.counters["bytes/flush"] = static_cast<double>(on.files.bytes) / static_cast<double>(flushes);
    state.counters["whole writes"] = on.files.wholeWrites;
    state.counters["tape lines"] = static_cast<double>(on.machine.GetTape().Count());
}
BENCHMARK(KeyWithRecoveryRecord)->UseManualTime()->Iterations(10)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
