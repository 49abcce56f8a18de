#include <gtest/gtest.h>

#include <cmath>
#include <limits>

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
        {1234.5, kComma2, "1,234.50"},
        {0.5, kComma2, ".50"},
        {0, kComma2, ".00"},
        {-7, kComma2, "-7.00"},
        {1234567.891, kComma2, "1,234,567.89"},
        {1234567.891, kPlain2, "1234567.89"},
        {0.005, kPlain2, ".01"},
        {-0.5, kPlain2, "-.50"},
        {5, kCommaF, "5."},
        {0, kCommaF, "."},
        {999999999.99, kComma2, "999,999,999.99"},
        {1000000000, kComma2, "1,000,000,000.00"},
        // Halves away from zero, judged on the 15-digit decimal form.
        {1.005, kComma2, "1.01"},
        {-1.005, kComma2, "-1.01"},
        {2.5, kCommaF, "3."},
        {-2.5, kCommaF, "-3."},
        {0.125, "#.00", ".13"},
        {9.995, kComma2, "10.00"},
        {999.5, kCommaF, "1,000."},
        // A negative value that rounds to zero carries no sign.
        {-0.001, kComma2, ".00"},
        // Every integer digit is shown, beyond the placeholders; past 15 significant digits
        // they are zeros, as everywhere the program shows a number.
        {1234567890123456.0, kCommaF, "1,234,567,890,123,460."},
        {1e20, "###############.", "100000000000000000000."},
        // The reciprocal pattern keeps its zero before the point.
        {0.125, "0.0000000000000", "0.1250000000000"},
        {-0.25, "0.0000000000000", "-0.2500000000000"},
        {1e-20, "0.0000000000000", "0.0000000000000"},
        {1.0 / 3, "0.0000000000000", "0.3333333333333"},
        {0.00001234, "###############.00000", ".00001"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatNumber(c.value, c.pattern), c.expected) << c.value << " with " << c.pattern;
}

TEST(NumberToText, PlainUpTo15DigitsThenExponent) {
    const std::pair<double, const char*> cases[] = {
        {0, "0"},
        {5, "5"},
        {-5, "-5"},
        {0.5, ".5"},
        {-0.25, "-.25"},
        {12.5, "12.5"},
        {1234567.891, "1234567.891"},
        {1.0 / 3, ".333333333333333"},
        {2.0 / 3, ".666666666666667"},
        {123456789012345.0, "123456789012345"},
        {1e15, "1E+15"},
        {1.5e20, "1.5E+20"},
        {-1.5e20, "-1.5E+20"},
        {2e-7, "2E-07"},
        {0.0001, ".0001"},
        {1.25e-5, "1.25E-05"},
        {1e300, "1E+300"},
        {0.1 + 0.2, ".3"},
    };
    for (const auto& [value, expected] : cases) EXPECT_EQ(NumberToText(value), expected) << value;
}

TEST(NumberToPlainText, NeverUsesExponent) {
    EXPECT_EQ(NumberToPlainText(2e-7), ".0000002");
    EXPECT_EQ(NumberToPlainText(1.5e20), "150000000000000000000");
    EXPECT_EQ(NumberToPlainText(-1e15), "-1000000000000000");
}

TEST(ParseNumber, ReadsTheLeadingNumber) {
    const std::pair<const char*, double> cases[] = {
        {"12.5", 12.5},       {"12.5.3", 12.5},    {"1E3", 1000},       {"1e-2", 0.01},
        {"-", 0},             {".", 0},            {"", 0},             {"abc", 0},
        {"  -12.00 +", -12},  {"1,234", 1},        {".5", 0.5},         {"-.05", -0.05},
        {"+7", 7},            {"5.", 5},           {"1E", 1},           {"1E+", 1},
        {"2E-07", 2e-7},      {"000..05", 0},      {"1E999", 0},        {"-1E999", 0},
        {"1E-999", 0},        {"          5.00 +", 5},
    };
    for (const auto& [text, expected] : cases) EXPECT_DOUBLE_EQ(ParseNumber(text), expected) << '"' << text << '"';
}

TEST(ParseNumber, NeverGivesInfinityOrNaN) {
    for (const char* text : {"1E400", "9999E99999", "-1e309", "NaN", "inf", "-infinity"})
        EXPECT_TRUE(std::isfinite(ParseNumber(text))) << text;
}

TEST(TextCleaners, KeepNumericAndNoSpecialChar) {
    const std::pair<const char*, const char*> keep[] = {
        {"1,234.50 -", "1234.50"}, {"-12.00 +", "-12.00"}, {"-5.00 -", "-5.00"},
        {"", ""},                  {"*,234,567,890.12 +", "234567890.12"}, {"5-3", "53"},
    };
    for (const auto& [text, expected] : keep) EXPECT_EQ(KeepNumeric(text), expected) << text;
    EXPECT_EQ(NoSpecialChar("1,234.5-"), "1234.5-");
    EXPECT_EQ(NoSpecialChar(" -1,000.00 x"), "-1000.00");
}

TEST(PadToWidth, LeftOrRight) {
    std::string s = "abc";
    PadToWidth(s, 5);
    EXPECT_EQ(s, "abc  ");
    s = "abc";
    PadToWidth(s, 5, true);
    EXPECT_EQ(s, "  abc");
    s = "abcdef";
    PadToWidth(s, 5, true);
    EXPECT_EQ(s, "abcdef");
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

TEST(FormatStrings, BaseAndPlaces) {
    EXPECT_EQ(CreateFormatString(true, 0), "###,###,###,###.");
    EXPECT_EQ(CreateFormatString(true, 2), "###,###,###,###.00");
    EXPECT_EQ(CreateFormatString(false, 5), "###############.00000");
}

TEST(FitEntryText, PlainAndAtMost15CharactersWithoutLosingMagnitude) {
    const std::pair<double, const char*> cases[] = {
        {std::sqrt(2.0), "1.4142135623731"},
        {0.5, ".5"},
        {std::sqrt(1e-13), ".00000031622777"},
        {1e15, "1000000000000000"},
        {1e20 + 0.5, "100000000000000000000"},
        {12345678901234.56, "12345678901235"},
        {-std::sqrt(2.0), "-1.414213562373"},
        {4, "4"},
    };
    for (const auto& [value, expected] : cases) EXPECT_EQ(FitEntryText(value), expected) << value;
}

}  // namespace
