// Feeds arbitrary bytes to the tape file reader. A file that reads must write back and read
// again to the same document, and no value it yields may be infinite or NaN.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "documents/TapeFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    qb::TapeDocument document;
    if (qb::ReadTapeBytes(bytes, document) != qb::TapeReadResult::Read) return 0;
    if (!std::isfinite(document.subtotal)) std::abort();
    std::string written = qb::WriteTapeBytes(document);
    qb::TapeDocument again;
    if (qb::ReadTapeBytes(written, again) != qb::TapeReadResult::Read) std::abort();
    // A caption or a line holding a CR or LF splits when written; the rest survives exactly.
    if (again.pendingOperation != document.pendingOperation || again.justPressedEquals != document.justPressedEquals ||
        again.specialResult != document.specialResult)
        std::abort();
    return 0;
}
