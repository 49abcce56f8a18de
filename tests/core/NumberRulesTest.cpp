#include <gtest/gtest.h>

#include <cmath>

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
        {1234.5, kComma2, "1,234.50"},           {0.5, kComma2, ".50"},
        {0, kComma2, ".00"},                     {-7, kComma2, "-7.00"},
        {1234567.891, kComma2, "1,234,567.89"},  {1234567.891, kPlain2, "1234567.89"},
        {0.005, kPlain2, ".01"},                 {-0.5, kPlain2, "-.50"},
        {5, kCommaF, "5."},                      {0, kCommaF, "."},
        {999999999.99, kComma2, "999,999,999.99"}, {1000000000, kComma2, "1,000,000,000.00"},
        // Halves away from zero, judged on the 15-digit decimal form.
        {1.005, kComma2, "1.01"},   {-1.005, kComma2, "-1.01"}, {2.5, kCommaF, "3."},
        {-2.5, kCommaF, "-3."},     {0.125, "#.00", ".13"},     {9.995, kComma2, "10.00"},
        {999.5, kCommaF, "1,000."},
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
        {"2E-07", 2e-7},      {"000..05", 0},      {"1E999", 0},        {"-1E999", 0},
        {"1E-999", 0},        {"          5.00 +", 5}, {"-1e309", 0},       {"NaN", 0},
        {"inf", 0},           {"-infinity", 0},
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

}  // namespace
