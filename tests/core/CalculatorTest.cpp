#include <gtest/gtest.h>

#include <cmath>

#include "fakes/TestMachine.h"

using namespace qb;
using namespace qb::test;

namespace {

using Lines = std::vector<std::string>;

struct Config {
    bool clearEntryBox = true;
    bool clearOnEqual = false;
    bool round = true;
    bool comma = true;
    bool autoDecimal = false;
    int places = 2;
};

void Apply(TestMachine& t, const Config& s) {
    const Options& o = t.machine.GetOptions();
    if (o.ClearEntryBox != s.clearEntryBox) t.machine.Run(Command::ClearEntryBox);
    if (o.ClearOnEqual != s.clearOnEqual) t.machine.Run(Command::ClearOnEqual);
    if (o.RoundBeforeOperation != s.round) t.machine.Run(Command::RoundBeforeOperation);
    if (o.CommaSeparator != s.comma) t.machine.Run(Command::CommaSeparator);
    if (o.AutoDecimal != s.autoDecimal) t.machine.Run(Command::AutoDecimal);
    t.machine.Run(PlacesCommand(s.places));
}

struct GoldenTape {
    const char* name;
    Config setup;
    const char* keys;
    Lines tape;  // trimmed of leading blanks, after the start-up zero line
    double subtotal;
};

Config CeOff() { Config s; s.clearEntryBox = false; return s; }
Config Places(int p) { Config s; s.places = p; return s; }
Config AutoDec() { Config s; s.autoDecimal = true; return s; }

const GoldenTape kGolden[] = {
    {"mixed operations", {}, "12.5+7.5-5=", {"12.50 +", "7.50 +", "5.00 -", "15.00 ="}, 15},
    {"percent with entry cleared", {}, "50+%200=", {"50.00 +", "200.00 %", "25.00 ="}, 25},
    {"percent with entry kept", CeOff(), "50+%200=", {"50.00 +", "50.00 +", "200.00 %", "50.00 ="}, 50},
    {"second total prints nothing", {}, "5+3==", {"5.00 +", "3.00 +", "8.00 ="}, 8},
    {"second total repeats the operand", CeOff(), "2*3==",
     {"2.00 +", "3.00 *", "6.00 =", "3.00 *", "18.00 ="}, 18},
    {"repeated key repeats the operand", CeOff(), "5++", {"5.00 +", "5.00 +"}, 10},
    {"total right after clear", {}, "S=", {"", "0 ="}, 0},
    {"clear subtotal on equal", {true, true}, "5+3=", {"5.00 +", "3.00 +", "8.00 =", "", "0 ="}, 0},
    {"round before operation", {}, "1.006+=", {"1.01 +", "1.01 ="}, 1.01},
    {"no rounding before operation", {true, false, false}, "1.006+=", {"1.01 +", "1.01 ="}, 1.006},
    {"percent of a number", {}, "50%2=", {"50.00 +", "2.00 %", "2,500.00 ="}, 2500},
    {"divide", {}, "10/4=", {"10.00 +", "4.00 /", "2.50 ="}, 2.5},
    {"floating point", Places(0), "1234+1234.5+=", {"1,234. +", "1,234.5 +", "2,468.5 ="}, 2468.5},
    {"floating point without separators", {true, false, true, false, false, 0}, "12.5+.125+=",
     {"12.5 +", ".125 +", "12.625 ="}, 12.625},
    {"tiny floating point subtotal", Places(0), ".0000002+=", {".0000002 +", ".0000002 ="}, 2e-7},
    {"reciprocal in floating point", Places(0), ".5I+=", {"2. +", "2. ="}, 2},
    {"one place", Places(1), "2.25+=", {"2.3 +", "2.3 ="}, 2.3},
    {"auto decimal", AutoDec(), "5+12+123+1.5+=", {".05 +", ".12 +", "1.23 +", "1.50 +", "2.90 ="}, 2.9},
    {"auto decimal negative", AutoDec(), "5N+=", {"-.05 +", "-.05 ="}, -0.05},
    {"auto decimal at five places", {true, false, true, true, true, 5}, "123456+=", {"1.23456 +", "1.23456 ="}, 1.23456},
    {"auto decimal in floating point", {true, false, true, true, true, 0}, "5+=", {"5. +", "5. ="}, 5},
    {"auto decimal with entry kept commits once", {false, false, true, true, true, 2}, "5==",
     {".05 +", ".05 =", ".05 +", ".10 ="}, 0.1},
    {"change sign then reciprocal", {}, "4NI=", {"-.25 +", "-.25 ="}, -0.25},
    {"square root applied", {}, "2R+=", {"1.41 +", "1.41 ="}, 1.41},
    {"widest line without a star", {}, "999999999.99+", {"999,999,999.99 +"}, 999999999.99},
    {"too wide for the tape", {}, "1234567890.12+", {"*,234,567,890.12 +"}, 1234567890.12},
    {"operation on an empty box", {}, "+-*", {}, 0},
    {"zero is never applied", {}, "0+00+=", {}, 0},
    {"clear entry keeps the pending operation", {}, "5+3C2=", {"5.00 +", "2.00 +", "7.00 ="}, 7},
};

class Golden : public ::testing::TestWithParam<GoldenTape> {};

TEST_P(Golden, PrintsTheTape) {
    const GoldenTape& g = GetParam();
    TestMachine t;
    Apply(t, g.setup);
    t.Press(g.keys);
    Lines expected{"0 ="};
    expected.insert(expected.end(), g.tape.begin(), g.tape.end());
    EXPECT_EQ(t.Trimmed(), expected);
    EXPECT_DOUBLE_EQ(t.State().Subtotal, g.subtotal);
    EXPECT_TRUE(t.fakes.messages.Errors().empty());
    // Every line is right-justified to 18 characters; a separator is a lone blank.
    for (const auto& line : t.TapeLines())
        EXPECT_EQ(line.size(), line.find_first_not_of(' ') == std::string::npos ? 1u : 18u) << '"' << line << '"';
}

INSTANTIATE_TEST_SUITE_P(Tapes, Golden, ::testing::ValuesIn(kGolden), [](const auto& info) {
    std::string name;
    for (char c : std::string(info.param.name)) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
});

TEST(Tape, ScrollKeepsTheLast16LinesInView) {
    TestMachine t;
    const Tape& tape = t.machine.GetTape();
    for (int i = 0; i < 15; ++i) t.Press("1+");
    EXPECT_EQ(tape.Count(), 16);
    EXPECT_EQ(tape.TopIndex(), 0);
    t.Press("1+");
    EXPECT_EQ(tape.TopIndex(), 1);
    t.Press("=");
    EXPECT_EQ(tape.TopIndex(), 2);
    // The user scrolls: to the first line, and never to a line that is not there.
    for (const std::int64_t top : {std::int64_t{0}, std::int64_t{-1}, std::int64_t{18}}) t.machine.TapeScrolled(top);
    EXPECT_EQ(tape.TopIndex(), 0);
    t.machine.TapeScrolled(17);
    EXPECT_EQ(tape.TopIndex(), 17);
    // A tape opened from its file shows its end.
    t.AnswerSaveAs("/t/k");
    t.machine.Run(Command::SaveAs);
    TestMachine opened;
    opened.Open("/t/k.QBX", t.fakes.files.files["/t/k.QBX"]);
    EXPECT_EQ(opened.machine.GetTape().TopIndex(), 2);
}

// A correction takes the tape's lines from one on, and puts them back: from the first line, a
// middle one, the end and past it.
TEST(Tape, ASuffixHoldsTheLinesFromItsFirstOn) {
    const std::vector<std::string> all = {"            1.00 +", "", "            3.00 ="};
    const qb::TapeLines lines(all);
    for (std::size_t first = 0; first <= all.size() + 1; ++first) {
        const std::vector<std::string> from(all.begin() + static_cast<std::ptrdiff_t>(std::min(first, all.size())), all.end());
        EXPECT_EQ(lines.Suffix(first).ToVector(), from) << first;
    }
}

struct EntryCase {
    const char* keys;
    const char* display;
    int beeps;
    bool capacityError;
};

TEST(Entry, KeysBuildTheNumber) {
    const EntryCase cases[] = {
        {"00", "0", 0, false},    {"0.5", ".5", 0, false}, {"N05", "-5", 0, false},   {"D5", "5", 0, false},
        {"1..", "1.", 1, false},  {".", ".", 0, false},    {"N", "-", 0, false},      {"12NN", "12", 0, false},
        {"12N", "-12", 0, false}, {"7B", "", 0, false},    {"B", "", 0, false},       {"12.5B", "12.", 0, false},
        {"-.5", ".5", 0, false},  {"12345678901234", "12345678901234", 0, false},
        {"123456789012345", "12345678901234", 0, true}, {"1234567890123D", "1234567890123", 0, true},
        {"123456789012D", "12345678901200", 0, false},
        // A minus sign keyed first counts as a character.
        {"N1234567890123", "-1234567890123", 0, false}, {"N12345678901234", "-1234567890123", 0, true},
    };
    const Lines capacity{"The capacity of the Entry box has been reached!"};
    for (const auto& c : cases) {
        TestMachine t;
        t.Press(c.keys);
        EXPECT_EQ(t.Display(), c.display) << c.keys;
        EXPECT_EQ(t.State().EntryText, c.display) << c.keys;
        EXPECT_EQ(t.fakes.messages.beeps, c.beeps) << c.keys;
        EXPECT_EQ(t.fakes.messages.Errors(), c.capacityError ? capacity : Lines{}) << c.keys;
    }
}

// With the Entry box kept after an operation, a digit replaces the number but the point appends.
// Clear Entry starts afresh, as after a total, only when the option clears the box.
TEST(Entry, WithEntryKeptADigitReplacesButThePointAppends) {
    TestMachine t;
    Apply(t, CeOff());
    t.Press("5+");
    EXPECT_EQ(t.Display(), "5");
    t.Press(".");
    EXPECT_EQ(t.Display(), "5.");
    t.Press("7");
    EXPECT_EQ(t.Display(), "7");
    EXPECT_FALSE(t.State().ReplaceEntry);
    t.Press("C");
    EXPECT_FALSE(t.State().JustPressedEquals);
    EXPECT_EQ(t.Display(), "");
    TestMachine on;
    on.Press("5C");
    EXPECT_TRUE(on.State().JustPressedEquals);
}

TEST(Operations, SoundOnlyWhenSomethingIsApplied) {
    TestMachine t;
    int start = t.fakes.sound.requests;
    t.Press("+-");
    EXPECT_EQ(t.fakes.sound.requests, start);
    t.Press("5+");
    EXPECT_EQ(t.fakes.sound.requests, start + 1);
    t.Press("=");  // the total applies nothing new but sounds
    EXPECT_GT(t.fakes.sound.requests, start + 1);
    int before = t.fakes.sound.requests;
    t.Press("=");  // a second total only sounds
    EXPECT_EQ(t.fakes.sound.requests, before + 1);
    t.Press("S");  // so does a clear
    EXPECT_EQ(t.fakes.sound.requests, before + 2);
    t.Press("NC=");  // the display's sign changed, then the Entry box cleared: a total only sounds again
    EXPECT_EQ(t.fakes.sound.requests, before + 3);
    ASSERT_TRUE(t.machine.CorrectLine(1, "6", '+'));  // the keys replayed after a correction are silent
    EXPECT_EQ(t.fakes.sound.requests, before + 3);
    t.Press("5+");  // and the next key sounds again
    EXPECT_EQ(t.fakes.sound.requests, before + 4);
    t.Press("=80");
    before = t.fakes.sound.requests;
    t.machine.Run(Command::Cost);  // a business key that prints sounds as well
    EXPECT_EQ(t.fakes.sound.requests, before + 1);
    t.Type("4711#");  // and so does a reference number
    EXPECT_EQ(t.fakes.sound.requests, before + 2);
}

// How the Entry box gets its number: keyed, pasted after "5+", or set as a value.
enum class Via { Keys, Paste, Value };

void Enter(TestMachine& t, Via via, const char* entry) {
    if (via == Via::Keys) {
        t.Press(entry);
    } else if (via == Via::Value) {
        t.Calc().SetEntryFromValue(entry);
    } else {
        t.Press("5+");
        t.fakes.clipboard.text = entry;
        t.machine.Run(Command::Paste);
    }
}

// A refused 1/x or root beeps once, says why, and leaves the Entry box, the subtotal and the
// special result as they were; one taken shows its result as a special result. Neither prints.
TEST(Operations, EntryFunctionsRefuseWhatTheyCannotShow) {
    const char* const kZero = "Cannot divide by zero!";
    const char* const kRoot = "That is an invalid number for taking a square root!";
    const char* const kSmall = "The result is too small for the calculator!";
    const struct {
        Via via;
        const char* entry;
        char key;
        const char* error;    // nullptr when taken
        const char* display;  // when taken
    } cases[] = {
        {Via::Keys, "8", 'I', nullptr, "0.1250000000000"},
        {Via::Keys, "4N", 'I', nullptr, "-0.2500000000000"},
        {Via::Keys, ".8", 'I', nullptr, "1.25"},
        {Via::Keys, ".5", 'I', nullptr, "2.00"},
        // The root's 15-digit text is cut to 15 characters, never rounded up at the cut.
        {Via::Keys, "2", 'R', nullptr, "1.4142135623731"},
        {Via::Keys, "99999999999999", 'R', nullptr, "9999999.9999999"},
        {Via::Keys, "0", 'I', kZero, ""},
        {Via::Keys, "", 'R', kRoot, ""},
        {Via::Keys, "4N", 'R', kRoot, ""},
        {Via::Keys, "99999999999999", 'I', kSmall, ""},
        {Via::Keys, "20000000000000", 'I', nullptr, "0.0000000000001"},  // 5E-14: the half goes up
        {Via::Value, "1E-320", 'I', "The result is too large for the calculator!", ""},
        // No digit of the root within the Entry box's 15 characters.
        {Via::Paste, "0.000000000000000000000000000001", 'R', kSmall, ""},
        {Via::Paste, "0.0000000000000000000000000001", 'R', nullptr, ".00000000000001"},
        {Via::Value, "1E+30", 'R', nullptr, "1000000000000000"},  // every integer digit kept
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.entry) + c.key);
        TestMachine t;
        Enter(t, c.via, c.entry);
        const std::string entry = t.State().EntryText;
        const double subtotal = t.State().Subtotal;
        const Lines tape = t.TapeLines();
        t.Press(std::string(1, c.key));
        EXPECT_EQ(t.TapeLines(), tape);
        if (!c.error) {
            EXPECT_EQ(t.Display(), c.display);
            EXPECT_TRUE(t.State().SpecialResult);
            EXPECT_TRUE(t.fakes.messages.Errors().empty());
            continue;
        }
        EXPECT_EQ(t.fakes.messages.Errors(), Lines{c.error});
        EXPECT_EQ(t.fakes.messages.shown[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(t.fakes.messages.beeps, 1);
        EXPECT_EQ(t.State().EntryText, entry);
        EXPECT_EQ(t.Display(), entry);
        EXPECT_FALSE(t.State().SpecialResult);
        EXPECT_DOUBLE_EQ(t.State().Subtotal, subtotal);
    }
}

// The tape shows, and the subtotal receives, the number in the Entry box however small or large.
TEST(Operations, TheSubtotalReceivesWhatTheEntryBoxShows) {
    const struct {
        Config setup;
        Via via;
        const char* entry;
        const char* keys;
        const char* line;  // the last tape line
        double subtotal;
    } cases[] = {
        {Places(0), Via::Keys, ".0000000000001", "R+", ".00000031622776 +", 0.00000031622776},
        {Places(0), Via::Paste, "0.00000002", "+", ".00000002 +", 5.00000002},
        {{}, Via::Value, "1E+30", "R+", "*,000,000,000.00 +", 1e15},  // too wide: its last digits
    };
    for (const auto& c : cases) {
        TestMachine t;
        Apply(t, c.setup);
        Enter(t, c.via, c.entry);
        t.Press(c.keys);
        EXPECT_EQ(t.Trimmed().back(), c.line) << c.entry;
        EXPECT_DOUBLE_EQ(t.State().Subtotal, c.subtotal) << c.entry;
    }
}

TEST(Faults, OverflowIsRefusedAndNothingChanges) {
    TestMachine t;
    Apply(t, CeOff());
    t.Press("99999999999999*");
    for (int i = 0; i < 30; ++i) t.Press("=");
    EXPECT_TRUE(std::isfinite(t.State().Subtotal));
    ASSERT_FALSE(t.fakes.messages.Errors().empty());
    EXPECT_EQ(t.fakes.messages.Errors()[0], "The result is too large for the calculator!");
    Lines before = t.TapeLines();
    double subtotal = t.State().Subtotal;
    t.Press("=");
    EXPECT_EQ(t.TapeLines(), before);
    EXPECT_EQ(t.State().Subtotal, subtotal);
    t.Press("+");  // nor does an operation key, which keeps the multiplication pending
    EXPECT_EQ(t.TapeLines(), before);
    EXPECT_EQ(t.State().PendingOperation, 'x');
    for (const auto& line : before) EXPECT_EQ(line.find("inf"), std::string::npos);
}

// An operation key refused keeps its pending operation, as the total does.
TEST(Faults, ADivisorRoundedToZeroIsRefused) {
    for (const char* keys : {"5/.001=", "5%.001=", "5/.001+"}) {
        TestMachine t;
        t.Press(keys);
        EXPECT_EQ(t.Trimmed(), (Lines{"0 =", "5.00 +"})) << keys;
        EXPECT_DOUBLE_EQ(t.State().Subtotal, 5) << keys;
        EXPECT_EQ(t.fakes.messages.Errors(), Lines{"Cannot divide by zero!"}) << keys;
        EXPECT_EQ(t.Display(), ".001") << keys;
        EXPECT_EQ(t.State().PendingOperation, keys[1]) << keys;
        EXPECT_EQ(t.machine.GetCalculator().OperatorCaption(), std::string(1, keys[1])) << keys;
    }
}

TEST(DecimalPlaces, SubtotalTextChangesOnlyAtTheNextOperation) {
    TestMachine t;
    t.Press("1234.5+");
    EXPECT_EQ(t.State().SubtotalText, "1,234.50");
    t.machine.Run(Command::CommaSeparator);
    t.machine.Run(Command::Places3);
    EXPECT_EQ(t.State().SubtotalText, "1,234.50");
    t.Press("=");
    EXPECT_EQ(t.State().SubtotalText, "1234.500");
    EXPECT_EQ(t.Trimmed().back(), "1234.500 =");
}

TEST(DecimalPlaces, AHugeTotalKeepsItsFifteenthDigitAndRoundsItsHalfUp) {
    // 17,817,203,685,869 x 105 is 1,870,806,387,016,245 exactly: a half at the 16th digit.
    TestMachine t;
    Apply(t, Places(4));
    t.Press("17817203685869*105=");
    EXPECT_EQ(t.State().SubtotalText, "1,870,806,387,016,250.0000");
    EXPECT_EQ(t.Trimmed().back(), "*87,016,250.0000 =");
}

}  // namespace
