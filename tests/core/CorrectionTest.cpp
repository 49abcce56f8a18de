// Check and correct, undo and redo: a corrected line gives what keying it right in the first
// place would have given, and undo walks back to the start and redo forward to the end.

#include <gtest/gtest.h>

#include <iostream>
#include <random>

#include "engine/NumberRules.h"
#include "engine/TapeRecompute.h"
#include "fakes/TestMachine.h"

using namespace qb;
using namespace qb::test;

namespace {

using Lines = std::vector<std::string>;

// Everything a correction may change, as one comparable value.
struct Seen {
    Lines tape;
    CalculatorState state;
    std::string display, memory, indicator;
    bool operator==(const Seen&) const = default;
};

Seen Look(const TestMachine& t) {
    return {t.TapeLines(), t.State(), t.Display(), t.machine.Memory().Text(), t.machine.GetCalculator().OperatorCaption()};
}

std::ostream& operator<<(std::ostream& out, const Seen& seen) {
    for (const auto& line : seen.tape) out << '[' << line << "]\n";
    return out << "subtotal " << seen.state.Subtotal << " op " << seen.state.PendingOperation << " entry ["
               << seen.state.EntryText << "] display [" << seen.display << "] memory [" << seen.memory << "]";
}

// One action of a random session.
struct Action {
    enum Kind { Keys, Paste, RecallLine, Toggle, Places } kind = Keys;
    std::string keys;  // Keys: TestMachine's key language; Paste: the clipboard's text
    Command command = Command::None;
    int value = 0;
    bool entry = false;  // this action keys the number the next action prints
};

void Perform(TestMachine& t, const Action& a) {
    switch (a.kind) {
    case Action::Keys: t.Press(a.keys); break;
    case Action::Paste:
        t.fakes.clipboard.text = a.keys;
        t.machine.Run(Command::Paste);
        break;
    case Action::RecallLine: t.machine.TapeDoubleClicked(a.value); break;
    case Action::Toggle:
        t.fakes.settings.values["Tax Rate 1"] = "19";
        t.fakes.settings.values["Tax Rate 2"] = "7";
        t.machine.Run(a.command);
        break;
    case Action::Places: t.machine.Run(PlacesCommand(a.value)); break;
    }
}

const std::vector<Command> kBusinessKeys = {Command::AddPercent, Command::LessPercent,   Command::TaxPlus,
                                           Command::TaxMinus,   Command::TaxPlusSecond, Command::TaxMinusSecond,
                                           Command::MarkUp,     Command::Cost,          Command::Sell,
                                           Command::Margin};

// Keys the actions; returns, for each entry that printed a line, the entry's action and that line.
std::vector<std::pair<std::size_t, std::int64_t>> KeyAll(TestMachine& t, const std::vector<Action>& actions) {
    std::vector<std::pair<std::size_t, std::int64_t>> printed;
    for (std::size_t i = 0; i < actions.size(); ++i) {
        const std::int64_t before = t.machine.GetTape().Count();
        Perform(t, actions[i]);
        if (i > 0 && actions[i - 1].entry && t.machine.GetTape().Count() > before &&
            t.machine.LineCorrectable(before))
            printed.emplace_back(i - 1, before);
    }
    return printed;
}

class Session {
public:
    explicit Session(unsigned seed) : random_(seed) {}

    std::string Number() {
        std::string digits = std::to_string(Pick(1, 99999));
        // A point first would leave a digit to start the box anew while it still shows an operand.
        if (Pick(0, 2) == 0) {
            const std::size_t at = static_cast<std::size_t>(Pick(1, static_cast<int>(digits.size())));
            digits = digits.substr(0, at) + '.' + digits.substr(at);
        }
        if (Pick(0, 6) == 0) digits += "N";
        return digits;
    }

