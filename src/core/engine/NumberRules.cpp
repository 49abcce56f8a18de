#include "engine/NumberRules.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace qb {
namespace {

constexpr int kSignificant = 15;
// Enough digits to write any double exactly: its binary fraction ends within 767 significant
// decimal digits.
constexpr int kExactDigits = 770;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A finite, non-zero magnitude as 15 significant decimal digits d0 d1 ... and the power of
// ten of d0: value = d0.d1d2... x 10^exponent.
struct Digits {
    std::string digits;
    int exponent = 0;
};

// Writes the magnitude in scientific form with `precision` digits after the first and reads
// back its digits and exponent (to_chars rounds correctly, but a tie goes to even).
Digits ScientificDigits(double magnitude, int precision) {
    char buf[kExactDigits + 16];
    auto res = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, precision);
    std::string_view text(buf, static_cast<std::size_t>(res.ptr - buf));
    Digits out;
    auto e = text.find('e');
    for (std::size_t i = 0; i < e; ++i)
        if (IsDigit(text[i])) out.digits.push_back(text[i]);
    // to_chars writes the exponent as "e+05" or "e-07"; from_chars takes no "+".
    std::string_view exponent = text.substr(e + 1);
    if (!exponent.empty() && exponent.front() == '+') exponent.remove_prefix(1);
    std::from_chars(exponent.data(), exponent.data() + exponent.size(), out.exponent);
    return out;
}

// Adds one unit in the last digit, carrying into a new leading digit when all are 9.
void IncrementLast(Digits& d) {
    auto i = d.digits.size();
    while (i > 0 && d.digits[i - 1] == '9') d.digits[--i] = '0';
    if (i > 0) {
        ++d.digits[i - 1];
    } else {
        d.digits.insert(d.digits.begin(), '1');
        d.digits.pop_back();
        ++d.exponent;
    }
}

// Rounds to 15 significant digits with halves away from zero. Two digits more show which way
// the value goes, except when they read "50": then all the value's digits are written out, so
// that only an exact tie goes up and a value just below one goes down.
Digits SignificantDigits(double magnitude) {
    // Most values a calculator meets are short decimals. When the shortest form that reads back
    // as the value has at most 15 digits, those are its 15-digit rounding: a normal double lies
    // within 1.2E-16 of that form, relatively, and a 15-digit rounding boundary at least 5E-16
    // away from it.
    if (magnitude >= std::numeric_limits<double>::min()) {
        char buf[40];
        auto res = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific);
        std::string_view text(buf, static_cast<std::size_t>(res.ptr - buf));
        const auto e = text.find('e');
        Digits shortest;
        for (std::size_t i = 0; i < e; ++i)
            if (IsDigit(text[i])) shortest.digits.push_back(text[i]);
        if (shortest.digits.size() <= static_cast<std::size_t>(kSignificant)) {
            shortest.digits.resize(kSignificant, '0');
            std::string_view exponent = text.substr(e + 1);
            if (!exponent.empty() && exponent.front() == '+') exponent.remove_prefix(1);
            std::from_chars(exponent.data(), exponent.data() + exponent.size(), shortest.exponent);
            return shortest;
        }
    }
    Digits out = ScientificDigits(magnitude, kSignificant + 1);
    if (out.digits.compare(kSignificant, 2, "50") == 0) out = ScientificDigits(magnitude, kExactDigits);
    bool up = out.digits[kSignificant] >= '5';
    out.digits.resize(kSignificant);
    if (up) IncrementLast(out);
    return out;
}

// The digit at place value 10^place, from the digit list.
char DigitAt(const Digits& d, int place) {
    int index = d.exponent - place;
    if (index < 0 || index >= static_cast<int>(d.digits.size())) return '0';
    return d.digits[static_cast<std::size_t>(index)];
}

// Rounds to `decimals` fraction digits by the mode (on the magnitude).
// Returns false when the result is zero.
bool RoundDigits(Digits& d, int decimals, Rounding mode) {
    int keep = d.exponent + decimals + 1;  // digits at place >= -decimals
    int count = static_cast<int>(d.digits.size());
    if (keep >= count) return true;
    const auto cut = static_cast<std::size_t>(std::max(keep, 0));
    bool up = false;
    switch (mode) {
    case Rounding::FiveFour: up = keep >= 0 && d.digits[cut] >= '5'; break;
    case Rounding::Up: up = d.digits.find_first_not_of('0', cut) != std::string::npos; break;
    case Rounding::Down: break;
    }
    if (keep < 0) {
        // Every digit lies below the last place: nothing is left, or one unit of that place.
        if (!up) return false;
        d.digits = "1";
        d.exponent = -decimals;
        return true;
    }
    d.digits.resize(cut);
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.digits[static_cast<std::size_t>(i)] == '9') {
            d.digits[static_cast<std::size_t>(i)] = '0';
            --i;
        }
        if (i >= 0) {
            ++d.digits[static_cast<std::size_t>(i)];
        } else {
            d.digits.insert(d.digits.begin(), '1');
            ++d.exponent;
        }
    }
    for (char c : d.digits)
        if (c != '0') return true;
    return false;
}

std::string GroupThousands(const std::string& integerDigits) {
    std::string out;
    std::size_t n = integerDigits.size();
    out.reserve(n + n / 3);
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) out.push_back(',');
        out.push_back(integerDigits[i]);
    }
    return out;
}

std::string ExponentText(int exponent) {
    std::string out = exponent < 0 ? "E-" : "E+";
    std::string digits = std::to_string(std::abs(exponent));
    if (digits.size() < 2) digits.insert(digits.begin(), '0');
    return out + digits;
}

