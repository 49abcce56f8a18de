#include "export/Exporter.h"

#include <algorithm>
#include <cctype>
#include <new>

#include "desk/Desk.h"
#include "documents/Documents.h"
#include "documents/PrintLayout.h"
#include "documents/RecoveryFlow.h"
#include "export/TapeCsv.h"
#include "history/History.h"
#include "platform/ErrorMessage.h"

namespace qb {
namespace {

constexpr const char* kCrLf = "\r\n";

struct ExportFormat {
    const char* filter;
    const char* extension;  // with its point
};
constexpr ExportFormat kPdf{"PDF files (*.pdf)|*.pdf", ".pdf"};
// The locale's form second: the first stays what every spreadsheet reads the same way.
constexpr ExportFormat kCsv{"CSV (comma, point) (*.csv)|*.csv|CSV for this locale (*.csv)|*.csv", ".csv"};

bool EndsWithNoCase(const std::string& text, const std::string& end) {
    if (text.size() < end.size()) return false;
    return std::equal(end.begin(), end.end(), text.end() - static_cast<std::ptrdiff_t>(end.size()),
                      [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b)); });
}

}  // namespace

std::optional<std::string> Exporter::AskPath(const char* filter, const char* extension, int* type) {
    FileDialogRequest request;
    request.save = true;
    request.title = Documents::kProduct;
    request.filter = filter;
    request.initialName = desk_.Places().SaveFolder() + "*" + extension;
    for (;;) {
        std::optional<std::string> chosen = type ? desk_.Dialogs().FileDialogOfType(request, *type) : desk_.Dialogs().FileDialog(request);
        if (!chosen) return std::nullopt;
        std::string path = desk_.Places().InSaveFolder(*chosen);
        if (NameOfFile(path).empty()) return std::nullopt;
        if (!EndsWithNoCase(path, extension)) path += extension;
        // Asked here, of the name that will be written, as for tape files.
        if (!desk_.Files().Exists(path) || documents_.AskReplace(NameOfFile(path))) return path;
        request.initialName = path;
    }
}

void Exporter::Failed(const std::string& path, std::string reason) {
    if (reason.empty()) reason = "The reason is not known";
    ShowErrorMessage(desk_.Messages(), "The tape could not be exported to " + NameOfFile(path) + kCrLf + kCrLf +
                                          reason);
}

void Exporter::ExportPdf() {
    // The heading and the caption as the Print command would print them; the timed event goes on.
    const std::string heading = documents_.EventHeading();
    const std::optional<std::string> caption = documents_.CaptionToPrint();
    if (!caption) return;
    const std::optional<std::string> path = AskPath(kPdf.filter, kPdf.extension);
    if (!path) return;
    if (!desk_.Pdf()) {
        Failed(*path, "PDF files cannot be written on this system");
        return;
    }
    const std::string title = documents_.DocumentTitle();
    std::string reason;
    bool written = false;
    desk_.Dialogs().SetBusy(true);
    bool cancelled = false;
    try {
        Progress progress(desk_.ProgressReports(), "Exporting the tape", desk_.GetTape().Count());
        cancelled = !PrintTapeCopies(desk_.Pdf()->Open(*path, title), 1, heading, *caption, desk_.GetTape().Lines(), &progress);
        if (cancelled) {
            desk_.Pdf()->Abandon();
        } else {
            written = desk_.Pdf()->Finish(reason);
            if (!recovery_.SettleWrittenFile(*path, written)) written = false, reason = desk_.Files().LastWriteError();
        }
    } catch (const std::bad_alloc&) {
        reason = "There is not enough memory";
    }
    desk_.Dialogs().SetBusy(false);
    if (!written && !cancelled) Failed(*path, reason);
}

void Exporter::ExportCsv() {
    int type = csvType_;
    const std::optional<std::string> path = AskPath(kCsv.filter, kCsv.extension, &type);
    if (!path) return;
    csvType_ = type;
    const CsvStyle style = type == 1 ? CsvStyle::ForLocale(desk_.LocaleDecimalSign()) : CsvStyle{};
    bool written = false;
    std::string reason;
    desk_.Dialogs().SetBusy(true);
    try {
        written = desk_.Files().WriteAll(*path, TapeCsv(desk_.GetTape().Lines(), history_.LineSubtotals(), style));
        written = recovery_.SettleWrittenFile(*path, written && !desk_.Files().WritesInPlace(*path)) && written;
        if (!written) reason = desk_.Files().LastWriteError();
    } catch (const std::bad_alloc&) {
        reason = "There is not enough memory";
    }
    desk_.Dialogs().SetBusy(false);
    if (!written) Failed(*path, reason);
}

}  // namespace qb
