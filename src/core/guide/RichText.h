#pragma once
// The rich text of a User Guide topic, as the RTF reader hands it to the viewer: a list of
// blocks, each a paragraph or a table (rows of cells of paragraphs); a paragraph is a list of
// runs of equally formatted UTF-8 text. Only what the viewer draws is kept; everything else
// in the file (styles, pictures, headers) is left behind.

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace qb {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const Rgb&) const = default;
};

// The kinds of underline word processors offer; the viewer draws those it can and the rest as
// a single line.
enum class Underline : std::uint8_t { None, Single, Double, Thick, Words, Dotted, Dash, DashDot, DashDotDot, Wave };

enum class VerticalPosition : std::uint8_t { Normal, Superscript, Subscript };

// Capitals are a way of drawing: the text keeps the letters as typed.
enum class Capitals : std::uint8_t { AsTyped, All, Small };

// Text of one look. A tab stays '\t'; a line break inside the paragraph is '\n'.
struct TextRun {
    std::string text;
    bool bold = false;
    bool italic = false;
    Underline underline = Underline::None;
    bool strike = false;
    VerticalPosition position = VerticalPosition::Normal;
    Capitals capitals = Capitals::AsTyped;
    int fontSizeHalfPoints = 24;     // 12 pt unless the file says otherwise
    std::string fontFamily;          // empty: the viewer's default font
    std::optional<Rgb> color;        // empty: the automatic (default) colour
    bool operator==(const TextRun&) const = default;
};

enum class Alignment { Left, Center, Right, Justify };

enum class TabAlignment : std::uint8_t { Left, Center, Right, Decimal };

// A tab stop, measured from the paragraph's left edge without its indent (the page margin).
struct TabStop {
    int positionTwips = 0;
    TabAlignment alignment = TabAlignment::Left;
    bool operator==(const TabStop&) const = default;
};

struct RichParagraph {
    Alignment alignment = Alignment::Left;
    int leftIndentTwips = 0;
    int rightIndentTwips = 0;
    int firstLineIndentTwips = 0;   // negative for a hanging first line, as bullets use
    int spaceBeforeTwips = 0;
    int spaceAfterTwips = 0;
    std::vector<TabStop> tabStops;  // in order of position; empty: the viewer's default stops
    // Non-empty for a list item: the marker to draw before the text ("\u2022" for a bullet,
    // "1." for a numbered item). The marker is never part of the runs.
    std::string listMarker;
    std::vector<TextRun> runs;

    // The paragraph as plain text: the marker and a tab before the text of the runs.
    std::string PlainText() const;
};

struct TableCell {
    std::vector<RichParagraph> paragraphs;
    int rightEdgeTwips = 0;  // from the row's left edge as the file gives it; 0: not given
};

struct TableRow {
    int leftEdgeTwips = 0;
    std::vector<TableCell> cells;
};

struct RichTable {
    std::vector<TableRow> rows;
    bool borders = false;  // the file draws lines around the cells

    // One line a row, its cells separated by tabs and a cell's paragraphs by blanks.
    std::string PlainText() const;
};

using RichBlock = std::variant<RichParagraph, RichTable>;

struct RichDocument {
    std::vector<RichBlock> blocks;

    // The blocks' plain text, one line each paragraph and each table row.
    std::string PlainText() const;
};

}  // namespace qb
