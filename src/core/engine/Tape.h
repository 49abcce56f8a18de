#pragma once
// The paper tape: an ever-growing list of fixed-width lines, first line first.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "engine/TapeLines.h"

namespace qb {

// Told about every change, so a view of a long tape costs nothing per line added.
class TapeListener {
public:
    virtual ~TapeListener() = default;
    virtual void LinesAppended(std::int64_t first, std::int64_t last) = 0;
    virtual void TapeReset() = 0;
    // Lines first to last went away (undo, a correction); the lines before them stay.
    virtual void LinesRemoved(std::int64_t /*first*/, std::int64_t /*last*/) { TapeReset(); }
    // Lines first to last show other text than before.
    virtual void LinesChanged(std::int64_t /*first*/, std::int64_t /*last*/) { TapeReset(); }
};

// The end of a tape from some line on, with the corrections marked in it (by line index).
struct TapeSuffix {
    TapeLines lines;
    std::map<std::int64_t, std::string> corrected;
};

class Tape {
public:
    static constexpr std::size_t kLineWidth = 18;
    static constexpr std::int64_t kVisibleLines = 16;
    // The operation column of lines that are no amount: a reference number, a note's text.
    static constexpr char kReferenceMark = '#';
    static constexpr char kNoteMark = '"';
    // A total's count of numbers, on a line of its own where the total leaves no room for it.
    static constexpr char kCountMark = 'n';
    // The marks of lines that are no amount: a reference number, a note's line, a count line.
    static constexpr bool IsNoAmountMark(char mark) {
        return mark == kReferenceMark || mark == kNoteMark || mark == kCountMark;
    }
    // The grand total's line.
    static constexpr char kGrandTotalMark = 'g';
    // A total line with its count at the left ("3      15.00 ="): the line from the total on.
    static std::string_view WithoutCount(std::string_view line);

    void SetListener(TapeListener* listener) { listener_ = listener; }
    TapeListener* Listener() const { return listener_; }

    // Lays the content out as a calculator line (right-justified to 18 characters, or "*" and
    // its last 17 characters when wider), adds it and marks the tape changed.
    void AppendTapeLine(std::string_view content);
    // Adds a line exactly as given, without marking the tape changed (the separator line).
    void AppendRaw(std::string_view line);
    // Adds a line laid out already (a note line) and marks the tape changed.
    void AppendLaidOut(std::string_view line);
    // Replaces the whole tape (opening a file, a new tape).
    void Replace(TapeLines lines);

    // Brings the end of the tape into view: the last 16 lines.
    void ScrollTape();

    std::int64_t Count() const { return static_cast<std::int64_t>(lines_.size()); }
    bool Empty() const { return lines_.empty(); }
    std::string_view Line(std::int64_t index) const { return lines_[static_cast<std::size_t>(index)]; }
    std::string_view LastLine() const { return lines_.back(); }
    const TapeLines& Lines() const { return lines_; }
    // Changes whenever the tape changes other than by lines added at its end.
    std::uint64_t Generation() const { return lines_.Generation(); }

    // The selected line, -1 for none.
    std::int64_t ListIndex() const { return listIndex_; }
    void SetListIndex(std::int64_t index) { listIndex_ = index; }
    void ClearSelection() { listIndex_ = -1; }

    // Scrolls as little as needed to bring the line into view.
    void ShowLine(std::int64_t index);

    // The first visible line.
    std::int64_t TopIndex() const { return topIndex_; }
    void SetTopIndex(std::int64_t index) { topIndex_ = index; }

    bool Dirty() const { return dirty_; }
    void SetDirty(bool dirty) { dirty_ = dirty; }

    static std::string LayOut(std::string_view content);

    // Rewriting the end of the tape (undo, redo, corrections): the lines from first on go, and
    // come back as another version of them.
    TapeSuffix TakeSuffix(std::int64_t first);
    void PutSuffix(TapeSuffix suffix);
    void SwapSuffix(std::int64_t first, TapeSuffix& other);
    // Tells the listener that the lines from first on were rewritten, where the tape had
    // oldCount lines before (for changes made while the listener was set aside).
    void AnnounceRewritten(std::int64_t first, std::int64_t oldCount);

    // A corrected line remembers what it showed before its first correction (not in files).
    const std::string* CorrectedFrom(std::int64_t index) const;
    void MarkCorrected(std::int64_t index, std::string original);
    const std::map<std::int64_t, std::string>& Corrections() const { return corrected_; }

    // Counts the times the whole tape was replaced (a file opened, a new tape).
    std::uint64_t Replacements() const { return replacements_; }

private:
    void Added();

    TapeLines lines_;
    std::int64_t listIndex_ = -1;
    std::int64_t topIndex_ = 0;
    bool dirty_ = false;
    TapeListener* listener_ = nullptr;
    std::map<std::int64_t, std::string> corrected_;
    std::uint64_t replacements_ = 0;
};

}  // namespace qb
