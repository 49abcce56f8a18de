#include <gtest/gtest.h>

#include "engine/BusinessRules.h"
#include "engine/NoteLines.h"
#include "engine/NumberRules.h"
#include "engine/TapeRecompute.h"
#include "engine/TaxLines.h"
#include "export/TapeCsv.h"
#include "fakes/TestMachine.h"

using namespace qb;
using namespace qb::test;

namespace {

using Lines = std::vector<std::string>;

// Rounds to cents as the tape prints them.
Rounder Cents(Rounding mode) {
    return [mode](double v) { return ParseNumber(KeepNumeric(FormatNumber(v, CreateFormatString(false, 2), mode))); };
}

// The guide's examples (19 % out of 119, the net of .16 and its tax of .03) are keyed in
// GuideExamples.BusinessKeysPrintWhatTheGuideShows; here the roundings between them.
TEST(BusinessRules, TaxBothWaysAgainstWorkedExamples) {
    const struct {
        const char* why;
        bool remove;
        double amount, rate;
        Rounding mode;
        double net, tax, gross;
    } cases[] = {
        // 19 % of 10.01 is 1.9019: below a half, only Up gives the next cent.
        {"below half 5/4", false, 10.01, 19, Rounding::FiveFour, 10.01, 1.9, 11.91},
        {"below half up", false, 10.01, 19, Rounding::Up, 10.01, 1.91, 11.92},
        // A credit rounds as its amount does: -1.9095 goes away from zero with 5/4 and Up.
        {"credit 5/4", false, -10.05, 19, Rounding::FiveFour, -10.05, -1.91, -11.96},
        {"credit down", false, -10.05, 19, Rounding::Down, -10.05, -1.90, -11.95},
        // Tax- keeps the gross and the net decides: 10 / 1.07 is 9.3457..., cut to 9.34.
        {"out, cut", true, 10, 7, Rounding::Down, 9.34, 0.66, 10},
        {"no tax", false, 42, 0, Rounding::FiveFour, 42, 0, 42},
    };
    for (const auto& c : cases) {
        const auto s = c.remove ? RemoveTax(c.amount, c.rate, Cents(c.mode)) : AddTax(c.amount, c.rate, Cents(c.mode));
        ASSERT_TRUE(s) << c.why;
        EXPECT_NEAR(s->net, c.net, 1e-9) << c.why;
        EXPECT_NEAR(s->tax, c.tax, 1e-9) << c.why;
        EXPECT_NEAR(s->gross, c.gross, 1e-9) << c.why;
    }
    EXPECT_FALSE(AddTax(1e308, 100, [](double v) { return v; }));
}

TEST(BusinessRules, TaxRatesAsTyped) {
    const struct {
        const char* typed;
        bool comma;
        std::optional<double> rate;
        const char* error;  // a part of the refusal
    } cases[] = {
        {" 7.5 ", false, 7.5, ""},  {"16 %", false, 16, ""}, {"7,5", true, 7.5, ""},
        {"100", false, 100, ""},    {"0", false, 0, ""},     {"12.3456", false, 12.3456, ""},
        {"", false, std::nullopt, ""},
        {"7,5", false, std::nullopt, "point"},
        {"12.34567", false, std::nullopt, "at most 4 decimals"},
        {"100.0001", false, std::nullopt, "0 to 100"},
        {"-5", false, std::nullopt, "not a tax rate"},
        {"1.2.3", false, std::nullopt, "not a tax rate"},
    };
    for (const auto& c : cases) {
        const TaxRateReading r = ReadTaxRate(c.typed, c.comma);
        EXPECT_EQ(r.rate, c.rate) << c.typed;
        EXPECT_NE(r.error.find(c.error), std::string::npos) << c.typed << ": " << r.error;
        EXPECT_EQ(r.error.empty(), *c.error == 0) << c.typed;
    }
}

// Their examples (a mark-up of 25 % and of -10 %, cost and sell price to margin) are keyed in
// GuideExamples too.
TEST(BusinessRules, MarkUpAndCostSellMargin) {
    const Rounder cents = Cents(Rounding::FiveFour);
    const auto markUp = MarkUp(19.99, 33.3, cents);  // 6.65667 on the cost
    ASSERT_TRUE(markUp);
    EXPECT_NEAR(markUp->amount, 6.66, 1e-9);
    EXPECT_NEAR(markUp->total, 26.65, 1e-9);

    const std::optional<double> none;
    const struct {
        CostSellMargin given;
        char computed;
        double cost, sell, margin, profit;
    } solved[] = {
        {{120.0, 100.0, none}, kMarginMark, 120, 100, -20, -20},    // sold at a loss
        {{50.0, none, -25.0}, kSellMark, 50, 40, -25, -10},
    };
    for (const auto& s : solved) {
        const CsmResult r = SolveCostSellMargin(s.given, cents);
        EXPECT_EQ(r.computed, s.computed) << r.error;
        EXPECT_NEAR(r.cost, s.cost, 1e-9);
        EXPECT_NEAR(r.sell, s.sell, 1e-9);
        EXPECT_NEAR(r.margin, s.margin, 1e-9);
        EXPECT_NEAR(r.profit, s.profit, 1e-9);
    }
    // No division by zero: a margin of 100 % or more, or a sell price of 0, is refused.
    for (const CostSellMargin& refused : {CostSellMargin{80.0, none, 100.0}, CostSellMargin{80.0, none, 150.0},
                                          CostSellMargin{none, 50.0, 100.0}, CostSellMargin{80.0, 0.0, none},
                                          CostSellMargin{1e308, -1e308, none}}) {  // a loss past the largest number
        const CsmResult r = SolveCostSellMargin(refused, cents);
        EXPECT_EQ(r.computed, 0);
        EXPECT_FALSE(r.error.empty());
    }
}

// A machine with its tax rates stored.
TestMachine WithRates(const char* first, const char* second = "") {
    return TestMachine({{"Tax Rate 1", first}, {"Tax Rate 2", second}});
}

TEST(BusinessKeys, TaxKeysPrintTheirLinesAndNameTheRateOncePerSection) {
    TestMachine t = WithRates("19", "7");
    t.Press("100");
    t.machine.Run(Command::TaxPlus);
    EXPECT_EQ(t.State().SubtotalText, "119.00");
    t.Press("119");
    t.machine.Run(Command::TaxMinus);  // the same rate: not named again
    EXPECT_EQ(t.State().SubtotalText, "100.00");
    t.machine.Run(Command::TaxPlusSecond);  // the box empty: the last result, at the second rate
    t.Press("S10");
    t.machine.Run(Command::TaxPlusSecond);  // a new section names its rate again
    const Lines expected{"100.00 N", "19%        19.00 T", "119.00 G", "119.00 G", "19.00 T", "100.00 N",
                         "100.00 N", "7%          7.00 T", "107.00 G", "", "0 =", "10.00 N", "7%           .70 T", "10.70 G"};
    Lines lines = t.Trimmed();
    lines.erase(lines.begin(), lines.end() - static_cast<std::ptrdiff_t>(expected.size()));
    EXPECT_EQ(lines, expected);
    for (const std::string& line : t.TapeLines())
        if (line != " ") { EXPECT_EQ(line.size(), 18u) << line; }

    const TapeLines& tape = t.machine.GetTape().Lines();
    const auto at = [&](std::int64_t back) { return BusinessLineDescription(tape, static_cast<std::int64_t>(tape.size()) - back); };
    EXPECT_EQ(at(2), "Tax at 7 %");
    EXPECT_EQ(at(1), "Gross amount (with tax)");
    EXPECT_EQ(BusinessLineDescription(tape, static_cast<std::int64_t>(tape.size()) - 10), "Tax at 19 %");
    EXPECT_EQ(at(4), "");  // the clear line
}

TEST(BusinessKeys, WithoutARateTheDialogOpensFirst) {
    TestMachine t;
    t.Press("100");
    t.machine.Run(Command::TaxPlus);  // cancelled: nothing happens
    EXPECT_EQ(t.fakes.dialogs.taxRatesShown.size(), 1u);
    EXPECT_EQ(t.Trimmed().back(), "0 =");

    // A refusal says why and shows what was typed again; the locale's comma is a decimal sign.
    t.machine.SetLocaleDecimalSign(",");
    t.fakes.dialogs.taxRates = {TaxRatesForm{"19", "101"}, TaxRatesForm{"19", "7,5"}};
    t.machine.Run(Command::TaxMinusSecond);
    EXPECT_EQ(t.fakes.messages.Errors(), Lines{"A tax rate is from 0 to 100 %: \"101\" is more!"});
    EXPECT_EQ(t.fakes.dialogs.taxRatesShown.back().second, "101");
    EXPECT_EQ(t.fakes.settings.values["Tax Rate 2"], "7.5");
    EXPECT_EQ(t.Trimmed().back(), "93.02 N");  // the 100 still in the box, out at 7.5 %

    // The dialog shows the stored rates in the locale's form.
    t.machine.Run(Command::TaxRates);
    EXPECT_EQ(t.fakes.dialogs.taxRatesShown.back().first, "19");
    EXPECT_EQ(t.fakes.dialogs.taxRatesShown.back().second, "7,5");
}

TEST(BusinessKeys, ACorrectionAboveATaxLineTaxesAtItsOwnRate) {
    TestMachine t = WithRates("19");
    t.Press("60+40=");
    t.machine.Run(Command::TaxPlus);
    t.fakes.settings.values["Tax Rate 1"] = "7";  // a new rate since
    ASSERT_TRUE(t.machine.CorrectLine(t.machine.GetTape().Count() - 6, "160", '+'));
    Lines lines = t.Trimmed();
    EXPECT_EQ(Lines(lines.end() - 3, lines.end()), (Lines{"200.00 N", "19%        38.00 T", "238.00 G"}));
    EXPECT_EQ(t.State().SubtotalText, "238.00");

    t.machine.Run(Command::Undo);
    EXPECT_EQ(t.Trimmed().back(), "119.00 G");
    t.machine.Run(Command::Undo);
    EXPECT_EQ(t.Trimmed().back(), "100.00 =");
    t.machine.Run(Command::Redo);
    EXPECT_EQ(t.Trimmed().back(), "119.00 G");
}

// Keyed, or read back from a file without its keys, the lines of every business key give the
// same CSV rows: the subtotal after each line is the one the key left.
TEST(BusinessKeys, TheCsvAndTheFileReadTheLines) {
    using Keys = std::vector<std::pair<const char*, Command>>;  // keys, then a command (or None)
    const struct {
        const char* what;
        Keys keys;
    } cases[] = {
        {"Tax+ and Less %", {{"100", Command::TaxPlus}, {"5+10", Command::LessPercent}}},
        {"Tax- then Add %", {{"119", Command::TaxMinus}, {"+20", Command::AddPercent}, {"3+", Command::None}}},
        {"the second rate after a total", {{"50+50=", Command::TaxPlusSecond}, {"2+", Command::None}}},
        {"a mark-up", {{"7+80+25", Command::MarkUp}, {"1+", Command::None}}},
        {"cost, then sell", {{"80", Command::Cost}, {"100", Command::Sell}, {"1+", Command::None}}},
        {"cost, then margin", {{"80", Command::Cost}, {"20", Command::Margin}, {"1+", Command::None}}},
        {"sell, then margin", {{"100", Command::Sell}, {"20", Command::Margin}, {"1+", Command::None}}},
        {"margin, then cost", {{"20", Command::Margin}, {"80", Command::Cost}, {"1+", Command::None}}},
        {"a cost alone", {{"80", Command::Cost}, {"1+", Command::None}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TestMachine t = WithRates("19", "7");
        for (const auto& [pressed, command] : c.keys) {
            t.Press(pressed);
            if (command != Command::None) t.machine.Run(command);
        }
        t.fakes.dialogs.files = {"/t/a"};
        t.machine.Run(Command::ExportCsv);
        const std::string keyed = t.fakes.files.files["/t/a.csv"];
        const TapeLines lines = t.machine.GetTape().Lines();
        EXPECT_EQ(TapeCsv(lines, RecomputeSubtotals(lines)), keyed.substr(keyed.find("line")));
        if (c.what != cases[0].what) continue;
        EXPECT_NE(keyed.find("3,19%        19.00 T,19.00,T,119,adjusted\r\n"), std::string::npos) << keyed;
        EXPECT_NE(keyed.find("5,\"            5.00 +\",5.00,+,124,number\r\n"), std::string::npos) << keyed;
        EXPECT_NE(keyed.find("6,\"           12.40 L\",12.40,L,111.6,adjusted\r\n"), std::string::npos) << keyed;
        EXPECT_NE(keyed.find("7,\"          111.60 S\",111.60,S,111.6,adjusted\r\n"), std::string::npos) << keyed;
        EXPECT_EQ(ReadTapeLine(lines[2], lines[1], false).value, 19);
    }
}


TEST(BusinessKeys, ARateTooWideForItsTaxGoesOnALineOfItsOwn) {
    TestMachine t = WithRates("19", "12.3456");
    t.Press("100000000");
    t.machine.Run(Command::TaxPlus);  // 19,000,000.00 T leaves no room for "19%"
    t.Press("100");
    t.machine.Run(Command::TaxPlus);  // the same rate, named above
    t.Press("1000000");
    t.machine.Run(Command::TaxPlusSecond);  // another rate, too wide again
    const Lines expected{NoteLines("Tax 19%")[0],      Tape::LayOut("100,000,000.00 N"), Tape::LayOut("19,000,000.00 T"),
                         Tape::LayOut("119,000,000.00 G"), Tape::LayOut("100.00 N"),         Tape::LayOut("19.00 T"),
                         Tape::LayOut("119.00 G"),         NoteLines("Tax 12.3456%")[0], Tape::LayOut("1,000,000.00 N"),
                         Tape::LayOut("123,456.00 T"),     Tape::LayOut("1,123,456.00 G")};
    Lines lines = t.TapeLines();
    ASSERT_GE(lines.size(), expected.size());
    EXPECT_EQ(Lines(lines.end() - static_cast<std::ptrdiff_t>(expected.size()), lines.end()), expected);
    const TapeLines& tape = t.machine.GetTape().Lines();
    const auto n = static_cast<std::int64_t>(tape.size());
    EXPECT_EQ(BusinessLineDescription(tape, n - 9), "Tax at 19 %");
    EXPECT_EQ(BusinessLineDescription(tape, n - 6), "Tax at 19 %");
    EXPECT_EQ(BusinessLineDescription(tape, n - 2), "Tax at 12.3456 %");
    // A note that merely looks like a rate names none unless a tax follows its amount.
    EXPECT_FALSE(RateOfTaxLineAt(TapeLines(Lines{NoteLines("Tax 7%")[0], Tape::LayOut("19.00 T")}), 1).has_value());
    // No line there: no rate.
    EXPECT_FALSE(RateOfTaxLineAt(tape, -1).has_value());
    EXPECT_FALSE(RateOfTaxLineAt(tape, n).has_value());
    EXPECT_EQ(t.State().SubtotalText, "1,123,456.00");
    // The rate's line is the tax key's, not a note: Note on it writes a new one after the key's lines.
    t.machine.TapeClicked(n - 11);
    t.fakes.dialogs.notes.push_back("Rent");
    t.machine.Run(Command::Note);
    EXPECT_EQ(t.TapeLines()[static_cast<std::size_t>(n - 7)], NoteLines("Rent")[0]);
}

// A line a business key worked out is not corrected or deleted on its own: its key would give
// it again from the numbers above. With nothing to tax, a beep.
TEST(BusinessKeys, RefusalsSayWhy) {
    const std::pair<Command, const char*> commands[] = {{Command::CorrectLine, "corrected"}, {Command::DeleteLine, "deleted"}};
    for (const auto& [command, asked] : commands) {
        TestMachine t = WithRates("19");
        t.Press("100+10");
        t.machine.Run(Command::AddPercent);
        t.Press("100");
        t.machine.Run(Command::TaxPlus);
        const Lines before = t.TapeLines();
        t.machine.TapeClicked(t.machine.GetTape().Count() - 2);
        t.machine.Run(command);
        t.machine.TapeClicked(t.machine.GetTape().Count() - 5);
        t.machine.Run(command);
        const std::string error = std::string("A line that a percent, tax, mark-up or margin key worked out cannot be ") +
                                  asked + " on its own: undo back to the key, or correct the numbers above it!";
        EXPECT_EQ(t.fakes.messages.Errors(), Lines(2, error));
        EXPECT_EQ(t.TapeLines(), before);
    }
    TestMachine t = WithRates("19");
    t.Press("S");
    t.machine.Run(Command::TaxPlus);
    EXPECT_TRUE(t.fakes.messages.Errors().empty());
    EXPECT_EQ(t.fakes.messages.beeps, 1);
    EXPECT_EQ(t.Trimmed().back(), "0 =");
}

// A key whose result would take the place of an open sum refuses a keyed number and says what to
// do; a key that works on the subtotal refuses a subtotal of 0. Nothing is printed or lost.
TEST(BusinessKeys, KeysThatWouldLoseTheSumOrWorkOnNothingRefuse) {
    struct Case {
        const char* name;
        const char* keys;  // typed before the command
        Command command;
        const char* error;  // the message's start; empty where the key works
        const char* last;   // the tape's last line afterwards
        bool entryKept = false;  // Clear Entry Box off: the number used stays in the box
        const char* rate = "19";
        Command places = Command::Places2;
        const char* note = nullptr;  // a note printed before the last number is keyed
    };
    const Case cases[] = {
        {"tax on a number keyed into a sum", "100+50", Command::TaxPlus, "The gross of Tax+ would take the place of the open subtotal 100.00.", "100.00 +"},
        {"the same for Tax-", "100-50", Command::TaxMinus, "The net of Tax- would take the place of the open subtotal 100.00.", "100.00 +"},
        {"a reference line keeps the sum open", "100+4711#50", Command::TaxPlus, "The gross of Tax+", "4711 #"},
        {"a sell price into a sum", "100+80", Command::Cost, "Cost, sell price and margin work out a sell price that would take the place of the open subtotal 100.00.", "100.00 +"},
        {"the subtotal itself is taxed", "100+50+", Command::TaxPlus, "", "178.50 G"},
        {"a total closes the sum", "100+50=20", Command::TaxPlus, "", "23.80 G"},
        {"a sum of 0 loses nothing", "5-5-8", Command::TaxPlus, "", "9.52 G"},
        {"Add % on a subtotal of 0", "10", Command::AddPercent, "Add % puts a percentage on the subtotal, which is 0", "0 ="},
        {"Less % on a subtotal of 0", "10", Command::LessPercent, "Less % takes a percentage off the subtotal, which is 0", "0 ="},
        {"Mark-Up on a subtotal of 0", "25", Command::MarkUp, "Mark-Up takes the subtotal as the cost, and it is 0", "0 ="},
        {"a margin of 100 % keyed first", "100", Command::Margin, "A margin of 100 % or more has no sell price", "0 ="},
        {"a number used already is none", "200+", Command::TaxPlus, "", "238.00 G", true},
        {"nor when the sum goes on", "100+50+", Command::TaxPlus, "", "178.50 G", true},
        {"a number keyed anew is one", "100+50", Command::TaxPlus, "The gross of Tax+", "100.00 +", true},
        {"a sum that rounds to 0 is none", ".1+.2-.3-50", Command::TaxPlus, "", "59.50 G"},
        {"refused before the rates are asked", "100+50", Command::TaxPlus, "The gross of Tax+", "100.00 +", false, ""},
        {"floating point names the subtotal as it prints", "200+50", Command::TaxPlus,
         "The gross of Tax+ would take the place of the open subtotal 200. To tax", "200. +", false, "19", Command::FloatingPoint},
        {"a note keeps the sum open", "100+50", Command::TaxPlus, "The gross of Tax+", "Rent             \"", false, "19", Command::Places2, "Rent"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestMachine t = WithRates(c.rate);
        if (c.entryKept) t.machine.Run(Command::ClearEntryBox);
        t.machine.Run(c.places);
        std::string keys = c.keys;
        if (c.note) {
            t.Type(keys.substr(0, keys.size() - 2));
            t.fakes.dialogs.notes = {c.note};
            t.machine.Run(Command::Note);
            keys = keys.substr(keys.size() - 2);
        }
        t.Type(keys);
        const std::string entry = t.State().EntryText;
        const double subtotal = t.State().Subtotal;
        t.machine.Run(c.command);
        EXPECT_EQ(t.Trimmed().back(), c.last);
        if (*c.error == 0) {
            EXPECT_TRUE(t.fakes.messages.Errors().empty());
            // The number is used up, and = totals the new subtotal.
            EXPECT_EQ(t.Display(), "");
            t.Press("=");
            std::string total = c.last;
            total.back() = '=';
            EXPECT_EQ(t.Trimmed().back(), total);
            continue;
        }
        ASSERT_EQ(t.fakes.messages.Errors().size(), 1u);
        EXPECT_EQ(t.fakes.messages.Errors()[0].rfind(c.error, 0), 0u) << t.fakes.messages.Errors()[0];
        EXPECT_EQ(t.fakes.messages.beeps, 1);
        EXPECT_EQ(t.State().EntryText, entry);
        EXPECT_EQ(t.State().Subtotal, subtotal);
        EXPECT_TRUE(t.fakes.dialogs.taxRatesShown.empty());
    }
}

// A correction that makes a later key's number fall into an open sum is refused with the
// reason alone: what the key's message says to key cannot be done in a correction.
TEST(BusinessKeys, ACorrectionThatOpensTheSumBeforeATaxKeyIsRefused) {
    TestMachine t = WithRates("19");
    t.Type("100-100-50");
    t.machine.Run(Command::TaxPlus);
    ASSERT_EQ(t.Trimmed().back(), "59.50 G");
    const Lines before = t.TapeLines();
    EXPECT_FALSE(t.machine.CorrectLine(2, "80", '-'));
    EXPECT_EQ(t.TapeLines(), before);
    ASSERT_EQ(t.fakes.messages.Errors().size(), 1u);
    const std::string error = t.fakes.messages.Errors()[0];
    EXPECT_NE(error.find("(The gross of Tax+ would take the place of the open subtotal 20.00)"), std::string::npos) << error;
}

}  // namespace
