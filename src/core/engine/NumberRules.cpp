#include "engine/NumberRules.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <limits>
#include <utility>

namespace qb {
namespace {

constexpr int kSignificant = 15;
// Enough digits to write any double exactly: its binary fraction ends within 767 significant
// decimal digits.
constexpr int kExactDigits = 770;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The powers of ten a double holds exactly.
constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
// And in integers, up to 10^19.
constexpr std::array<std::uint64_t, 20> kTens = [] {
    std::array<std::uint64_t, 20> tens{};
    std::uint64_t ten = 1;
    for (std::uint64_t& t : tens) t = std::exchange(ten, ten * 10);
    return tens;
}();

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

// The 15-digit rounding worked out in integers, for magnitudes from 1E-08 to below 1E+15: the
// magnitude times 10^(14 - exponent) lies in [1E+14, 1E+15), below 2^53, and what that product
// loses as a double is itself a double (fma), so the integer nearest it, halves up, is found
// exactly. Gives the 15 digits as that integer and the power of ten of the first.
bool ScaledDigits(double magnitude, std::uint64_t& digits, int& exponent) {
    if (!(magnitude >= 1e-8 && magnitude < 1e15)) return false;
    // The power of two (the magnitude is a normal double), times log10(2): the power of ten,
    // or one less.
    const int binary = static_cast<int>((std::bit_cast<std::uint64_t>(magnitude) >> 52) & 0x7FF) - 1023;
    int e = (binary * 1233) >> 12;
    for (int tries = 0; tries < 3 && e >= -8 && e <= 14; ++tries) {
        const double scale = kPowersOfTen[14 - e];
        const double product = magnitude * scale;
        const double lost = std::fma(magnitude, scale, -product);  // exactly: product + lost
        if (product < 1e14 || (product == 1e14 && lost < 0)) {
            --e;
            continue;
        }
        if (product > 1e15 || (product == 1e15 && lost >= 0)) {
            ++e;
            continue;
        }
        const double below = std::floor(product);
        digits = static_cast<std::uint64_t>(below) + (lost >= 0.5 - (product - below) ? 1 : 0);
        if (digits == kTens[kSignificant]) {
            digits /= 10;
            ++e;
        }
        exponent = e;
        return true;
    }
    return false;
}

// Rounds to 15 significant digits with halves away from zero. Two digits more show which way
// the value goes, except when they read "50": then all the value's digits are written out, so
// that only an exact tie goes up and a value just below one goes down.
Digits SignificantDigits(double magnitude) {
    Digits out;
    std::uint64_t scaled = 0;
    if (ScaledDigits(magnitude, scaled, out.exponent)) {
        out.digits.resize(kSignificant);
        for (auto k = static_cast<std::size_t>(kSignificant); k > 0; --k, scaled /= 10)
            out.digits[k - 1] = static_cast<char>('0' + scaled % 10);
        return out;
    }
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
    out = ScientificDigits(magnitude, kSignificant + 1);
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

// The places and the shift past the 15 digits that FormatNumber works out in one integer
// (below 10^19).
constexpr std::size_t kMostDecimals = 15;
constexpr int kMostShift = 4;

// A number as a pattern lays it out: the sign, the integer's digits grouped by three (none for
// 0, unless the pattern has a 0 before its point), the point and the fraction's digits.
std::string Laid(bool negative, std::uint64_t integer, std::uint64_t fraction, std::size_t decimals, bool comma,
                 bool zeroBeforePoint) {
    char digits[20];
    std::size_t count = 0;
    for (; integer > 0; integer /= 10) digits[count++] = static_cast<char>('0' + integer % 10);
    if (count == 0 && zeroBeforePoint) digits[count++] = '0';
    const std::size_t commas = comma && count > 0 ? (count - 1) / 3 : 0;
    std::string out((negative ? 1 : 0) + count + commas + 1 + decimals, '0');
    char* c = out.data();
    if (negative) *c++ = '-';
    for (std::size_t k = count; k > 0; --k) {
        *c++ = digits[k - 1];
        if (comma && k > 1 && (k - 1) % 3 == 0) *c++ = ',';
    }
    *c++ = '.';
    for (std::size_t k = decimals; k > 0; --k, fraction /= 10) c[k - 1] = static_cast<char>('0' + fraction % 10);
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
    // The digits as one integer, while it has at most 15 significant digits, and the places
    // after the point.
    std::uint64_t whole = 0;
    int significant = 0, places = 0;
    const auto take = [&](char c) {
        anyDigit = true;
        if (whole == 0 && c == '0') return;
        if (++significant <= kSignificant) whole = whole * 10 + static_cast<std::uint64_t>(c - '0');
    };
    while (i < n && IsDigit(text[i])) take(text[i++]);
    if (i < n && text[i] == '.') {
        ++i;
        for (; i < n && IsDigit(text[i]); ++i, ++places) take(text[i]);
    }
    if (!anyDigit) return 0;
    bool exponent = false;
    if (i < n && (text[i] == 'E' || text[i] == 'e')) {
        std::size_t j = i + 1;
        if (j < n && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < n && IsDigit(text[j])) {
            while (j < n && IsDigit(text[j])) ++j;
            i = j;
            exponent = true;
        }
    }
    double value = 0;
    if (!exponent && significant <= kSignificant && places < static_cast<int>(std::size(kPowersOfTen))) {
        // Both exact as doubles, so the one rounding of the quotient is the correct rounding
        // of the decimal, as from_chars gives it.
        value = static_cast<double>(whole) / kPowersOfTen[places];
    } else {
        // from_chars does not take a leading "+", which the sign step above has consumed.
        auto res = std::from_chars(text.data() + start, text.data() + i, value);
        if (res.ec != std::errc() || !std::isfinite(value)) return 0;
    }
    return negative ? -value : value;
}

std::string FormatNumber(double value, std::string_view pattern, Rounding mode) {
    const auto point = pattern.find('.');
    std::size_t decimals = 0;
    if (point != std::string_view::npos)
        for (std::size_t i = point + 1; i < pattern.size(); ++i)
            if (pattern[i] == '0') ++decimals;
    const bool comma = pattern.find(',') != std::string_view::npos;
    const bool zeroBeforePoint = pattern.substr(0, point).find('0') != std::string_view::npos;
    if (value == 0 || !std::isfinite(value)) return Laid(false, 0, 0, decimals, comma, zeroBeforePoint);
    // The value rounded to its 15 significant digits, then to the places by the mode: in whole
    // units of the last place when that fits an integer, else digit by digit.
    std::uint64_t digits = 0;
    int exponent = 0;
    if (decimals <= kMostDecimals && ScaledDigits(std::fabs(value), digits, exponent)) {
        const int keep = exponent + static_cast<int>(decimals) + 1;  // the digits at the places kept
        if (keep <= kSignificant + kMostShift) {
            std::uint64_t units = 0;
            if (keep >= kSignificant) {
                units = digits * kTens[keep - kSignificant];
            } else {
                const std::uint64_t unit = kTens[kSignificant - std::max(keep, 0)];
                const std::uint64_t rest = digits % unit;
                bool up = false;
                switch (mode) {
                case Rounding::FiveFour: up = keep >= 0 && rest >= unit / 2; break;
                case Rounding::Up: up = rest != 0; break;
                case Rounding::Down: break;
                }
                units = digits / unit + (up ? 1 : 0);
            }
            return Laid(value < 0 && units != 0, units / kTens[decimals], units % kTens[decimals], decimals, comma,
                        zeroBeforePoint);
        }
    }
    std::string integerDigits, fraction(decimals, '0');
    bool negative = false;
    Digits d = SignificantDigits(std::fabs(value));
    if (RoundDigits(d, static_cast<int>(decimals), mode)) {
        negative = value < 0;
        for (int place = d.exponent; place >= 0; --place) integerDigits += DigitAt(d, place);
        for (std::size_t k = 0; k < decimals; ++k) fraction[k] = DigitAt(d, -1 - static_cast<int>(k));
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
