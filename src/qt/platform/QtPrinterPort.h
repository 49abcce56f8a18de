#pragma once
// A QPrinter (or a QPdfWriter) as the tape printout sees it: positions in twips from the paper's
// top-left corner, one line of text at a time, one job per EndDoc.

#include <QPainter>
#include <QString>

#include "platform/PrinterPort.h"

class QPagedPaintDevice;
class QPrinter;

namespace qb {

class QtPrinterPort final : public PrinterPort {
public:
    explicit QtPrinterPort(QPrinter& printer);
    // A PDF's pages: positions count from the paper's edge, as the printer's do.
    explicit QtPrinterPort(QPagedPaintDevice& device);
    ~QtPrinterPort() override;

    int PageWidth() override;
    int PageHeight() override;
    std::string FontName() override;
    void SetFontName(const std::string& name) override;
    double CurrentX() override { return x_; }
    double CurrentY() override { return y_; }
    void SetCurrentX(double twips) override { x_ = twips; }
    void SetCurrentY(double twips) override { y_ = twips; }
    void PrintLine(const std::string& text) override;
    void SkipLine() override;
    void NewPage() override;
    void EndDoc() override;
    void AbortDoc() override;
    void SetDocumentName(const std::string& name) override;

    // The tape's point size on paper.
    static constexpr double kPointSize = 10;

    // Something was printed since the port was made.
    bool Printed() const { return printed_; }

private:
    bool Begin();
    double LineHeight();  // twips

    QPagedPaintDevice& printer_;
    QPrinter* job_ = nullptr;  // none for a PDF's pages
    QPainter painter_;
    QString fontName_;
    bool pageWanted_ = false;
    bool printed_ = false;
    double x_ = 0;
    double y_ = 0;
};

}  // namespace qb
