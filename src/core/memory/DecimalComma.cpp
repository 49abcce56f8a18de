#include "memory/DecimalComma.h"

namespace qb {
namespace {

bool IsDigitAt(std::string_view text, std::size_t i) { return i < text.size() && text[i] >= '0' && text[i] <= '9'; }

}  // namespace

std::string CommaDecimalToPoint(std::string_view text) {
    // Only a comma with a digit after it can be a decimal point ("Rent, 1250" has none).
    std::size_t comma = std::string_view::npos;
    int commas = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == ',' && IsDigitAt(text, i + 1)) {
            comma = i;
            ++commas;
        }
    }
    if (comma == std::string_view::npos || text.find('.', comma) != std::string_view::npos) return std::string(text);
    // Several such commas and no point: they group thousands, as in "1,234,567".
    if (commas > 1 && text.find('.') == std::string_view::npos) return std::string(text);
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i == comma)
            out += '.';
        else if (text[i] != '.' && text[i] != ',')
            out += text[i];
    }
    return out;
}

}  // namespace qb
