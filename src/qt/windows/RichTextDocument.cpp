#include "windows/RichTextDocument.h"

#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextOption>
#include <algorithm>

namespace qb {
namespace {

constexpr double kPixelsPerTwip = 96.0 / 1440.0;

Qt::Alignment AlignmentOf(Alignment alignment) {
    switch (alignment) {
    case Alignment::Center: return Qt::AlignHCenter;
    case Alignment::Right: return Qt::AlignRight;
    case Alignment::Justify: return Qt::AlignJustify;
    case Alignment::Left: break;
    }
    return Qt::AlignLeft;
}

QTextCharFormat FormatOf(const TextRun& run) {
    QTextCharFormat format;
    format.setFontWeight(run.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(run.italic);
    format.setFontUnderline(run.underline);
    format.setFontPointSize(run.fontSizeHalfPoints > 0 ? run.fontSizeHalfPoints / 2.0 : 12.0);
    if (!run.fontFamily.empty()) format.setFontFamilies({QString::fromStdString(run.fontFamily)});
    if (run.color) format.setForeground(QColor(run.color->red, run.color->green, run.color->blue));
    return format;
}

}  // namespace

void FillTextDocument(const RichDocument& topic, QTextDocument& document) {
    document.clear();
    QTextCursor cursor(&document);
    bool first = true;
    for (const RichParagraph& paragraph : topic.paragraphs) {
        QTextBlockFormat block;
        block.setAlignment(AlignmentOf(paragraph.alignment));
        block.setLeftMargin(paragraph.leftIndentTwips * kPixelsPerTwip);
        block.setRightMargin(paragraph.rightIndentTwips * kPixelsPerTwip);
        block.setTextIndent(paragraph.firstLineIndentTwips * kPixelsPerTwip);
        block.setTopMargin(paragraph.spaceBeforeTwips * kPixelsPerTwip);
        block.setBottomMargin(paragraph.spaceAfterTwips * kPixelsPerTwip);
        if (first)
            cursor.setBlockFormat(block);
        else
            cursor.insertBlock(block);
        first = false;
        if (!paragraph.listMarker.empty()) {
            // The marker hangs in the indent; the text starts at the paragraph's left edge.
            const double hang = std::max(12.0, -paragraph.firstLineIndentTwips * kPixelsPerTwip);
            block.setTabPositions({QTextOption::Tab(hang, QTextOption::LeftTab)});
            cursor.setBlockFormat(block);
            QTextCharFormat marker = paragraph.runs.empty() ? QTextCharFormat() : FormatOf(paragraph.runs.front());
            marker.setFontWeight(QFont::Normal);
            cursor.insertText(QString::fromStdString(paragraph.listMarker) + QLatin1Char('\t'), marker);
        }
        for (const TextRun& run : paragraph.runs) {
            QString text = QString::fromStdString(run.text);
            text.replace(QLatin1Char('\n'), QChar::LineSeparator);
            cursor.insertText(text, FormatOf(run));
        }
    }
}

}  // namespace qb
