#include "platform/QtDialogPort.h"

#include <QApplication>
#include <algorithm>
#include <QDateTime>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QListView>
#include <QLocale>
#include <QMimeDatabase>
#include <QSplitter>
#include <QTimer>
#include <QTreeView>
#include <QInputDialog>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QScreen>

#include "windows/ChooseCopyDialog.h"
#include "windows/CorrectLineDialog.h"
#include "windows/TaxRatesDialog.h"
#include "windows/TapeCaptionDialog.h"
#include "windows/TimedEventDialog.h"

namespace qb {
namespace {

// "Tape Files (*.QBX)|*.QBX|..." as Qt writes filters: the names, one per type.
QStringList QtFilters(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    QStringList names;
    for (qsizetype i = 0; i < parts.size(); i += 2) names << parts[i];
    return names;
}

// Qt's printer dialog shows its page-range choices whenever the print service could apply them,
// whatever the options say; the tape is always printed whole, so they are hidden once shown.
class WholeTapePrintDialog final : public QPrintDialog {
public:
    using QPrintDialog::QPrintDialog;
    void setVisible(bool visible) override {
        QPrintDialog::setVisible(visible);
        if (!visible) return;
        if (auto* range = findChild<QWidget*>(QStringLiteral("gbPrintRange"))) range->hide();
    }
};

void CenterOnScreen(QWidget& window) {
    window.adjustSize();
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    QRect area = screen->geometry();
    window.move(area.x() + (area.width() - window.width()) / 2, area.y() + (area.height() - window.height()) / 2);
}

// Qt's own file dialog keeps sizes made for a small font: at a large desktop font its places
// and its columns' titles are cut. They are sized from the font instead, and the dialog grows
// with it, as far as the screen allows.
void FitFileDialogToFont(QFileDialog& dialog) {
    const QFontMetrics metrics(dialog.font());
    const int gap = metrics.averageCharWidth() * 4, name = metrics.averageCharWidth() * 30;
    auto* splitter = dialog.findChild<QSplitter*>(QStringLiteral("splitter"));
    auto* places = dialog.findChild<QListView*>(QStringLiteral("sidebar"));
    auto* tree = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!splitter || !places || !tree || splitter->count() != 2) return;
    // The columns after the name as wide as their titles and a long value.
    QHeaderView* header = tree->header();
    const QString date = QLocale().toString(QDateTime::currentDateTime(), QLocale::ShortFormat);
    // A tape file's type, as the desktop's language names it (or an empty one's).
    const QMimeDatabase types;
    const QString text = types.mimeTypeForName(QStringLiteral("text/plain")).comment();
    const QString empty = types.mimeTypeForName(QStringLiteral("application/x-zerosize")).comment();
    const QString samples[] = {QString(), QStringLiteral("1,023.00 KiB"), text.size() > empty.size() ? text : empty,
                               date.size() > 16 ? date : QStringLiteral("28 Dec 2026 23:59")};
    int others = 0;
    for (int column = 1; column < header->count() && column < 4; ++column) {
        const QString title = header->model()->headerData(column, Qt::Horizontal).toString();
        const int widest = std::max(metrics.horizontalAdvance(title), metrics.horizontalAdvance(samples[column])) + gap;
        header->resizeSection(column, widest);
        others += widest;
    }
    int side = places->sizeHintForColumn(0) + places->frameWidth() * 2 + gap;
    QSize size(std::max(dialog.sizeHint().width(), side + name + others + 4 * gap),
               std::max(dialog.sizeHint().height(), metrics.lineSpacing() * 24));
    if (QScreen* screen = dialog.screen()) size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    dialog.resize(size);
    side = std::min(side, size.width() / 3);
    splitter->setSizes({side, std::max(1, size.width() - side)});
    // The name takes what is left, once the dialog is laid out.
    header->resizeSection(0, name);
    QTimer::singleShot(0, &dialog, [tree, name, others] {
        tree->header()->resizeSection(0, std::max(name, tree->viewport()->width() - others));
    });
}

}  // namespace

QtDialogPort::QtDialogPort(MessagePort& messages) : messages_(messages), printerPort_(printer_) {}

std::optional<std::string> QtDialogPort::FileDialog(const FileDialogRequest& request) {
    int type = 0;
    return FileDialogOfType(request, type);
}

