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
    // A replay keeps a re-keyed list's totals out of the grand total, whenever it runs.
    modes.more = static_cast<std::uint8_t>((options.GrandTotal ? 1 : 0) | (options.GrandTotalPaused ? 2 : 0));
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
    options.GrandTotalPaused = more & 2;
}

namespace {

StepPatch::Derived DerivedOf(const KeyStep& step) {
    return {step.tapeBefore, step.selection, step.failed, step.entered, step.subtotal};
}

}  // namespace

StepPatch StepPatch::Of(const std::vector<KeyStep>& steps, std::size_t from, std::size_t corrected) {
    StepPatch patch;
    patch.from = patch.at = from;
    patch.corrected = corrected;
    if (corrected != kNone) patch.input = steps[corrected].input;
    patch.derived.reserve(steps.size() - from);
    for (std::size_t i = from; i < steps.size(); ++i) {
        patch.derived.push_back(DerivedOf(steps[i]));
        if (!steps[i].keyed.empty()) patch.keyed.emplace_back(i, steps[i].keyed);
        if (steps[i].snapshot) patch.snapshots.emplace_back(i, steps[i].snapshot);
    }
    return patch;
}

StepPatch StepPatch::Splice(std::vector<KeyStep>& steps, std::size_t from, std::size_t at, std::size_t removed,
                            std::vector<KeyStep> added, const std::function<std::int32_t(std::int32_t)>& moveSelection) {
    StepPatch was;
    was.from = from;
    was.at = at;
    was.count = added.size();
    const std::shared_ptr<const World> start = steps[from].snapshot;
    // What the steps outside the middle worked out, their keyed entries and their snapshots go
    // to the record as it was, by place; the replay works them out again.
    was.derived.reserve(steps.size() - from - removed);
    const auto keep = [&](std::size_t first, std::size_t last, std::size_t place, bool after) {
        for (std::size_t i = first; i < last; ++i, ++place) {
            KeyStep& step = steps[i];
            was.derived.push_back(DerivedOf(step));
            if (!step.keyed.empty()) {
                was.keyed.emplace_back(place, std::move(step.keyed));
                step.keyed.clear();
            }
            if (step.snapshot) was.snapshots.emplace_back(place, std::move(step.snapshot));
            if (after) step.selection = moveSelection(step.selection);
        }
    };
    keep(from, at, from, false);
    keep(at + removed, steps.size(), at, true);
    // The middle: the steps removed out, the added ones in, the steps after them moved once.
    for (KeyStep& step : added) step.snapshot.reset();
    const auto first = steps.begin() + static_cast<std::ptrdiff_t>(at);
    const std::size_t common = std::min(removed, added.size());
    std::swap_ranges(first, first + static_cast<std::ptrdiff_t>(common), added.begin());
    if (removed > common) {
        const auto rest = first + static_cast<std::ptrdiff_t>(common), end = first + static_cast<std::ptrdiff_t>(removed);
        added.insert(added.end(), std::make_move_iterator(rest), std::make_move_iterator(end));
        steps.erase(rest, end);
    } else if (added.size() > common) {
        const auto rest = added.begin() + static_cast<std::ptrdiff_t>(common);
        steps.insert(first + static_cast<std::ptrdiff_t>(common), std::make_move_iterator(rest), std::make_move_iterator(added.end()));
        added.erase(rest, added.end());
    }
    was.middle = std::move(added);
    steps[from].snapshot = start;
    return was;
}

void StepPatch::SwapWith(std::vector<KeyStep>& steps) {
    if (corrected < steps.size()) std::swap(steps[corrected].input, input);
    // What the steps outside the middle worked out: swapped in place, the places being the same
    // in both versions; the keyed entries and snapshots of this version taken out.
    std::vector<std::pair<std::size_t, std::string>> myKeyed;
    std::vector<std::pair<std::size_t, std::shared_ptr<const World>>> mySnapshots;
    const auto swapOutside = [&](std::size_t first, std::size_t last) {
        for (std::size_t i = first; i < last; ++i) {
            KeyStep& step = steps[i];
            const std::size_t k = Place(i) - from;
            if (k < derived.size()) {
                Derived& d = derived[k];
                std::swap(step.tapeBefore, d.tapeBefore);
                std::swap(step.selection, d.selection);
                std::swap(step.failed, d.failed);
                std::swap(step.entered, d.entered);
                std::swap(step.subtotal, d.subtotal);
            }
            if (!step.keyed.empty()) {
                myKeyed.emplace_back(Place(i), std::move(step.keyed));
                step.keyed.clear();
            }
            if (step.snapshot) mySnapshots.emplace_back(Place(i), std::move(step.snapshot));
        }
    };
    const std::size_t size = steps.size();
    swapOutside(std::min(from, size), std::min(at, size));
    swapOutside(std::min(at + count, size), size);
    // The middle: the other version's steps in, this version's out, the steps after it moved once.
    const std::size_t theirs = middle.size();
    if ((count > 0 || theirs > 0) && at + count <= size) {
        const auto first = steps.begin() + static_cast<std::ptrdiff_t>(at);
        const std::size_t common = std::min(count, theirs);
        std::swap_ranges(first, first + static_cast<std::ptrdiff_t>(common), middle.begin());
        if (count > theirs) {
            const auto rest = first + static_cast<std::ptrdiff_t>(common), end = first + static_cast<std::ptrdiff_t>(count);
            middle.insert(middle.end(), std::make_move_iterator(rest), std::make_move_iterator(end));
            steps.erase(rest, end);
        } else if (theirs > count) {
            const auto rest = middle.begin() + static_cast<std::ptrdiff_t>(common);
            steps.insert(first + static_cast<std::ptrdiff_t>(common), std::make_move_iterator(rest),
                         std::make_move_iterator(middle.end()));
            middle.erase(rest, middle.end());
        }
        count = theirs;
    }
    for (auto& [place, text] : keyed)
        if (StepAt(place) < steps.size()) steps[StepAt(place)].keyed = std::move(text);
    for (auto& [place, snapshot] : snapshots)
        if (StepAt(place) < steps.size()) steps[StepAt(place)].snapshot = std::move(snapshot);
    keyed = std::move(myKeyed);
    snapshots = std::move(mySnapshots);
}

std::size_t StepPatch::Bytes() const {
    return derived.size() * sizeof(Derived) + keyed.size() * sizeof(keyed.front()) +
           snapshots.size() * sizeof(snapshots.front()) + middle.size() * sizeof(KeyStep);
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
    if (record.patch) bytes += record.patch->Bytes();
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
    std::swap(base_, record.otherBase);
    if (record.patch) {
        record.patch->SwapWith(steps_);
        return;
    }
    std::vector<KeyStep> mine(std::make_move_iterator(steps_.begin() + static_cast<std::ptrdiff_t>(record.logFrom)),
                              std::make_move_iterator(steps_.end()));
    steps_.resize(record.logFrom);
    std::move(record.log.begin(), record.log.end(), std::back_inserter(steps_));
    record.log = std::move(mine);
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