    std::vector<Action> Generate() {
        std::vector<Action> actions;
        const int blocks = Pick(3, 14);
        for (int b = 0; b < blocks; ++b) {
            // Something between the numbers: options, memory, clears, repeats.
            for (int n = Pick(0, 2); n > 0; --n) actions.push_back(Between());
            Action entry;
            switch (Pick(0, 9)) {
            case 0: entry = {Action::Keys, "r"}; break;
            case 1: entry = {Action::Paste, std::to_string(Pick(1, 500)) + ".25"}; break;
            case 2: entry = {Action::RecallLine, "", Command::None, Pick(0, 30)}; break;
            case 3: entry = {Action::Keys, Number() + (Pick(0, 1) ? "I" : "R")}; break;
            default: entry = {Action::Keys, Number()}; break;
            }
            entry.entry = true;
            actions.push_back(entry);
            actions.push_back({Action::Keys, std::string(1, "+-*/%=++=="[Pick(0, 9)])});
        }
        return actions;
    }

    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    template <typename T>
    const T& OneOf(const std::vector<T>& items) {
        return items[static_cast<std::size_t>(Pick(0, static_cast<int>(items.size()) - 1))];
    }

private:
    Action Between() {
        switch (Pick(0, 16)) {
        case 15: return {Action::Toggle, "", Command::GrandTotalOption};
        case 16: return {Action::Toggle, "", Command::GrandTotal};
        case 13: return {Action::Toggle, "", static_cast<Command>(static_cast<int>(Command::RoundFiveFour) + Pick(0, 2))};
        case 14: return {Action::Toggle, "", OneOf(kBusinessKeys)};
        case 0: return {Action::Toggle, "", Command::ClearEntryBox};
        case 1: return {Action::Toggle, "", Command::ClearOnEqual};
        case 2: return {Action::Toggle, "", Command::RoundBeforeOperation};
        case 3: return {Action::Toggle, "", Command::CommaSeparator};
        case 4: return {Action::Toggle, "", Command::AutoDecimal};
        case 5: return {Action::Places, "", Command::None, Pick(0, 5)};
        case 6: return {Action::Keys, std::string(1, "asdmc"[Pick(0, 4)])};
        case 7: return {Action::Keys, "S"};
        case 8: return {Action::Keys, "C"};
        case 9: return {Action::Keys, "r"};
        default: return {Action::Keys, std::string(1, "+-*/%="[Pick(0, 5)])};
        }
    }

