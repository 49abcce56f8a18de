#include "engine/TapeRecompute.h"

#include <algorithm>
#include <cmath>

#include "engine/BusinessRules.h"
#include "engine/NumberRules.h"
#include "engine/Tape.h"

namespace qb {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

// "-1,250.00": a sign, digits with commas, one point, digits. Fills the format on success.
// A lone point is the floating-point mode's zero.
bool ReadNumberText(std::string_view text, TapeLineReading& reading) {
    std::size_t i = 0;
    if (i < text.size() && text[i] == '-') ++i;
    if (text.substr(i) == ".") {
        reading.point = true;
        reading.value = 0;
        return true;
    }
    bool digits = false;
    for (; i < text.size() && (IsDigit(text[i]) || text[i] == ','); ++i) {
        if (text[i] == ',') reading.separators = true;
        else digits = true;
    }
    if (i < text.size() && text[i] == '.') {
        reading.point = true;
        for (++i; i < text.size() && IsDigit(text[i]); ++i) ++reading.decimals, digits = true;
    }
    if (!digits || i != text.size()) return false;
    reading.value = ParseNumber(NoSpecialChar(text));
    return true;
}

char OperationOfSymbol(char symbol) { return symbol == '*' ? 'x' : symbol; }

bool Apply(double& subtotal, char operation, double v) {
    switch (operation) {
    case '+': subtotal += v; break;
    case '-': subtotal -= v; break;
    case 'x': subtotal *= v; break;
    case '/':
    case '%':
        if (v == 0) return false;
        subtotal = operation == '/' ? subtotal / v : subtotal / v * 100;
        break;
    default: break;
    }
    return std::isfinite(subtotal);
}

std::string LineNumber(std::int64_t index) { return "line " + std::to_string(index + 1); }

// The decimals a typed number needs: "2.50" needs 1, "3." none.
int DecimalsNeeded(std::string_view number) {
    const std::size_t point = number.find('.');
    if (point == std::string_view::npos) return 0;
    std::size_t last = number.size();
    while (last > point + 1 && number[last - 1] == '0') --last;
    return static_cast<int>(last - point - 1);
}

// The lines a correction rewrites, as the calculator prints them in the section's mode.
struct CorrectedFormat {
    int places;  // 0: floating point
    bool separators;
    Rounding rounding;

