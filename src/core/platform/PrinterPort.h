#pragma once
// A printer as the tape printout needs it: page size, a print position in twips, a font name,
// lines of text, new pages and separate jobs.

#include <string>

namespace qb {

class PrinterPort {
public:
    virtual ~PrinterPort() = default;
    virtual int PageWidth() = 0;   // twips
    virtual int PageHeight() = 0;  // twips
    virtual std::string FontName() = 0;
    virtual void SetFontName(const std::string& name) = 0;
    virtual double CurrentX() = 0;
    virtual double CurrentY() = 0;
    virtual void SetCurrentX(double twips) = 0;
    virtual void SetCurrentY(double twips) = 0;
    // Prints at the current position, then moves down one line and back to the left edge.
    virtual void PrintLine(const std::string& text) = 0;
    // Moves down one line without printing.
    virtual void SkipLine() = 0;
    virtual void NewPage() = 0;
    // Ends the document: the job goes to the spooler.
    virtual void EndDoc() = 0;
    // Drops the document begun since the last EndDoc: nothing of it is printed.
    virtual void AbortDoc() {}
    // The name the jobs from now on go by, as a print queue lists them (UTF-8).
    virtual void SetDocumentName(const std::string& /*name*/) {}
};

}  // namespace qb