    std::mt19937 random_;
};

// Random sessions: a line corrected equals a fresh run with that number (and operation) keyed
// instead; undo goes back to the start and redo forward to the end.
TEST(CorrectLine, EqualsAFreshRunOfTheSameKeysWithTheNumberChanged) {
    int corrected = 0, refused = 0;
    for (unsigned seed = 1; seed <= 3000; ++seed) {
        Session session(seed);
        std::vector<Action> actions = session.Generate();
        TestMachine original;
        const Seen start = Look(original);
        const auto printed = KeyAll(original, actions);
        if (printed.empty()) continue;
        const Seen end = Look(original);
        const auto [entryAt, line] = session.OneOf(printed);
        SCOPED_TRACE("seed " + std::to_string(seed) + ", line " + std::to_string(line));

        // What the dialog offers, taken as it stands, changes nothing (or is refused as zero).
        original.machine.TapeClicked(line);
        original.fakes.dialogs.corrections.push_back(std::nullopt);
        original.machine.Run(Command::CorrectLine);
        ASSERT_EQ(original.fakes.dialogs.correctionsShown.size(), 1u);
        const CorrectLineForm offered = original.fakes.dialogs.correctionsShown[0];
        original.machine.CorrectLine(line, offered.number, offered.operation);
        EXPECT_EQ(Look(original), end) << "offered " << offered.number << ' ' << offered.operation;

        // The fresh run: the number keyed instead, after its operation.
        const std::string number = session.Number();
        const char symbol = "+-*/%"[session.Pick(0, 4)];
        const char operation = symbol == '*' ? 'x' : symbol;
        std::vector<Action> fresh = actions;
        fresh[entryAt] = {Action::Keys, std::string("C") + symbol + number};
        TestMachine again;
        KeyAll(again, fresh);

        const std::string typed = Typed(number);
        const std::size_t errors = original.fakes.messages.Errors().size();
        const bool made = original.machine.CorrectLine(line, typed, operation);
        SCOPED_TRACE("to " + typed + " " + symbol);
        if (made) {
            ++corrected;
            EXPECT_EQ(Look(original), Look(again));
            EXPECT_EQ(original.fakes.messages.Errors().size(), errors);
        } else {
            ++refused;
            EXPECT_EQ(Look(original), end);
            ASSERT_EQ(original.fakes.messages.Errors().size(), errors + 1);
            EXPECT_EQ(original.fakes.messages.Errors().back().rfind("The correction was not made: line ", 0), 0u);
            // Keyed that way, some operation fails.
            EXPECT_FALSE(again.fakes.messages.Errors().empty()) << original.fakes.messages.Errors().back() << "\n" << Look(original) << "\n" << Look(again);
            if (HasFailure()) for (auto& a : fresh) std::cerr << a.kind << " [" << a.keys << "] " << int(a.command) << " " << a.value << "\n";
        }
        const Seen after = Look(original);
        while (original.machine.CanUndo()) original.machine.Run(Command::Undo);
        EXPECT_EQ(Look(original), start);
        while (original.machine.CanRedo()) original.machine.Run(Command::Redo);
        EXPECT_EQ(Look(original), after);
        if (HasFailure()) break;
    }
    EXPECT_GT(corrected, 1000);
    EXPECT_GT(refused, 0);
}

// A number's keys go in at once when a replay meets them: what follows a corrected or deleted
// first line equals the same keys struck one by one, whatever the Entry box makes of them.
TEST(CorrectLine, TheKeysAfterItGiveWhatTheyGaveKeyedOneByOne) {
    const struct {
        const char* name;
        std::vector<Command> options;
        const char* keys;  // the key language; '|' turns Auto Decimal, 'G' is Grand Total
    } cases[] = {
        {"leading zeros and the 00 key", {}, "0D7+5D+0.5+"},
        {"a second point beeps", {}, "1.2.5+"},
        {"a point after an operand", {Command::ClearEntryBox}, "12+.5+3="},
        {"a fifteenth digit is refused", {}, "123456789012345+"},
        {"a sign change and a backspace mid-number", {}, "12N3+129B5+"},
        {"a clear entry mid-number", {}, "34C6+"},
        {"the memory recalled, then digits", {}, "40+ar5+"},
        {"auto decimal turned on mid-number", {}, "12|5+3|4="},
        {"a number across a snapshot", {}, "1+1+1+1+1+1+1+1+1+1+1+1+1+1+1234567+="},
        {"digits between two grand totals: the second prints again", {Command::GrandTotalOption}, "12+=G3G"},
    };
    const auto key = [](TestMachine& t, const std::vector<Command>& options, const std::string& keys) {
        for (Command option : options) t.machine.Run(option);
        for (char c : keys) {
            if (c == '|' || c == 'G') t.machine.Run(c == '|' ? Command::AutoDecimal : Command::GrandTotal);
            else t.Press(std::string(1, c));
        }
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestMachine corrected, deleted, keyedSeven, keyedNone;
        for (auto [t, first] :
             {std::pair{&corrected, "5+"}, {&deleted, "5+"}, {&keyedSeven, "7+"}, {&keyedNone, "+"}})
            key(*t, c.options, first + std::string(c.keys));
        ASSERT_TRUE(corrected.machine.CorrectLine(1, "7", '+'));
        EXPECT_EQ(Look(corrected), Look(keyedSeven));
        // A line further down corrected next goes on from what the first correction left.
        const std::int64_t below = corrected.machine.GetTape().Count() - 2;
        for (TestMachine* t : {&corrected, &keyedSeven}) t->machine.CorrectLine(below, "2", '+');
        EXPECT_EQ(Look(corrected), Look(keyedSeven));
        deleted.machine.TapeClicked(1);
        deleted.machine.Run(Command::DeleteLine);
        EXPECT_EQ(Look(deleted), Look(keyedNone));
    }
}

}  // namespace

