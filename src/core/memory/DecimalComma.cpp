#include "memory/DecimalComma.h"

#include <vector>

namespace qb {
namespace {

bool IsDigitAt(std::string_view text, std::size_t i) { return i < text.size() && text[i] >= '0' && text[i] <= '9'; }

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || static_cast<unsigned char>(c) >= 0x80; }

// Separators that stand between digits as a number's ("1,5", ",5"), not in words ("Rent,1250",
// "Rent, 1250") or at a sentence's end ("12,50.").
std::vector<std::size_t> NumberSeparators(std::string_view text, char separator) {
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == separator && IsDigitAt(text, i + 1) && (i == 0 || !IsLetter(text[i - 1]))) found.push_back(i);
    return found;
}

// Every one of several separators followed by a group of exactly three digits: thousands.
bool GroupsThousands(std::string_view text, const std::vector<std::size_t>& separators) {
    if (separators.size() < 2) return false;
    for (std::size_t at : separators)
        if (!IsDigitAt(text, at + 3) || IsDigitAt(text, at + 4)) return false;
    return true;
}

std::string Without(std::string_view text, char separator) {
    std::string out;
    for (char c : text)
        if (c != separator) out += c;
    return out;
}

}  // namespace

std::string CommaDecimalToPoint(std::string_view text) {
    const std::vector<std::size_t> commas = NumberSeparators(text, ',');
    const std::vector<std::size_t> points = NumberSeparators(text, '.');
    if (commas.empty()) {
        // "1.234.567": the points group thousands, as the user's language writes them.
        return GroupsThousands(text, points) ? Without(text, '.') : std::string(text);
    }
    const std::size_t comma = commas.back();
    // A point after the last comma: written the English way ("1,234.56").
    if (!points.empty() && points.back() > comma) return std::string(text);
    // "1,234,567": the commas group thousands.
    if (points.empty() && GroupsThousands(text, commas)) return std::string(text);
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
