#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <random>

#include "engine/NumberRules.h"

using namespace qb;

namespace {

const char* const kComma2 = "###,###,###,###.00";
const char* const kPlain2 = "###############.00";
const char* const kCommaF = "###,###,###,###.";

struct FormatCase {
    double value;
    const char* pattern;
    const char* expected;
};

TEST(FormatNumber, PatternsRoundAndGroup) {
    const FormatCase cases[] = {
        {0, kComma2, ".00"},                     {0.005, kPlain2, ".01"},
        {1234567.891, kComma2, "1,234,567.89"},  {1234567.891, kPlain2, "1234567.89"},
        {-0.5, kPlain2, "-.50"},                 {5, kCommaF, "5."},
        {0, kCommaF, "."},
        // Halves away from zero, judged on the 15-digit decimal form.
        {-1.005, kComma2, "-1.01"}, {-2.5, kCommaF, "-3."},     {0.125, "#.00", ".13"},
        {9.995, kComma2, "10.00"},  {999.5, kCommaF, "1,000."},
        // A negative value that rounds to zero carries no sign.
        {-0.001, kComma2, ".00"},
        // Every integer digit is shown, beyond the placeholders; past 15 significant digits
        // they are zeros, as everywhere the program shows a number.
        {1234567890123456.0, kCommaF, "1,234,567,890,123,460."},
        {1e20, "###############.", "100000000000000000000."},
        // The reciprocal pattern keeps its zero before the point.
        {0.125, "0.0000000000000", "0.1250000000000"}, {-0.25, "0.0000000000000", "-0.2500000000000"},
        {1e-20, "0.0000000000000", "0.0000000000000"}, {1.0 / 3, "0.0000000000000", "0.3333333333333"},
        {0.00001234, "###############.00000", ".00001"},
        // A half at the 16th significant digit goes away from zero, like every other half.
        {4793005963535605.0, "###,###,###,###.0000", "4,793,005,963,535,610.0000"},
        {-1000000000000005.0, kCommaF, "-1,000,000,000,000,010."},
        {83973813988022.25, kComma2, "83,973,813,988,022.30"},
        {100000000000000.5, kCommaF, "100,000,000,000,001."}, {999999999999999.5, kCommaF, "1,000,000,000,000,000."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatNumber(c.value, c.pattern), c.expected) << c.value << " with " << c.pattern;
}

TEST(NumberToText, PlainUpTo15DigitsThenExponent) {
    const std::pair<double, const char*> cases[] = {
        {0, "0"},           {5, "5"},        {-5, "-5"},           {0.5, ".5"},     {-0.25, "-.25"},
        {12.5, "12.5"},     {1e15, "1E+15"}, {1.5e20, "1.5E+20"},  {-1.5e20, "-1.5E+20"},
        {2e-7, "2E-07"},    {0.0001, ".0001"}, {1.25e-5, "1.25E-05"}, {1e300, "1E+300"}, {0.1 + 0.2, ".3"},
        {1234567.891, "1234567.891"},        {1.0 / 3, ".333333333333333"}, {2.0 / 3, ".666666666666667"},
        {123456789012345.0, "123456789012345"}, {1000000000000005.0, "1.00000000000001E+15"},
        {100000000000000.5, "100000000000001"},  {999999999999999.5, "1E+15"},
    };
    for (const auto& [value, expected] : cases) EXPECT_EQ(NumberToText(value), expected) << value;
    // Without an exponent, however large or small.
    const std::pair<double, const char*> plain[] = {
        {2e-7, ".0000002"}, {1.5e20, "150000000000000000000"}, {-1e15, "-1000000000000000"}};
    for (const auto& [value, expected] : plain) EXPECT_EQ(NumberToPlainText(value), expected) << value;
}

TEST(ParseNumber, ReadsTheLeadingNumber) {
    const std::pair<const char*, double> cases[] = {
        {"12.5", 12.5},       {"12.5.3", 12.5},    {"1E3", 1000},       {"1e-2", 0.01},
        {"-", 0},             {".", 0},            {"", 0},             {"abc", 0},
        {"  -12.00 +", -12},  {"1,234", 1},        {".5", 0.5},         {"-.05", -0.05},
        {"+7", 7},            {"5.", 5},           {"1E", 1},           {"1E+", 1},
        {"2E-07", 2e-7},      {"000..05", 0},      {"1E999", 0},        {"1E-999", 0},
        {"NaN", 0},           {"-infinity", 0},
    };
    for (const auto& [text, expected] : cases) EXPECT_DOUBLE_EQ(ParseNumber(text), expected) << '"' << text << '"';
}

TEST(FormatFloating, ShowsExactlyTheDecimalsItHas) {
    const std::tuple<const char*, bool, const char*> cases[] = {
        {"12.5", true, "12.5"},  {"1234", true, "1,234."}, {"1234.5", true, "1,234.5"},
        {".125", true, ".125"},  {"1234", false, "1234."}, {"0", true, "."},
        {"-12.50", true, "-12.50"},
    };
    for (const auto& [text, comma, expected] : cases)
        EXPECT_EQ(FormatFloating(text, CreateFormatBase(comma)), expected) << text;
}

TEST(FitEntryText, CutsTheFractionAt15CharactersWithoutLosingMagnitude) {
    const std::pair<double, const char*> cases[] = {
        {std::sqrt(2.0), "1.4142135623731"},    {-std::sqrt(2.0), "-1.414213562373"},
        {std::sqrt(7.0), "2.6457513110645"},  // 2.64575131106459: cut, not rounded
        {0.5, ".5"},    {4, "4"},               {std::sqrt(1e-13), ".00000031622776"},
        {1e15, "1000000000000000"},             {1e20 + 0.5, "100000000000000000000"},
        {12345678901234.56, "12345678901234."}, {1e-14, ".00000000000001"},
        // No significant digit within 15 characters: nothing the Entry box could show.
        {1e-15, ""},    {9.4e-15, ""},

    };
    for (const auto& [value, expected] : cases) EXPECT_EQ(FitEntryText(value), expected) << value;
}

// Adds one to a decimal digit string; true when it grew a digit.
bool Increment(std::string& digits) {
    auto i = digits.size();
    while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
    if (i > 0) {
        ++digits[i - 1];
        return false;
    }
    digits.insert(digits.begin(), '1');
    return true;
}

// The first 15 significant digits of the exact decimal value, halves up, and the power of ten
// of the first. Asked for 770 digits, to_chars writes every digit a double has, so no rounding
// of its own is involved.
std::pair<std::string, int> Significant15(double magnitude) {
    char buf[800];
    char* end = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, 770).ptr;
    const std::string exact(buf, end);  // d.ddd...e+XX
    std::string d = exact.substr(0, 1) + exact.substr(2, 14);
    int exponent = std::stoi(exact.substr(exact.find('e') + 1));
    if (exact[16] >= '5' && Increment(d)) {
        d.pop_back();
        ++exponent;
    }
    while (d.size() > 1 && d.back() == '0') d.pop_back();
    return {d, exponent};
}

std::string Grouped(const std::string& digits) {
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

// The 15-digit form d x 10^exponent of a value rounded to `places` decimals, halves up, written
// as the patterns write it.
std::string Reference(bool negative, const std::string& d, int exponent, int places, bool comma) {
    // r = round(d.ddd x 10^(exponent + places)), an integer as a digit string.
    int keep = exponent + places + 1;  // digits of d at or above the last place shown
    std::string r = keep > 0 ? d.substr(0, std::min<std::size_t>(d.size(), static_cast<std::size_t>(keep))) : "";
    if (keep > static_cast<int>(d.size())) r.append(static_cast<std::size_t>(keep) - d.size(), '0');
    if (keep >= 0 && keep < static_cast<int>(d.size()) && d[static_cast<std::size_t>(keep)] >= '5') {
        if (r.empty()) r.push_back('0');
        Increment(r);
    }
    if (r.size() < static_cast<std::size_t>(places)) r.insert(0, static_cast<std::size_t>(places) - r.size(), '0');
    std::string integer = r.substr(0, r.size() - static_cast<std::size_t>(places));
    integer.erase(0, std::min(integer.find_first_not_of('0'), integer.size()));
    bool zero = r.find_first_not_of('0') == std::string::npos;
    std::string out;
    if (negative && !zero) out.push_back('-');
    out += comma ? Grouped(integer) : integer;
    out.push_back('.');
    return out + r.substr(r.size() - static_cast<std::size_t>(places));
}

// Values from 1E13 to 1E300: spread at random, and halves at the 16th digit, where a
// correctly rounded conversion would go to the even neighbour.
std::vector<double> LargeValues() {
    std::mt19937_64 random(20261206);
    std::uniform_real_distribution<double> power(13, 300);
    std::uniform_int_distribution<std::int64_t> fifteen(100000000000000, 999999999999999);
    std::uniform_int_distribution<std::int64_t> fourteen(10000000000000, 99999999999999);
    std::vector<double> values;
    for (int i = 0; i < 1500; ++i) {
        double v = std::pow(10.0, power(random));
        values.push_back(i % 2 ? -v : v);
    }
    for (int i = 0; i < 300; ++i) {
        std::int64_t d = fifteen(random);
        values.push_back(static_cast<double>(d * 10 + 5));              // ...5
        values.push_back(static_cast<double>((d % 180000000000000 + 100000000000000) * 100 + 50));  // ...50
        values.push_back(static_cast<double>(d) + 0.5);                 // ....5
        values.push_back(-(static_cast<double>(fourteen(random)) + 0.25 * (1 + 2 * (i % 2))));  // ....25, ....75
    }
    values.push_back(1e300);
    values.push_back(1e13);
    values.push_back(std::nextafter(1e15, 0.0));
    return values;
}

// Every value at 1 to 5 places, with and without separators, as the exact decimal value rounds;
// the large ones also in floating point, with exactly the decimals of their 15-digit form, and as
// text, with an exponent from 1E+15 on.
void ExpectExactInEveryMode(const std::vector<double>& values, bool large) {
    for (double value : values) {
        const auto [d, exponent] = Significant15(std::fabs(value));
        const bool negative = value < 0;
        const int decimals = std::max(0, static_cast<int>(d.size()) - 1 - exponent);
        for (bool comma : {true, false}) {
            for (int places = 1; places <= 5; ++places)
                ASSERT_EQ(FormatNumber(value, CreateFormatString(comma, places)),
                          Reference(negative, d, exponent, places, comma))
                    << std::hexfloat << value << " at " << places;
            if (large) {
                ASSERT_EQ(FormatFloating(NumberToPlainText(value), CreateFormatBase(comma)),
                          Reference(negative, d, exponent, decimals, comma))
                    << std::hexfloat << value;
            }
        }
        if (!large) continue;
        std::string text = Reference(negative, d, exponent, decimals, false);
        if (text.back() == '.') text.pop_back();
        if (exponent >= 15)
            text = (negative ? "-" : "") + d.substr(0, 1) + (d.size() > 1 ? "." + d.substr(1) : "") + "E+" +
                   std::to_string(exponent);
        ASSERT_EQ(NumberToText(value), text) << std::hexfloat << value;
    }
}

TEST(FormatNumber, LargeMagnitudesMatchTheExactDecimalValueInEveryMode) { ExpectExactInEveryMode(LargeValues(), true); }

// What a calculator mostly meets: short decimals (whose shortest form is their 15-digit form),
// sums and quotients of them with all their digits, and halves at the places shown.
TEST(FormatNumber, EverydayValuesMatchTheExactDecimalValueInEveryMode) {
    std::mt19937_64 random(7);
    std::uniform_int_distribution<std::int64_t> cents(1, 99999999999);
    std::vector<double> values;
    for (int i = 0; i < 3000; ++i) {
        const double scale = std::pow(10.0, static_cast<int>(i % 9));
        const double shortDecimal = static_cast<double>(cents(random)) / scale;
        values.push_back(i % 2 ? -shortDecimal : shortDecimal);
        values.push_back(shortDecimal / 3);
        values.push_back(static_cast<double>(cents(random) % 100000) + 0.005 + 0.01 * (i % 7));
        values.push_back(0.1 * static_cast<double>(i) + 0.2);
    }
    // Powers of ten and their neighbours: where the first digit moves and 15 nines round up.
    for (int power = -9; power <= 15; ++power) {
        const double ten = std::pow(10.0, power);
        for (double v : {ten, std::nextafter(ten, 0.0), std::nextafter(ten, 1e300), ten * (1 - 5e-16), ten * (1 + 5e-15)})
            values.push_back(v);
    }
    ExpectExactInEveryMode(values, false);
}

}  // namespace
