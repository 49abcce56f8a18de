// Check by re-keying: a second keying compared line by line with the first, which stays as it was.

#include <gtest/gtest.h>

#include "fakes/TestMachine.h"

using namespace qb;
using namespace qb::test;

namespace {

TEST(RekeyCheck, ComparesEachLineAndSumsUpAtTheEnd) {
    const struct {
        const char* name;
        const char* second;      // keyed after the check began
        bool endByCommand;       // else it ends at the first keying's end
        const char* title;       // the title's end before it ended
        const char* summary;     // the last message
        std::int64_t selected;   // after Yes to the first difference
    } cases[] = {
        {"one differs", "12+4=", false, " - Check: 2 agree, 2 differ",
         "2 lines agree, 2 differ: lines 3, 4\r\n\r\nGo to the first difference?", 2},
        {"all agree", "12+3=", false, "", "4 lines agree, none differs", -1},
        {"ended early", "12+", true, " - Check: 2 agree, 0 differ", "2 lines agree, none differs", -1},
        {"a line differs, ended early", "12+4+", true, " - Check: 2 agree, 1 differs",
         "2 lines agree, 1 differs: line 3\r\n\r\nGo to the first difference?", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestMachine t;
        t.machine.Run(Command::GrandTotalOption);
        t.Type("12+3=");
        const std::vector<std::string> first = t.TapeLines();
        t.fakes.messages.answers = {MessageAnswer::No, MessageAnswer::Yes};  // not saved; go there
        t.machine.Run(Command::RekeyCheck);
        ASSERT_TRUE(t.machine.Rekey().Active());
        EXPECT_EQ(t.TapeLines().size(), 1u);
        t.Type(c.second);
        if (c.endByCommand) {
            EXPECT_EQ(t.machine.Title().substr(t.machine.Title().size() - std::string(c.title).size()), c.title);
            t.machine.Run(Command::RekeyCheck);
        }
        EXPECT_FALSE(t.machine.Rekey().Active());
        EXPECT_EQ(t.fakes.messages.shown.back().text, c.summary);
        EXPECT_EQ(t.machine.GetTape().ListIndex(), c.selected);
        EXPECT_EQ(t.machine.Title().find("Check"), std::string::npos);
        EXPECT_EQ(t.machine.LineDifference(2), "");
        EXPECT_EQ(t.fakes.messages.shown.size(), 2u);  // "Save the tape?" and the summary
        // The second keying's totals are not counted again in the grand total, nor when a
        // correction after the check works them out again; later totals are.
        EXPECT_EQ(t.State().GrandTotal, 15);
        ASSERT_TRUE(t.machine.CorrectLine(1, "12", '+'));
        EXPECT_EQ(t.State().GrandTotal, 15);
        t.Type("1=");
        EXPECT_EQ(t.State().GrandTotal, 15 + t.State().Subtotal);
    }
}

TEST(RekeyCheck, ADifferingLineSaysWhatTheFirstKeyingHas) {
    TestMachine t;
    t.Type("12+1205+3=");
    t.fakes.messages.answers = {MessageAnswer::No};
    t.machine.Run(Command::RekeyCheck);
    t.Type("12+1250+");
    EXPECT_EQ(t.machine.LineDifference(1), "");
    EXPECT_EQ(t.machine.LineDifference(2), "Differs: the first keying has 1,205.00 +");
    // Corrected, it agrees again.
    t.machine.TapeClicked(2);
    t.fakes.dialogs.corrections.push_back(CorrectLineForm{"1205", '+'});
    t.machine.Run(Command::CorrectLine);
    EXPECT_EQ(t.machine.LineDifference(2), "");
    EXPECT_EQ(t.machine.Rekey().Agreeing(), 3);
}

TEST(RekeyCheck, AnEmptyTapeHasNothingToCheckAndACancelKeepsTheTape) {
    TestMachine t;
    t.machine.Run(Command::RekeyCheck);
    EXPECT_FALSE(t.machine.Rekey().Active());
    ASSERT_EQ(t.fakes.messages.Errors().size(), 1u);
    t.Type("12+");
    t.fakes.messages.answers = {MessageAnswer::Cancel};
    t.machine.Run(Command::RekeyCheck);
    EXPECT_FALSE(t.machine.Rekey().Active());
    EXPECT_EQ(t.Trimmed().back(), "12.00 +");
}

}  // namespace
