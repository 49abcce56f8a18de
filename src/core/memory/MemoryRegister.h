#pragma once
// The memory register: one number kept beside the tape, and the text the Memory box shows.

#include <string>

namespace qb {

class MemoryRegister {
public:
    static constexpr std::size_t kCapacity = 15;  // characters of the formatted value
    static constexpr std::size_t kWidth = 16;     // the box's right-aligned field

    enum class Operation { Add = 1, Subtract = 2, Divide = 3, Multiply = 4 };
    enum class Outcome { Done, Overflow };

    double Value() const { return value_; }
    const std::string& Text() const { return text_; }
    // While the text shows the overflow form, arithmetic and recall refuse to work.
    bool Blocked() const { return !text_.empty() && text_[0] == '*'; }

    // Combines the memory with a tape number and re-formats the text with the pattern base.
    // Division by 0 leaves the value as it was (the text is still re-formatted).
    Outcome Combine(Operation operation, double x, const std::string& formatBase);
    void Clear();
    // Restores the stored Memory box text; the value is the number it shows.
    void Restore(const std::string& stored);
    // The number to put into the Entry box: the text without blanks and thousands separators.
    std::string RecallText() const;

    bool operator==(const MemoryRegister&) const = default;

private:
    Outcome Reformat(const std::string& formatBase);

    double value_ = 0;
    std::string text_;
};

}  // namespace qb
