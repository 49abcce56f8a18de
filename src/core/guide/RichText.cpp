#include "guide/RichText.h"

namespace qb {

std::string RichParagraph::PlainText() const {
    std::string text;
    if (!listMarker.empty()) text = listMarker + '\t';
    for (const TextRun& run : runs) text += run.text;
    return text;
}

std::string RichTable::PlainText() const {
    std::string text;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        if (r > 0) text += '\n';
        const auto& cells = rows[r].cells;
        for (std::size_t c = 0; c < cells.size(); ++c) {
            if (c > 0) text += '\t';
            for (std::size_t p = 0; p < cells[c].paragraphs.size(); ++p) {
                if (p > 0) text += ' ';
                text += cells[c].paragraphs[p].PlainText();
            }
        }
    }
    return text;
}

std::string RichDocument::PlainText() const {
    std::string text;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        if (i > 0) text += '\n';
        text += std::visit([](const auto& block) { return block.PlainText(); }, blocks[i]);
    }
    return text;
}

}  // namespace qb