std::optional<std::string> QtDialogPort::FileDialogOfType(const FileDialogRequest& request, int& type) {
    if (beforeShow_) beforeShow_();
    QFileDialog dialog(parent_, QString::fromStdString(request.title));
    dialog.setObjectName(QStringLiteral("cdlFile"));
    const QStringList filters = QtFilters(request.filter);
    dialog.setNameFilters(filters);
    if (type > 0 && type < filters.size()) dialog.selectNameFilter(filters[type]);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setOption(QFileDialog::ReadOnly, false);
    // The program asks itself, about the name with its extension.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setDefaultSuffix(QString());  // the program checks and adds the extension itself
    QString initial = QString::fromStdString(request.initialName);
    // A folder followed by a pattern ("*.QBX", "*.pdf") opens that folder with no name chosen.
    const QString pattern = QFileInfo(initial).fileName();
    if (pattern.startsWith(QStringLiteral("*."))) {
        dialog.setDirectory(initial.left(initial.size() - pattern.size()));
    } else {
        QFileInfo info(initial);
        if (info.isAbsolute()) dialog.setDirectory(info.absolutePath());
        dialog.selectFile(info.fileName());
    }
    FitFileDialogToFont(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    type = std::max<int>(0, static_cast<int>(filters.indexOf(dialog.selectedNameFilter())));
    return dialog.selectedFiles().first().toStdString();
}

std::optional<std::string> QtDialogPort::CaptionPrompt(const std::string& initial, bool& tooltipsOn) {
    if (beforeShow_) beforeShow_();
    TapeCaptionDialog dialog(QString::fromStdString(initial), tooltipsOn, parent_);
    CenterOnScreen(dialog);
    dialog.exec();
    tooltipsOn = dialog.TooltipsOn();
    if (dialog.Cancelled()) return std::nullopt;
    return dialog.Text().toStdString();
}

// A one-line text prompt of its own title and label, starting with initial (UTF-8).
std::optional<std::string> QtDialogPort::TextPrompt(const char* name, const char* title, const char* label,
                                                    const std::string& initial) {
    if (beforeShow_) beforeShow_();
    QInputDialog dialog(parent_);
    dialog.setObjectName(QString::fromLatin1(name));
    dialog.setWindowTitle(QString::fromLatin1(title));
    dialog.setLabelText(QString::fromLatin1(label));
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setTextValue(QString::fromStdString(initial));
    dialog.resize(420, dialog.sizeHint().height());
    CenterOnScreen(dialog);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.textValue().toStdString();
}

std::optional<std::string> QtDialogPort::NotePrompt(const std::string& initial, bool& /*tooltipsOn*/) {
    return TextPrompt("frmNote", "Note", "&Note for the tape (up to 200 characters):", initial);
}

std::optional<std::string> QtDialogPort::FindPrompt(const std::string& initial, bool& /*tooltipsOn*/) {
    return TextPrompt("frmFind", "Find", "&Find a number (1250 or 1,250.00) or a note's text:", initial);
}

std::optional<char> QtDialogPort::ChooseCopy(bool selectedOffered, bool& tooltipsOn) {
    if (beforeShow_) beforeShow_();
    ChooseCopyDialog dialog(selectedOffered, tooltipsOn, parent_);
    CenterOnScreen(dialog);
    dialog.exec();
    tooltipsOn = dialog.TooltipsOn();
    return dialog.Choice();
}

bool QtDialogPort::TimedEventDialog(TimedEventForm& form, bool& tooltipsOn, const TimedEventRules& rules) {
    if (beforeShow_) beforeShow_();
    qb::TimedEventDialog dialog(form, tooltipsOn, rules, messages_, parent_);
    CenterOnScreen(dialog);
    QApplication::restoreOverrideCursor();
    dialog.exec();
    tooltipsOn = dialog.TooltipsOn();
    if (!dialog.Begun()) return false;
    form = dialog.Form();
    return true;
}

bool QtDialogPort::CorrectLineDialog(CorrectLineForm& form, bool& tooltipsOn) {
    if (beforeShow_) beforeShow_();
    qb::CorrectLineDialog dialog(QString::fromLatin1(form.number.c_str()), form.operation, tooltipsOn, parent_,
                                 QString::fromStdString(form.label), form.decimalComma);
    dialog.setWindowTitle(QString::fromStdString(form.title));
    CenterOnScreen(dialog);
    const bool ok = dialog.exec() == QDialog::Accepted;
    tooltipsOn = dialog.TooltipsOn();
    if (!ok) return false;
    form.number = dialog.Number().toStdString();
    form.operation = dialog.Operation();
    return true;
}

bool QtDialogPort::TaxRatesDialog(TaxRatesForm& form, bool& tooltipsOn) {
    if (beforeShow_) beforeShow_();
    qb::TaxRatesDialog dialog(QString::fromStdString(form.first), QString::fromStdString(form.second), tooltipsOn, parent_);
    CenterOnScreen(dialog);
    if (dialog.exec() != QDialog::Accepted) return false;
    form.first = dialog.First().toStdString();
    form.second = dialog.Second().toStdString();
    return true;
}

int QtDialogPort::PrinterCount() { return static_cast<int>(QPrinterInfo::availablePrinterNames().size()); }

std::optional<int> QtDialogPort::PrinterDialog(const std::string& title) {
    if (beforeShow_) beforeShow_();
    WholeTapePrintDialog dialog(&printer_, parent_);
    dialog.setWindowTitle(QString::fromStdString(title));
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    // The printer keeps the one chosen for the rest of the run, so the next dialog offers it again;
    // the system's default printer stays as it is.
    // Each copy is printed as a job of its own.
    int copies = std::max(1, printer_.copyCount());
    printer_.setCopyCount(1);
    return copies;
}

void QtDialogPort::SetBusy(bool busy) {
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

}  // namespace qb
