// The recovery record's cost on a key: a key that prints a line on a 1,000,000-line tape, with
// the record kept, against the same key without a record. Every key writes the record's new
// bytes at once; the timer syncs them at most once a second, outside any key. Printed: the key
// with the record in memory (the program's own work), with the record appended to a real file
// (the write the system is asked for), and what one sync of that file costs the timer.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <unistd.h>

#include "Machine.h"
#include "platform/MessagePort.h"

namespace {

struct QuietMessages : qb::MessagePort {
    qb::MessageAnswer ShowMessage(const qb::MessageRequest&) override { return qb::MessageAnswer::No; }
    void Beep() override {}
};

// Private files in memory, counted; or, with a folder, appended to a real file.
struct CountingFiles : qb::FilePort {
    explicit CountingFiles(bool onDisk) {
        if (!onDisk) return;
        char name[] = "/tmp/quillbox-bench-XXXXXX";
        fd = ::mkstemp(name);
        ::unlink(name);
    }
    ~CountingFiles() override {
        if (fd >= 0) ::close(fd);
    }
    qb::ReadOutcome ReadAll(const std::string&, std::string&, std::uint64_t) override { return qb::ReadOutcome::Failed; }
    bool WriteAll(const std::string&, const std::string&) override { return false; }
    bool Exists(const std::string&) override { return false; }
    std::vector<std::string> ListFiles(const std::string&) override { return {}; }
    bool CanWriteIn(const std::string&) override { return false; }
    bool MakePrivateFolder(const std::string&) override { return true; }
    qb::LockOutcome LockPrivate(const std::string&) override { return qb::LockOutcome::Held; }
    bool WritePrivate(const std::string&, qb::ByteSource& source) override {
        ++wholeWrites;
        if (fd >= 0 && ::ftruncate(fd, 0) != 0) return false;
        for (std::string_view piece = source.Next(); !piece.empty(); piece = source.Next()) {
            bytes += piece.size();
            if (fd >= 0 && ::write(fd, piece.data(), piece.size()) != static_cast<ssize_t>(piece.size())) return false;
        }
        return true;
    }
    bool AppendPrivate(const std::string&, std::string_view appended) override {
        bytes += appended.size();
        return fd < 0 || ::write(fd, appended.data(), appended.size()) == static_cast<ssize_t>(appended.size());
    }
    bool SyncPrivate(const std::string&) override { return fd < 0 || ::fsync(fd) == 0; }
    bool Remove(const std::string&) override { return true; }
    int fd = -1;
    std::uint64_t bytes = 0;
    int wholeWrites = 0;
};

// A machine with a changed tape of a million lines; with its record already written when on.
struct LongTape {
    LongTape(bool recordOn, bool onDisk) : files(onDisk) {
        if (recordOn) machine.SetRecoveryPlace({"/state/the Quillbox/", "1-1.QBR"});
        machine.Load();
        machine.FirstActivation();
        qb::TapeLines lines;
        lines.reserve(1'000'000, 18'000'000);
        for (int i = 0; i < 1'000'000; ++i) {
            std::string line = std::to_string(i % 100'000) + ".00 +";
            lines.push_back(std::string(18 - line.size(), ' ') + line);
        }
        machine.GetTape().Replace(std::move(lines));
        Key();
        Tick();
        files.bytes = 0;
        files.wholeWrites = 0;
    }
    // A number keyed and added: one line printed, and the record's bytes written.
    void Key() {
        machine.Run(qb::Command::Digit1);
        machine.Run(qb::Command::Plus);
    }
    // The timer fires: the written bytes are synced.
    void Tick() {
        if (machine.RecoveryTimerOn()) machine.RecoveryTick();
    }
    QuietMessages messages;
    CountingFiles files;
    qb::Machine machine{qb::Ports{messages, nullptr, nullptr, nullptr, &files}};
};

// Keys in alternating blocks, so all see the same machine load: without a record, with one in
// memory, with one on the disk; then the timer's sync of the disk's.
void KeyWithRecoveryRecord(benchmark::State& state) {
    LongTape off(false, false), memory(true, false), disk(true, true);
    constexpr int kBlock = 2000;
    double offSeconds = 0, memorySeconds = 0, diskSeconds = 0, syncSeconds = 0;
    std::int64_t keys = 0, syncs = 0;
    auto time = [](double& seconds, auto&& work) {
        const auto start = std::chrono::steady_clock::now();
        work();
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    for (auto _ : state) {
        time(offSeconds, [&] {
            for (int i = 0; i < kBlock; ++i) off.Key();
        });
        time(memorySeconds, [&] {
            for (int i = 0; i < kBlock; ++i) memory.Key();
        });
        memory.Tick();
        time(diskSeconds, [&] {
            for (int i = 0; i < kBlock; ++i) disk.Key();
        });
        time(syncSeconds, [&] { disk.Tick(); });
        keys += kBlock;
        ++syncs;
        state.SetIterationTime(diskSeconds / static_cast<double>(keys) * kBlock);
    }
    const double perKey = 1e9 / static_cast<double>(keys);
    state.counters["off ns/key"] = offSeconds * perKey;
    state.counters["memory ns/key"] = memorySeconds * perKey;
    state.counters["memory ratio"] = memorySeconds / offSeconds;
    state.counters["disk ns/key"] = diskSeconds * perKey;
    state.counters["disk ratio"] = diskSeconds / offSeconds;
    state.counters["sync ms/tick"] = syncSeconds * 1e3 / static_cast<double>(syncs);
    state.counters["bytes/key"] = static_cast<double>(disk.files.bytes) / static_cast<double>(keys);
    state.counters["whole writes"] = disk.files.wholeWrites + memory.files.wholeWrites;
    state.counters["tape lines"] = static_cast<double>(disk.machine.GetTape().Count());
}
BENCHMARK(KeyWithRecoveryRecord)->UseManualTime()->Iterations(10)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
