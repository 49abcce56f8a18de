#include "platform/QtPrinterPort.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPrinter>

#include "platform/CodePage.h"

namespace qb {
namespace {

constexpr double kTwipsPerPoint = 20;

}  // namespace

QtPrinterPort::QtPrinterPort(QPrinter& printer) : printer_(printer), job_(&printer), fontName_(QFont().family()) {
    printer.setFullPage(true);  // positions count from the paper's edge
}

QtPrinterPort::QtPrinterPort(QPagedPaintDevice& device) : printer_(device), fontName_(QFont().family()) {
    printer_.setPageMargins(QMarginsF());
}

QtPrinterPort::~QtPrinterPort() {
    if (painter_.isActive()) painter_.end();
}

int QtPrinterPort::PageWidth() {
    return static_cast<int>(printer_.pageLayout().fullRectPoints().width() * kTwipsPerPoint);
}

int QtPrinterPort::PageHeight() {
    return static_cast<int>(printer_.pageLayout().fullRectPoints().height() * kTwipsPerPoint);
}

std::string QtPrinterPort::FontName() { return ToCodePage(fontName_); }

void QtPrinterPort::SetFontName(const std::string& name) { fontName_ = FromCodePage(name); }

bool QtPrinterPort::Begin() {
    if (painter_.isActive()) return true;
    if (!painter_.begin(&printer_)) return false;
    QFont font(fontName_);
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSizeF(kPointSize);
    painter_.setFont(font);
    painter_.setPen(Qt::black);
    return true;
}

double QtPrinterPort::LineHeight() {
    if (painter_.isActive()) {
        QFontMetricsF metrics(painter_.font(), &printer_);
        return metrics.lineSpacing() * 1440.0 / printer_.logicalDpiY();
    }
    return kPointSize * 1.2 * kTwipsPerPoint;
}

void QtPrinterPort::PrintLine(const std::string& text) {
    // Printer errors are not reported: the run goes on with its next step.
    if (Begin()) {
        if (pageWanted_) printer_.newPage();
        pageWanted_ = false;
        printed_ = true;
        QFontMetricsF metrics(painter_.font(), &printer_);
        const double px = x_ * printer_.logicalDpiX() / 1440.0;
        const double py = y_ * printer_.logicalDpiY() / 1440.0 + metrics.ascent();
        painter_.drawText(QPointF(px, py), FromCodePage(text));
    }
    y_ += LineHeight();
    x_ = 0;
}

void QtPrinterPort::SkipLine() {
    y_ += LineHeight();
    x_ = 0;
}

void QtPrinterPort::NewPage() {
    // The page is opened by the first line printed on it, so a run that ends at the bottom of
    // a page leaves no blank page behind.
    if (painter_.isActive()) pageWanted_ = true;
    x_ = 0;
    y_ = 0;
}

void QtPrinterPort::EndDoc() {
    pageWanted_ = false;
    if (painter_.isActive()) painter_.end();
    x_ = 0;
    y_ = 0;
}

void QtPrinterPort::AbortDoc() {
    pageWanted_ = false;
    if (job_ && painter_.isActive()) job_->abort();
    if (painter_.isActive()) painter_.end();
    x_ = 0;
    y_ = 0;
}

void QtPrinterPort::SetDocumentName(const std::string& name) {
    // A PDF's pages have their title from the PDF port.
    if (job_) job_->setDocName(QString::fromStdString(name));
}

}  // namespace qb
