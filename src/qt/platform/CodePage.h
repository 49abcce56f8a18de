#pragma once
// The core keeps its texts as Windows-1252 bytes; Qt speaks Unicode. Texts cross here.

#include <QString>
#include <string>
#include <string_view>

namespace qb {

QString FromCodePage(std::string_view text);
std::string ToCodePage(const QString& text);
// One character typed on the keyboard as the core sees it; 0 when the code page lacks it.
char CodePageChar(QChar c);

}  // namespace qb