    // The corrected number: rounded to the places it fits, else with every decimal it was typed with.
    std::string Typed(const std::string& number) const {
        if (places > 0 && DecimalsNeeded(number) <= places)
            return FormatNumber(ParseNumber(number), CreateFormatString(separators, places), rounding);
        return FormatFloating(number, CreateFormatBase(separators));
    }
    std::string Total(double subtotal) const {
        if (places > 0) return FormatNumber(subtotal, CreateFormatString(separators, places), rounding);
        // As the calculator prints a floating-point total.
        return FormatFloating(NumberToText(subtotal), CreateFormatBase(separators));
    }
};

// A count on a line of its own, before the total it counts ("3 n").
bool IsCountLine(std::string_view line) {
    const std::string_view content = Trim(line);
    if (content.size() < 3 || content.back() != Tape::kCountMark || content[content.size() - 2] != ' ') return false;
    return content.find_first_not_of("0123456789") == content.size() - 2;
}

// A total line, with the count at its left where the line had one and it fits, as the
// calculator prints it.
std::string WithCount(bool counted, std::int64_t items, const std::string& total) {
    const std::string count = std::to_string(items);
    if (!counted || count.size() + 1 + total.size() > Tape::kLineWidth) return Tape::LayOut(total);
    return count + std::string(Tape::kLineWidth - count.size() - total.size(), ' ') + total;
}

// A grand total's line ("1,430.00 g"), or its "*" form when too wide for the tape.
bool IsGrandTotalLine(std::string_view line) {
    const std::string_view content = Trim(line);
    return content.size() >= 3 && content.back() == Tape::kGrandTotalMark && content[content.size() - 2] == ' ';
}

// The grand-total register down the lines from an edit on. With the Grand Total option every
// total as printed goes into the register, and a g line prints it; a second press at once clears
// it and prints nothing, so a clear can only come right after a g line. What an edit changes in
// the totals changes the register by as much, and every g line below shows it, back to the last
// clear.
//
// A clear leaves no line, but the values show it: a g line whose old value is the old totals
// since the g line above it, added up, and not that g line's value plus them, came of a register
// cleared after the g line above; the changes that reached that one do not reach it. "Is" means
// as printed: within one unit of the g line's last decimal (any rounding mode), and where both
// are (the g line above is 0, or it rounds away the difference) the one nearer wins; a tie is no
// clear. Where the values show neither (the option was off for some totals, or the register
// held a value from before the tape), or the g line above cannot be read, nothing shows a clear
// and the changes keep flowing.
class GrandTotalFlow {
public:
    // A total line, as it was printed and as it is printed now.
    void Total(double before, double after) {
        sinceOld_ += before;
        registerOld_ += before;
        since_ += after - before;
    }
    // A g line: its new text, or none where it stays; false for a g line too wide for the tape
    // to read, which a change would reach.
    bool GrandTotal(std::string_view line, const CorrectedFormat& format, std::string& text) {
        TapeLineReading reading;
        const std::string_view content = Trim(line);
        if (line.front() == '*' || !ReadNumberText(content.substr(0, content.size() - 2), reading)) {
            if (Flowing()) return false;
            above_.reset();
            return true;
        }
        const double old = reading.value;
        bool cleared = false;
        if (above_) {
            const double unit = std::pow(10.0, -reading.decimals);
            const double off = std::abs(old - sinceOld_), offKept = std::abs(old - registerOld_);
            cleared = off < unit && off < offKept;
        }
        const double change = (cleared ? 0 : carried_) + since_;
        if (change != 0) text = Tape::LayOut(format.Total(old + change) + ' ' + Tape::kGrandTotalMark);
        carried_ = change;
        since_ = 0;
        above_ = old;
        sinceOld_ = 0;
        registerOld_ = old;
        return true;
    }
    // Whether a g line further down would change.
    bool Flowing() const { return carried_ != 0 || since_ != 0; }

private:
    double carried_ = 0;             // the change that reached the g line above
    double since_ = 0;               // the changes of the totals since it
    std::optional<double> above_;    // its old value; none above the first, or where unread
    double sinceOld_ = 0;            // the old totals since it, added up
    double registerOld_ = 0;         // its old value plus those, added as the register added them
};

constexpr const char* kGrandTotalTooWide = " shows a grand total too wide for the tape, so the grand totals cannot be worked out again";

}  // namespace

bool IsTapeNumberText(std::string_view text) {
    TapeLineReading reading;
    return ReadNumberText(text, reading);
}

TapeLineReading ReadTapeLine(std::string_view line, std::string_view previous, bool first) {
    TapeLineReading reading;
    if (line.empty()) return reading;
    // A reference number, a note, a grand total or an item count, whatever its text begins with.
    if (line.back() == Tape::kReferenceMark || line.back() == Tape::kNoteMark || line.back() == Tape::kGrandTotalMark ||
        line.back() == Tape::kCountMark)
        return reading;
    line = Tape::WithoutCount(line);
    if (line[0] == '*') {
        reading.kind = TapeLineReading::Kind::Overflow;
        return reading;
    }
    std::string_view content = Trim(line);
    if (content.size() < 3 || content[content.size() - 2] != ' ') return reading;
    const char symbol = content.back();
    const bool adjusted = IsBusinessMark(symbol);
    if (!adjusted && std::string_view("+-*/%=").find(symbol) == std::string_view::npos) return reading;
    std::string_view number = content.substr(0, content.size() - 2);
    // A tax line may name its rate at its left ("19%      19.00 T").
    if (symbol == kTaxMark && number.find("% ") != std::string_view::npos) number = Trim(number.substr(number.find("% ") + 2));
    if (!ReadNumberText(number, reading)) return {};
    reading.operation = OperationOfSymbol(symbol);
    if (adjusted) {
        reading.kind = TapeLineReading::Kind::Adjusted;
    } else if (symbol != '=') {
        reading.kind = TapeLineReading::Kind::Number;
    } else if (content == "0 =" && (first || Trim(previous).empty())) {
        reading.kind = TapeLineReading::Kind::Clear;
    } else {
        reading.kind = TapeLineReading::Kind::Total;
    }
    return reading;
}

