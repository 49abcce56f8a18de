#include "memory/DecimalComma.h"

namespace qb {

std::string CommaDecimalToPoint(std::string_view text) {
    const std::size_t comma = text.rfind(',');
    if (comma == std::string_view::npos || text.find('.', comma) != std::string_view::npos)
        return std::string(text);
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
