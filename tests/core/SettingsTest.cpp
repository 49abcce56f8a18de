#include <gtest/gtest.h>

#include <algorithm>

#include "fakes/TestMachine.h"
#include "settings/SettingsStore.h"
#include "window/KeyCodes.h"

using namespace qb;
using namespace qb::test;

namespace {

using Stored = std::map<std::string, std::string>;

const Stored kFirstRunKeys = {
    {"Auto Decimal", "False"},    {"Decimal Places", "2"},     {"Tape Caption", "True"},
    {"File Caption", "True"},     {"Show Copy", "True"},       {"Round Before Operation", "True"},
    {"Clear On Equal", "False"},  {"Comma Separator", "True"}, {"Tooltips", "True"},
    {"Machine Sounds", "True"},   {"Clear Entry Box", "True"},
};

TEST(Settings, FirstRunWritesEveryOptionKey) {
    TestMachine t;
    EXPECT_EQ(t.fakes.settings.values, kFirstRunKeys);
    ASSERT_EQ(t.startupMessages.size(), 1u);
    EXPECT_NE(t.startupMessages[0].text.find("this once only"), std::string::npos);
    TestMachine second(t.fakes.settings.values);
    EXPECT_TRUE(second.startupMessages.empty());
    EXPECT_EQ(second.fakes.settings.writes, 0);
}

// A store that cannot be written (a read-only file) is told once, at the first value it loses,
// once the window is up: on a first run, the defaults written at the start (not over the
// splash); later, the first option changed. A loss as the program ends holds nothing up.
TEST(Settings, AStoreThatCannotBeWrittenIsToldOnceWhenTheWindowIsUp) {
    for (const bool firstRun : {true, false}) {
        SCOPED_TRACE(firstRun ? "first run" : "later run");
        TestMachine t(firstRun ? Stored{} : kFirstRunKeys, false);
        t.fakes.settings.failSaves = true;
        auto told = [&] {
            const auto& shown = t.fakes.messages.shown;
            return std::count_if(shown.begin(), shown.end(), [](const MessageRequest& m) {
                return m.text.rfind("Your settings cannot be kept: \"/home/pat/.config/the Quillbox/the Quillbox.ini\" "
                                    "cannot be written", 0) == 0;
            });
        };
        t.machine.Load();
        EXPECT_EQ(told(), 0);
        t.machine.FirstActivation();
        EXPECT_EQ(told(), firstRun ? 1 : 0);
        if (firstRun) {
            EXPECT_EQ(t.fakes.messages.shown.back().text.rfind("Your settings", 0), 0u);  // after the welcome
        }
        t.machine.Run(Command::CommaSeparator);
        t.Press("5+");
        t.machine.Run(Command::MemoryAdd);
        EXPECT_EQ(told(), 1);
    }
    TestMachine ending(kFirstRunKeys);
    ending.fakes.settings.failSaves = true;
    ASSERT_TRUE(ending.machine.QueryClose());
    ending.machine.Unload(0, 0);
    EXPECT_TRUE(ending.fakes.messages.shown.empty());
}

// A value the store could not write holds for the rest of the run, read where it is used (the
// tax rates are read at each tax key), and is written with the next value the store takes; one
// written later replaces it.
TEST(Settings, AValueThatCannotBeWrittenHoldsForTheRun) {
    TestMachine t;
    t.fakes.settings.failSaves = true;
    t.fakes.dialogs.taxRates = {TaxRatesForm{"19", ""}};
    for (const char* amount : {"100", "200"}) {
        t.Press(amount);
        t.machine.Run(Command::TaxPlus);
    }
    EXPECT_EQ(t.fakes.dialogs.taxRatesShown.size(), 1u);
    EXPECT_EQ(t.Trimmed().back(), "238.00 G");
    t.machine.Run(Command::CommaSeparator);
    EXPECT_FALSE(t.fakes.settings.values.count("Tax Rate 1"));
    // The store takes values again: the first one written (a new rate) brings the others it
    // lost, not the rate it replaces.
    t.fakes.settings.failSaves = false;
    t.fakes.dialogs.taxRates = {TaxRatesForm{"7", ""}};
    t.machine.Run(Command::TaxRates);
    EXPECT_EQ(t.fakes.settings.values["Tax Rate 1"], "7");
    EXPECT_EQ(t.fakes.settings.values["Comma Separator"], "False");
    t.Press("100");
    t.machine.Run(Command::TaxPlus);
    EXPECT_EQ(t.Trimmed().back(), "107.00 G");
}

TEST(Settings, ASecondStartRestoresOptionsCaptionAndMemory) {
    TestMachine first;
    for (Command c : {Command::AutoDecimal, Command::RoundBeforeOperation, Command::ClearOnEqual,
                      Command::ClearEntryBox, Command::CommaSeparator, Command::PromptPrintCaption,
                      Command::PromptFileCaption, Command::DisplayValueCopied, Command::MachineSounds,
                      Command::ShowTooltips, Command::Places4})
        first.machine.Run(c);
    first.Press("1234567.+");
    first.machine.Run(Command::MemoryAdd);
    Stored stored = first.fakes.settings.values;
    stored["Last Caption"] = "Budget = 2026";

    TestMachine second(stored);
    const Options& o = second.machine.GetOptions();
    EXPECT_EQ((std::vector<bool>{o.AutoDecimal, o.ClearOnEqual, o.RoundBeforeOperation, o.ClearEntryBox,
                                 o.CommaSeparator, o.TapeCaption, o.FileCaption, o.ShowCopy, o.MachineSounds,
                                 o.Tooltips}),
              (std::vector<bool>{true, true, false, false, false, false, false, false, false, false}));
    EXPECT_EQ(second.Calc().DecimalPlaces(), 4);
    EXPECT_EQ(second.Calc().FormatString(), "###############.0000");
    EXPECT_EQ(second.machine.Document().Caption(), "Budget = 2026");
    EXPECT_EQ(second.machine.Memory().Text(), "        1234567.");
    EXPECT_DOUBLE_EQ(second.machine.Memory().Value(), 1234567);
    EXPECT_EQ(second.machine.GetDesk().ClearEntryBoxColour(), IndicatorColour::Red);
    EXPECT_EQ(second.machine.GetDesk().DecimalIndicatorColour(4), IndicatorColour::Red);
}

TEST(Settings, TruthValuesAndBadValues) {
    const std::pair<const char*, std::optional<bool>> cases[] = {
        {"True", true}, {"false", false}, {"TRUE", true}, {"-1", true}, {"0", false},
        {"2", true},    {" True ", true}, {"yes", {}},    {"", {}},     {"1x", {}}, {"FALSE", false}, {"9", true},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(SettingsStore::ParseTruth(text), expected) << text;
    const std::pair<const char*, std::optional<int>> places[] = {
        {"0", 0}, {"5", 5}, {"2.4", 2}, {"3", 3}, {"6", {}}, {"-1", {}}, {"F", {}}, {"", {}}, {"2a", {}}, {"2.5a", {}},
    };
    for (const auto& [text, expected] : places) EXPECT_EQ(SettingsStore::ParseDecimalPlaces(text), expected) << text;
}

TEST(Settings, UnreadableStoredValuesCountAsMissing) {
    Stored stored = kFirstRunKeys;
    stored["Clear Entry Box"] = "maybe";
    stored["Decimal Places"] = "9";
    stored["Comma Separator"] = "0";
    TestMachine t(stored);
    EXPECT_TRUE(t.machine.GetOptions().ClearEntryBox);
    EXPECT_EQ(t.fakes.settings.values["Clear Entry Box"], "True");
    EXPECT_EQ(t.Calc().DecimalPlaces(), 2);
    EXPECT_EQ(t.fakes.settings.values["Decimal Places"], "2");
    EXPECT_FALSE(t.machine.GetOptions().CommaSeparator);
    EXPECT_EQ(t.fakes.settings.values["Comma Separator"], "0");  // readable: left as it is
}

}  // namespace
