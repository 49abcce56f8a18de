#include "platform/DecimalSeparator.h"

namespace qb {

bool UsesDecimalComma(const QLocale& locale) { return locale.decimalPoint() == QStringLiteral(","); }

}  // namespace qb
