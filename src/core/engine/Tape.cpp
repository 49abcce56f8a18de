#include "engine/Tape.h"

#include <algorithm>
#include <utility>

namespace qb {

namespace {

// The content right-justified in the line's width, or "*" and its last characters when wider.
std::string_view LayOutInto(std::string_view content, char (&line)[Tape::kLineWidth]) {
    const bool wide = content.size() > Tape::kLineWidth - 1;
    if (wide) content.remove_prefix(content.size() - (Tape::kLineWidth - 1));
    const std::size_t blanks = Tape::kLineWidth - content.size();
    std::fill(line, line + blanks, ' ');
    if (wide) line[0] = '*';
    std::copy(content.begin(), content.end(), line + blanks);
    return {line, Tape::kLineWidth};
}

}  // namespace

std::string Tape::LayOut(std::string_view content) {
    char line[kLineWidth];
    return std::string(LayOutInto(content, line));
}

std::string_view Tape::WithoutCount(std::string_view line) {
    if (line.empty() || line.back() != '=') return line;
    std::size_t i = 0;
    while (i < line.size() && line[i] == ' ') ++i;
    const std::size_t digits = i;
    while (i < line.size() && line[i] >= '0' && line[i] <= '9') ++i;
    if (i == digits || i >= line.size() || line[i] != ' ') return line;
    // Digits, a blank, and a number after it: the count. A plain total has no blank inside.
    std::size_t next = i;
    while (next < line.size() && line[next] == ' ') ++next;
    if (next + 2 >= line.size()) return line;
    return line.substr(i);
}

void Tape::AppendTapeLine(std::string_view content) {
    char line[kLineWidth];
    lines_.push_back(LayOutInto(content, line));
    dirty_ = true;
    Added();
}

void Tape::AppendRaw(std::string_view line) {
    lines_.push_back(line);
    Added();
}

void Tape::AppendLaidOut(std::string_view line) {
    lines_.push_back(line);
    dirty_ = true;
    Added();
}

void Tape::Added() {
    if (listener_) listener_->LinesAppended(Count() - 1, Count() - 1);
}

void Tape::Replace(TapeLines lines) {
    lines_ = std::move(lines);
    corrected_.clear();
    ++replacements_;
    listIndex_ = -1;
    topIndex_ = 0;
    if (listener_) listener_->TapeReset();
}

TapeSuffix Tape::TakeSuffix(std::int64_t first) {
    TapeSuffix suffix;
    if (first < 0) first = 0;
    if (first >= Count()) return suffix;
    const std::int64_t last = Count() - 1;
    suffix.lines = lines_.Suffix(static_cast<std::size_t>(first));
    lines_.truncate(static_cast<std::size_t>(first));
    suffix.corrected.insert(corrected_.lower_bound(first), corrected_.end());
    corrected_.erase(corrected_.lower_bound(first), corrected_.end());
    if (listIndex_ >= first) listIndex_ = -1;
    if (topIndex_ >= Count()) topIndex_ = Count() > kVisibleLines ? Count() - kVisibleLines : 0;
    if (listener_) listener_->LinesRemoved(first, last);
    return suffix;
}

void Tape::PutSuffix(TapeSuffix suffix) {
    if (suffix.lines.empty()) return;
    const std::int64_t first = Count();
    lines_.reserve(lines_.size() + suffix.lines.size(), lines_.characters() + suffix.lines.characters());
    for (std::string_view line : suffix.lines) lines_.push_back(line);
    corrected_.merge(suffix.corrected);
    if (listener_) listener_->LinesAppended(first, Count() - 1);
}

void Tape::SwapSuffix(std::int64_t first, TapeSuffix& other) {
    const std::int64_t oldCount = Count();
    TapeListener* listener = std::exchange(listener_, nullptr);
    TapeSuffix mine = TakeSuffix(first);
    PutSuffix(std::move(other));
    other = std::move(mine);
    listener_ = listener;
    AnnounceRewritten(first, oldCount);
}

void Tape::AnnounceRewritten(std::int64_t first, std::int64_t oldCount) {
    if (!listener_) return;
    const std::int64_t same = std::min(oldCount, Count());
    if (same > first) listener_->LinesChanged(first, same - 1);
    if (oldCount > same) listener_->LinesRemoved(same, oldCount - 1);
    if (Count() > same) listener_->LinesAppended(same, Count() - 1);
}

const std::string* Tape::CorrectedFrom(std::int64_t index) const {
    auto found = corrected_.find(index);
    return found == corrected_.end() ? nullptr : &found->second;
}

void Tape::MarkCorrected(std::int64_t index, std::string original) {
    corrected_.try_emplace(index, std::move(original));
}

void Tape::ScrollTape() {
    if (Count() > kVisibleLines) topIndex_ = Count() - kVisibleLines;
}

void Tape::ShowLine(std::int64_t index) {
    if (index < 0) return;
    if (index < topIndex_) topIndex_ = index;
    if (index >= topIndex_ + kVisibleLines) topIndex_ = index - kVisibleLines + 1;
}

}  // namespace qb
