#pragma once
// A printer that keeps what it was asked to print: every job, every page, every line with the
// position and font it was printed at. Moves down one line height per line, as a real one does.

#include <string>
#include <vector>

#include "platform/PrinterPort.h"

namespace qb::test {

struct PrintedText {
    double x = 0;
    double y = 0;
    std::string text;
    std::string fontName;
};

using PrintedPage = std::vector<PrintedText>;
using PrintedJob = std::vector<PrintedPage>;

class FakePrinter : public PrinterPort {
public:
    // Letter paper, 8.5 by 11 inches, and lines of 240 twips (12 points) by default.
    explicit FakePrinter(int pageWidth = 12240, int pageHeight = 15840, double lineHeight = 240);

    int PageWidth() override { return pageWidth; }
    int PageHeight() override { return pageHeight; }
    std::string FontName() override { return fontName; }
    void SetFontName(const std::string& name) override { fontName = name; }
    double CurrentX() override { return x; }
    double CurrentY() override { return y; }
    void SetCurrentX(double twips) override { x = twips; }
    void SetCurrentY(double twips) override { y = twips; }
    void PrintLine(const std::string& text) override;
    void SkipLine() override;
    void NewPage() override;
    void EndDoc() override;
    void AbortDoc() override {
        open.assign(1, {});
        x = y = 0;
    }
    void SetDocumentName(const std::string& name) override { documentName = name; }

    // The texts of one page, top to bottom.
    static std::vector<std::string> Texts(const PrintedPage& page);

    int pageWidth;
    int pageHeight;
    double lineHeight;
    std::string fontName = "Arial";
    std::string documentName;
    double x = 0;
    double y = 0;
    std::vector<PrintedJob> jobs;  // the jobs ended so far
    PrintedJob open;               // the pages of the job being printed
};

}  // namespace qb::test
