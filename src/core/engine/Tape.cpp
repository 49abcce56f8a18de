#include "engine/Tape.h"

#include "engine/NumberRules.h"

namespace qb {

std::string Tape::LayOut(std::string_view content) {
    constexpr std::size_t kContent = kLineWidth - 1;
    if (content.size() > kContent) return "*" + std::string(content.substr(content.size() - kContent));
    std::string line(content);
    PadToWidth(line, kLineWidth, true);
    return line;
}

void Tape::AppendTapeLine(std::string_view content) {
    lines_.push_back(LayOut(content));
    dirty_ = true;
    Added();
}

void Tape::AppendRaw(std::string_view line) {
    lines_.push_back(line);
    Added();
}

void Tape::Added() {
    if (listener_) listener_->LinesAppended(Count() - 1, Count() - 1);
}

void Tape::Replace(TapeLines lines) {
    lines_ = std::move(lines);
    listIndex_ = -1;
    topIndex_ = 0;
    if (listener_) listener_->TapeReset();
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
