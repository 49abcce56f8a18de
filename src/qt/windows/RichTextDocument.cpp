#include "windows/RichTextDocument.h"

#include <QLocale>
#include <QTextBlock>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextLength>
#include <QTextOption>
#include <QTextTable>
#include <QTextTableFormat>
#include <algorithm>
#include <variant>
#include <vector>

#include "windows/Appearance.h"

namespace qb {
namespace {

constexpr double kPixelsPerTwip = 96.0 / 1440.0;
constexpr double kCellPadding = 4.0;

Qt::Alignment AlignmentOf(Alignment alignment) {
    switch (alignment) {
    case Alignment::Center: return Qt::AlignHCenter;
    case Alignment::Right: return Qt::AlignRight;
    case Alignment::Justify: return Qt::AlignJustify;
    case Alignment::Left: break;
    }
    return Qt::AlignLeft;
}

// Qt has no double, thick or words-only underline: those are drawn as one line.
QTextCharFormat::UnderlineStyle UnderlineStyleOf(Underline underline) {
    switch (underline) {
    case Underline::None: return QTextCharFormat::NoUnderline;
    case Underline::Dotted: return QTextCharFormat::DotLine;
    case Underline::Dash: return QTextCharFormat::DashUnderline;
    case Underline::DashDot: return QTextCharFormat::DashDotLine;
    case Underline::DashDotDot: return QTextCharFormat::DashDotDotLine;
    case Underline::Wave: return QTextCharFormat::WaveUnderline;
    case Underline::Single:
    case Underline::Double:
    case Underline::Thick:
    case Underline::Words: break;
    }
    return QTextCharFormat::SingleUnderline;
}

QTextCharFormat FormatOf(const TextRun& run, double scale) {
    QTextCharFormat format;
    format.setFontWeight(run.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(run.italic);
    format.setUnderlineStyle(UnderlineStyleOf(run.underline));
    format.setFontStrikeOut(run.strike);
    switch (run.position) {
    case VerticalPosition::Superscript: format.setVerticalAlignment(QTextCharFormat::AlignSuperScript); break;
    case VerticalPosition::Subscript: format.setVerticalAlignment(QTextCharFormat::AlignSubScript); break;
    case VerticalPosition::Normal: break;
    }
    switch (run.capitals) {
    case Capitals::All: format.setFontCapitalization(QFont::AllUppercase); break;
    case Capitals::Small: format.setFontCapitalization(QFont::SmallCaps); break;
    case Capitals::AsTyped: break;
    }
    format.setFontPointSize((run.fontSizeHalfPoints > 0 ? run.fontSizeHalfPoints / 2.0 : 12.0) * scale);
    if (!run.fontFamily.empty()) format.setFontFamilies({QString::fromStdString(run.fontFamily)});
    if (run.color) format.setForeground(QColor(run.color->red, run.color->green, run.color->blue));
    return format;
}

// The file measures tab stops from the margin; Qt from the paragraph's left edge.
QList<QTextOption::Tab> TabsOf(const RichParagraph& paragraph, double scale) {
    QList<QTextOption::Tab> tabs;
    for (const TabStop& stop : paragraph.tabStops) {
        const double position = (stop.positionTwips - paragraph.leftIndentTwips) * kPixelsPerTwip * scale;
        if (position <= 0) continue;
        switch (stop.alignment) {
        case TabAlignment::Left: tabs.append(QTextOption::Tab(position, QTextOption::LeftTab)); break;
        case TabAlignment::Center: tabs.append(QTextOption::Tab(position, QTextOption::CenterTab)); break;
        case TabAlignment::Right: tabs.append(QTextOption::Tab(position, QTextOption::RightTab)); break;
        case TabAlignment::Decimal:
            // Numbers line up on the decimal sign the user writes, as word processors do it.
            tabs.append(QTextOption::Tab(position, QTextOption::DelimiterTab, QLocale().decimalPoint().front()));
            break;
        }
    }
    return tabs;
}

// Lays the paragraph into the cursor's block when `reuseBlock`, else into a new block.
void InsertParagraph(QTextCursor& cursor, const RichParagraph& paragraph, bool reuseBlock, double scale) {
    const double pixelsPerTwip = kPixelsPerTwip * scale;
    QTextBlockFormat block;
    block.setAlignment(AlignmentOf(paragraph.alignment));
    block.setLeftMargin(paragraph.leftIndentTwips * pixelsPerTwip);
    block.setRightMargin(paragraph.rightIndentTwips * pixelsPerTwip);
    block.setTextIndent(paragraph.firstLineIndentTwips * pixelsPerTwip);
    block.setTopMargin(paragraph.spaceBeforeTwips * pixelsPerTwip);
    block.setBottomMargin(paragraph.spaceAfterTwips * pixelsPerTwip);
    QList<QTextOption::Tab> tabs = TabsOf(paragraph, scale);
    if (!paragraph.listMarker.empty()) {
        // The marker hangs in the indent; the text starts at the paragraph's left edge.
        const double hang = std::max(12.0 * scale, -paragraph.firstLineIndentTwips * pixelsPerTwip);
        tabs.erase(std::remove_if(tabs.begin(), tabs.end(),
                                  [&](const QTextOption::Tab& tab) { return tab.position <= hang; }),
                   tabs.end());
        tabs.prepend(QTextOption::Tab(hang, QTextOption::LeftTab));
    }
    if (!tabs.isEmpty()) block.setTabPositions(tabs);
    if (reuseBlock)
        cursor.setBlockFormat(block);
    else
        cursor.insertBlock(block);
    if (!paragraph.listMarker.empty()) {
        QTextCharFormat marker = paragraph.runs.empty() ? QTextCharFormat() : FormatOf(paragraph.runs.front(), scale);
        marker.setFontWeight(QFont::Normal);
        marker.setUnderlineStyle(QTextCharFormat::NoUnderline);
        marker.setVerticalAlignment(QTextCharFormat::AlignNormal);
        cursor.insertText(QString::fromStdString(paragraph.listMarker) + QLatin1Char('\t'), marker);
    }
    for (const TextRun& run : paragraph.runs) {
        QString text = QString::fromStdString(run.text);
        text.replace(QLatin1Char('\n'), QChar::LineSeparator);
        cursor.insertText(text, FormatOf(run, scale));
    }
}

// Column widths from the widest row's cell edges, when they make sense; else Qt shares the
// width out.
QList<QTextLength> ColumnWidths(const RichTable& table, int columns, double scale) {
    const auto widest = std::max_element(table.rows.begin(), table.rows.end(), [](const TableRow& a, const TableRow& b) {
        return a.cells.size() < b.cells.size();
    });
    QList<QTextLength> widths;
    int left = widest->leftEdgeTwips;
    for (const TableCell& cell : widest->cells) {
        const int width = cell.rightEdgeTwips - left;
        if (width <= 0) return {};
        widths.append(QTextLength(QTextLength::FixedLength, width * kPixelsPerTwip * scale));
        left = cell.rightEdgeTwips;
    }
    return widths.size() == columns ? widths : QList<QTextLength>{};
}

void InsertTable(QTextCursor& cursor, const RichTable& table, double scale) {
    int columns = 0;
    for (const TableRow& row : table.rows) columns = std::max(columns, static_cast<int>(row.cells.size()));
    QTextTableFormat format;
    format.setCellPadding(kCellPadding * scale);
    format.setCellSpacing(0);
    format.setBorderCollapse(true);
    format.setBorder(table.borders ? 1 : 0);
    format.setBorderStyle(table.borders ? QTextFrameFormat::BorderStyle_Solid : QTextFrameFormat::BorderStyle_None);
    format.setColumnWidthConstraints(ColumnWidths(table, columns, scale));
    format.setAlignment(Qt::AlignLeft);
    QTextTable* qtable = cursor.insertTable(static_cast<int>(table.rows.size()), columns, format);
    for (int r = 0; r < static_cast<int>(table.rows.size()); ++r) {
        const auto& cells = table.rows[static_cast<std::size_t>(r)].cells;
        for (int c = 0; c < static_cast<int>(cells.size()); ++c) {
            QTextCursor cellCursor = qtable->cellAt(r, c).firstCursorPosition();
            bool first = true;
            for (const RichParagraph& paragraph : cells[static_cast<std::size_t>(c)].paragraphs) {
                InsertParagraph(cellCursor, paragraph, first, scale);
                first = false;
            }
        }
    }
    cursor.movePosition(QTextCursor::End);
}

}  // namespace

void FillTextDocument(const RichDocument& topic, QTextDocument& document, double scale) {
    document.clear();
    QTextCursor cursor(&document);
    // The document's first block, and the one Qt leaves after a table, take the next paragraph.
    bool reuseBlock = true;
    for (const RichBlock& block : topic.blocks) {
        if (const auto* paragraph = std::get_if<RichParagraph>(&block)) {
            InsertParagraph(cursor, *paragraph, reuseBlock, scale);
            reuseBlock = false;
        } else if (const auto* table = std::get_if<RichTable>(&block)) {
            InsertTable(cursor, *table, scale);
            reuseBlock = true;
        }
    }
}

void MakeColoursReadable(QTextDocument& document, const QColor& background) {
    struct Change {
        int from, to;
        QColor colour;
    };
    std::vector<Change> changes;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            if (!format.hasProperty(QTextFormat::ForegroundBrush)) continue;
            const Rgb colour = RgbOf(format.foreground().color());
            const Rgb readable = ReadableOn(colour, RgbOf(background));
            if (readable != colour)
                changes.push_back({fragment.position(), fragment.position() + fragment.length(), QColorOf(readable)});
        }
    }
    QTextCursor cursor(&document);
    for (const Change& change : changes) {
        cursor.setPosition(change.from);
        cursor.setPosition(change.to, QTextCursor::KeepAnchor);
        QTextCharFormat format;
        format.setForeground(change.colour);
        cursor.mergeCharFormat(format);
    }
}

}  // namespace qb
