#pragma once
// A PDF file drawn through the printer's calls, so the tape's pages come out as they would on
// paper without any printer installed.

#include <string>

#include "platform/PrinterPort.h"

namespace qb {

class PdfPort {
public:
    virtual ~PdfPort() = default;
    // A printer whose one job becomes the PDF file at path, titled title (UTF-8), on the paper the
    // user's locale usually takes (A4 or Letter). Nothing replaces the file before Finish.
    virtual PrinterPort& Open(const std::string& path, const std::string& title) = 0;
    // Puts the finished file in place of any earlier one: true when it was written whole;
    // otherwise reason says why, and an earlier file of that name is left as it was.
    virtual bool Finish(std::string& reason) = 0;
    // Drops the file begun by Open: an earlier file of that name is left as it was.
    virtual void Abandon() {}
};

}  // namespace qb