namespace {

// Selects the line and answers the Correct Line dialog with number and operation (or Cancel).
void CorrectThroughDialog(TestMachine& t, std::int64_t line, std::optional<CorrectLineForm> answer) {
    t.machine.TapeClicked(line);
    t.fakes.dialogs.corrections.push_back(std::move(answer));
    t.machine.Run(Command::CorrectLine);
}

TEST(CorrectLine, TheDialogShowsTheLineAndOkCorrectsItAndMarksIt) {
    TestMachine t;
    t.Press("1250+7.5-5=");
    CorrectThroughDialog(t, 1, CorrectLineForm{"125", '+'});
    EXPECT_EQ(t.Trimmed(), (Lines{"0 =", "125.00 +", "7.50 +", "5.00 -", "127.50 ="}));
    ASSERT_NE(t.machine.GetTape().CorrectedFrom(1), nullptr);
    EXPECT_EQ(*t.machine.GetTape().CorrectedFrom(1), "        1,250.00 +");
    EXPECT_EQ(t.machine.GetTape().CorrectedFrom(4), nullptr);

    // A second correction of the same line keeps what it first showed.
    CorrectThroughDialog(t, 1, CorrectLineForm{"12", '-'});
    EXPECT_EQ(t.Trimmed(), (Lines{"0 =", "12.00 -", "7.50 +", "5.00 -", "-9.50 ="}));
    ASSERT_NE(t.machine.GetTape().CorrectedFrom(1), nullptr);
    EXPECT_EQ(*t.machine.GetTape().CorrectedFrom(1), "        1,250.00 +");
    t.machine.Run(Command::Undo);
    t.machine.Run(Command::Undo);
    EXPECT_EQ(t.Trimmed(), (Lines{"0 =", "1,250.00 +", "7.50 +", "5.00 -", "1,252.50 ="}));
    EXPECT_EQ(t.machine.GetTape().CorrectedFrom(1), nullptr);
}

// The dialog's label says how the number typed is read: as the Entry box read it when a keyed
// line was printed, or, for a file's line, as it reads it now.
TEST(CorrectLine, TheLabelSaysHowTheNumberIsRead) {
    struct Case {
        const char* name;
        std::vector<Command> before, after;  // options set before the keys, and after them
        const char* offered;
        const char* label;
        bool fromFile = false;
        bool decimalComma = false;  // the locale's decimal sign: the dialog takes a comma for the point
    };
    const Case cases[] = {
        {"plain", {}, {}, "1250", "&Number:"},
        {"as it was when keyed", {Command::AutoDecimal}, {Command::AutoDecimal}, "1250",
         "&Number (Auto Decimal, 2 places: 750 is 7.50):"},
        {"a file's line: the options in force now", {}, {Command::AutoDecimal, PlacesCommand(1)}, "1212.50",
         "&Number (Auto Decimal, 1 place: 750 is 75.0):", true},
        {"a decimal comma", {}, {}, "1250", "&Number:", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestMachine t;
        if (c.decimalComma) t.machine.SetLocaleDecimalSign(",");
        for (Command command : c.before) t.machine.Run(command);
        if (c.fromFile) t.machine.GetTape().Replace(TapeLines({Tape::LayOut("0 ="), Tape::LayOut("1,212.50 -")}));
        else t.Press("1250+");
        for (Command command : c.after) t.machine.Run(command);
        CorrectThroughDialog(t, 1, std::nullopt);
        ASSERT_EQ(t.fakes.dialogs.correctionsShown.size(), 1u);
        EXPECT_EQ(t.fakes.dialogs.correctionsShown[0].number, c.offered);
        EXPECT_EQ(t.fakes.dialogs.correctionsShown[0].label, c.label);
        t.fakes.dialogs.corrections.push_back(std::nullopt);
        t.machine.Run(Command::InsertLine);
        ASSERT_EQ(t.fakes.dialogs.correctionsShown.size(), 2u);
        for (const CorrectLineForm& form : t.fakes.dialogs.correctionsShown) EXPECT_EQ(form.decimalComma, c.decimalComma);
    }
}

// A number typed for a correction with Auto Decimal on reads as the Entry box reads it.
TEST(CorrectLine, AutoDecimalReadsATypedNumberAsTheEntryBoxDoes) {
    const std::tuple<const char*, bool, int, const char*> cases[] = {
        {"1250", true, 2, "12.50"}, {"5", true, 2, ".05"},   {"-5", true, 2, "-.05"}, {"750", true, 3, ".750"},
        {"12.5", true, 2, "12.5"},  {"1250", false, 2, "1250"}, {"1250", true, 0, "1250"},
    };
    for (const auto& [typed, autoDecimal, places, read] : cases)
        EXPECT_EQ(WithAutoDecimal(typed, autoDecimal, places), read) << typed << " at " << places;
}

// Lines that show no entered number beep and open no dialog; a number the Entry box would not
// take is refused with the reason. Either way nothing changes.
TEST(CorrectLine, OtherLinesBeepAndANumberTheEntryBoxWouldNotTakeIsRefused) {
    const std::string notANumber = "Type a number for the corrected line!";
    const std::string zero = "A corrected line needs a number other than 0!";
    const std::string tooLong = "The number is too long: the Entry box takes at most 14 characters!";
    const struct {
        const char* keys;
        std::int64_t line;
        const char* number;
        std::string message;        // "" for a beep
        bool clearEntryBox = true;  // the option: off, a second key repeats the operand
    } cases[] = {
        {"12+3=", 0, "9", ""},         // the zero line of the start
        {"12+3=", 3, "9", ""},         // a total
        {"12+3=S", 4, "9", ""},        // the blank line of a clear
        {"5++", 2, "9", "", false},    // the operand a second key repeats
        {"2*3==", 5, "9", "", false},  // the operand a second total repeats
        {"12+3=", 9, "9", ""},         // no line at all
        {"12+3=", 1, "", notANumber},
        {"12+3=", 1, "-", notANumber},
        {"12+3=", 1, "1..2", notANumber},
        {"12+3=", 1, "12a456789012345", notANumber},
        {"12+3=", 1, "0.00", zero},
        {"12+3=", 1, "-0", zero},
        {"12+3=", 1, "123456789012345", tooLong},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.keys) + " line " + std::to_string(c.line) + " to [" + c.number + "]");
        TestMachine t;
        if (!c.clearEntryBox) t.machine.Run(Command::ClearEntryBox);
        t.Press(c.keys);
        const Seen before = Look(t);
        t.fakes.messages.Reset();
        EXPECT_FALSE(t.machine.CorrectLine(c.line, c.number, '+'));
        EXPECT_EQ(Look(t), before);
        EXPECT_EQ(t.fakes.messages.Errors(),
                  c.message.empty() ? std::vector<std::string>{} : std::vector{c.message});
        if (!c.message.empty()) continue;
        CorrectThroughDialog(t, c.line, CorrectLineForm{c.number, '+'});
        EXPECT_EQ(t.fakes.messages.beeps, 2);
        EXPECT_TRUE(t.fakes.dialogs.correctionsShown.empty());
        EXPECT_EQ(Look(t), before);
    }
    // A file's line may show more digits than the box takes: its own number goes with a new operation.
    TestMachine f;
    f.machine.Run(Command::CommaSeparator);
    f.machine.GetTape().Replace(TapeLines({Tape::LayOut("0 ="), Tape::LayOut("999999999999.50 +")}));
    EXPECT_FALSE(f.machine.CorrectLine(1, "999999999999.55", '-'));
    EXPECT_EQ(f.fakes.messages.Errors(), std::vector<std::string>{tooLong});
    EXPECT_TRUE(f.machine.CorrectLine(1, "999999999999.50", '-'));
    EXPECT_EQ(f.Trimmed().back(), "999999999999.50 -");
}

