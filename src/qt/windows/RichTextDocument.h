#pragma once
// A User Guide topic, read by the program's RTF reader, laid into a QTextDocument.

#include <QTextDocument>

#include "guide/RichText.h"

namespace qb {

// Fills the document with the topic's paragraphs and tables: fonts, sizes, weights, colours,
// underlines, strike-through, superscripts, capitals, alignment, indents, tab stops, list
// markers, and tables with their column widths. Sizes, indents, tab stops and column widths
// are drawn `scale` times as large as the topic gives them.
void FillTextDocument(const RichDocument& topic, QTextDocument& document, double scale = 1.0);
// A topic's own colours written for white paper move, where they would not read on the
// viewer's background, just far enough towards its text colour that they do.
void MakeColoursReadable(QTextDocument& document, const QColor& background);

}  // namespace qb
