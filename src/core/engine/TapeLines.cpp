#include "engine/TapeLines.h"

namespace qb {

TapeLines::TapeLines(std::initializer_list<std::string_view> lines) {
    for (std::string_view line : lines) push_back(line);
}

TapeLines::TapeLines(const std::vector<std::string>& lines) {
    std::size_t characters = 0;
    for (const std::string& line : lines) characters += line.size();
    reserve(lines.size(), characters);
    for (const std::string& line : lines) push_back(line);
}

std::vector<std::string> TapeLines::ToVector() const { return std::vector<std::string>(begin(), end()); }

}  // namespace qb