std::string WithAutoDecimal(std::string number, bool autoDecimal, int places) {
    if (!autoDecimal || places < 1 || places > 5 || number.find('.') != std::string::npos) return number;
    const std::size_t sign = number.compare(0, 1, "-") == 0 ? 1 : 0;
    const auto p = static_cast<std::size_t>(places);
    if (number.size() < sign + p + 1) number.insert(sign, sign + p + 1 - number.size(), '0');
    number.insert(number.size() - p, 1, '.');
    // The Entry box gives no zero before the point: "-5" is "-.05".
    if (number.compare(sign, 2, "0.") == 0) number.erase(sign, 1);
    return number;
}

RecomputedTape RecomputeTape(const TapeLines& lines, std::int64_t index, const LineCorrection& correction,
                             std::int64_t end) {
    using Kind = TapeLineReading::Kind;
    RecomputedTape result;
    const std::int64_t count = std::min(end, static_cast<std::int64_t>(lines.size()));
    auto read = [&](std::int64_t i) {
        return ReadTapeLine(lines[static_cast<std::size_t>(i)], i > 0 ? lines[static_cast<std::size_t>(i - 1)] : "", i == 0);
    };
    if (index < 0 || index >= count) {
        result.outcome = RecomputedTape::Outcome::NotANumber;
        return result;
    }
    const bool insert = correction.edit == LineEdit::InsertAfter;
    const TapeLineReading corrected = read(index);
    if (!insert && corrected.kind == Kind::Overflow) {
        result.outcome = RecomputedTape::Outcome::OverflowLine;
        result.failedLine = index;
        return result;
    }
    if (!insert && corrected.kind != Kind::Number) {
        result.outcome = RecomputedTape::Outcome::NotANumber;
        return result;
    }

    // The subtotal starts from nothing at the last clear above the line.
    std::int64_t start = index;
    while (start > 0 && read(start).kind != Kind::Clear) --start;
    // Fixed places print every number and total with the same decimals, and show it in a last
    // decimal 0 somewhere (5.00, 2.50), which floating point prints only where it was keyed so.
    // Anything else is the floating-point mode, or cannot be known: every decimal shows. A
    // section without a number follows the places in force.
    int places = -1;
    bool floating = false, zeroDecimal = false;
    for (std::int64_t i = start; i < count && !floating; ++i) {
        const TapeLineReading reading = read(i);
        if (i > index && reading.kind == Kind::Clear) break;
        if (reading.kind != Kind::Number && reading.kind != Kind::Total) continue;
        if (!reading.point && reading.value == 0) continue;  // a zero line, the same in every mode
        floating = !reading.point || reading.decimals == 0 || (places >= 0 && reading.decimals != places);
        places = reading.decimals;
        const std::string_view content = Trim(lines[static_cast<std::size_t>(i)]);
        zeroDecimal = zeroDecimal || content[content.size() - 3] == '0';
    }
    if (places < 0) places = correction.places;
    else if (floating || !zeroDecimal) places = 0;
    const CorrectedFormat format{places, correction.separators, correction.rounding};

    // The corrected or inserted line.
    TapeLineReading keyed;
    keyed.kind = Kind::Number;
    keyed.value = ParseNumber(correction.number);
    keyed.operation = correction.operation;
    const std::string typed = correction.edit == LineEdit::Remove
                                  ? std::string()
                                  : Tape::LayOut(format.Typed(correction.number) + ' ' + (correction.operation == 'x' ? '*' : correction.operation));
    result.first = insert ? index + 1 : index;
    result.removed = correction.edit == LineEdit::Remove ? 1 : 0;
    result.added = insert ? 1 : 0;
    result.reachesEnd = true;

    // Each line in turn, counted as keyed (at: the line it is now, or the new line's place);
    // false, with the reason, where it cannot be.
    double subtotal = 0;
    std::int64_t items = 0;  // numbers since the last clear or total, for an Item Count
    GrandTotalFlow grand;
    auto refuse = [&](std::int64_t at, const char* why) {
        result.outcome = RecomputedTape::Outcome::Refused;
        result.failedLine = at;
        result.reason = LineNumber(at) + why;
        return false;
    };
    auto take = [&](const TapeLineReading& reading, std::string_view line, std::int64_t at) {
        if (reading.kind == Kind::Overflow)
            return refuse(at, " shows a number too wide for the tape, so the totals after it cannot be recomputed");
        // A percentage of the subtotal above it: the rate is not on the tape, so its amount
        // cannot follow a change above; the new subtotal it printed stands for what went before.
        if (reading.kind == Kind::Adjusted && at > index)
            return refuse(at, " is a business key's line worked out from the amounts above it, so the totals after it cannot be recomputed");
        if (reading.kind == Kind::Adjusted && SetsSubtotal(reading.operation)) subtotal = reading.value;
        std::string text;
        if (reading.kind == Kind::Number) {
            if (!Apply(subtotal, reading.operation, reading.value))
                return refuse(at, reading.value == 0 && (reading.operation == '/' || reading.operation == '%')
                                      ? " would divide by zero"
                                      : " would give a result too large for the calculator");
            ++items;
        } else if (reading.kind == Kind::Total) {
            // A total printed with its count keeps one, the count of the numbers above it now.
            double now = reading.value;
            if (at > index) {
                const std::string total = format.Total(subtotal);
                now = ParseNumber(NoSpecialChar(total));
                text = WithCount(Tape::WithoutCount(line) != line, items, total + " =");
            }
            grand.Total(reading.value, now);
            items = 0;
        } else if (reading.kind == Kind::Clear) {
            subtotal = 0;
            items = 0;
        } else if (at > index && IsCountLine(line) && at + 1 < count && read(at + 1).kind == Kind::Total) {
            text = Tape::LayOut(std::to_string(items) + ' ' + Tape::kCountMark);
        } else if (IsGrandTotalLine(line) && !grand.GrandTotal(line, format, text)) {
            return refuse(at, kGrandTotalTooWide);
        }
        if (at >= result.first) result.lines.push_back(text.empty() ? std::string(line) : std::move(text));
        return true;
    };
    std::int64_t i = start;
    for (; i < count; ++i) {
        const TapeLineReading reading = read(i);
        if (i > index && reading.kind == Kind::Clear) {
            result.reachesEnd = false;
            break;
        }
        bool taken = true;
        if (i != index || insert) taken = take(reading, lines[static_cast<std::size_t>(i)], i);
        if (taken && i == index && correction.edit != LineEdit::Remove) taken = take(keyed, typed, result.first);
        if (!taken) return result;
    }
    result.subtotal = subtotal;

    // The subtotal starts again at the clear and its lines stay, but the grand total goes on: the
    // g lines below change down to the last one a change reaches.
    const std::int64_t clear = i;
    std::vector<std::pair<std::int64_t, std::string>> grandTotals;
    for (; i < count && grand.Flowing(); ++i) {
        const std::string_view line = lines[static_cast<std::size_t>(i)];
        if (line.empty()) continue;
        if (line.back() == '=') {
            const TapeLineReading reading = read(i);
            if (reading.kind == Kind::Total) grand.Total(reading.value, reading.value);
        } else if (IsGrandTotalLine(line)) {
            std::string text;
            if (!grand.GrandTotal(line, format, text)) {
                refuse(i, kGrandTotalTooWide);
                return result;
            }
            if (!text.empty()) grandTotals.emplace_back(i, std::move(text));
        }
    }
    if (!grandTotals.empty()) {
        auto next = grandTotals.begin();
        for (std::int64_t j = clear; j <= grandTotals.back().first; ++j) {
            if (j == next->first) result.lines.push_back(std::move((next++)->second));
            else result.lines.emplace_back(lines[static_cast<std::size_t>(j)]);
        }
    }
    return result;
}