// A later operation that the correction would make fail: refused, nothing changes, and the
// message names the line.
// The same for a line read from a file, whose keys after it are replayed: they stay.
TEST(CorrectLine, ACorrectionThatMakesALaterOperationFailIsRefused) {
    for (const bool fromFile : {false, true}) {
        SCOPED_TRACE(fromFile ? "a file's line" : "a keyed line");
        TestMachine t;
        if (fromFile) {
            t.machine.GetTape().Replace(TapeLines({Tape::LayOut("0 ="), Tape::LayOut("1.00 +")}));
            t.machine.GetCalculator().State().Subtotal = 1;
        }
        t.Press(fromFile ? "*" : "1*");
        for (int i = 0; i < 22; ++i) t.Press("99999999999999*");
        const Seen before = Look(t);
        t.fakes.messages.Reset();
        EXPECT_FALSE(t.machine.CorrectLine(1, "2", '+'));
        EXPECT_EQ(Look(t), before);
        EXPECT_EQ(t.fakes.messages.Errors(),
                  std::vector<std::string>{
                      "The correction was not made: line 24 would fail (The result is too large for the calculator)!"});
        EXPECT_FALSE(t.machine.CanRedo());
        // A line put among them is refused the same way.
        t.machine.TapeClicked(0);
        t.fakes.dialogs.corrections.push_back(CorrectLineForm{"2", '+'});
        t.machine.Run(Command::InsertLine);
        EXPECT_EQ(Look(t), before);
        EXPECT_EQ(t.fakes.messages.Errors().back(), "The tape was not changed: line 25 would fail (The result is too large for the calculator)!");
        EXPECT_TRUE(t.machine.CorrectLine(3, "2", '*'));  // the keys are still there
        if (fromFile) continue;
        // As struck: the correction replays them as it does on a tape never refused.
        TestMachine fresh;
        fresh.Press("1*");
        for (int i = 0; i < 22; ++i) fresh.Press("99999999999999*");
        EXPECT_TRUE(fresh.machine.CorrectLine(3, "2", '*'));
        EXPECT_EQ(Look(t), Look(fresh));
    }
    // A file that begins with the number: its first line is refused the same way.
    TestMachine f;
    f.machine.GetTape().Replace(TapeLines({Tape::LayOut("1.00 +")}));
    f.machine.GetCalculator().State().Subtotal = 1;
    f.Press("*");
    for (int i = 0; i < 22; ++i) f.Press("99999999999999*");
    EXPECT_FALSE(f.machine.CorrectLine(0, "2", '+'));
    EXPECT_EQ(f.fakes.messages.Errors(),
              std::vector<std::string>{"The correction was not made: line 23 would fail (The result is too large for the calculator)!"});
    // Its only line deleted, a percent key after it has no subtotal to work on.
    TestMachine p;
    p.machine.GetTape().Replace(TapeLines({Tape::LayOut("50.00 +")}));
    p.machine.GetCalculator().State().Subtotal = 50;
    p.Press("10");
    p.machine.Run(Command::AddPercent);
    const Seen keyed = Look(p);
    p.machine.TapeClicked(0);
    p.machine.Run(Command::DeleteLine);
    EXPECT_EQ(Look(p), keyed);
    EXPECT_EQ(p.fakes.messages.Errors(),
              std::vector<std::string>{"The tape was not changed: line 1 would fail (Add % puts a percentage on the subtotal, "
                                       "which is 0: key the amount and + first)!"});
    // Rounded to nothing before a division, a corrected divisor is refused the same way.
    TestMachine d;
    d.Press("8/2=");
    EXPECT_FALSE(d.machine.CorrectLine(2, "0.001", '/'));
    EXPECT_EQ(d.Trimmed(), (Lines{"0 =", "8.00 +", "2.00 /", "4.00 ="}));
}

