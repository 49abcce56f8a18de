#include <gtest/gtest.h>

#include "fakes/TestMachine.h"
#include "window/KeyCodes.h"

using namespace qb;
using namespace qb::test;

namespace {

const char* const kTooLarge = "Unable to do memory calculations because the value in memory is too large!";
const char* const kCapacity = "The value in memory has exceeded memory's capacity!";

// The Memory box's right-aligned field.
std::string Box(std::string text) {
    text.insert(0, 16 - text.size(), ' ');
    return text;
}

struct MemoryCase {
    const char* name;
    bool comma;
    const char* keys;  // in floating point; a s d m are M+ M- M/ M*
    std::string text;  // the Memory box afterwards
    double value;
    std::vector<std::string> errors;
};

const MemoryCase kMemory[] = {
    {"add then subtract leaves an empty box", true, "5+as", "", 0, {}},
    {"grouped with a point", true, "1234567+a", Box("1,234,567."), 1234567, {}},
    {"eleven nines fit", true, "99999999999+a", Box("99,999,999,999."), 99999999999, {}},
    {"twelve digits overflow", true, "99999999999+a10+m", "*99,999,999,990.", 999999999990, {kCapacity}},
    {"fourteen nines fit without separators", false, "99999999999999+a", Box("99999999999999."),
     99999999999999, {}},
    {"fifteen digits overflow without separators", false, "99999999999999+a10+m", "*99999999999990.",
     999999999999990, {kCapacity}},
    {"one divided by three overflows", true, "1+a3+d", "*333333333333333", 1.0 / 3, {kCapacity}},
    {"divide by zero keeps the value", true, "4+aSd", Box("4."), 4, {}},
    {"multiply", true, "4+am", Box("16."), 16, {}},
    {"decimals are kept, not rounded", true, "1.2345+a", Box("1.2345"), 1.2345, {}},
    {"a subtracted line counts negative", true, "-7+a", Box("-7."), -7, {}},
    {"a subtracted negative counts positive", true, "-5N+a", Box("5."), 5, {}},
    {"a tiny value stays visible", false, ".0000002+a", Box(".0000002"), 2e-7, {}},
};

TEST(Memory, CommandsAndTheMemoryBox) {
    for (const auto& c : kMemory) {
        TestMachine t;
        t.machine.Run(Command::FloatingPoint);
        if (!c.comma) t.machine.Run(Command::CommaSeparator);
        t.Press(c.keys);
        EXPECT_EQ(t.machine.Memory().Text(), c.text) << c.name;
        EXPECT_DOUBLE_EQ(t.machine.Memory().Value(), c.value) << c.name;
        EXPECT_EQ(t.fakes.messages.Errors(), c.errors) << c.name;
        EXPECT_EQ(t.fakes.settings.values["Memory"], c.text) << c.name;
    }
}

TEST(Memory, OverflowBlocksUntilCleared) {
    TestMachine t;
    t.machine.Run(Command::FloatingPoint);
    t.Press("99999999999+");
    t.machine.Key(vk::F5, 0, 0);
    t.Press("10+");
    t.machine.Key(vk::F8, 0, 0);
    ASSERT_TRUE(t.machine.Memory().Blocked());
    t.fakes.messages.Reset();
    t.machine.Key(vk::F5, 0, 0);
    t.machine.Key(vk::M, vk::CtrlState, 13);
    EXPECT_EQ(t.fakes.messages.Errors(),
              (std::vector<std::string>{kTooLarge, "The memory value is too large to recall!"}));
    EXPECT_EQ(t.Display(), "");
    t.machine.Key(vk::N, vk::CtrlState, 14);
    EXPECT_EQ(t.machine.Memory().Text(), "");
    t.Press("5+");
    t.machine.Key(vk::F5, 0, 0);
    EXPECT_EQ(t.machine.Memory().Text(), Box("5."));
}

// Recall enters the number without separators, its sign as the operation.
TEST(Memory, RecallEntersTheNumberAndItsSign) {
    const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
        {"1234567.+", "1234567.", "+", "1,234,567.00 ="}, {"-42+", "42.", "-", "-42.00 ="}};
    for (const auto& [keys, display, operation, total] : cases) {
        TestMachine t;
        t.Press(keys);
        t.machine.Run(Command::MemoryAdd);
        t.Press("S");
        t.machine.Run(Command::RecallMemory);
        EXPECT_EQ(t.Display(), display);
        EXPECT_EQ(t.machine.GetCalculator().OperatorCaption(), operation);
        EXPECT_FALSE(t.State().JustPressedEquals);
        t.Press("=");
        EXPECT_EQ(t.Trimmed().back(), total);
    }
}

TEST(Memory, StoredTextsRestoreTheirValues) {
    const std::tuple<const char*, double, bool> cases[] = {
        {"      1,234,567.", 1234567, false},
        {"1,234.50", 1234.5, false},
        {"        .0000002", 2e-7, false},
        {"*99,999,999,999.", 0, true},
    };
    for (const auto& [stored, value, blocked] : cases) {
        TestMachine t(std::map<std::string, std::string>{{"Memory", stored}});
        EXPECT_EQ(t.machine.Memory().Text(), stored);
        EXPECT_DOUBLE_EQ(t.machine.Memory().Value(), value) << stored;
        EXPECT_EQ(t.machine.Memory().Blocked(), blocked) << stored;
    }
}

// A memory command takes the selected line, which stays selected, or else the last. A blank line
// adds nothing and writes nothing; a number too wide for the tape is refused.
TEST(Memory, SelectedLineIsUsedWhenThereIsOne) {
    TestMachine t;
    t.Press("3+4+");
    t.machine.TapeClicked(1);
    t.machine.Run(Command::MemoryAdd);
    EXPECT_DOUBLE_EQ(t.machine.Memory().Value(), 3);
    EXPECT_EQ(t.machine.GetTape().ListIndex(), 1);
    t.machine.Key(53, 0, '5');  // a key ends the selection
    t.machine.Run(Command::MemoryAdd);
    EXPECT_DOUBLE_EQ(t.machine.Memory().Value(), 7);
    t.Press("S");
    t.machine.TapeClicked(t.machine.GetTape().Count() - 2);  // the blank separator line
    const int writes = t.fakes.settings.writes;
    t.machine.Run(Command::MemoryAdd);
    EXPECT_EQ(t.fakes.settings.writes, writes);
    t.Press("1234567890.12+");
    t.machine.Run(Command::MemoryAdd);
    EXPECT_EQ(t.fakes.messages.Errors(), std::vector<std::string>{"The value on the tape is too large to recall!"});
    EXPECT_DOUBLE_EQ(t.machine.Memory().Value(), 7);
}

}  // namespace
