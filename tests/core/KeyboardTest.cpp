#include <gtest/gtest.h>

#include "fakes/TestMachine.h"
#include "window/KeyCodes.h"
#include "window/MenuModel.h"

using namespace qb;
using namespace qb::test;

namespace {

struct KeyStroke {
    int code;
    int shift;
    char character;
};

struct KeyCase {
    const char* name;
    std::vector<KeyStroke> keys;
    const char* display;
    std::vector<std::string> tape;  // trimmed, after the start-up zero line
    bool decimalComma = false;      // the locale's decimal sign
};

constexpr int S = vk::ShiftState, C = vk::CtrlState;

const KeyCase kKeys[] = {
    {"main row digits and plus character", {{49, 0, '1'}, {50, 0, '2'}, {vk::OemPlus, 1, '+'}}, "", {"12.00 +"}},
    {"keypad digits", {{97, 0, '1'}, {105, 0, '9'}, {vk::Add, 0, '+'}}, "", {"19.00 +"}},
    {"shift 8 multiplies once", {{50, 0, '2'}, {vk::Key8, 1, '*'}, {51, 0, '3'}, {vk::Return, 0, '\r'}},
     "", {"2.00 +", "3.00 *", "6.00 ="}},
    {"x key multiplies once", {{50, 0, '2'}, {vk::X, 0, 'x'}, {51, 0, '3'}, {0, 0, '='}}, "",
     {"2.00 +", "3.00 *", "6.00 ="}},
    {"shift 5 is percent once", {{53, 0, '5'}, {48, 0, '0'}, {vk::Key5, 1, '%'}}, "", {"50.00 +"}},
    {"keypad minus runs once", {{53, 0, '5'}, {vk::Subtract, 0, '-'}, {50, 0, '2'}, {vk::Return, 0, '\r'}},
     "", {"5.00 +", "2.00 -", "3.00 ="}},
    {"keypad point once", {{49, 0, '1'}, {vk::DecimalKey, 0, '.'}, {53, 0, '5'}}, "1.5", {}},
    {"keypad slash divides whatever the layout types", {{56, 0, '8'}, {vk::Divide, 0, '-'}, {50, 0, '2'},
     {vk::Return, 0, '\r'}}, "", {"8.00 +", "2.00 /", "4.00 ="}},
    {"right arrow is the 00 key", {{55, 0, '7'}, {vk::Right, 0, 0}}, "700", {}},
    {"delete clears the entry", {{55, 0, '7'}, {vk::Delete, 0, 0}}, "", {}},
    {"backspace", {{49, 0, '1'}, {50, 0, '2'}, {vk::Back, 0, 8}}, "1", {}},
    {"ctrl with main row 3 does nothing", {{51, vk::CtrlState, 0}}, "", {}},
    {"escape does nothing while expanded", {{55, 0, '7'}, {vk::Escape, 0, 27}}, "7", {}},
    {"F3 clears the subtotal", {{55, 0, '7'}, {vk::Return, 0, '\r'}, {vk::F3, 0, 0}}, "",
     {"7.00 +", "7.00 =", "", "0 ="}},
    {"unknown keys do nothing", {{vk::Tab, 0, '\t'}, {65, 0, 'a'}, {vk::Insert, 0, 0}}, "", {}},
    // The menus' shortcuts turn their options, and no other.
    {"ctrl F floats the point", {{vk::F, C, 6}, {49, 0, '1'}, {vk::Add, 0, '+'}}, "", {"1. +"}},
    {"ctrl F1 gives one place", {{vk::F1, C, 0}, {49, 0, '1'}, {vk::Add, 0, '+'}}, "", {"1.0 +"}},
    {"ctrl F5 gives five places", {{vk::F5, C, 0}, {49, 0, '1'}, {vk::Add, 0, '+'}}, "", {"1.00000 +"}},
    {"ctrl D turns auto decimal on", {{vk::D, C, 4}, {49, 0, '1'}, {vk::Add, 0, '+'}}, "", {".01 +"}},
    {"ctrl L turns the comma separator off",
     {{vk::L, C, 12}, {49, 0, '1'}, {50, 0, '2'}, {51, 0, '3'}, {52, 0, '4'}, {vk::Add, 0, '+'}}, "",
     {"1234.00 +"}},
    {"F12 leaves the entry box filled", {{vk::F12, 0, 0}, {49, 0, '1'}, {vk::Add, 0, '+'}}, "1", {"1.00 +"}},
    // Keys of layouts other than US, as the shell hands them over: the key's place (its
    // virtual-key code), the shift state and the character the layout types.
    {"AZERTY shifted digits are digits", {{49, S, '1'}, {50, S, '2'}, {59, S, '.'},
     {53, S, '5'}, {187, S, '+'}, {55, S, '7'}, {59, S, '.'}, {53, S, '5'}, {187, 0, '='}},
     "", {"12.50 +", "7.50 +", "20.00 ="}},
    {"AZERTY Shift+8 is 8, Shift+5 is 5", {{56, S, '8'}, {53, S, '5'}}, "85", {}},
    {"AZERTY unshifted digit row keeps the digits", {{49, 0, '&'}, {50, 0, '\xE9'}, {56, 0, '_'}}, "128", {}},
    {"AZERTY minus on the 6 key subtracts only", {{52, S, '4'}, {54, 0, '-'}, {49, S, '1'}, {187, 0, '='}},
     "", {"4.00 +", "1.00 -", "3.00 ="}},
    {"AZERTY star key multiplies once", {{50, S, '2'}, {0, 0, '*'}, {51, S, '3'}, {vk::Return, 0, '\r'}},
     "", {"2.00 +", "3.00 *", "6.00 ="}},
    {"Czech plus on the 1 key adds", {{50, S, '2'}, {49, 0, '+'}}, "", {"2.00 +"}},
    {"German Shift+7 slash divides once", {{56, 0, '8'}, {55, S, '/'}, {50, 0, '2'}, {48, S, '='}},
     "", {"8.00 +", "2.00 /", "4.00 ="}},
    {"a shifted key that types nothing useful keeps its place", {{50, 0, '2'}, {56, S, '('}}, "", {"2.00 +"}},
    {"decimal comma on the main row", {{49, 0, '1'}, {188, 0, ','}, {50, 0, '2'}, {53, 0, '5'}}, "1.25", {}, true},
    {"comma ignored where the point is the separator", {{49, 0, '1'}, {188, 0, ','}, {50, 0, '2'}, {53, 0, '5'}},
     "125", {}},
    {"keypad comma runs once", {{97, 0, '1'}, {vk::DecimalKey, 0, ','}, {98, 0, '2'}}, "1.2", {}, true},
    {"point stays the point with a decimal comma", {{49, 0, '1'}, {190, 0, '.'}, {53, 0, '5'}}, "1.5", {}, true},
    {"a second comma beeps like a second point", {{49, 0, '1'}, {188, 0, ','}, {188, 0, ','}}, "1.", {}, true},
};

class Keys : public ::testing::TestWithParam<KeyCase> {};

TEST_P(Keys, ReachTheirCommands) {
    const KeyCase& c = GetParam();
    TestMachine t;
    if (c.decimalComma) t.machine.SetLocaleDecimalSign(",");
    for (const auto& k : c.keys) t.machine.Key(k.code, k.shift, k.character);
    EXPECT_EQ(t.Display(), c.display);
    std::vector<std::string> expected{"0 ="};
    expected.insert(expected.end(), c.tape.begin(), c.tape.end());
    EXPECT_EQ(t.Trimmed(), expected);
    EXPECT_TRUE(t.fakes.messages.Errors().empty());
}

INSTANTIATE_TEST_SUITE_P(Map, Keys, ::testing::ValuesIn(kKeys), [](const auto& info) {
    std::string name;
    for (char c : std::string(info.param.name)) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
});

// Ctrl+V reads a number as the user writes it: thousands, a currency, a tape's lines and the
// words around it go, and a decimal comma counts only where the locale has one. What holds no
// number, or one too long, is refused.
TEST(Paste, PutsThePastedNumberIntoTheEntryBox) {
    const std::tuple<bool, std::optional<std::string>, const char*> cases[] = {
        {false, "1,234.50", "1234.5"}, {false, "$-12.00", "-12"}, {false, " 5. +\r\n3. -\r\n", "5.3"},
        {false, "1E+20", "120"}, {false, "0.00000002", ".00000002"}, {false, "1.234,56", "1.23456"},
        {false, "100000000000000000000", "100000000000000000000"},
        {false, "0", ""}, {false, "word", ""}, {false, std::nullopt, ""}, {false, std::string(400, '9'), ""},
        {true, "1.234,56", "1234.56"}, {true, "-12,5 EUR", "-12.5"},
        {true, "1,234.56", "1234.56"},  // a point after the comma: written the English way
        {true, "1.5", "1.5"}, {true, ",5", ".5"}, {true, "0,99", ".99"},
        {true, "1,234,567", "1234567"},  // several commas and no point: thousands
        {true, "1.234.567,5", "1234567.5"},
        {true, "Rent, 1250", "1250"},    // a comma before a blank is no decimal point
        {true, "Rent,1250", "1250"},     // nor one after a word
        {true, "1,05", "1.05"},          // a 0 and a 9 after the comma are digits too
        {true, "1,234,5678", "1234.5678"},  // four digits after a comma: no thousands
        {true, "1.234.567", "1234567"},  // several points in groups of three: thousands
        {true, "1.23.4", "1.23"},        // not in groups of three: as it stands
        {true, "Total: 12,50.", "12.5"}, // a sentence's full stop is no decimal point
        {true, "12,5 and 3,75", "1253.75"},  // not in groups of three: the last comma is the point
    };
    for (const auto& [comma, clip, entry] : cases) {
        SCOPED_TRACE(clip.value_or("(none)") + (comma ? " with a decimal comma" : ""));
        TestMachine t;
        t.machine.SetLocaleDecimalSign(comma ? "," : ".");
        t.fakes.clipboard.text = clip;
        t.machine.Key(vk::V, vk::CtrlState, 22);
        EXPECT_EQ(t.Display(), entry);
        if (*entry) {
            EXPECT_TRUE(t.fakes.messages.Errors().empty());
            EXPECT_FALSE(t.State().JustPressedEquals);
        } else {
            EXPECT_EQ(t.fakes.messages.Errors(),
                      std::vector<std::string>{"There is no value on the Clipboard to paste!"});
        }
    }
}

// While a timed event is paused every command is refused and changes nothing, and the focus
// still returns; an event that is only active, or only paused, refuses nothing.
TEST(Frame, PausedTimedEventRefusesCommands) {
    for (Command c : {Command::Digit5, Command::Plus, Command::FloatingPoint, Command::ClearSubtotal,
                      Command::AutoDecimal, Command::MachineSounds, Command::Places3, Command::MemoryAdd,
                      Command::ClearMemory, Command::CorrectLine, Command::Undo}) {
        TestMachine t;
        t.Press("5+7");
        t.machine.TapeClicked(1);
        t.fakes.dialogs.corrections.push_back(CorrectLineForm{"9", '+'});
        t.machine.Event().active = t.machine.Event().paused = true;
        auto before = t.TapeLines();
        const int writes = t.fakes.settings.writes;
        t.machine.Run(c);
        EXPECT_EQ(t.fakes.settings.writes, writes);
        EXPECT_EQ(t.fakes.messages.Errors(), std::vector<std::string>{"Press F12 to turn the timer back on!"});
        EXPECT_EQ(t.Display(), "7");
        EXPECT_EQ(t.TapeLines(), before);
        EXPECT_EQ(t.Calc().DecimalPlaces(), 2);
        EXPECT_FALSE(t.machine.GetOptions().AutoDecimal);
        EXPECT_TRUE(t.machine.TakeFocusRequest());  // the focus still returns
    }
    // A key that runs nothing also gives the focus back.
    TestMachine t;
    t.machine.Event().active = t.machine.Event().paused = true;
    t.machine.TakeFocusRequest();
    t.machine.Key(vk::Tab, 0, '\t');
    EXPECT_TRUE(t.machine.TakeFocusRequest());
    // Only an event both active and paused refuses.
    for (auto [active, paused] : {std::pair{true, false}, std::pair{false, true}}) {
        TestMachine u;
        u.machine.Event().active = active;
        u.machine.Event().paused = paused;
        u.Press("5+");
        EXPECT_EQ(u.Trimmed().back(), "5.00 +");
    }
}

// Start-up clears silently, and the focus returns only once the window is up.
TEST(Frame, StartUpClearsSilentlyAndFocusReturnsOnlyAfterIt) {
    FakePorts fakes;
    Machine m(fakes.ports());
    m.Load();
    EXPECT_EQ(fakes.sound.requests, 0);
    EXPECT_EQ(m.GetTape().Lines(), std::vector<std::string>{"               0 ="});
    m.Run(Command::Digit1);
    m.SoundStatusUpdate();
    EXPECT_FALSE(m.TakeFocusRequest());
    m.FirstActivation();
    EXPECT_TRUE(m.TakeFocusRequest());
    m.Run(Command::Digit2);
    EXPECT_TRUE(m.TakeFocusRequest());
    EXPECT_FALSE(m.TakeFocusRequest());
    m.SoundStatusUpdate();  // the sound's timer takes the focus back too
    EXPECT_TRUE(m.TakeFocusRequest());
}

TEST(Frame, ClickingTheDisplayBoxesBeepsAndGivesTheFocusBack) {
    const std::pair<Control, int> cases[] = {
        {Control::Display, 1}, {Control::AltDisplay, 1}, {Control::Memory, 1}, {Control::Tape, 0}};
    for (const auto& [control, beeps] : cases) {
        TestMachine t;
        t.machine.TakeFocusRequest();
        t.machine.FocusEntered(control);
        EXPECT_EQ(t.fakes.messages.beeps, beeps);
        EXPECT_TRUE(t.machine.TakeFocusRequest());
    }
}

// The caption box keeps its cursor keys: none of them reaches the tape, the Entry box or the
// stopwatch while it has the focus; once it has lost it, each does its own work.
TEST(Frame, TheCaptionBoxKeepsItsCursorKeys) {
    struct Case {
        KeyStroke key;
        std::int64_t selected;  // outside the caption box: the tape's selection afterwards
        const char* display;
        bool stopwatch;
    };
    const Case cases[] = {
        {{vk::End, vk::CtrlState, 0}, 2, "7", false}, {{vk::Home, vk::CtrlState, 0}, 0, "7", false},
        {{vk::Left, 0, 0}, 1, "7", true},             {{vk::Right, 0, 0}, -1, "700", false},
    };
    for (const bool focused : {true, false}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::to_string(c.key.code) + (focused ? " in the caption box" : " after it"));
            TestMachine t;
            t.Press("5+6+7");
            t.machine.TapeClicked(1);
            t.machine.FocusEntered(Control::Caption);
            if (!focused) t.machine.FocusLeft(Control::Caption);
            t.machine.Key(c.key.code, c.key.shift, c.key.character);
            EXPECT_EQ(t.machine.GetTape().ListIndex(), focused ? 1 : c.selected);
            EXPECT_EQ(t.Display(), focused ? "7" : c.display);
            EXPECT_EQ(t.machine.GetTimers().GetStopwatch().TimerOn(), !focused && c.stopwatch);
        }
    }
}

TEST(Menus, ShortcutsAreUniqueAndNamed) {
    std::vector<std::pair<int, int>> seen;
    for (const auto& menu : MainMenus())
        for (const auto& item : menu.items) {
            if (item.IsSeparator() || item.shortcut.key == 0) continue;
            std::pair key{item.shortcut.key, item.shortcut.shift};
            EXPECT_EQ(std::count(seen.begin(), seen.end(), key), 0) << item.name;
            seen.push_back(key);
        }
    EXPECT_EQ(ShortcutText({vk::F1, vk::ShiftState}), "Shift+F1");
}

}  // namespace
