#pragma once
// Fonts whose characters are pictures rather than letters of a code page: Symbol (Greek and
// mathematics) and Wingdings (list bullets, arrows, ticks). A byte in such a font becomes the
// Unicode character that looks like its picture.

#include <string_view>

namespace qb {

enum class SymbolFont : unsigned char { None, Symbol, Wingdings, Unknown };

// Which picture font an RTF font table entry is: by its name, and failing that by the symbol
// character set (\fcharset2), which is read as Symbol.
SymbolFont SymbolFontOf(std::string_view name, bool symbolCharset);

// The look-alike of a byte in the font, or U+FFFD for a picture without one. The private-use
// characters U+F020 to U+F0FF that some writers use for such bytes are read as the byte.
char32_t SymbolCharacter(SymbolFont font, char32_t byteOrPrivateUse);

}  // namespace qb
