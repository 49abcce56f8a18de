#include "history/KeyRecord.h"

#include <algorithm>
#include <iterator>

namespace qb {
namespace {

enum : std::uint8_t { kClearEntryBox = 1, kClearOnEqual = 2, kRound = 4, kComma = 8, kAutoDecimal = 16, kItemCount = 128 };
// The rounding mode takes the two bits between the flags (32 and 64).
constexpr int kRoundingShift = 5;

}  // namespace

StepModes StepModes::Of(const Options& options, int places) {
    StepModes modes;
    modes.flags = static_cast<std::uint8_t>((options.ClearEntryBox ? kClearEntryBox : 0) |
                                            (options.ClearOnEqual ? kClearOnEqual : 0) |
                                            (options.RoundBeforeOperation ? kRound : 0) |
                                            (options.CommaSeparator ? kComma : 0) |
                                            (options.AutoDecimal ? kAutoDecimal : 0) |
                                            (static_cast<int>(options.RoundingMode) << kRoundingShift) |
                                            (options.ItemCount ? kItemCount : 0));
    modes.places = static_cast<std::int8_t>(places);
    modes.more = options.GrandTotal ? 1 : 0;
    return modes;
}

void StepModes::ApplyTo(Options& options) const {
    options.ClearEntryBox = flags & kClearEntryBox;
    options.ClearOnEqual = flags & kClearOnEqual;
    options.RoundBeforeOperation = flags & kRound;
    options.CommaSeparator = flags & kComma;
    options.AutoDecimal = flags & kAutoDecimal;
    options.RoundingMode = static_cast<Rounding>((flags >> kRoundingShift) & 3);
    options.ItemCount = flags & kItemCount;
    options.GrandTotal = more & 1;
}

StepPatch StepPatch::Of(const std::vector<KeyStep>& steps, std::size_t from, std::size_t corrected) {
    StepPatch patch;
    patch.from = from;
    patch.corrected = corrected;
    patch.input = steps[corrected].input;
    patch.derived.reserve(steps.size() - from);
    for (std::size_t i = from; i < steps.size(); ++i) {
        patch.derived.push_back({steps[i].tapeBefore, steps[i].failed, steps[i].entered, steps[i].subtotal});
        if (!steps[i].keyed.empty()) patch.keyed.emplace_back(i, steps[i].keyed);
        if (steps[i].snapshot) patch.snapshots.push_back(steps[i].snapshot);
    }
    return patch;
}

void StepPatch::SwapWith(std::vector<KeyStep>& steps) {
    std::swap(steps[corrected].input, input);
    auto snapshot = snapshots.begin();
    for (std::size_t i = from; i < steps.size() && i - from < derived.size(); ++i) {
        Derived& d = derived[i - from];
        std::swap(steps[i].tapeBefore, d.tapeBefore);
        std::swap(steps[i].failed, d.failed);
        std::swap(steps[i].entered, d.entered);
        std::swap(steps[i].subtotal, d.subtotal);
        if (steps[i].snapshot && snapshot != snapshots.end()) std::swap(steps[i].snapshot, *snapshot++);
    }
    std::vector<std::pair<std::size_t, std::string>> other;
    for (std::size_t i = from; i < steps.size(); ++i)
        if (!steps[i].keyed.empty()) other.emplace_back(i, std::move(steps[i].keyed)), steps[i].keyed.clear();
    for (auto& [i, text] : keyed)
        if (i < steps.size()) steps[i].keyed = std::move(text);
    keyed = std::move(other);
}

void KeyRecord::Reset(std::int64_t baseLines, const World& world, std::uint64_t tapeGeneration) {
    base_ = baseLines;
    steps_.clear();
    undo_.clear();
    undoBytes_.clear();
    bytes_ = 0;
    redo_.clear();
    generation_ = tapeGeneration;
    SetExpected(world, baseLines);
}

std::int64_t KeyRecord::StepOfLine(std::int64_t line) const {
    if (line < base_) return -1;
    auto after = std::upper_bound(steps_.begin(), steps_.end(), line,
                                  [](std::int64_t l, const KeyStep& step) { return l < step.tapeBefore; });
    if (after == steps_.begin()) return -1;
    return std::distance(steps_.begin(), after) - 1;
}

namespace {

std::size_t BytesOf(const UndoRecord& record) {
    std::size_t bytes = sizeof(UndoRecord) + record.tape.lines.characters() +
                        record.tape.lines.size() * TapeLines::kBytesPerLine + record.log.size() * sizeof(KeyStep);
    if (record.patch)
        bytes += record.patch->derived.size() * sizeof(StepPatch::Derived) +
                 record.patch->keyed.size() * sizeof(std::pair<std::size_t, std::string>);
    return bytes;
}

}  // namespace

void KeyRecord::Push(UndoRecord record) {
    redo_.clear();
    undoBytes_.push_back(BytesOf(record));
    bytes_ += undoBytes_.back();
    undo_.push_back(std::move(record));
    while (undo_.size() > kUndoLevels || (bytes_ > kUndoBytes && undo_.size() > 1)) {
        bytes_ -= undoBytes_.front();
        undoBytes_.pop_front();
        undo_.pop_front();
    }
}

void KeyRecord::Swap(UndoRecord& record, Tape& tape) {
    tape.SwapSuffix(record.tapeFrom, record.tape);
    std::vector<KeyStep> mine(std::make_move_iterator(steps_.begin() + static_cast<std::ptrdiff_t>(record.logFrom)),
                              std::make_move_iterator(steps_.end()));
    steps_.resize(record.logFrom);
    std::move(record.log.begin(), record.log.end(), std::back_inserter(steps_));
    record.log = std::move(mine);
    std::swap(base_, record.otherBase);
    if (record.patch) record.patch->SwapWith(steps_);
}

const World* KeyRecord::Undo(Tape& tape) {
    if (undo_.empty()) return nullptr;
    redo_.push_back(std::move(undo_.back()));
    undo_.pop_back();
    bytes_ -= undoBytes_.back();
    undoBytes_.pop_back();
    UndoRecord& record = redo_.back();
    Swap(record, tape);
    SetExpected(record.before, tape.Count());
    return &record.before;
}

const World* KeyRecord::Redo(Tape& tape) {
    if (redo_.empty()) return nullptr;
    undo_.push_back(std::move(redo_.back()));
    redo_.pop_back();
    UndoRecord& record = undo_.back();
    undoBytes_.push_back(BytesOf(record));
    bytes_ += undoBytes_.back();
    Swap(record, tape);
    SetExpected(record.after, tape.Count());
    return &record.after;
}

}  // namespace qb
