#include "platform/QtPdfPort.h"

#include <QFileInfo>
#include <QPainter>

#include "platform/CodePage.h"

namespace qb {

QtPdfPort::QtPdfPort() = default;

QtPdfPort::~QtPdfPort() { Close(); }

void QtPdfPort::Close() {
    printer_.reset();  // ends a painter still drawing
    writer_.reset();
    if (file_) file_->cancelWriting();
    file_.reset();
}

QPageSize::PageSizeId QtPdfPort::UsualPaper(const QLocale& locale) {
    switch (locale.territory()) {
    case QLocale::UnitedStates:
    case QLocale::Canada:
    case QLocale::Mexico:
    case QLocale::Chile:
    case QLocale::Colombia:
    case QLocale::Venezuela:
    case QLocale::CostaRica:
    case QLocale::Guatemala:
    case QLocale::ElSalvador:
    case QLocale::Nicaragua:
    case QLocale::Panama:
    case QLocale::DominicanRepublic:
    case QLocale::PuertoRico:
    case QLocale::Philippines: return QPageSize::Letter;
    default: return QPageSize::A4;
    }
}

PrinterPort& QtPdfPort::Open(const std::string& path, const std::string& title) {
    Close();
    error_.clear();
    const QString name = QString::fromStdString(path);
    // Only a plain file is written over, as with tape files.
    const QFileInfo target(name);
    if ((target.exists() || target.isSymLink()) && !target.isFile()) {
        error_ = QStringLiteral("not a plain file");
        return nowhere_;
    }
    file_ = std::make_unique<QSaveFile>(name);
    // Never written in place: a PDF cut short would take the place of the earlier file.
    if (!file_->open(QIODevice::WriteOnly)) {
        error_ = file_->errorString();
        file_.reset();
        return nowhere_;
    }
    writer_ = std::make_unique<QPdfWriter>(file_.get());
    writer_->setTitle(QString::fromStdString(title));
    writer_->setCreator(QStringLiteral("the Quillbox"));
    writer_->setPageSize(QPageSize(UsualPaper(QLocale())));
    printer_ = std::make_unique<QtPrinterPort>(*writer_);
    return *printer_;
}

bool QtPdfPort::Finish(std::string& reason) {
    if (!file_) {
        reason = ToCodePage(error_);
        return false;
    }
    // A tape with nothing to print still makes a PDF: one blank page.
    if (!printer_->Printed()) {
        QPainter blank(writer_.get());
    }
    printer_.reset();
    writer_.reset();  // the PDF's last bytes go to the file
    const bool committed = file_->commit();
    if (!committed) reason = ToCodePage(file_->errorString());
    file_.reset();
    return committed;
}

}  // namespace qb
