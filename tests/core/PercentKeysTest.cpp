#include <gtest/gtest.h>

#include <limits>

#include "engine/BusinessRules.h"
#include "engine/TapeRecompute.h"
#include "fakes/TestMachine.h"

using namespace qb;
using namespace qb::test;

namespace {

using Lines = std::vector<std::string>;

// How each mode rounds a percent key's amount and subtotal is in
// Rounding.TheCalculatorRoundsTapeSubtotalAndOperandByTheMode, the guide's examples in GuideExamples.
// Not rounded before the operation, the new subtotal keeps every digit.
TEST(PercentKeys, TheNewSubtotalKeepsEveryDigit) {
    TestMachine t;
    t.machine.Run(Command::RoundBeforeOperation);
    t.Press("10.99+19");
    t.machine.Run(Command::AddPercent);
    EXPECT_DOUBLE_EQ(t.State().Subtotal, 10.99 * 1.19);
    EXPECT_EQ(t.Trimmed().back(), "13.08 S");
}

// Without a number the key only beeps; past the largest number there is nothing to print.
TEST(PercentKeys, WithoutANumberOnlyBeep) {
    TestMachine t;
    t.Press("100+");
    const Lines before = t.TapeLines();
    t.machine.Run(Command::AddPercent);
    EXPECT_EQ(t.TapeLines(), before);
    EXPECT_EQ(t.fakes.messages.beeps, 1);
    EXPECT_FALSE(AdjustByPercent(std::numeric_limits<double>::max(), 200, false));
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
