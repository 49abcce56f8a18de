#pragma once
// Reads the User Guide's topic files: RTF as word processors write it, reduced to the
// paragraphs, runs and list items of RichText.h.

#include <optional>
#include <string_view>

#include "guide/RichText.h"

namespace qb {

// The document in the bytes, or nothing when they are not rich text: they do not begin
// with "{\rtf" (after blanks), or their groups nest deeper than any word processor writes
// them (a sign of a damaged or hostile file). A file cut short, unbalanced closing braces,
// unknown control words and stray bytes still give the text that could be read.
//
// What is read: group state; \par \line \tab \pard \plain; \b \i \ul (and its kinds)
// \ulnone \fs \f \cf \v; the font and colour tables; \ql \qc \qr \qj \li \ri \fi \sb \sa;
// \'hh in the document's code page (Windows-1252 is the one supported; a Symbol font's
// \'b7 is its bullet); \uN with \ucN; the escapes and special characters; \pntext and
// \listtext as list markers; a paragraph that starts with a bullet character is a list
// item; table cells as tabs and rows as paragraphs; field results. Pictures, headers,
// footers, footnotes, styles, document information and every \* destination are skipped.
//
// Time and memory grow linearly with the input, whatever it holds.
std::optional<RichDocument> ReadRtf(std::string_view bytes);

}  // namespace qb
