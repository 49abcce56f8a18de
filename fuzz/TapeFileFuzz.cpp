// Feeds arbitrary bytes to the tape file reader. A file that reads must write back and read
// again to the same document, whole: caption, subtotal to the 15 digits a file keeps, operation,
// entry, flags, timer reading and every line; and writing that again gives the same bytes. No
// value it yields may be infinite or NaN.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "documents/TapeFile.h"
#include "engine/NumberRules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    qb::TapeDocument document;
    if (qb::ReadTapeBytes(bytes, document) != qb::TapeReadResult::Read) return 0;
    if (!std::isfinite(document.subtotal)) std::abort();
    const std::string written = qb::WriteTapeBytes(document);
    qb::TapeDocument again;
    if (qb::ReadTapeBytes(written, again) != qb::TapeReadResult::Read) std::abort();
    if (again.caption != document.caption || qb::NumberToText(again.subtotal) != qb::NumberToText(document.subtotal) ||
        again.pendingOperation != document.pendingOperation || again.entryText != document.entryText ||
        again.justPressedEquals != document.justPressedEquals || again.specialResult != document.specialResult ||
        again.elapsedTime != document.elapsedTime || !(again.lines == document.lines))
        std::abort();
    if (qb::WriteTapeBytes(again) != written) std::abort();
    return 0;
}
