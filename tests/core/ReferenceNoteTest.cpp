// Lines that are no amount: reference numbers ("4711 #") and notes. They print, but nothing that
// reads numbers back from the tape (totals, recall, memory, correction) ever takes them for one.

#include <gtest/gtest.h>

#include <functional>

#include "engine/NoteLines.h"
#include "engine/TapeFind.h"
#include "engine/TapeRecompute.h"
#include "guide/CodePageDecoder.h"
#include "fakes/TestMachine.h"

using namespace qb;
using namespace qb::test;

namespace {

using Lines = std::vector<std::string>;

// The lines after the start-up's "0 =".
Lines Printed(const TestMachine& t) {
    Lines lines = t.Trimmed();
    lines.erase(lines.begin());
    return lines;
}

// A total line with its count at the left, trimmed as Trimmed() gives it.
std::string Counted(const std::string& count, const std::string& total) {
    return count + std::string(Tape::kLineWidth - count.size() - total.size(), ' ') + total;
}

// A reference prints as keyed without touching the calculation. With Item Count on, a total shows
// how many numbers went into it (a reference is none), on a line of its own where the total
// leaves no room beside it.
TEST(Reference, PrintsWithoutTouchingTheCalculationOrTheCount) {
    const struct {
        const char* name;
        const char* keys;  // typed on the keyboard
        Lines lines;
        double subtotal;
        char pending;
        bool autoDecimal = false;
        bool itemCount = false;  // turned on; it starts off, as in every other test
    } cases[] = {
        {"keeps the pending multiply", "5*4711#3=", {"5.00 +", "4711 #", "3.00 *", "15.00 ="}, 15, 'x'},
        {"printed as keyed, not rounded", "12.345#", {"12.345 #"}, 0, '+'},
        {"nothing keyed prints nothing", "#", {}, 0, '+'},
        {"after a total", "2+3=77#", {"2.00 +", "3.00 +", "5.00 =", "77 #"}, 5, '+'},
        {"the entry goes, not the subtotal", "8-150#", {"8.00 +", "150 #"}, 8, '-'},
        {"Auto Decimal leaves it as keyed", "4711#", {"4711 #"}, 0, '+', true},
        {"counted: the count left of the total", "2+3+4=",
         {"2.00 +", "3.00 +", "4.00 +", Counted("3", "9.00 =")}, 9, '+', false, true},
        {"a reference is no item", "2+4711#3=", {"2.00 +", "4711 #", "3.00 +", Counted("2", "5.00 =")}, 5,
         '+', false, true},
        {"counted from the last total", "2+3=4=",
         {"2.00 +", "3.00 +", Counted("2", "5.00 ="), "4.00 +", Counted("1", "9.00 =")}, 9, '+', false, true},
        {"twelve items", "1+1+1+1+1+1+1+1+1+1+1+1+99999=",
         {"1.00 +", "1.00 +", "1.00 +", "1.00 +", "1.00 +", "1.00 +", "1.00 +", "1.00 +", "1.00 +", "1.00 +",
          "1.00 +", "1.00 +", "99,999.00 +", Counted("13", "100,011.00 =")},
         100011, '+', false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestMachine t;
        if (c.autoDecimal) t.machine.Run(Command::AutoDecimal);
        if (c.itemCount) t.machine.Run(Command::ItemCount);
        EXPECT_EQ(t.machine.IsChecked(Command::ItemCount), c.itemCount);
        t.Type(c.keys);
        EXPECT_EQ(Printed(t), c.lines);
        EXPECT_EQ(t.State().Subtotal, c.subtotal);
        EXPECT_EQ(t.State().PendingOperation, c.pending);
        EXPECT_EQ(t.State().EntryText, "");
        if (std::string(c.keys).back() == '#') { EXPECT_EQ(t.Display(), ""); }  // the Entry box shows it gone
        EXPECT_TRUE(t.fakes.messages.Errors().empty());
        for (const auto& line : t.TapeLines()) EXPECT_LE(line.size(), Tape::kLineWidth);
    }
    // A total of 17 characters leaves no room: the count goes on a line of its own before it.
    TestMachine t;
    t.machine.Run(Command::ItemCount);
    t.Press("999999999N+=");
    EXPECT_EQ(Printed(t), Lines({"-999,999,999.00 +", "1 n", "-999,999,999.00 ="}));
}

TEST(Reference, TooLongForTheLineIsRefused) {
    TestMachine t;
    t.fakes.clipboard.text = "-123456789012345";  // the widest entry: one character too many for the line
    t.machine.Run(Command::Paste);
    const std::string entry = t.State().EntryText;
    t.Type("#");
    EXPECT_EQ(Printed(t), Lines{});
    EXPECT_EQ(t.State().EntryText, entry);
    ASSERT_EQ(t.fakes.messages.Errors().size(), 1u);
    EXPECT_NE(t.fakes.messages.Errors()[0].find("too long"), std::string::npos);
}

// A note line as the tape holds it: its join (a blank on a note's first line) and the mark.
std::string N(std::string text, char join = kNoteBegins) {
    text.resize(16, ' ');
    return text + join + '"';
}

TEST(Note, WrapsAtWordsWithinSixteenColumns) {
    const struct {
        const char* note;
        Lines lines;
    } cases[] = {
        {"Office supplies for the March audit", {N("Office supplies"), N("for the March", kNoteGoesOn), N("audit", kNoteGoesOn)}},
        {"abcdefghijklmnop", {N("abcdefghijklmnop")}},
        {"abcdefghijklmnopqrstu v", {N("abcdefghijklmnop"), N("qrstu v", kNoteWordGoesOn)}},
        {"abcdefghijklmnop qrstu", {N("abcdefghijklmnop"), N("qrstu", kNoteGoesOn)}},
        {"  a   b  ", {N("a b")}},
        {"   ", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.note);
        const Lines lines = NoteLines(c.note);
        EXPECT_EQ(lines, c.lines);
        for (const auto& line : lines) {
            EXPECT_TRUE(IsNoteLine(line));
            // Whatever the text, no reader takes a note line for a number.
            EXPECT_EQ(ReadTapeLine(line, "", false).kind, TapeLineReading::Kind::Other);
        }
    }
}

TEST(Note, OnlyTheTapesCodePageIsTaken) {
    const struct {
        const char* typed;
        const char* text;     // in the code page, when taken
        const char* refused;  // the character named, when not
    } cases[] = {
        {"Caf\xC3\xA9 5 \xE2\x82\xAC", "Caf\xE9 5 \x80", ""},
        {"\xE2\x98\x83 snow", "", "\xE2\x98\x83"},
        {"a\tb", "a", "\t"},
        {"x\xC2\x81", "x", "\xC2\x81"},
        {"broken \xC3", "broken ", "\xEF\xBF\xBD"},
        {"stray \x80", "stray ", "\xEF\xBF\xBD"},
        {"\xF0\x9F\x98\x80", "", "\xF0\x9F\x98\x80"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        const Windows1252Text note = Utf8ToWindows1252(c.typed);
        EXPECT_EQ(note.refused, c.refused);
        if (note.refused.empty()) {
            EXPECT_EQ(note.text, c.text);
        }
    }
}

// Runs the Note command, the prompt answered with each text in turn (nullopt: Cancel).
void Note(TestMachine& t, std::vector<std::optional<std::string>> answers) {
    t.fakes.dialogs.notes.assign(answers.begin(), answers.end());
    t.machine.Run(Command::Note);
}

TEST(Note, PromptRefusesAndAsksAgainWithTheText) {
    const std::string longest(200, 'x');
    const std::string tooLong = std::string(100, 'a') + " " + std::string(100, 'b');
    const struct {
        const char* name;
        std::vector<std::optional<std::string>> answers;
        std::size_t lines;     // note lines printed
        std::size_t refusals;  // error boxes, each followed by the prompt again
        const char* message;   // a word the refusal holds
    } cases[] = {
        {"blanks alone", {"   "}, 0, 0, ""},
        {"200 characters", {longest}, 13, 0, ""},
        {"201 characters, then shortened", {tooLong, "short"}, 1, 1, "200"},
        {"a snowman", {"\xE2\x98\x83", "snow"}, 1, 1, "\xE2\x98\x83"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestMachine t;
        t.Type("12+");
        const std::int64_t before = t.machine.GetTape().Count();
        Note(t, c.answers);
        EXPECT_EQ(static_cast<std::size_t>(t.machine.GetTape().Count() - before), c.lines);
        const auto errors = t.fakes.messages.Errors();
        ASSERT_EQ(errors.size(), c.refusals);
        if (c.refusals) {
            EXPECT_NE(errors[0].find(c.message), std::string::npos) << errors[0];
        }
        // Asked again with what was typed, never with an empty box.
        const auto& prompts = t.fakes.dialogs.notePrompts;
        for (std::size_t i = 1; i < prompts.size(); ++i) EXPECT_EQ(prompts[i], *c.answers[i - 1]);
    }
}

// Neither kind is ever read as an amount (by a recall, the memory keys or a correction's replay).
TEST(Note, ReferencesAndNotesAreNeverAnAmountAndACorrectionReplaysThem) {
    const struct {
        const char* name;
        std::function<void(TestMachine&)> add;
        std::string line;
    } cases[] = {
        {"a reference", [](TestMachine& t) { t.Type("4711#"); }, Tape::LayOut("4711 #")},
        {"a note that looks like a number", [](TestMachine& t) { Note(t, {"*5.00 +"}); }, N("*5.00 +")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestMachine t;
        t.Type("10+");
        c.add(t);
        t.Type("5=");
        ASSERT_EQ(t.TapeLines()[2], c.line);
        EXPECT_EQ(ReadTapeLine(c.line, "", false).kind, TapeLineReading::Kind::Other);
        // Recall, the memory and Copy take nothing from it, and each beeps to say so.
        t.machine.TapeDoubleClicked(2);
        EXPECT_EQ(t.State().EntryText, "");
        t.Press("a");
        EXPECT_EQ(t.machine.Memory().Text(), TestMachine().machine.Memory().Text());
        t.fakes.dialogs.copyChoices = {'S'};
        t.machine.Run(Command::Copy);
        EXPECT_EQ(t.fakes.clipboard.text, std::nullopt);
        EXPECT_EQ(t.fakes.messages.beeps, 3);
        EXPECT_TRUE(t.fakes.messages.Errors().empty());
        // The 10 above it becomes 20: the line stays, the total follows.
        ASSERT_TRUE(t.machine.CorrectLine(1, "20", '+'));
        EXPECT_EQ(t.TapeLines()[2], c.line);
        EXPECT_EQ(t.Trimmed().back(), "25.00 =");
        t.machine.Run(Command::Undo);
        EXPECT_EQ(t.Trimmed().back(), "15.00 =");
    }
}

}  // namespace

namespace {

TEST(Find, NumbersByValueAndNotesByText) {
    const qb::TapeLines tape = {Tape::LayOut("0 ="), " ", Tape::LayOut("1,250.00 +"), Tape::LayOut("4711 #"),
                                N("Invoice 1250"), Tape::LayOut("12.50 *"), Tape::LayOut("15,625.00 ="),
                                N("Fuel for March"), Tape::LayOut("11,250.00 -"), N("B\xDCro M\xFCller"),
                                N("Paid in April"), N("and May", kNoteGoesOn), Tape::LayOut("15,625.00 g"),
                                N("Supercalifragili"), N("sticexpialidocio", kNoteWordGoesOn), N("us", kNoteWordGoesOn)};
    const struct {
        const char* typed;
        std::int64_t from;
        bool forward;
        std::int64_t line;
        bool wrapped;
        bool decimalComma = false;
    } cases[] = {
        {"1250", -1, true, 2, false},
        {"1,250.00", -1, true, 2, false},
        {"1250.0", 2, true, 2, true},  // no other 1250 as a number; the note holds "1250" only
        {"1250", 2, true, 4, false},   // the note's text
        {"1250", 3, false, 2, false},
        {"1250", 2, false, 4, true},
        {"4711", -1, true, 3, false},
        {"FUEL", -1, true, 7, false},
        {"march", -1, false, 7, false},
        {"12.5", -1, true, 5, false},
        {"012.50", -1, true, 5, false},  // a number in another form than the tape shows it
        {"-12.5", -1, true, -1, false},
        {".5", -1, true, -1, false},
        {"0", -1, true, 0, false},
        {"0", 0, true, 4, false},  // from the first line: on from the next, the note's text first
        {"0", 0, false, 4, true},
        {"15625", 6, true, 6, true},
        {"1.250,00", -1, true, 2, false, true},
        {"1,250.00", -1, true, 2, false, true},  // as the tape shows it
        {"1,250.00", 3, true, 2, true, true},    // not the 11,250.00 below
        {"1250.0", -1, true, 2, false, true},
        {"1.250", -1, true, 2, false, true},
        {"12.5", -1, true, 5, false, true},
        {"m\xDCller", -1, true, 9, false},
        {"nothing", -1, true, -1, false},
        // A note reads across its lines; the line where the text begins is found.
        {"APRIL  and", -1, true, 10, false},
        {"april and may", -1, false, 10, false},
        {"fragilistic", -1, true, 13, false},
        {"expialidocious", -1, true, 14, false},
        // A text finds notes only, not the marks of other lines.
        {"g", -1, true, 13, false},
        {"#", -1, true, -1, false},
        {"  ", -1, true, -1, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.typed) + " from " + std::to_string(c.from));
        const FindResult found = FindOnTape(tape, MakeFindQuery(c.typed, c.decimalComma), c.from, c.forward);
        EXPECT_EQ(found.line, c.line);
        if (c.line >= 0) {
            EXPECT_EQ(found.wrapped, c.wrapped);
        }
    }
}

TEST(Find, SelectsScrollsAndBeepsOnWrapping) {
    TestMachine t;
    for (int i = 0; i < 30; ++i) t.Type("3+");
    t.Type("1250+");
    t.fakes.dialogs.finds = {"1,250"};
    t.machine.TapeScrolled(0);
    t.machine.Run(Command::FindNext);  // with nothing to find yet, it asks
    EXPECT_EQ(t.fakes.dialogs.findPrompts.size(), 1u);
    const Tape& tape = t.machine.GetTape();
    EXPECT_EQ(tape.ListIndex(), 31);
    EXPECT_EQ(tape.TopIndex(), 31 - Tape::kVisibleLines + 1);  // scrolled just far enough
    EXPECT_EQ(t.fakes.messages.beeps, 0);
    // Find Next comes round to the same line: a beep, no message.
    t.machine.Run(Command::FindNext);
    EXPECT_EQ(tape.ListIndex(), 31);
    EXPECT_EQ(t.fakes.messages.beeps, 1);
    t.machine.TapeClicked(5);
    t.machine.Run(Command::FindNext);  // down from line 6: no wrapping, no beep
    EXPECT_EQ(tape.ListIndex(), 31);
    EXPECT_EQ(t.fakes.messages.beeps, 1);
    t.machine.TapeClicked(5);
    t.machine.Run(Command::FindPrevious);
    EXPECT_EQ(tape.ListIndex(), 31);
    EXPECT_EQ(t.fakes.messages.beeps, 2);
    // The prompt offers the last text; one that is nowhere says so and leaves the selection.
    t.fakes.dialogs.finds = {"999"};
    t.machine.Run(Command::Find);
    EXPECT_EQ(t.fakes.dialogs.findPrompts.back(), "1,250");
    EXPECT_EQ(tape.ListIndex(), 31);
    ASSERT_EQ(t.fakes.messages.Errors().size(), 1u);
    EXPECT_NE(t.fakes.messages.Errors()[0].find("999"), std::string::npos);
    // Find Previous reaches the first line without coming round.
    t.fakes.dialogs.finds = {"0"};
    t.machine.Run(Command::Find);
    t.machine.TapeClicked(2);
    const int beeps = t.fakes.messages.beeps;
    t.machine.Run(Command::FindPrevious);
    EXPECT_EQ(tape.ListIndex(), 0);
    EXPECT_EQ(tape.TopIndex(), 0);  // already in view: no scrolling
    EXPECT_EQ(t.fakes.messages.beeps, beeps);
    // With nothing selected, Find Previous starts from the end without coming round.
    t.fakes.dialogs.finds = {"1,250"};
    t.machine.Run(Command::Find);
    t.machine.GetTape().ClearSelection();
    t.machine.Run(Command::FindPrevious);
    EXPECT_EQ(tape.ListIndex(), 31);
    EXPECT_EQ(t.fakes.messages.beeps, beeps);
}

}  // namespace

namespace {

TEST(ItemCount, CountedTotalsReadAsTotals) {
    TestMachine t(std::map<std::string, std::string>{{"Item Count", "-1"}});
    t.Type("2+3=");
    const Lines tape = t.TapeLines();
    const std::string& total = tape.back();
    const TapeLineReading reading = ReadTapeLine(total, tape[tape.size() - 2], false);
    EXPECT_EQ(reading.kind, TapeLineReading::Kind::Total);
    EXPECT_EQ(reading.value, 5);
    // Recalling the total gives the total, not the count run into it.
    t.machine.TapeDoubleClicked(static_cast<std::int64_t>(tape.size()) - 1);
    EXPECT_EQ(t.State().EntryText, "5.00");
    // A correction replays the count with the option the keys ran under.
    t.machine.Run(Command::ItemCount);
    ASSERT_TRUE(t.machine.CorrectLine(1, "7", '+'));
    EXPECT_EQ(t.TapeLines()[3], Counted("2", "10.00 ="));
}

}  // namespace
