// Feeds arbitrary bytes to the User Guide's RTF reader. Besides crashes, leaks, undefined
// behaviour and time-outs, it stops on a document that breaks the promises the viewer
// relies on: valid UTF-8 without control characters other than tab and line break, no
// empty runs, sizes, indents and tab stops within their bounds, and tables of rows of cells.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <variant>

#include "guide/RtfReader.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

void RequireCleanUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        std::size_t length = 1;
        char32_t cp = c;
        if (c >= 0xF0 && c <= 0xF4) length = 4, cp = c & 0x07;
        else if (c >= 0xE0) length = 3, cp = c & 0x0F;
        else if (c >= 0xC2 && c < 0xE0) length = 2, cp = c & 0x1F;
        else Require(c < 0x80);
        Require(i + length <= text.size());
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            Require((next & 0xC0) == 0x80);
            cp = (cp << 6) | (next & 0x3F);
        }
        Require(cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF));
        Require(length == 1 || cp >= (length == 2 ? 0x80u : length == 3 ? 0x800u : 0x10000u));
        Require(cp >= 0x20 || cp == '\t' || cp == '\n');
        i += length;
    }
}

void RequireSound(const qb::RichParagraph& para) {
    Require(para.leftIndentTwips >= -31680 && para.leftIndentTwips <= 31680);
    Require(para.firstLineIndentTwips >= -31680 && para.firstLineIndentTwips <= 31680);
    Require(para.spaceBeforeTwips >= 0 && para.spaceAfterTwips >= 0);
    Require(para.tabStops.size() <= 64);
    for (std::size_t i = 0; i < para.tabStops.size(); ++i) {
        Require(para.tabStops[i].positionTwips >= 0 && para.tabStops[i].positionTwips <= 31680);
        Require(i == 0 || para.tabStops[i - 1].positionTwips < para.tabStops[i].positionTwips);
    }
    RequireCleanUtf8(para.listMarker);
    for (const qb::TextRun& run : para.runs) {
        Require(!run.text.empty());
        Require(run.fontSizeHalfPoints >= 2 && run.fontSizeHalfPoints <= 3276);
        RequireCleanUtf8(run.text);
        RequireCleanUtf8(run.fontFamily);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto doc = qb::ReadRtf(bytes);
    if (!doc) return 0;
    std::size_t lines = 0;
    for (const qb::RichBlock& block : doc->blocks) {
        if (const auto* para = std::get_if<qb::RichParagraph>(&block)) {
            RequireSound(*para);
            ++lines;
            continue;
        }
        // A table has rows, a row has cells, and no row more cells than a table may have.
        const auto& table = std::get<qb::RichTable>(block);
        Require(!table.rows.empty());
        for (const qb::TableRow& row : table.rows) {
            Require(!row.cells.empty() && row.cells.size() <= 64);
            for (const qb::TableCell& cell : row.cells)
                for (const qb::RichParagraph& para : cell.paragraphs) RequireSound(para);
        }
        lines += table.rows.size();
    }
    // The plain text has a line for every paragraph and every table row.
    const std::string plain = doc->PlainText();
    Require(static_cast<std::size_t>(std::count(plain.begin(), plain.end(), '\n')) + 1 >= lines);
    return 0;
}