namespace {

char MarkAt(const TapeLines& lines, std::size_t i) {
    if (i >= lines.size()) return 0;
    const std::string_view line = Trim(lines[i]);
    return line.size() >= 3 && line[line.size() - 2] == ' ' && IsBusinessMark(line.back()) ? line.back() : 0;
}

double ValueAt(const TapeLines& lines, std::size_t i) {
    return ReadTapeLine(lines[i], i > 0 ? lines[i - 1] : "", i == 0).value;
}

// A business key prints several lines, and each of them shows the subtotal the key left: the
// gross of Tax+ (net, tax, gross), the net of Tax- (gross, tax, net), the sell price of the
// Cost-Sell-Margin key that gave the second value (given, worked out, profit). Nothing where
// the line leaves the subtotal alone or only adds to it.
std::optional<double> SubtotalKeyLeft(const TapeLines& lines, std::size_t i, char mark) {
    const char third = MarkAt(lines, i + 2);
    const bool taxEnd = third == kNetMark || third == kGrossMark;
    switch (mark) {
    case kNetMark:
    case kGrossMark:
        if (MarkAt(lines, i + 1) == kTaxMark && taxEnd) return ValueAt(lines, i + 2);
        return ValueAt(lines, i);
    case kTaxMark:
        if (MarkAt(lines, i + 1) == kNetMark || MarkAt(lines, i + 1) == kGrossMark) return ValueAt(lines, i + 1);
        return std::nullopt;
    case kCostMark:
    case kMarginMark:
        // The value given, with the sell price worked out after it.
        if (MarkAt(lines, i + 1) == kSellMark && MarkAt(lines, i + 2) == kProfitMark) return ValueAt(lines, i + 1);
        return std::nullopt;
    case kNewSubtotalMark:
    case kSellMark: return ValueAt(lines, i);
    default: return std::nullopt;
    }
}

}  // namespace