TEST(CorrectLine, TimerLinesStayInTheirPlaces) {
    TestMachine t;
    t.Press("10+");
    t.machine.GetTape().AppendRaw("Time: 00:01:05");
    t.Press("5+=");
    EXPECT_TRUE(t.machine.CorrectLine(1, "20", '+'));
    EXPECT_EQ(t.Trimmed(), (Lines{"0 =", "20.00 +", "Time: 00:01:05", "5.00 +", "25.00 ="}));
    EXPECT_FALSE(t.machine.LineCorrectable(2));
    t.machine.Run(Command::Undo);
    EXPECT_EQ(t.Trimmed(), (Lines{"0 =", "10.00 +", "Time: 00:01:05", "5.00 +", "15.00 ="}));
    // Undo takes back what changed the tape last, the timer's line too.
    for (int i = 0; i < 3; ++i) t.machine.Run(Command::Undo);
    EXPECT_EQ(t.Trimmed(), (Lines{"0 =", "10.00 +", "Time: 00:01:05"}));
    t.machine.Run(Command::Undo);
    EXPECT_EQ(t.Trimmed(), (Lines{"0 =", "10.00 +"}));
}

// Each key is one step, and a new key ends redo. Undoing a memory key brings the memory back and
// keeps it for the next start; the tape counts as changed even when only the memory did.
TEST(Undo, EachKeyIsOneStepAndANewKeyEndsRedo) {
    TestMachine t;
    EXPECT_FALSE(t.machine.MenuItemEnabled(Command::Undo));
    t.Press("12+");
    EXPECT_TRUE(t.machine.MenuItemEnabled(Command::Undo));
    EXPECT_FALSE(t.machine.MenuItemEnabled(Command::Redo));
    t.machine.Run(Command::Undo);
    EXPECT_EQ(t.Trimmed(), (Lines{"0 ="}));
    EXPECT_EQ(t.Display(), "12");
    t.machine.Run(Command::Undo);
    EXPECT_EQ(t.State().EntryText, "1");
    EXPECT_TRUE(t.machine.MenuItemEnabled(Command::Redo));
    t.Press("5");
    EXPECT_EQ(t.State().EntryText, "15");
    EXPECT_FALSE(t.machine.MenuItemEnabled(Command::Redo));
    // Ctrl+Z and Ctrl+Y reach them from the keyboard.
    t.machine.Key('Z', 2, 26);
    EXPECT_EQ(t.State().EntryText, "1");
    t.machine.Key('Y', 2, 25);
    EXPECT_EQ(t.State().EntryText, "15");
    t.Press("+a");
    EXPECT_EQ(t.machine.Memory().Value(), 15);
    t.machine.GetTape().SetDirty(false);  // as after a save
    t.machine.Run(Command::Undo);
    EXPECT_EQ(t.machine.Memory().Value(), 0);
    EXPECT_EQ(t.fakes.settings.values["Memory"], t.machine.Memory().Text());
    EXPECT_TRUE(t.machine.GetTape().Dirty());
}

