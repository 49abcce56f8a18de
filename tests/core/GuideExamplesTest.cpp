// The User Guide's worked examples of the accountant's commands, keyed as the topics tell them:
// every tape the topic shows is, line for line, the tape the keys print.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "guide/RtfReader.h"
#include "window/KeyCodes.h"
#include "fakes/TestMachine.h"

using namespace qb;
using namespace qb::test;
namespace fs = std::filesystem;

namespace {

std::string TopicText(const std::string& topic) {
    const fs::path path = fs::path(__FILE__).parent_path().parent_path().parent_path() / "assets" / "guide" /
                          ("UG " + topic + ".rtf");
    std::ifstream in(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const auto doc = ReadRtf(bytes);
    return doc ? doc->PlainText() : std::string();
}

// The tape's lines from..to-1, as a topic shows them: one paragraph each.
std::string Block(const TestMachine& t, std::int64_t from, std::int64_t to = -1) {
    const auto lines = t.TapeLines();
    std::string block;
    for (auto i = static_cast<std::size_t>(from); i < (to < 0 ? lines.size() : static_cast<std::size_t>(to)); ++i)
        block += lines[i] + "\n";
    return block;
}

void Note(TestMachine& t, const std::string& text) {
    t.fakes.dialogs.notes.push_back(text);
    t.machine.Run(Command::Note);
}

TEST(GuideExamples, EveryTapeShownIsTheTapeKeyed) {
    const struct {
        const char* topic;
        std::function<std::vector<std::string>(TestMachine&)> keys;  // keys it; gives the tapes shown
    } cases[] = {
        {"Notes",
         [](TestMachine& t) {
             t.Type("1250+");
             Note(t, "Rent for March");
             t.Type("75=");
             std::vector<std::string> shown = {Block(t, 1)};
             t.machine.Key(vk::Up, 0, 0);
             t.machine.Key(vk::Up, 0, 0);
             Note(t, "Rent for April");
             EXPECT_EQ(t.fakes.dialogs.notePrompts.back(), "Rent for March");
             EXPECT_EQ(t.Trimmed()[2].substr(0, 14), "Rent for April");
             return shown;
         }},
        {"Reference Numbers", [](TestMachine& t) { t.Type("1250+4711#75="); return std::vector{Block(t, 1)}; }},
        {"Item Count",
         [](TestMachine& t) {
             t.machine.Run(Command::ItemCount);
             t.Type("1250+75+5=");
             return std::vector{Block(t, 1)};
         }},
        {"Grand Total",
         [](TestMachine& t) {
             t.machine.Run(Command::GrandTotalOption);
             t.Type("1250+75=");
             std::vector<std::string> shown = {Block(t, 1)};
             t.Press("S");
             const std::int64_t cleared = t.machine.GetTape().Count();
             t.Type("100+5=");
             t.machine.Run(Command::GrandTotal);
             shown.push_back(Block(t, cleared));
             t.machine.Run(Command::GrandTotal);
             EXPECT_EQ(t.State().GrandTotal, 0);
             return shown;
         }},
        {"Deleting and Inserting Lines",
         [](TestMachine& t) {
             t.Type("1250+75+5=");
             std::vector<std::string> shown = {Block(t, 1)};
             t.machine.TapeClicked(2);
             t.machine.Run(Command::DeleteLine);
             shown.push_back(Block(t, 1));
             t.machine.TapeClicked(1);
             t.fakes.dialogs.corrections.push_back(CorrectLineForm{"20", '-'});
             t.machine.Run(Command::InsertLine);
             shown.push_back(Block(t, 1));
             return shown;
         }},
        {"Finding on the Tape",
         [](TestMachine& t) {
             t.Type("1250+");
             Note(t, "Rent for March");
             t.Type("75=");
             t.fakes.dialogs.finds = {"1250", "rent"};
             t.machine.Run(Command::Find);
             EXPECT_EQ(t.machine.GetTape().ListIndex(), 1);
             t.machine.Run(Command::Find);
             EXPECT_EQ(t.machine.GetTape().ListIndex(), 2);
             t.machine.Run(Command::FindNext);
             EXPECT_EQ(t.machine.GetTape().ListIndex(), 2);
             return std::vector{Block(t, 1)};
         }},
        {"Checking by Re-keying",
         [](TestMachine& t) {
             t.Type("12+1205+3=");
             std::vector<std::string> shown = {Block(t, 0)};
             t.fakes.messages.answers = {MessageAnswer::No, MessageAnswer::Yes};
             t.machine.Run(Command::RekeyCheck);
             t.Type("12+1250+");
             EXPECT_EQ(t.machine.LineDifference(2), "Differs: the first keying has 1,205.00 +");
             t.Type("3=");
             EXPECT_EQ(t.fakes.messages.shown.back().text.substr(0, 33), "3 lines agree, 2 differ: lines 3,");
             EXPECT_EQ(t.machine.GetTape().ListIndex(), 2);
             return shown;
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.topic);
        const std::string text = TopicText(c.topic);
        ASSERT_FALSE(text.empty());
        TestMachine t;
        for (const std::string& block : c.keys(t)) EXPECT_NE(text.find(block), std::string::npos) << block;
        EXPECT_TRUE(t.fakes.messages.Errors().empty());
    }
}

}  // namespace
