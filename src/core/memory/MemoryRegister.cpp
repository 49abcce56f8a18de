#include "memory/MemoryRegister.h"

#include <cmath>

#include "engine/NumberRules.h"

namespace qb {

MemoryRegister::Outcome MemoryRegister::Combine(Operation operation, double x, const std::string& formatBase) {
    double m = value_;
    switch (operation) {
    case Operation::Add: m = x + m; break;
    case Operation::Subtract: m = m - x; break;
    case Operation::Divide:
        if (x != 0) m = m / x;
        break;
    case Operation::Multiply: m = x * m; break;
    }
    // Beyond the range of a double the memory cannot hold the result at all.
    if (!std::isfinite(m)) return Outcome::Overflow;
    value_ = m;
    return Reformat(formatBase);
}

MemoryRegister::Outcome MemoryRegister::Reformat(const std::string& formatBase) {
    // The plain form, so a very small value keeps its digits instead of vanishing into "."
    // (and into 0 after the next start).
    std::string t = FormatFloating(NumberToPlainText(value_), formatBase);
    if (t.size() <= kCapacity) {
        if (t == ".") {
            text_.clear();
        } else {
            text_ = t;
            PadToWidth(text_, kWidth, true);
        }
        return Outcome::Done;
    }
    text_ = "*" + t.substr(t.size() - kCapacity);
    return Outcome::Overflow;
}

void MemoryRegister::Clear() {
    value_ = 0;
    text_.clear();
}

void MemoryRegister::Restore(const std::string& stored) {
    text_ = stored;
    value_ = Blocked() ? 0 : ParseNumber(NoSpecialChar(stored));
}

std::string MemoryRegister::RecallText() const {
    std::string t;
    for (char c : text_)
        if (c != ' ' && c != ',') t.push_back(c);
    return t;
}

}  // namespace qb
