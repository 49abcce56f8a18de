#pragma once
// The rich text of a User Guide topic, as the RTF reader hands it to the viewer: a list of
// paragraphs, each a list of runs of equally formatted UTF-8 text. Only what the viewer
// draws is kept; everything else in the file (styles, pictures, headers) is left behind.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qb {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const Rgb&) const = default;
};

// Text of one look. A tab stays '\t'; a line break inside the paragraph is '\n'.
struct TextRun {
    std::string text;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int fontSizeHalfPoints = 24;     // 12 pt unless the file says otherwise
    std::string fontFamily;          // empty: the viewer's default font
    std::optional<Rgb> color;        // empty: the automatic (default) colour
    bool operator==(const TextRun&) const = default;
};

enum class Alignment { Left, Center, Right, Justify };

struct RichParagraph {
    Alignment alignment = Alignment::Left;
    int leftIndentTwips = 0;
    int rightIndentTwips = 0;
    int firstLineIndentTwips = 0;   // negative for a hanging first line, as bullets use
    int spaceBeforeTwips = 0;
    int spaceAfterTwips = 0;
    // Non-empty for a list item: the marker to draw before the text ("\u2022" for a bullet,
    // "1." for a numbered item). The marker is never part of the runs.
    std::string listMarker;
    std::vector<TextRun> runs;

    // The paragraph as plain text: the marker and a tab before the text of the runs.
    std::string PlainText() const {
        std::string text;
        if (!listMarker.empty()) text = listMarker + '\t';
        for (const TextRun& run : runs) text += run.text;
        return text;
    }
};

struct RichDocument {
    std::vector<RichParagraph> paragraphs;

    // The paragraphs' plain text, one line each.
    std::string PlainText() const {
        std::string text;
        for (std::size_t i = 0; i < paragraphs.size(); ++i) {
            if (i > 0) text += '\n';
            text += paragraphs[i].PlainText();
        }
        return text;
    }
};

}  // namespace qb
