#include "platform/QtCollationPort.h"

namespace qb {

// The C locale's collation orders by character code, which puts every accented letter after
// "Z"; nobody reads a list that way, so it counts as English.
QtCollationPort::QtCollationPort(const QLocale& locale)
    : collator_(locale.language() == QLocale::C ? QLocale(QLocale::English, QLocale::UnitedStates) : locale) {
    collator_.setCaseSensitivity(Qt::CaseInsensitive);
    collator_.setNumericMode(true);  // "Step 2" before "Step 10"
}

int QtCollationPort::Compare(std::string_view a, std::string_view b) {
    return collator_.compare(QString::fromUtf8(a.data(), static_cast<qsizetype>(a.size())),
                             QString::fromUtf8(b.data(), static_cast<qsizetype>(b.size())));
}

}  // namespace qb
