// Feeds arbitrary bytes to the recovery record reader. No value it yields may be infinite or
// NaN; a tape it recovers, written afresh as a record, reads back the same: every line, and the
// values (the subtotal to the 15 digits a record's tape file keeps).
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "documents/RecoveryRecord.h"
#include "engine/NumberRules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto tape = qb::ReadRecoveryRecord(bytes);
    if (!tape) return 0;
    if (!std::isfinite(tape->state.subtotal)) std::abort();
    qb::RecordWriter writer(tape->state, tape->lines, tape->time);
    std::string written;
    for (std::string_view piece = writer.Next(); !piece.empty(); piece = writer.Next()) written += piece;
    const auto again = qb::ReadRecoveryRecord(written);
    if (!again || again->damaged || !(again->lines == tape->lines) || again->time != tape->time) std::abort();
    qb::RecoveryState expected = tape->state;
    expected.subtotal = again->state.subtotal;
    if (qb::NumberToText(again->state.subtotal) != qb::NumberToText(tape->state.subtotal) || !(again->state == expected))
        std::abort();
    return 0;
}
