#pragma once
// Reads the User Guide's topic files: RTF as word processors write it, reduced to the
// paragraphs, tables, runs and list items of RichText.h.

#include <optional>
#include <string_view>

#include "guide/RichText.h"

namespace qb {

// The document in the bytes, or nothing when they are not rich text: they do not begin
// with "{\rtf" (after blanks), or their groups nest deeper than any word processor writes
// them (a sign of a damaged or hostile file). A file cut short, unbalanced closing braces,
// unknown control words and stray bytes still give the text that could be read.
//
// What is read: group state; \par \line \tab \pard \plain; \b \i, \ul and its kinds (\uld
// \uldb \ulw \ulwave \uldash ...), \ulnone, \strike \striked, \super \sub \nosupersub \up \dn,
// \caps \scaps, \fs \f \cf \v; the font and colour tables; \ql \qc \qr \qj \li \ri \fi \sb \sa;
// tab stops (\tx with \tqr \tqc \tqdec; a \tb bar tab is no stop); tables (\trowd \cellx
// \trleft, cell borders as "lines or none", \intbl \cell \row; a nested table's cells read as
// tabs in the outer cell).
// Characters: \'hh and bytes in the code page of the current font (its \cpg, else its
// \fcharset) or of the document (\ansicpg, \ansi \mac \pc \pca), double-byte code pages
// included, with Word's separate font for double-byte characters (\dbch\afN, \hich); Symbol and Wingdings pictures as their Unicode look-alikes; \uN with \ucN; the
// escapes and special characters. \pntext and \listtext are list markers; a paragraph that
// starts with a bullet character is a list item; field results are text. Pictures, headers,
// footers, footnotes, styles, document information and every \* destination are skipped.
//
// Time and memory grow linearly with the input, whatever it holds.
std::optional<RichDocument> ReadRtf(std::string_view bytes);

}  // namespace qb
