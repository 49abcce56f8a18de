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

TapeLines TapeLines::Suffix(std::size_t first) const {
    TapeLines suffix;
    if (first >= size()) return suffix;
    const std::uint32_t begin = first == 0 ? 0 : ends_[first - 1];
    suffix.text_.assign(text_, begin, std::string::npos);
    suffix.ends_.reserve(size() - first);
    for (std::size_t i = first; i < size(); ++i) suffix.ends_.push_back(ends_[i] - begin);
    return suffix;
}

std::vector<std::string> TapeLines::ToVector() const { return std::vector<std::string>(begin(), end()); }

}  // namespace qb
