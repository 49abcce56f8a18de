#pragma once
// The user's decimal separator, for the calculator's keys and pasted numbers.

#include <QLocale>

namespace qb {

// The locale writes its decimals after a comma (de_DE, fr_FR, ru_RU, pt_BR, ...).
bool UsesDecimalComma(const QLocale& locale = QLocale());

}  // namespace qb
