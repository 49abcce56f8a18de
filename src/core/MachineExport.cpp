// Exporting the tape: a PDF laid out as the printed tape, and a CSV file for spreadsheets. Both
// leave the tape, its file name and its changed state alone.
#include <algorithm>
#include <cctype>
#include <new>

#include "Machine.h"
#include "documents/PrintLayout.h"
#include "engine/TapeRecompute.h"
#include "export/TapeCsv.h"
#include "history/KeyRecord.h"
#include "platform/ErrorMessage.h"

namespace qb {
namespace {

constexpr const char* kProduct = "the Quillbox";
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

std::string AfterLastSeparator(const std::string& path) {
    auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::optional<std::string> Machine::AskExportPath(const char* filter, const char* extension, int* type) {
    FileDialogRequest request;
    request.save = true;
    request.title = kProduct;
    request.filter = filter;
    request.initialName = locations_.SaveFolder() + "*" + extension;
    for (;;) {
        std::optional<std::string> chosen = type ? dialogs_.FileDialogOfType(request, *type) : dialogs_.FileDialog(request);
        if (!chosen) return std::nullopt;
        std::string path = locations_.InSaveFolder(*chosen);
        if (AfterLastSeparator(path).empty()) return std::nullopt;
        if (!EndsWithNoCase(path, extension)) path += extension;
        // Asked here, of the name that will be written, as for tape files.
        if (!files_.Exists(path) || AskReplace(AfterLastSeparator(path))) return path;
        request.initialName = path;
    }
}

void Machine::ExportFailed(const std::string& path, std::string reason) {
    if (reason.empty()) reason = "The reason is not known";
    ShowErrorMessage(ports_.messages, "The tape could not be exported to " + AfterLastSeparator(path) + kCrLf + kCrLf +
                                          reason);
}

void Machine::ExportPdfCommand() {
    // The heading and the caption as the Print command would print them; the timed event goes on.
    std::string heading;
    if (TimedEventActive) heading = TimedEventHeading(EventName, EventDate, EventDescription, stopwatch_.ElapsedTime);
    const std::optional<std::string> caption = CaptionToPrint();
    if (!caption) return;
    const std::optional<std::string> path = AskExportPath(kPdf.filter, kPdf.extension);
    if (!path) return;
    if (!ports_.pdf) {
        ExportFailed(*path, "PDF files cannot be written on this system");
        return;
    }
    std::string title = !tapeCaption_.empty() ? tapeCaption_ : !tapeFileName_.empty() ? tapeFileName_ : kProduct;
    std::string reason;
    bool written = false;
    dialogs_.SetBusy(true);
    bool cancelled = false;
    try {
        Progress progress(ports_.progress, "Exporting the tape", tape_.Count());
        cancelled = !PrintTapeCopies(ports_.pdf->Open(*path, title), 1, heading, *caption, tape_.Lines(), &progress);
        if (cancelled) {
            ports_.pdf->Abandon();
        } else {
            written = ports_.pdf->Finish(reason);
            if (!SettleWrittenFile(*path, written)) written = false, reason = files_.LastWriteError();
        }
    } catch (const std::bad_alloc&) {
        reason = "There is not enough memory";
    }
    dialogs_.SetBusy(false);
    if (!written && !cancelled) ExportFailed(*path, reason);
}

std::vector<std::optional<double>> Machine::LineSubtotals() {
    using Kind = TapeLineReading::Kind;
    SyncHistory();
    // Lines read from a file are recomputed from their numbers; keyed lines keep what the
    // calculator worked out for them, at its full precision.
    std::vector<std::optional<double>> subtotals = RecomputeSubtotals(tape_.Lines());
    const std::vector<KeyStep>& steps = history_->Steps();
    if (steps.empty()) return subtotals;
    const std::int64_t base = history_->BaseLines();
    std::optional<double> running;
    if (base > 0 && static_cast<std::size_t>(base) <= subtotals.size()) running = subtotals[static_cast<std::size_t>(base - 1)];
    if (steps.front().snapshot) running = steps.front().snapshot->calculator.state.Subtotal;
    for (std::size_t k = 0; k < steps.size(); ++k) {
        const std::int64_t from = steps[k].tapeBefore;
        const std::int64_t to = k + 1 < steps.size() ? steps[k + 1].tapeBefore : history_->ExpectedLines();
        for (std::int64_t i = std::max(from, base); i < std::min(to, tape_.Count()); ++i) {
            const Kind kind = ReadTapeLine(tape_.Line(i), i > 0 ? tape_.Line(i - 1) : "", i == 0).kind;
            if (kind == Kind::Clear)
                running = 0.0;
            else if (kind != Kind::Other)
                running = steps[k].subtotal;
            subtotals[static_cast<std::size_t>(i)] = running;
        }
    }
    return subtotals;
}

void Machine::ExportCsvCommand() {
    int type = csvType_;
    const std::optional<std::string> path = AskExportPath(kCsv.filter, kCsv.extension, &type);
    if (!path) return;
    csvType_ = type;
    const CsvStyle style = type == 1 ? CsvStyle::ForLocale(localeDecimalSign_) : CsvStyle{};
    bool written = false;
    std::string reason;
    dialogs_.SetBusy(true);
    try {
        written = files_.WriteAll(*path, TapeCsv(tape_.Lines(), LineSubtotals(), style));
        written = SettleWrittenFile(*path, written && !files_.WritesInPlace(*path)) && written;
        if (!written) reason = files_.LastWriteError();
    } catch (const std::bad_alloc&) {
        reason = "There is not enough memory";
    }
    dialogs_.SetBusy(false);
    if (!written) ExportFailed(*path, reason);
}

}  // namespace qb
