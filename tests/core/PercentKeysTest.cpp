#include <gtest/gtest.h>

#include <limits>

#include "engine/BusinessRules.h"
#include "engine/TapeRecompute.h"
#include "fakes/TestMachine.h"

using namespace qb;
using namespace qb::test;

namespace {

using Lines = std::vector<std::string>;

struct KeyCase {
    const char* name;
    Rounding rounding;
    bool roundBefore;
    const char* keys;  // then the key
    bool less;
    Lines tape;  // the last lines
    const char* subtotal;
};

TEST(PercentKeys, PrintTheAmountAndTheNewSubtotal) {
    const KeyCase cases[] = {
        {"add on", Rounding::FiveFour, true, "100+10", false, {"100.00 +", "10.00 A", "110.00 S"}, "110.00"},
        // 19 % of 10.99 is 2.0881: the cent the amount shows is the cent the subtotal gets.
        {"rounded 5/4", Rounding::FiveFour, true, "10.99+19", false, {"2.09 A", "13.08 S"}, "13.08"},
        {"rounded down", Rounding::Down, true, "10.99+19", false, {"2.08 A", "13.07 S"}, "13.07"},
        {"rounded up, a discount", Rounding::Up, true, "10.99+7", true, {".77 L", "10.22 S"}, "10.22"},
        // Not rounded before the operation, the subtotal keeps every digit: 13.0781.
        {"whole amount", Rounding::Down, false, "10.99+19", false, {"2.08 A", "13.07 S"}, "13.07"},
        {"negative subtotal", Rounding::FiveFour, true, "-50+10", true, {"50.00 -", "-5.00 L", "-45.00 S"}, "-45.00"},
    };
    for (const auto& c : cases) {
        TestMachine t;
        t.machine.Run(static_cast<Command>(static_cast<int>(Command::RoundFiveFour) + static_cast<int>(c.rounding)));
        if (t.machine.GetOptions().RoundBeforeOperation != c.roundBefore) t.machine.Run(Command::RoundBeforeOperation);
        t.Press(c.keys);
        t.machine.Run(c.less ? Command::LessPercent : Command::AddPercent);
        Lines lines = t.Trimmed();
        lines.erase(lines.begin(), lines.end() - static_cast<std::ptrdiff_t>(c.tape.size()));
        EXPECT_EQ(lines, c.tape) << c.name;
        EXPECT_EQ(t.State().SubtotalText, c.subtotal) << c.name;
        EXPECT_TRUE(t.State().EntryText.empty()) << c.name << ": the rate is used up";
    }
    EXPECT_FALSE(AdjustByPercent(std::numeric_limits<double>::max(), 200, false));  // no overflow to print
}

TEST(PercentKeys, TheNextKeysGoOnFromTheNewSubtotal) {
    TestMachine t;
    t.Press("100+10");
    t.machine.Run(Command::AddPercent);
    t.Press("=");
    EXPECT_EQ(t.Trimmed().back(), "110.00 =");
    t.Press("5+=");
    EXPECT_EQ(t.Trimmed().back(), "115.00 =");

    TestMachine unrounded;
    unrounded.machine.Run(Command::RoundBeforeOperation);
    unrounded.Press("10.99+19");
    unrounded.machine.Run(Command::AddPercent);
    EXPECT_DOUBLE_EQ(unrounded.State().Subtotal, 10.99 * 1.19);
}

TEST(PercentKeys, WithoutANumberOnlyBeep) {
    TestMachine t;
    t.Press("100+");
    const Lines before = t.TapeLines();
    t.machine.Run(Command::AddPercent);
    EXPECT_EQ(t.TapeLines(), before);
    EXPECT_EQ(t.fakes.messages.beeps, 1);
}

TEST(PercentKeys, LinesReadBackWithoutTheirKeys) {
    const TapeLines lines{"               0 =", "          100.00 +", "           10.00 A", "          110.00 S",
                          "            5.00 +", "          115.00 ="};
    EXPECT_EQ(ReadTapeLine(lines[2], lines[1], false).kind, TapeLineReading::Kind::Adjusted);
    EXPECT_EQ(ReadTapeLine(lines[3], lines[2], false).kind, TapeLineReading::Kind::Adjusted);
    EXPECT_EQ(ReadTapeLine("     Total due: 12 S", "", false).kind, TapeLineReading::Kind::Other);

    const auto subtotals = RecomputeSubtotals(lines);
    EXPECT_EQ(subtotals[3], 110.0);
    EXPECT_EQ(subtotals[4], 115.0);

    // Below the percentage the totals follow a correction; above it they cannot, and say so.
    const RecomputedTape below = RecomputeTape(lines, 4, {"6", '+'}, 6);
    ASSERT_EQ(below.outcome, RecomputedTape::Outcome::Done);
    EXPECT_EQ(below.lines.back(), "          116.00 =");
    const RecomputedTape above = RecomputeTape(lines, 1, {"200", '+'}, 6);
    EXPECT_EQ(above.outcome, RecomputedTape::Outcome::Refused);
    EXPECT_EQ(above.failedLine, 2);
}


}  // namespace
