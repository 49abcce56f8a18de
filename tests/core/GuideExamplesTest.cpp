// The User Guide's worked examples of the accountant's commands, keyed as the topics tell them:
// every tape the topic shows is, line for line, the tape the keys print.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "guide/RtfReader.h"
#include "fakes/TestMachine.h"

using namespace qb;
using namespace qb::test;
namespace fs = std::filesystem;

namespace {

std::string TopicText(const std::string& topic) {
    const fs::path path = fs::path(QB_SOURCE_DIR) / "assets" / "guide" / ("UG " + topic + ".rtf");
    std::ifstream in(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const auto doc = ReadRtf(bytes);
    return doc ? doc->PlainText() : std::string();
}

// The tape's lines from the given one on, as a topic shows them: one paragraph each.
std::string Block(const TestMachine& t, std::int64_t from) {
    const auto lines = t.TapeLines();
    std::string block;
    for (auto i = static_cast<std::size_t>(from); i < lines.size(); ++i)
        block += lines[i] + "\n";
    return block;
}

// The text with its paragraphs run together, for words that wrap.
std::string Flat(std::string text) {
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

TEST(GuideExamples, EveryTapeShownIsTheTapeKeyed) {
    const auto rentForMarch = [](TestMachine& t) {
        t.Type("1250+");
        t.fakes.dialogs.notes.push_back("Rent for March");
        t.machine.Run(Command::Note);
        t.Type("75=");
        return std::vector{Block(t, 1)};
    };
    const struct {
        const char* topic;
        std::function<std::vector<std::string>(TestMachine&)> keys;  // keys it; gives the tapes shown
    } cases[] = {
        {"Notes", rentForMarch},
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
        {"Finding on the Tape", rentForMarch},
        {"Checking by Re-keying", [](TestMachine& t) { t.Type("12+1205+3="); return std::vector{Block(t, 0)}; }},
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

// Every example of the guide's topic, keyed on the program: the lines it shows are the lines the
// keys print, and the words around them say so.
TEST(GuideExamples, BusinessKeysPrintWhatTheGuideShows) {
    const std::string guide = Flat(TopicText("Business Keys"));
    ASSERT_FALSE(guide.empty());
    const struct {
        Rounding mode;
        std::vector<std::pair<const char*, Command>> keys;  // each keys, then its command
        std::vector<std::string> lines;                     // the last lines printed
        const char* says;                                   // "" for keys the guide does not show
        const char* subtotal = nullptr;
    } examples[] = {
        {Rounding::FiveFour, {{"100", Command::TaxPlus}}, {"100.00 N", "19%        19.00 T", "119.00 G"}, "Key 100 and press Ctrl+R"},
        {Rounding::FiveFour, {{"119", Command::TaxMinus}}, {"119.00 G", "19%        19.00 T", "100.00 N"}, "Key 119 and press Ctrl+U"},
        {Rounding::FiveFour, {{"50", Command::TaxPlusSecond}}, {"50.00 N", "7%          3.50 T", "53.50 G"}, "Key 50 and press Ctrl+Shift+R"},
        {Rounding::FiveFour, {{".16", Command::TaxMinus}}, {"19%          .03 T", ".13 N"}, "a net of .13 and a tax of .03"},
        {Rounding::FiveFour, {{".13", Command::TaxPlus}}, {"19%          .02 T", ".15 G"}, ".13 Tax+ gives a tax of .02"},
        {Rounding::FiveFour, {{"100+10", Command::AddPercent}}, {"100.00 +", "10.00 A", "110.00 S"}, "Key 100 + 10 and press Ctrl+A"},
        {Rounding::FiveFour, {{"100+10", Command::LessPercent}}, {"10.00 L", "90.00 S"}, "prints 10.00 L and 90.00 S"},
        {Rounding::FiveFour, {{"80+25", Command::MarkUp}}, {"80.00 +", "20.00 U", "100.00 P"}, "Key 80 + 25 and press Ctrl+J", "100.00"},
        {Rounding::FiveFour, {{"100+10N", Command::MarkUp}}, {"-10.00 U", "90.00 P"}, "print -10.00 U and 90.00 P", "90.00"},
        {Rounding::FiveFour, {{"80", Command::Cost}, {"25", Command::Margin}}, {"80.00 C", "25.00 M", "106.67 P", "26.67 R"},
         "Key 80, press Ctrl+Shift+C, key 25 and press Ctrl+Shift+M", "106.67"},
        {Rounding::FiveFour, {{"106.67", Command::Sell}, {"25", Command::Margin}}, {"106.67 P", "25.00 M", "80.00 C", "26.67 R"},
         "", "106.67"},
        {Rounding::FiveFour, {{"80", Command::Cost}, {"100", Command::Sell}}, {"80.00 C", "100.00 P", "20.00 M", "20.00 R"},
         "", "100.00"},
        // Once worked out, the next sell price and margin start afresh: the cost before is gone.
        {Rounding::FiveFour, {{"80", Command::Cost}, {"25", Command::Margin}, {"200", Command::Sell}, {"50", Command::Margin}},
         {"200.00 P", "50.00 M", "100.00 C", "100.00 R"}, "", "200.00"},
        {Rounding::FiveFour, {{"2.345+", Command::None}}, {"2.35 +"}, "2.345 + prints 2.35 +"},
        {Rounding::FiveFour, {{"2.344+", Command::None}}, {"2.34 +"}, "2.344 + prints 2.34 +"},
        {Rounding::FiveFour, {{"2.345N+", Command::None}}, {"-2.35 +"}, "2.345 +/- + prints -2.35 +"},
        {Rounding::Up, {{"2.341+", Command::None}}, {"2.35 +"}, "2.341 + prints 2.35 +"},
        {Rounding::Up, {{"2.341N+", Command::None}}, {"-2.35 +"}, "2.341 +/- + prints -2.35 +"},
        {Rounding::Down, {{"2.349+", Command::None}}, {"2.34 +"}, "2.349 + prints 2.34 +"},
        {Rounding::Down, {{"2.349N+", Command::None}}, {"-2.34 +"}, "2.349 +/- + prints -2.34 +"},
        {Rounding::FiveFour, {{".5", Command::TaxPlusSecond}}, {"7%           .04 T", ".54 G"}, "prints .04 T with Round 5/4 and Round Up"},
        {Rounding::Up, {{".5", Command::TaxPlusSecond}}, {"7%           .04 T", ".54 G"}, "prints .04 T with Round 5/4 and Round Up"},
        {Rounding::Down, {{".5", Command::TaxPlusSecond}}, {"7%           .03 T", ".53 G"}, ".03 T with Round Down"},
    };
    for (const auto& e : examples) {
        EXPECT_NE(guide.find(e.says), std::string::npos) << e.says;
        TestMachine t({{"Tax Rate 1", "19"}, {"Tax Rate 2", "7"}});
        t.machine.Run(static_cast<Command>(static_cast<int>(Command::RoundFiveFour) + static_cast<int>(e.mode)));
        for (const auto& [keys, command] : e.keys) {
            t.Press(keys);
            if (command != Command::None) t.machine.Run(command);
        }
        std::vector<std::string> lines = t.Trimmed();
        lines.erase(lines.begin(), lines.end() - static_cast<std::ptrdiff_t>(std::min(lines.size(), e.lines.size())));
        EXPECT_EQ(lines, e.lines) << e.says;
        if (e.subtotal) { EXPECT_EQ(t.State().SubtotalText, e.subtotal) << e.says; }
        EXPECT_TRUE(t.fakes.messages.Errors().empty()) << e.says;
        // The examples keyed in full show their lines as the tape does.
        if (std::string_view(e.says).rfind("Key ", 0) == 0) {
            for (const std::string& line : e.lines) EXPECT_NE(guide.find(line), std::string::npos) << line;
        }
    }
}

// What a topic must say, and what it must no longer say, about keys and windows the program has.
TEST(GuideExamples, TopicsSayWhatTheProgramDoes) {
    struct Case {
        const char* topic;
        std::vector<const char*> says, saysNot;
    };
    const Case cases[] = {
        {"Keyboard", {"Ctrl+E correct", "Ctrl+Z undo", "Ctrl+Y redo"}, {}},
        {"Correcting the Tape", {"as you keyed it, 1250,", "1250 for the line 12.50 +",
          "as the tape does, point included (12.50)", "750 corrects the line to 7.50"},
         {"the number, 1250.00"}},
        {"Exporting the Tape", {"CSV (comma, point)", "CSV for this locale"}, {}},
        // F4's new tape starts with its 0 = line, not empty.
        {"Getting Started", {"(New Tape) starts a new tape with a 0 = line"}, {}},
        {"Tape Files", {"(Tape, New Tape) clears the tape and starts a new one with a 0 = line"}, {}},
    };
    for (const Case& c : cases) {
        const std::string text = Flat(TopicText(c.topic));
        ASSERT_FALSE(text.empty()) << c.topic;
        for (const char* words : c.says) EXPECT_NE(text.find(words), std::string::npos) << c.topic << ": " << words;
        for (const char* words : c.saysNot) EXPECT_EQ(text.find(words), std::string::npos) << c.topic << ": " << words;
    }
}

}  // namespace
