// Finding on a million-line tape: a number that is only on the last line (every line read), and
// a note's text that is nowhere (every line searched, then the message), on a tape of numbers and
// on one of notes alone.
#include <benchmark/benchmark.h>

#include <string>

#include "engine/NoteLines.h"
#include "engine/Tape.h"
#include "engine/TapeFind.h"

namespace {

qb::TapeLines MillionLines() {
    qb::TapeLines lines;
    lines.push_back(qb::Tape::LayOut("0 ="));
    for (int i = 1; i < 999'999; ++i) {
        if (i % 50 == 0)
            lines.push_back(qb::NoteLines("Fuel for March")[0]);
        else
            lines.push_back(qb::Tape::LayOut(std::to_string(1000 + i % 7919) + ".25 +"));
    }
    lines.push_back(qb::Tape::LayOut("99,999.99 +"));
    return lines;
}

void FindNumberOnMillionLines(benchmark::State& state) {
    const qb::TapeLines lines = MillionLines();
    const qb::FindQuery query = qb::MakeFindQuery("99999.99", false);
    for (auto _ : state) benchmark::DoNotOptimize(qb::FindOnTape(lines, query, 0, true));
    state.counters["lines"] = static_cast<double>(lines.size());
}
BENCHMARK(FindNumberOnMillionLines)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

void FindMissingTextOnMillionLines(benchmark::State& state) {
    const qb::TapeLines lines = MillionLines();
    const qb::FindQuery query = qb::MakeFindQuery("invoice", false);
    for (auto _ : state) benchmark::DoNotOptimize(qb::FindOnTape(lines, query, 0, true));
}
BENCHMARK(FindMissingTextOnMillionLines)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

// The worst case for a text: every line a note of several lines, each read on into the next.
void FindMissingTextInNotesOnMillionLines(benchmark::State& state) {
    qb::TapeLines lines;
    const std::vector<std::string> note = qb::NoteLines("Office supplies for the March audit, paid by Supercalifragilistic cheque");
    while (lines.size() < 1'000'000)
        for (const std::string& line : note) lines.push_back(line);
    const qb::FindQuery query = qb::MakeFindQuery("office supplies for the april audit", false);
    for (auto _ : state) benchmark::DoNotOptimize(qb::FindOnTape(lines, query, 0, true));
}
BENCHMARK(FindMissingTextInNotesOnMillionLines)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

}  // namespace
