// Feeds arbitrary text to the number rules as a paste would: clean it, read it, show it in every
// decimal mode. No step may crash, and no text may bring infinity or NaN into the calculator.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/NumberRules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    double value = qb::ParseNumber(qb::NoSpecialChar(text));
    if (!std::isfinite(value)) std::abort();
    double raw = qb::ParseNumber(text);
    if (!std::isfinite(raw)) std::abort();
    // The Entry box's plain text reads back as the same value.
    std::string plain = qb::NumberToPlainText(value);
    if (plain.find('E') != std::string::npos) std::abort();
    if (value != 0 && std::fabs(qb::ParseNumber(plain) - value) > std::fabs(value) * 1e-14) std::abort();
    for (int places = 0; places <= 5; ++places)
        for (bool comma : {true, false}) {
            std::string shown = qb::FormatNumber(value, qb::CreateFormatString(comma, places));
            if (shown.empty() || shown.find('.') == std::string::npos) std::abort();
            (void)qb::FormatFloating(qb::KeepNumeric(shown), qb::CreateFormatBase(comma));
        }
    (void)qb::FitEntryText(std::fabs(value));
    (void)qb::NumberToText(value);
    return 0;
}
