// The cost of the calculator's keys in the core, tape line included.
#include <benchmark/benchmark.h>

#include "Machine.h"
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

}  // namespace

BENCHMARK_MAIN();
