#pragma once
// Alphabetical order through QCollator, in the locale's language.

#include <QCollator>

#include "platform/CollationPort.h"

namespace qb {

class QtCollationPort final : public CollationPort {
public:
    explicit QtCollationPort(const QLocale& locale = QLocale());
    int Compare(std::string_view a, std::string_view b) override;

private:
    QCollator collator_;
};

}  // namespace qb
