// Keys of layouts other than US, as the shell hands them over: the key's place (its virtual-key
// code), the shift state and the character the layout types.
#include <gtest/gtest.h>

#include "fakes/TestMachine.h"
#include "window/KeyCodes.h"

using namespace qb;
using namespace qb::test;

namespace {

struct Stroke {
    int code;
    int shift;
    char character;
};

struct LayoutCase {
    const char* name;
    bool decimalComma;
    std::vector<Stroke> keys;
    const char* display;
    std::vector<std::string> tape;  // trimmed, after the start-up zero line
};

constexpr int S = vk::ShiftState;
constexpr char kEAcute = '\xE9';

const LayoutCase kCases[] = {
    {"AZERTY shifted digits are digits", false,
     {{49, S, '1'}, {50, S, '2'}, {59, S, '.'}, {53, S, '5'}, {187, S, '+'}, {55, S, '7'}, {59, S, '.'},
      {53, S, '5'}, {187, 0, '='}},
     "", {"12.50 +", "7.50 +", "20.00 ="}},
    {"AZERTY Shift+8 is 8, Shift+5 is 5", false, {{56, S, '8'}, {53, S, '5'}}, "85", {}},
    {"AZERTY unshifted digit row keeps the digits", false, {{49, 0, '&'}, {50, 0, kEAcute}, {56, 0, '_'}},
     "128", {}},
    {"AZERTY minus on the 6 key subtracts only", false,
     {{52, S, '4'}, {54, 0, '-'}, {49, S, '1'}, {187, 0, '='}}, "", {"4.00 +", "1.00 -", "3.00 ="}},
    {"AZERTY star key multiplies once", false, {{50, S, '2'}, {0, 0, '*'}, {51, S, '3'}, {vk::Return, 0, '\r'}},
     "", {"2.00 +", "3.00 *", "6.00 ="}},
    {"Czech plus on the 1 key adds", false, {{50, S, '2'}, {49, 0, '+'}}, "", {"2.00 +"}},
    {"German Shift+7 slash divides once", false,
     {{56, 0, '8'}, {55, S, '/'}, {50, 0, '2'}, {48, S, '='}}, "", {"8.00 +", "2.00 /", "4.00 ="}},
    {"a shifted key that types nothing useful keeps its place", false, {{50, 0, '2'}, {56, S, '('}}, "",
     {"2.00 +"}},
    {"decimal comma on the main row", true, {{49, 0, '1'}, {188, 0, ','}, {50, 0, '2'}, {53, 0, '5'}}, "1.25",
     {}},
    {"comma ignored where the point is the separator", false,
     {{49, 0, '1'}, {188, 0, ','}, {50, 0, '2'}, {53, 0, '5'}}, "125", {}},
    {"keypad separator is the point in either locale", false,
     {{97, 0, '1'}, {vk::DecimalKey, 0, ','}, {98, 0, '2'}}, "1.2", {}},
    {"keypad comma runs once", true, {{97, 0, '1'}, {vk::DecimalKey, 0, ','}, {98, 0, '2'}}, "1.2", {}},
    {"point stays the point with a decimal comma", true, {{49, 0, '1'}, {190, 0, '.'}, {53, 0, '5'}}, "1.5",
     {}},
    {"a second comma beeps like a second point", true, {{49, 0, '1'}, {188, 0, ','}, {188, 0, ','}}, "1.",
     {}},
};

class LayoutKeys : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(LayoutKeys, TypeWhatTheLayoutShows) {
    const LayoutCase& c = GetParam();
    TestMachine t;
    t.machine.SetLocaleDecimalSign(c.decimalComma ? "," : ".");
    for (const Stroke& k : c.keys) t.machine.Key(k.code, k.shift, k.character);
    EXPECT_EQ(t.Display(), c.display);
    std::vector<std::string> expected{"0 ="};
    expected.insert(expected.end(), c.tape.begin(), c.tape.end());
    EXPECT_EQ(t.Trimmed(), expected);
    EXPECT_TRUE(t.fakes.messages.Errors().empty());
}

INSTANTIATE_TEST_SUITE_P(Layouts, LayoutKeys, ::testing::ValuesIn(kCases), [](const auto& info) {
    std::string name;
    for (char c : std::string(info.param.name)) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
});

TEST(DecimalComma, PasteReadsTheUsersNumbers) {
    const std::tuple<bool, const char*, const char*> cases[] = {
        {true, "1.234,56", "1234.56"},
        {true, "-12,5 EUR", "-12.5"},
        {true, "1,234.56", "1234.56"},  // a point after the comma: written the English way
        {true, "1.5", "1.5"},
        {true, " 5. +\r\n3. -\r\n", "5.3"},  // the program's own tape lines
        {false, "1,234.56", "1234.56"},
        {false, "1.234,56", "1.23456"},
    };
    for (const auto& [comma, clip, entry] : cases) {
        TestMachine t;
        t.machine.SetLocaleDecimalSign(comma ? "," : ".");
        t.fakes.clipboard.text = clip;
        t.machine.Run(Command::Paste);
        EXPECT_EQ(t.Display(), entry) << clip << (comma ? " with a decimal comma" : "");
    }
}

}  // namespace
