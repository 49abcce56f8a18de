#pragma once
// Exporting the tape: a PDF laid out as the printed tape, and a CSV file for spreadsheets. Both
// leave the tape, its file name and its changed state alone.

#include <optional>
#include <string>

namespace qb {

class Desk;
class Documents;
class History;
class RecoveryFlow;

class Exporter {
public:
    Exporter(Desk& desk, Documents& documents, History& history, RecoveryFlow& recovery)
        : desk_(desk), documents_(documents), history_(history), recovery_(recovery) {}

    void ExportPdf();
    void ExportCsv();

private:
    // The export's file: asked for in the save folder, the extension added when missing, and
    // replacing a file only when the user agrees. Nothing when cancelled.
    // With a filter of several types, type is the one offered first and then the one chosen.
    std::optional<std::string> AskPath(const char* filter, const char* extension, int* type = nullptr);
    void Failed(const std::string& path, std::string reason);

    Desk& desk_;
    Documents& documents_;
    History& history_;
    RecoveryFlow& recovery_;
    int csvType_ = 0;  // the CSV form chosen last: 0 comma and point, 1 the locale's
};

}  // namespace qb
