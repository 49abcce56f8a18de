#pragma once
// A User Guide topic, read by the program's RTF reader, laid into a QTextDocument.

#include <QTextDocument>

#include "guide/RichText.h"

namespace qb {

// Fills the document with the topic's paragraphs: fonts, sizes, weights, colours, alignment,
// indents and list markers.
void FillTextDocument(const RichDocument& topic, QTextDocument& document);

}  // namespace qb
