#include "desk/Finder.h"

#include "desk/Desk.h"
#include "guide/CodePageDecoder.h"
#include "platform/ErrorMessage.h"

namespace qb {

void Finder::FindCommand() {
    bool tooltips = desk_.GetOptions().Tooltips;
    std::optional<std::string> answer = desk_.Dialogs().FindPrompt(typed_, tooltips);
    desk_.FollowTooltips(tooltips);
    if (!answer) return;
    typed_ = std::move(*answer);
    // A character the tape cannot hold is on no line: the query stays empty and finds nothing.
    const Windows1252Text text = Utf8ToWindows1252(typed_);
    query_ = text.refused.empty() ? MakeFindQuery(text.text, desk_.DecimalComma()) : FindQuery{};
    Find(true);
}

void Finder::FindAgain(bool forward) {
    if (typed_.empty()) {
        FindCommand();
        return;
    }
    Find(forward);
}

void Finder::Find(bool forward) {
    if (typed_.empty()) return;
    Tape& tape = desk_.GetTape();
    const FindResult found = FindOnTape(tape.Lines(), query_, tape.ListIndex(), forward);
    if (found.line < 0) {
        ShowErrorMessage(desk_.Messages(), "\"" + typed_ + "\" is not on the tape");
        return;
    }
    if (found.wrapped) desk_.Messages().Beep();
    tape.SetListIndex(found.line);
    tape.ShowLine(found.line);
}

}  // namespace qb
