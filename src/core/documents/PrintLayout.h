#pragma once
// The printed tape: the page layout of one copy, and the copies of one print run, on the
// printer port. The printer dialog, the caption prompt and ending a timed event belong to the
// Print command that calls this.

#include <string>
#include <string_view>
#include <vector>

#include "engine/TapeLines.h"
#include "platform/PrinterPort.h"
#include "platform/ProgressPort.h"

namespace qb {

// The line that heads every copy printed during a timed event, e.g.
// "Timed event: Dez Ide 7/4/1999 Audit 01:02:05". An empty date or description is left out
// together with its blank.
std::string TimedEventHeading(std::string_view eventName, std::string_view eventDate,
                              std::string_view eventDescription, std::string_view timerText);

// Lays out copies on one printer. The margins come from the page size the printer reports when
// the layout is made, in whole twips: every line starts at the left margin, every page at the
// top margin, and a new page begins once the print position reaches the bottom limit.
class PrintLayout {
public:
    explicit PrintLayout(PrinterPort& printer);

    float LeftMargin() const { return leftMargin_; }
    float TopMargin() const { return topMargin_; }
    float BottomLimit() const { return bottomLimit_; }

    // One copy as one print job: the heading and a blank line when there is a heading, the
    // caption and a blank line when there is a caption, then every tape line as it stands.
    // False when the progress was cancelled: the copy's job is then dropped.
    bool PrintCopy(const std::string& heading, const std::string& caption, const TapeLines& lines,
                   Progress* progress = nullptr);

private:
    void PrintLine(const std::string& text);
    void PrintEmptyLine();
    void CheckEndOfPage();

    PrinterPort& printer_;
    float leftMargin_;
    float topMargin_;
    float bottomLimit_;
};

// The print run once the copies are known: the printer's font name is kept, the tape is printed
// in "Courier New" (at the printer's font size), `copies` times, each copy its own job, and the
// kept font name is put back. False when the progress was cancelled: the copy being printed is
// dropped and no further copy begins.
bool PrintTapeCopies(PrinterPort& printer, int copies, const std::string& heading, const std::string& caption,
                     const TapeLines& lines, Progress* progress = nullptr);

}  // namespace qb
