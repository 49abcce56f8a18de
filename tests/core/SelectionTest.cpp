#include <gtest/gtest.h>

#include "fakes/TestMachine.h"
#include "memory/TapeSelection.h"
#include "window/KeyCodes.h"

using namespace qb;
using namespace qb::test;

namespace {

using Move = TapeSelection::Move;

struct NavigationCase {
    int lines;
    std::int64_t start;      // selected line before the keys, -1 for none
    std::vector<Move> keys;  // Up, Down, Page Up, Page Down, Ctrl+Home and Ctrl+End
    std::vector<std::int64_t> selected;  // after each key
    int beeps;
};

constexpr Move kUp = Move::Up, kDown = Move::Down, kPgUp = Move::PageUp, kPgDn = Move::PageDown, kHome = Move::First,
               kEnd = Move::Last;

const NavigationCase kNavigation[] = {
    {0, -1, {kUp, kDown, kPgUp, kPgDn, kHome, kEnd}, {-1, -1, -1, -1, -1, -1}, 0},
    {1, -1, {kDown, kDown, kUp, kHome, kPgDn}, {0, 0, 0, 0, 0}, 4},
    {17, -1, {kUp, kPgUp, kPgUp, kEnd, kEnd}, {15, 0, 0, 16, 16}, 2},
    {18, -1, {kPgUp, kPgUp, kPgDn, kPgDn, kPgDn}, {0, 0, 15, 17, 17}, 2},
    {40, -1, {kPgUp, kPgUp, kPgUp, kPgUp}, {24, 9, 0, 0}, 1},
    {40, 30, {kPgDn, kPgDn}, {39, 39}, 1},
    {40, -1, {kHome, kHome, kDown, kEnd}, {0, 0, 1, 39}, 1},
    {40, 18, {kPgUp, kPgUp}, {3, 0}, 0},
};

TEST(Navigation, KeysMoveTheSelectionAndBeepAtTheEnds) {
    for (const auto& c : kNavigation) {
        FakeMessagePort messages;
        Tape tape;
        for (int i = 0; i < c.lines; ++i) tape.AppendTapeLine(std::to_string(i) + ". +");
        tape.SetListIndex(c.start);
        TapeSelection selection(tape, messages);
        for (std::size_t k = 0; k < c.keys.size(); ++k) {
            selection.Navigate(c.keys[k]);
            EXPECT_EQ(tape.ListIndex(), c.selected[k]) << c.lines << " lines, key " << k;
            if (tape.ListIndex() >= 0) {
                EXPECT_GE(tape.ListIndex(), tape.TopIndex());
                EXPECT_LT(tape.ListIndex(), tape.TopIndex() + Tape::kVisibleLines);
            }
        }
        EXPECT_EQ(messages.beeps, c.beeps) << c.lines << " lines from " << c.start;
    }
}

TEST(Navigation, ThroughTheKeyboardWithAnyModifier) {
    TestMachine t;
    t.Press("1+2+3+");
    for (const std::int64_t outside : {std::int64_t{-2}, std::int64_t{4}}) {
        t.machine.TapeClicked(outside);  // no such line: nothing is selected
        EXPECT_EQ(t.machine.GetTape().ListIndex(), -1);
    }
    t.machine.Key(vk::Up, vk::ShiftState, 0);
    EXPECT_EQ(t.machine.GetTape().ListIndex(), 2);
    t.machine.Key(vk::Home, vk::CtrlState, 0);
    EXPECT_EQ(t.machine.GetTape().ListIndex(), 0);
    t.machine.Key(vk::End, vk::CtrlState, 0);
    EXPECT_EQ(t.machine.GetTape().ListIndex(), 3);
    t.machine.Key(vk::Home, 0, 0);  // Home without Ctrl is no navigation key, and ends the selection
    EXPECT_EQ(t.machine.GetTape().ListIndex(), -1);
    t.machine.Key(vk::Down, 0, 0);
    t.machine.Key(vk::C, vk::CtrlState, 3);  // Ctrl keys keep it
    EXPECT_EQ(t.machine.GetTape().ListIndex(), 3);
    t.machine.Key(16, vk::ShiftState, 0);  // a lone Shift ends it
    EXPECT_EQ(t.machine.GetTape().ListIndex(), -1);
}

// A calculator key, from its key or its menu item, ends the selection of a tape line.
TEST(Navigation, CalculatorKeysEndTheSelection) {
    for (Command c : {Command::Plus, Command::Equals, Command::PlusMinus, Command::Inverse, Command::SquareRoot,
                      Command::ClearSubtotal, Command::TaxPlus, Command::MarkUp,
                      Command::Cost, Command::AddPercent}) {
        TestMachine t;
        t.fakes.settings.values["Tax Rate 1"] = "19";
        t.Press("1+2+4");
        t.machine.TapeClicked(1);
        t.machine.Run(c);
        EXPECT_EQ(t.machine.GetTape().ListIndex(), -1) << static_cast<int>(c);
    }
}

TEST(LastTapeEntry, ReadsTheNumberWithTheSignOfItsEffect) {
    const std::pair<const char*, const char*> cases[] = {
        {"          1,234. +", "1234."}, {"          1,234. -", "-1234."}, {"           12.50 -", "-12.50"},
        {"           -5.00 -", "5.00"},  {"           -5.00 +", "-5.00"},  {"           25.00 =", "25.00"},
        {"               0 =", "0"},     {" ", ""}, {"", ""}, {"Total 12.5x", "12.5"}, {"-12 -", "12"}, {"abc +", ""},
        // A minus sign without digits gives the sign alone.
        {"                 -", "-"},     {"-", "-"}, {"-abc +", "-"}, {"- -", "-"},
    };
    for (const auto& [line, expected] : cases) {
        FakeMessagePort messages;
        Tape tape;
        tape.AppendRaw(line);
        TapeSelection selection(tape, messages);
        EXPECT_EQ(selection.LastTapeEntry(), expected) << '"' << line << '"';
        EXPECT_TRUE(messages.shown.empty());
    }
}

TEST(LastTapeEntry, SelectedOrLastAndOverflow) {
    FakeMessagePort messages;
    Tape tape;
    tape.AppendTapeLine("3.00 +");
    tape.AppendTapeLine("1,234,567,890.12 +");
    TapeSelection selection(tape, messages);
    EXPECT_EQ(selection.LastTapeEntry(true), "");  // nothing selected
    tape.SetListIndex(0);
    EXPECT_EQ(selection.LastTapeEntry(true), "3.00");
    EXPECT_EQ(selection.LastTapeEntry(), "");
    EXPECT_EQ(messages.Errors(), std::vector<std::string>{"The value on the tape is too large to recall!"});
}

TEST(LastTapeEntry, ALoneMinusSignReachesCopyMemoryAndRecall) {
    TestMachine t;
    t.machine.Run(Command::FloatingPoint);
    t.Press("4+a7");
    // A line a tape file brought in: no digits, the operation column "-".
    t.machine.GetTape().AppendRaw("                 -");

    t.fakes.dialogs.copyChoices.push_back('L');
    t.machine.Run(Command::Copy);
    EXPECT_EQ(t.fakes.clipboard.text, "-");
    ASSERT_FALSE(t.fakes.messages.shown.empty());
    EXPECT_EQ(t.fakes.messages.shown.back().text, "- copied to the Clipboard");

    t.machine.TapeDoubleClicked(t.machine.GetTape().Count() - 1);
    EXPECT_EQ(t.State().PendingOperation, '-');
    EXPECT_EQ(t.machine.GetCalculator().OperatorCaption(), "-");
    EXPECT_EQ(t.Display(), "");
    EXPECT_EQ(t.State().EntryText, "");
}

TEST(Recall, DoubleClickPutsTheNumberInTheEntryBox) {
    const std::tuple<const char*, const char*, char> cases[] = {
        // keys, the line double-clicked is the last number line
        {"-12.5+", "12.50", '-'}, {"1234+", "1234.00", '+'}, {"-5N+", "5.00", '+'},
    };
    for (const auto& [keys, entry, op] : cases) {
        TestMachine t;
        t.Press(keys);
        t.machine.TapeDoubleClicked(t.machine.GetTape().Count() - 1);
        EXPECT_EQ(t.Display(), entry) << keys;
        EXPECT_EQ(t.State().PendingOperation, op) << keys;
        EXPECT_FALSE(t.State().JustPressedEquals);
        EXPECT_EQ(t.machine.GetTape().ListIndex(), t.machine.GetTape().Count() - 1);
    }
}

TEST(Recall, ABlankLineOnlyClearsTheFlags) {
    TestMachine t;
    t.Press("5+S7");
    t.machine.Event().active = t.machine.Event().paused = true;  // recall is not guarded
    t.machine.TapeDoubleClicked(2);
    EXPECT_EQ(t.Display(), "7");
    EXPECT_FALSE(t.State().JustPressedEquals);
    EXPECT_TRUE(t.fakes.messages.Errors().empty());
}

TEST(Recall, ARecalledLineAppliesWhatTheTapeShows) {
    TestMachine t;
    t.Press("1234.5+=");
    t.machine.TapeDoubleClicked(1);
    t.Press("=");
    EXPECT_DOUBLE_EQ(t.State().Subtotal, 2469);
}

}  // namespace