TEST(Undo, KeepsAThousandLevelsAndANewTapeEmptiesThem) {
    TestMachine t;
    for (int i = 0; i < 600; ++i) t.Press("1+");
    int levels = 0;
    for (; t.machine.CanUndo(); ++levels) t.machine.Run(Command::Undo);
    EXPECT_EQ(levels, 1200);
    EXPECT_EQ(t.Trimmed(), (Lines{"0 ="}));
    t.Press("12+3=");
    t.machine.GetTape().SetDirty(false);
    t.machine.Run(Command::NewTape);
    // The new tape's own keys undo, and nothing from before it.
    t.Press("5+");
    for (levels = 0; t.machine.CanUndo() && levels < 10; ++levels) t.machine.Run(Command::Undo);
    EXPECT_EQ(levels, 2);
    EXPECT_EQ(t.Trimmed(), (Lines{"0 ="}));
}

// After a correction, an insertion or a deletion the tape counts as changed, the memory the
// keys after it now give is kept for the next start, the places and the scroll position stay,
// and a correction keeps the line selected; a recall of a line below an edit still recalls it.
TEST(CorrectLine, TheTapeCountsAsChangedAndTheMemoryAndSelectionAreKept) {
    const char* file = "QBX=\r\nACC=30\r\nOPR=+\r\nNEW=\r\nJPE=0\r\nSPC=0\r\n               0 =\r\n"
                       "           10.00 +\r\n           20.00 +\r\n";
    const struct {
        const char* name;
        bool fromFile;
        std::int64_t line;   // corrected, deleted, or the one a line goes after
        const char* number;  // corrected to, or inserted; none for a deletion
        bool corrects;       // a correction keeps the line selected
        Lines tape;
        std::int64_t recalled = 2;  // the file's line recalled after it was read: 20
    } cases[] = {
        {"a keyed line", false, 1, "40", true, {"0 =", "40.00 +", "20.00 +", "60.00 =", "20.00 +"}},
        {"a file's line", true, 1, "40", true,
         {"0 =", "40.00 +", "20.00 +", "20.00 +", "80.00 =", "20.00 +"}},
        {"a keyed line deleted", false, 1, nullptr, false, {"0 =", "20.00 +", "20.00 =", "20.00 +"}},
        {"a line put among the keyed ones", false, 0, "5", false,
         {"0 =", "5.00 +", "10.00 +", "20.00 +", "35.00 =", "20.00 +"}},
        {"a line put among the file's", true, 0, "5", false,
         {"0 =", "5.00 +", "10.00 +", "20.00 +", "20.00 +", "55.00 =", "20.00 +"}},
        {"a file's line deleted", true, 1, nullptr, false,
         {"0 =", "20.00 +", "20.00 +", "40.00 =", "20.00 +"}},
        {"a file's line deleted below the recalled one", true, 2, nullptr, false,
         {"0 =", "10.00 +", "10.00 +", "20.00 =", "10.00 +"}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestMachine t;
        if (c.fromFile) {
            t.Open("/t/a.QBX", file);
            t.machine.TapeDoubleClicked(c.recalled);
            t.Press("+=a");
        } else {
            t.Press("10+20+=a");
        }
        const std::int64_t last = t.machine.GetTape().Count() - 1;
        t.machine.TapeDoubleClicked(last - 1);  // the number above the total, recalled
        t.Press("+");
        t.machine.GetTape().SetDirty(false);
        t.machine.TapeClicked(last);
        t.machine.GetTape().SetTopIndex(1);
        t.machine.Run(PlacesCommand(3));  // the replay keys in the places of the keys
        ASSERT_TRUE(t.EditLine(c.line, c.number, '+', c.corrects));
        EXPECT_EQ(t.Trimmed(), c.tape);
        EXPECT_EQ(t.machine.GetCalculator().DecimalPlaces(), 3);
        EXPECT_EQ(t.machine.GetTape().TopIndex(), 1);
        EXPECT_TRUE(t.machine.GetTape().Dirty());
        EXPECT_EQ(t.fakes.settings.values["Memory"], t.machine.Memory().Text());
        EXPECT_EQ(t.machine.Memory().Value(), std::stod(NoSpecialChar(c.tape[c.tape.size() - 2])));
        if (c.corrects) {
            EXPECT_EQ(t.machine.GetTape().ListIndex(), last);
        }
    }
}

// Lines read from a file have no key record: each counts as keyed as printed, and the totals
// down to the next clear follow, in the section's format, with the separators the option gives.
// What is typed is read as the Entry box reads it now.
TEST(CorrectFileLine, TotalsFollowInTheSectionsFormat) {
    struct Case {
        const char* name;
        Lines file;
        std::int64_t line;
        const char* number;
        char operation;
        Lines expected;
        bool separators = true;
        bool autoDecimal = false;
    };
    const Case cases[] = {
        // Every decimal mode with and without separators, clears and the decimals typed: the
        // random file tapes of LineEdits.EqualFreshRunsKeyedThatWay.
        {"no separators where the option gives none", {"0 =", "1,250.000 +", "2.000 *", "2,500.000 ="}, 1, "1500", '+',
         {"0 =", "1500.000 +", "2.000 *", "3000.000 ="}, false},
        {"percent and other lines", {"Rent", "0 =", "50.00 +", "Time: 00:00:05", "200.00 %", "25.00 ="}, 4, "400",
         '%', {"Rent", "0 =", "50.00 +", "Time: 00:00:05", "400.00 %", "12.50 ="}},
        {"a floating-point zero total", {"0 =", "5. +", "5. -", ". ="}, 1, "6", '+', {"0 =", "6. +", "5. -", "1. ="}},
        {"floating point wherever a line of the section ends in its point",
         {"0 =", "10. +", "2.5 +", "12.5 =", "Time: 00:00:05", "1,000. +", "1,012.5 ="}, 2, "2.75", '+',
         {"0 =", "10. +", "2.75 +", "12.75 =", "Time: 00:00:05", "1,000. +", "1,012.75 ="}},
        {"the same decimals without a last 0 cannot be told from floating point",
         {"0 =", "2.5 +", "3.7 +", "6.2 ="}, 1, "2.25", '+', {"0 =", "2.25 +", "3.7 +", "5.95 ="}},
        {"Auto Decimal places the point", {"0 =", "12.50 +", "1.00 +", "13.50 ="}, 1, "750", '+',
         {"0 =", "7.50 +", "1.00 +", "8.50 ="}, true, true},
        {"but not in a number typed with one", {"0 =", "12.50 +", "1.00 +", "13.50 ="}, 1, "750.", '+',
         {"0 =", "750.00 +", "1.00 +", "751.00 ="}, true, true},
        {"a counted total keeps its count where it fits beside it",
         {"0 =", "2.00 +", "3.00 +", "2           5.00 ="}, 1, "7", '+', {"0 =", "7.00 +", "3.00 +", "2          10.00 ="}},
        {"and goes without where it does not", {"0 =", "2.00 +", "3.00 +", "2           5.00 ="}, 1, "-999999999", '+',
         {"0 =", "-999,999,999.00 +", "3.00 +", "-999,999,996.00 ="}},
        {"a file that begins with a number", {"10.00 +", "5.00 +", "15.00 ="}, 0, "20", '+', {"20.00 +", "5.00 +", "25.00 ="}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestMachine t;
        if (!c.separators) t.machine.Run(Command::CommaSeparator);
        if (c.autoDecimal) t.machine.Run(Command::AutoDecimal);
        Lines laidOut;
        for (const auto& line : c.file)
            laidOut.push_back(line == " " || line == "Rent" || line[0] == 'T' || line.size() == Tape::kLineWidth ? line : Tape::LayOut(line));
        t.machine.GetTape().Replace(TapeLines(laidOut));
        ASSERT_TRUE(t.machine.LineCorrectable(c.line));
        EXPECT_TRUE(t.machine.CorrectLine(c.line, c.number, c.operation));
        EXPECT_EQ(t.Trimmed(), c.expected);
        const std::string* correctedFrom = t.machine.GetTape().CorrectedFrom(c.line);
        ASSERT_NE(correctedFrom, nullptr);
        EXPECT_EQ(*correctedFrom, laidOut[static_cast<std::size_t>(c.line)]);
        t.machine.Run(Command::Undo);
        EXPECT_EQ(t.TapeLines(), laidOut);
    }
}

TEST(CorrectFileLine, TheSubtotalFollowsWhenNoClearComesAfter) {
    TestMachine t;
    t.machine.GetTape().Replace(TapeLines({Tape::LayOut("0 ="), Tape::LayOut("10.00 +"), Tape::LayOut("5.00 +")}));
    t.machine.GetCalculator().State().Subtotal = 15;
    EXPECT_TRUE(t.machine.CorrectLine(1, "20", '+'));
    EXPECT_EQ(t.State().Subtotal, 25);
    EXPECT_EQ(t.State().SubtotalText, "25.00");
}

}  // namespace
