#include "documents/PrintLayout.h"

#include "engine/NoteLines.h"

namespace qb {

std::string TimedEventHeading(std::string_view eventName, std::string_view eventDate,
                              std::string_view eventDescription, std::string_view timerText) {
    std::string heading = "Timed event: ";
    heading += eventName;
    if (!eventDate.empty()) (heading += ' ') += eventDate;
    if (!eventDescription.empty()) (heading += ' ') += eventDescription;
    (heading += ' ') += timerText;
    return heading;
}

// The margins are kept in single precision, as the print position is.
PrintLayout::PrintLayout(PrinterPort& printer)
    : printer_(printer),
      leftMargin_(static_cast<float>(0.07 * printer.PageWidth())),
      topMargin_(static_cast<float>(0.05 * printer.PageHeight())),
      bottomLimit_(static_cast<float>(0.9 * printer.PageHeight())) {}

bool PrintLayout::PrintCopy(const std::string& heading, const std::string& caption, const TapeLines& lines,
                            Progress* progress) {
    printer_.SetCurrentY(topMargin_);
    if (!heading.empty()) {
        PrintLine(heading);
        PrintEmptyLine();
    }
    if (!caption.empty()) {
        PrintLine(caption);
        PrintEmptyLine();
    }
    for (const std::string_view line : lines) {
        if (progress && !progress->Step()) {
            printer_.AbortDoc();
            return false;
        }
        PrintLine(ShownLine(line));
    }
    printer_.EndDoc();
    return true;
}

void PrintLayout::PrintLine(const std::string& text) {
    printer_.SetCurrentX(leftMargin_);
    printer_.PrintLine(text);
    CheckEndOfPage();
}

void PrintLayout::PrintEmptyLine() {
    printer_.SkipLine();
    CheckEndOfPage();
}

void PrintLayout::CheckEndOfPage() {
    if (printer_.CurrentY() >= bottomLimit_) {
        printer_.NewPage();
        printer_.SetCurrentY(topMargin_);
    }
}

bool PrintTapeCopies(PrinterPort& printer, int copies, const std::string& heading, const std::string& caption,
                     const TapeLines& lines, Progress* progress) {
    PrintLayout layout(printer);
    const std::string savedFontName = printer.FontName();
    printer.SetFontName("Courier New");
    bool whole = true;
    for (int copy = 0; copy < copies && whole; ++copy) whole = layout.PrintCopy(heading, caption, lines, progress);
    printer.SetFontName(savedFontName);
    return whole;
}

}  // namespace qb