std::vector<std::optional<double>> RecomputeSubtotals(const TapeLines& lines) {
    using Kind = TapeLineReading::Kind;
    std::vector<std::optional<double>> subtotals;
    subtotals.reserve(lines.size());
    std::optional<double> subtotal = 0.0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const TapeLineReading reading = ReadTapeLine(lines[i], i > 0 ? lines[i - 1] : "", i == 0);
        if (reading.kind == Kind::Clear) {
            subtotal = 0.0;
        } else if (reading.kind == Kind::Overflow) {
            subtotal.reset();
        } else if (reading.kind == Kind::Adjusted) {
            // The amount line already shows the subtotal the key left, as its keys give it.
            if (auto left = SubtotalKeyLeft(lines, i, reading.operation))
                subtotal = left;
            else if (subtotal && (reading.operation == kAddOnMark || reading.operation == kMarkUpMark))
                *subtotal += reading.value;
            else if (subtotal && reading.operation == kDiscountMark)
                *subtotal -= reading.value;
        } else if (reading.kind == Kind::Number && subtotal && !Apply(*subtotal, reading.operation, reading.value)) {
            subtotal.reset();
        }
        subtotals.push_back(subtotal);
    }
    return subtotals;
}

namespace {

// A number line as the calculator prints it, told without reading its number: it ends in a
// digit or a point, a blank and its operation. One too wide for the tape (its number cut at
// the left, behind a "*") counts too.
bool LooksLikeNumberLine(std::string_view line) {
    if (line.size() < 3 || line[line.size() - 2] != ' ') return false;
    const char last = line[line.size() - 3];
    return std::string_view("+-*/%").find(line.back()) != std::string_view::npos &&
           ((last >= '0' && last <= '9') || last == '.');
}

}  // namespace

OpenSection ReadOpenSection(const TapeLines& lines) {
    using Kind = TapeLineReading::Kind;
    OpenSection section;
    bool counting = true, giving = true;
    // Each of cost, sell price and margin is taken from the line that gave it last; one too wide
    // for the tape gave a value the line no longer holds, which stays unknown.
    std::optional<double>* const slots[] = {&section.cost, &section.sell, &section.margin};
    bool taken[] = {false, false, false};
    for (std::size_t i = lines.size(); i-- > 0 && (counting || giving);) {
        const std::string_view line = lines[i];
        if (line.empty()) continue;
        // Number lines are counted as they look; only totals and the marks below are read, so
        // a long tape is read back quickly.
        if (line.back() != '=' && std::string_view("CPMR").find(line.back()) == std::string_view::npos) {
            if (counting && LooksLikeNumberLine(line)) ++section.items;
            continue;
        }
        const TapeLineReading reading = ReadTapeLine(line, i > 0 ? lines[i - 1] : "", i == 0);
        if (reading.kind == Kind::Clear) break;
        // A total too wide for the tape ends the count as any total does.
        if (reading.kind == Kind::Total || (reading.kind == Kind::Overflow && line.back() == '=')) counting = false;
        const bool wide = reading.kind == Kind::Overflow;
        if ((reading.kind != Kind::Adjusted && !wide) || !giving) continue;
        // A profit line ends a cost, sell price and margin worked out; before it, the value given
        // last of each counts. A mark-up's sell price follows its mark-up line and is none given.
        const char mark = wide ? line.back() : reading.operation;
        if (mark == kProfitMark) giving = false;
        const std::size_t which = mark == kCostMark ? 0 : mark == kSellMark ? 1 : mark == kMarginMark ? 2 : 3;
        if (which == 3 || taken[which] || (mark == kSellMark && MarkAt(lines, i - 1) == kMarkUpMark)) continue;
        taken[which] = true;
        if (!wide) *slots[which] = reading.value;
    }
    return section;
}

}  // namespace qb