std::string ToText(double value, bool allowExponent) {
    if (value == 0 || !std::isfinite(value)) return "0";
    Digits d = SignificantDigits(std::fabs(value));
    while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
    std::string out = value < 0 ? "-" : "";
    if (allowExponent && (d.exponent >= kSignificant || d.exponent < -4)) {
        out += d.digits[0];
        if (d.digits.size() > 1) out += "." + d.digits.substr(1);
        return out + ExponentText(d.exponent);
    }
    int count = static_cast<int>(d.digits.size());
    if (d.exponent >= 0) {
        for (int place = d.exponent; place >= 0; --place) out += DigitAt(d, place);
        if (count > d.exponent + 1) out += "." + d.digits.substr(static_cast<std::size_t>(d.exponent) + 1);
    } else {
        out += ".";
        out.append(static_cast<std::size_t>(-d.exponent - 1), '0');
        out += d.digits;
    }
    return out;
}

}  // namespace

std::string_view RoundingName(Rounding mode) {
    switch (mode) {
    case Rounding::Up: return "Round Up";
    case Rounding::Down: return "Round Down";
    case Rounding::FiveFour: break;
    }
    return "Round 5/4";
}

std::string_view RoundingSetting(Rounding mode) {
    switch (mode) {
    case Rounding::Up: return "Up";
    case Rounding::Down: return "Down";
    case Rounding::FiveFour: break;
    }
    return "5/4";
}

std::optional<Rounding> ParseRoundingSetting(std::string_view text) {
    for (Rounding mode : {Rounding::FiveFour, Rounding::Up, Rounding::Down})
        if (text == RoundingSetting(mode)) return mode;
    return std::nullopt;
}

double ParseNumber(std::string_view text) {
    std::size_t i = 0, n = text.size();
    while (i < n && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    std::size_t start = i;
    bool anyDigit = false;
    while (i < n && IsDigit(text[i])) ++i, anyDigit = true;
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && IsDigit(text[i])) ++i, anyDigit = true;
    }
    if (!anyDigit) return 0;
    if (i < n && (text[i] == 'E' || text[i] == 'e')) {
        std::size_t j = i + 1;
        if (j < n && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < n && IsDigit(text[j])) {
            while (j < n && IsDigit(text[j])) ++j;
            i = j;
        }
    }
    // from_chars does not take a leading "+", which the sign step above has consumed.
    std::string number(text.substr(start, i - start));
    double value = 0;
    auto res = std::from_chars(number.data(), number.data() + number.size(), value);
    if (res.ec != std::errc() || !std::isfinite(value)) return 0;
    return negative ? -value : value;
}

std::string FormatNumber(double value, std::string_view pattern, Rounding mode) {
    auto point = pattern.find('.');
    int decimals = 0;
    if (point != std::string_view::npos)
        for (std::size_t i = point + 1; i < pattern.size(); ++i)
            if (pattern[i] == '0') ++decimals;
    bool comma = pattern.find(',') != std::string_view::npos;
    bool zeroBeforePoint = pattern.substr(0, point).find('0') != std::string_view::npos;

    std::string integerDigits, fraction(static_cast<std::size_t>(decimals), '0');
    bool negative = false;
    if (value != 0 && std::isfinite(value)) {
        Digits d = SignificantDigits(std::fabs(value));
        if (RoundDigits(d, decimals, mode)) {
            negative = value < 0;
            for (int place = d.exponent; place >= 0; --place) integerDigits += DigitAt(d, place);
            for (int k = 0; k < decimals; ++k) fraction[static_cast<std::size_t>(k)] = DigitAt(d, -1 - k);
        }
    }
    if (integerDigits.empty() && zeroBeforePoint) integerDigits = "0";
    std::string out = negative ? "-" : "";
    out += comma ? GroupThousands(integerDigits) : integerDigits;
    out += '.';
    out += fraction;
    return out;
}

std::string NumberToText(double value) { return ToText(value, true); }

std::string NumberToPlainText(double value) { return ToText(value, false); }

std::string FormatFloating(std::string_view numberText, std::string_view formatBase) {
    std::string pattern(formatBase);
    std::string t(numberText);
    auto point = t.find('.');
    if (point != std::string::npos) {
        std::size_t d = t.size() - point - 1;
        pattern.append(d, '0');
    } else {
        t += '.';
    }
    return FormatNumber(ParseNumber(t), pattern);
}

std::string KeepNumeric(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (IsDigit(c) || c == '.')
            out.push_back(c);
        else if (c == '-' && out.empty())
            out.push_back(c);
    }
    return out;
}

std::string NoSpecialChar(std::string_view DirtyMoney) {
    std::string out;
    for (char c : DirtyMoney)
        if (IsDigit(c) || c == '-' || c == '.') out.push_back(c);
    return out;
}

void PadToWidth(std::string& text, std::size_t width, bool rightAlign) {
    if (text.size() >= width) return;
    std::size_t blanks = width - text.size();
    if (rightAlign)
        text.insert(0, blanks, ' ');
    else
        text.append(blanks, ' ');
}

std::string CreateFormatBase(bool commaSeparator) {
    return commaSeparator ? "###,###,###,###." : "###############.";
}

std::string CreateFormatString(bool commaSeparator, int decimalPlaces) {
    std::string s = CreateFormatBase(commaSeparator);
    if (decimalPlaces > 0) s.append(static_cast<std::size_t>(decimalPlaces), '0');
    return s;
}

std::string FitEntryText(double value) {
    constexpr std::size_t kWidth = 15;
    std::string text = NumberToPlainText(value);
    // Only fraction digits are cut; a number without a point has no fraction to give up.
    if (text.size() > kWidth && text.find('.') != std::string::npos) text.resize(kWidth);
    if (text.find_first_of("123456789") == std::string::npos) return {};
    return text;
}

}  // namespace qb
