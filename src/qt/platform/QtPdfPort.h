#pragma once
// PDF files through QPdfWriter, drawn by the printer port's own code and written through a
// QSaveFile: the finished file replaces an earlier one whole, or not at all.

#include <QLocale>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <memory>

#include "platform/NullPorts.h"
#include "platform/PdfPort.h"
#include "platform/QtPrinterPort.h"

namespace qb {

class QtPdfPort final : public PdfPort {
public:
    QtPdfPort();
    ~QtPdfPort() override;

    PrinterPort& Open(const std::string& path, const std::string& title) override;
    bool Finish(std::string& reason) override;
    void Abandon() override { Close(); }

    // Letter where the locale's country uses it (the Americas' letter countries, the
    // Philippines), A4 everywhere else.
    static QPageSize::PageSizeId UsualPaper(const QLocale& locale);

private:
    void Close();

    std::unique_ptr<QSaveFile> file_;
    std::unique_ptr<QPdfWriter> writer_;
    std::unique_ptr<QtPrinterPort> printer_;
    NullPrinter nowhere_;  // the printer of a file that could not be opened
    QString error_;
};

}  // namespace qb
