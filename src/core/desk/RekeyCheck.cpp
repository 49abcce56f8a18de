#include "desk/RekeyCheck.h"

#include "engine/NoteLines.h"
#include "engine/Tape.h"
#include "platform/MessagePort.h"

namespace qb {
namespace {

std::string_view Trim(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

std::string Counted(std::int64_t count, const char* one, const char* many) {
    return std::to_string(count) + ' ' + (count == 1 ? one : many);
}

}  // namespace

void RekeyCheck::Begin(TapeLines firstKeying) {
    first_ = std::move(firstKeying);
    active_ = true;
    seen_ = 0;
    generation_ = 0;
    agreeing_ = 0;
    differing_.clear();
}

bool RekeyCheck::Follow(const Tape& tape) {
    if (!active_) return false;
    if (tape.Generation() != generation_ || tape.Count() < seen_) {
        // Undo, a correction or a deletion rewrote the tape: compared again from its start.
        generation_ = tape.Generation();
        seen_ = 0;
        agreeing_ = 0;
        differing_.clear();
    }
    for (; seen_ < tape.Count(); ++seen_) {
        const std::string_view line = Trim(tape.Line(seen_));
        if (line.empty()) continue;
        if (seen_ < static_cast<std::int64_t>(first_.size()) && Trim(first_[static_cast<std::size_t>(seen_)]) == line)
            ++agreeing_;
        else
            differing_.insert(seen_);
    }
    return tape.Count() >= static_cast<std::int64_t>(first_.size());
}

std::string RekeyCheck::Difference(std::int64_t line) const {
    if (!active_ || !differing_.count(line)) return {};
    if (line >= static_cast<std::int64_t>(first_.size())) return "Differs: the first keying has no line here";
    const std::string shown = ShownLine(first_[static_cast<std::size_t>(line)]);
    const std::string_view first = Trim(shown);
    return "Differs: the first keying has " + (first.empty() ? std::string("a blank line") : std::string(first));
}

std::string RekeyCheck::TitleText() const {
    if (!active_) return {};
    return " - Check: " + std::to_string(agreeing_) + " agree, " + std::to_string(Differing()) +
           (Differing() == 1 ? " differs" : " differ");
}

std::string RekeyCheck::Summary() const {
    std::string text = Counted(agreeing_, "line agrees", "lines agree") + ", ";
    if (differing_.empty()) return text + "none differs";
    text += std::to_string(differing_.size()) + (differing_.size() == 1 ? " differs: line " : " differ: lines ");
    std::size_t listed = 0;
    for (const std::int64_t line : differing_) {
        if (listed == 10) {
            text += ", ...";
            break;
        }
        text += (listed++ ? ", " : "") + std::to_string(line + 1);
    }
    return text;
}

void RekeyCheck::End(Tape& tape, MessagePort& messages) {
    if (!active_) return;
    Follow(tape);
    const std::string summary = Summary();
    const std::int64_t first = differing_.empty() ? -1 : *differing_.begin();
    active_ = false;
    first_ = TapeLines();
    differing_.clear();
    if (first < 0) {
        messages.ShowMessage({"Check by Re-keying", summary, MessageIcon::Information, MessageButtons::Ok, MessageAnswer::Ok});
        return;
    }
    const MessageAnswer answer = messages.ShowMessage({"Check by Re-keying", summary + "\r\n\r\nGo to the first difference?",
                                                       MessageIcon::Question, MessageButtons::YesNo, MessageAnswer::Yes});
    if (answer != MessageAnswer::Yes || first >= tape.Count()) return;
    tape.SetListIndex(first);
    tape.ShowLine(first);
}

}  // namespace qb
