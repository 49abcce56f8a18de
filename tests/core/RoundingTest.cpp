#include <gtest/gtest.h>

#include "engine/NumberRules.h"
#include "fakes/TestMachine.h"

using namespace qb;
using namespace qb::test;

namespace {

constexpr auto k54 = Rounding::FiveFour;
constexpr auto kUp = Rounding::Up;
constexpr auto kDown = Rounding::Down;

struct RoundCase {
    double value;
    int places;
    Rounding mode;
    const char* expected;
    const char* rule;  // what decides the last digit
};

TEST(Rounding, FixedPlacesFollowTheMode) {
    const RoundCase cases[] = {
        // A half: Up goes away from zero, Down cuts, on both signs. (5/4 is FormatNumber's own
        // rounding, in NumberRulesTest.)
        {2.5, 0, kUp, "3.", "remainder away from zero"},
        {2.5, 0, kDown, "2.", "remainder cut"},
        {-2.5, 0, kDown, "-2.", "remainder cut"},
        {1.005, 2, kDown, "1.00", "remainder cut"},
        {-1.005, 2, kUp, "-1.01", "remainder away from zero"},
        // Below a half: only Up moves; above a half: only Down stays.
        {1.231, 2, kUp, "1.24", "any remainder away from zero"},
        {1.239, 2, kDown, "1.23", "remainder cut"},
        {-1.239, 2, kDown, "-1.23", "remainder cut toward zero, also when negative"},
        // Exact values keep their digits in every mode: 0.1 + 0.2 is 0.30000000000000004 in binary.
        {0.1 + 0.2, 2, kUp, ".30", "15-digit decimal form has no remainder"},
        // A carry through the nines, and values wholly below the last place.
        {9.991, 2, kUp, "10.00", "carry into a new digit"},
        {-0.0001, 2, kUp, "-.01", "one unit of the last place, away from zero"},
        {0.004, 2, kDown, ".00", "nothing is left"},
        {0.004, 0, kUp, "1.", "one unit of the last place"},
        {3e-10, 2, kUp, ".01", "one unit of the last place, far below it"},
    };
    for (const auto& c : cases) {
        const std::string pattern = CreateFormatString(false, c.places);
        EXPECT_EQ(FormatNumber(c.value, pattern, c.mode), c.expected)
            << c.value << " at " << c.places << " places, " << RoundingName(c.mode) << ": " << c.rule;
    }
}

// Runs the menu command that chooses the mode.
void Choose(TestMachine& t, Rounding mode) {
    t.machine.Run(static_cast<Command>(static_cast<int>(Command::RoundFiveFour) + static_cast<int>(mode)));
}

// The mode is stored by its name, and text that names none reads as 5/4; the menu checks the one
// chosen, also when it is chosen again, and the next start finds it in the settings.
TEST(Rounding, SettingsNameTheModeAndBadTextFallsBackToFiveFour) {
    const struct {
        const char* stored;
        Rounding expected;
    } cases[] = {{"5/4", k54}, {"Up", kUp}, {"Down", kDown}, {"", k54}, {"up", k54}, {"2", k54}};
    for (const auto& c : cases) {
        TestMachine t(std::map<std::string, std::string>{{"Rounding", c.stored}});
        EXPECT_EQ(t.machine.GetOptions().RoundingMode, c.expected) << '"' << c.stored << '"';
    }
    TestMachine t;
    EXPECT_TRUE(t.machine.IsChecked(Command::RoundFiveFour));
    Choose(t, kDown);
    Choose(t, kDown);
    EXPECT_FALSE(t.machine.IsChecked(Command::RoundFiveFour));
    EXPECT_TRUE(t.machine.IsChecked(Command::RoundDown));
    EXPECT_FALSE(t.machine.IsChecked(Command::RoundUp));
    TestMachine again(t.fakes.settings.values);
    EXPECT_EQ(again.machine.GetOptions().RoundingMode, kDown);
}

constexpr auto kNone = Command::None;
constexpr auto kAdd = Command::AddPercent;
constexpr auto kLess = Command::LessPercent;

struct KeyedCase {
    const char* name;
    Rounding mode;
    bool roundBefore;
    const char* keys;
    Command key;  // pressed after the keys: a percent key, or none
    std::vector<std::string> tape;  // the last lines
    const char* subtotalText;
    bool floating = false;
};

// The tape line, the subtotal's text and the operand rounded before an operation, and a percent
// key's amount, whose cent is the cent the subtotal gets; in floating point, none of them. The
// total that follows is the subtotal shown.
TEST(Rounding, TheCalculatorRoundsTapeSubtotalAndOperandByTheMode) {
    const KeyedCase cases[] = {
        {"up, operand rounded", kUp, true, "1.231+1.231+", kNone, {"1.24 +", "1.24 +"}, "2.48"},
        {"down, operand rounded", kDown, true, "1.239+1.239+", kNone, {"1.23 +", "1.23 +"}, "2.46"},
        {"up, operand whole", kUp, false, "1.231+1.231+", kNone, {"1.24 +", "1.24 +"}, "2.47"},
        {"down on a negative total", kDown, false, "-1.239=", kNone, {"1.23 -", "-1.23 ="}, "-1.23"},
        {"up on a negative total", kUp, false, "-1.231=", kNone, {"1.24 -", "-1.24 ="}, "-1.24"},
        // Floating point shows every decimal in any mode.
        {"floating point, up", kUp, true, "1.239+", kNone, {"1.239 +"}, "1.239", true},
        {"floating point, down", kDown, true, "1.239+", kNone, {"1.239 +"}, "1.239", true},
        // 19 % of 10.99 is 2.0881.
        {"percent 5/4", k54, true, "10.99+19", kAdd, {"2.09 A", "13.08 S"}, "13.08"},
        {"percent down", kDown, true, "10.99+19", kAdd, {"2.08 A", "13.07 S"}, "13.07"},
        {"percent up, a discount", kUp, true, "10.99+7", kLess, {".77 L", "10.22 S"}, "10.22"},
        {"less % of a negative", k54, true, "-50+10", kLess, {"50.00 -", "-5.00 L", "-45.00 S"}, "-45.00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestMachine t;
        Choose(t, c.mode);
        if (t.machine.GetOptions().RoundBeforeOperation != c.roundBefore) t.machine.Run(Command::RoundBeforeOperation);
        if (c.floating) t.machine.Run(Command::FloatingPoint);
        t.Press(c.keys);
        if (c.key != kNone) t.machine.Run(c.key);
        std::vector<std::string> lines = t.Trimmed();
        lines.erase(lines.begin(), lines.end() - static_cast<std::ptrdiff_t>(c.tape.size()));
        EXPECT_EQ(lines, c.tape);
        EXPECT_EQ(t.State().SubtotalText, c.subtotalText);
        EXPECT_TRUE(t.State().EntryText.empty());  // a percent key's rate is used up
        t.Press("=");
        EXPECT_EQ(t.Trimmed().back(), std::string(c.subtotalText) + " =");
    }
}

TEST(Rounding, OneOverXRoundsItsFixedPlacesByTheMode) {
    const struct {
        Rounding mode;
        int places;
        const char* entry;
    } cases[] = {{kUp, 2, "3.34"}, {kDown, 2, "3.33"}, {k54, 3, "3.333"}, {kUp, 0, "3."}, {kDown, 1, "6.6"}};
    for (const auto& c : cases) {
        TestMachine t;
        Choose(t, c.mode);
        t.machine.Run(PlacesCommand(c.places));
        t.Press(c.places == 1 ? ".15I" : ".3I");
        EXPECT_EQ(t.State().EntryText, c.entry) << RoundingName(c.mode) << " at " << c.places;
    }
}

TEST(Rounding, AKeyStepKeepsItsModeForUndoAndReplay) {
    // A correction replays the keys under the mode they ran with, not today's.
    TestMachine t;
    Choose(t, kUp);
    t.Press("1.231+2.001+");
    Choose(t, kDown);
    const std::int64_t first = t.machine.GetTape().Count() - 2;
    ASSERT_TRUE(t.machine.CorrectLine(first, "1.241", '+'));
    const std::vector<std::string> lines = t.Trimmed();
    EXPECT_EQ(std::vector<std::string>(lines.end() - 2, lines.end()), (std::vector<std::string>{"1.25 +", "2.01 +"}));
    EXPECT_EQ(t.machine.GetOptions().RoundingMode, kDown);
}

}  // namespace
