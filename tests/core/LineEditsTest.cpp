// Notes after a selected line and written again, lines deleted and inserted in the middle of the
// tape: each gives what keying the tape that way would have given, and undo takes it back whole.

#include <gtest/gtest.h>

#include <random>

#include "engine/NoteLines.h"
#include "fakes/TestMachine.h"

using namespace qb;
using namespace qb::test;

namespace {

using Lines = std::vector<std::string>;

Lines Printed(const TestMachine& t) {
    Lines lines = t.Trimmed();
    lines.erase(lines.begin());
    return lines;
}

// Printed() with the note lines as their text, for short expectations.
Lines Shown(const TestMachine& t) {
    Lines lines = Printed(t);
    for (std::string& line : lines)
        if (IsNoteLine(line)) line = "note:" + NoteLineText(line);
    return lines;
}

void Note(TestMachine& t, std::int64_t selected, std::vector<std::optional<std::string>> answers) {
    if (selected >= 0) t.machine.TapeClicked(selected);
    t.fakes.dialogs.notes.assign(answers.begin(), answers.end());
    t.machine.Run(Command::Note);
}

// The test machine's key language, with "#" for a reference number and '"' for a note of two lines.
void Keys(TestMachine& t, const std::string& keys) {
    for (char c : keys) {
        if (c == '"') Note(t, -1, {"Office supplies for March"});
        else c == '#' ? t.Type("#") : t.Press(std::string(1, c));
    }
}

// Every edit, then undo back to the keys, then redo to the edit.
void ExpectUndoAndRedo(TestMachine& t, const Lines& keyed, const Lines& edited) {
    t.machine.Run(Command::Undo);
    EXPECT_EQ(Shown(t), keyed);
    t.machine.Run(Command::Redo);
    EXPECT_EQ(Shown(t), edited);
}

// An edit made (lines: the tape after it) without a message, undone and redone; or refused
// (no lines), the tape as keyed, with the message that begins so (none for a beep).
void ExpectEdited(TestMachine& t, const Lines& keyed, const Lines& lines, const std::string& message) {
    const auto errors = t.fakes.messages.Errors();
    if (lines.empty()) {
        EXPECT_EQ(Shown(t), keyed);
        ASSERT_EQ(errors.size(), message.empty() ? 0u : 1u);
        if (!errors.empty()) {
            EXPECT_EQ(errors[0].rfind(message, 0), 0u) << errors[0];
        }
        return;
    }
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(Shown(t), lines);
    ExpectUndoAndRedo(t, keyed, lines);
}

TEST(NoteAfterLine, GoesAfterTheSelectedLineOrAtTheEnd) {
    const struct {
        const char* name;
        std::int64_t selected;  // the tape's line (0 is the start-up's "0 =")
        const char* note;
        Lines lines;
    } cases[] = {
        {"after the first number", 1, "rent", {"12.00 +", "note:rent", "3.00 +", "15.00 ="}},
        {"after the total", 3, "rent", {"12.00 +", "3.00 +", "15.00 =", "note:rent"}},
        {"none selected", -1, "rent", {"12.00 +", "3.00 +", "15.00 =", "note:rent"}},
        // The 3 and its total came of one key, "=": the note goes after both.
        {"wrapped, after a number keyed with =", 2, "Office supplies for March",
         {"12.00 +", "3.00 +", "15.00 =", "note:Office supplies", "note:for March"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestMachine t;
        Keys(t, "12+3=");
        const Lines keyed = Shown(t);
        Note(t, c.selected, {c.note});
        EXPECT_EQ(Shown(t), c.lines);
        EXPECT_EQ(t.State().Subtotal, 15);
        ExpectUndoAndRedo(t, keyed, c.lines);
    }
}

TEST(NoteAfterLine, SelectedNoteIsWrittenAgainWhole) {
    TestMachine t;
    Keys(t, "12+\"3=");
    const Lines before = Shown(t);
    Note(t, 3, {"Paid"});
    ASSERT_EQ(t.fakes.dialogs.notePrompts.back(), "Office supplies for March");
    const Lines after = {"12.00 +", "note:Paid", "3.00 +", "15.00 ="};
    EXPECT_EQ(Shown(t), after);
    ExpectUndoAndRedo(t, before, after);
    // The same text again changes nothing.
    Note(t, 2, {"Paid"});
    EXPECT_EQ(Shown(t), after);
    EXPECT_FALSE(t.machine.CanRedo());
}

TEST(NoteAfterLine, AFilesNoteIsWrittenAgainAndKeysAfterItStay) {
    TestMachine t;
    Keys(t, "12+\"");
    t.AnswerSaveAs("/t/a");
    t.machine.Run(Command::SaveAs);
    TestMachine u;
    u.Open("/t/a.QBX", t.fakes.files.files["/t/a.QBX"]);
    Keys(u, "3=");
    const Lines before = Shown(u);
    const std::int64_t note = u.machine.GetTape().Count() - 3;
    Note(u, note, {"Paid in cash"});
    EXPECT_EQ(u.fakes.dialogs.notePrompts.back(), "Office supplies for March");
    Lines after = before;
    after.erase(after.end() - 4, after.end() - 2);
    after.insert(after.end() - 2, "note:Paid in cash");
    EXPECT_EQ(Shown(u), after);
    // The keys after the file's lines still correct and delete as keyed.
    ASSERT_TRUE(u.machine.CorrectLine(u.machine.GetTape().Count() - 2, "4", '+'));
    EXPECT_EQ(u.Trimmed().back(), "16.00 =");
    u.machine.Run(Command::Undo);
    ExpectUndoAndRedo(u, before, after);
}

struct EditCase {
    const char* name;
    const char* keys;       // typed
    std::int64_t line;      // the tape line to delete (0 is the start-up's "0 =")
    Lines lines;            // after, empty when refused
    const char* message;    // the refusal's words, or "" for none
};

TEST(DeleteLine, AsIfNeverKeyed) {
    const EditCase cases[] = {
        {"a number", "12+3+4=", 2, {"12.00 +", "4.00 +", "16.00 ="}, ""},
        {"the first number", "12+3*4=", 1, {"3.00 +", "4.00 *", "12.00 ="}, ""},
        {"the number before the total", "12+3=", 2, {"12.00 +", "12.00 ="}, ""},
        {"keyed with a correction of a typo", "12+39B=", 2, {"12.00 +", "12.00 ="}, ""},
        {"a reference alone", "12+4711#3=", 2, {"12.00 +", "3.00 +", "15.00 ="}, ""},
        {"a note goes whole, the totals stay", "12+\"3=", 3, {"12.00 +", "3.00 +", "15.00 ="}, ""},
        {"a total is refused", "12+3=", 3, {}, "A total cannot be deleted"},
        {"the clear line beeps", "12+3=S", 5, {}, ""},
        {"a file's number is refused", "", 1, {}, "A number read from a file cannot be deleted"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestMachine t;
        Keys(t, c.keys);
        if (!*c.keys) t.Open("/t/a.QBX", "QBX=\r\nACC=12\r\nOPR=+\r\nNEW=\r\nJPE=0\r\nSPC=0\r\n" + Tape::LayOut("0 =") +
                                             "\r\n" + Tape::LayOut("12.00 +") + "\r\n");
        const Lines keyed = Shown(t);
        t.machine.TapeClicked(c.line);
        t.machine.Run(Command::DeleteLine);
        ExpectEdited(t, keyed, c.lines, c.message);
    }
}

TEST(InsertLine, AsIfKeyedThere) {
    const struct {
        const char* name;
        const char* keys;
        std::int64_t after;
        const char* number;
        char operation;
        Lines lines;
        const char* message;
    } cases[] = {
        {"a subtraction between", "12+4=", 1, "3", '-', {"12.00 +", "3.00 -", "4.00 +", "13.00 ="}, ""},
        {"keeps the next line's multiply", "12*4=", 1, "3", '+', {"12.00 +", "3.00 +", "4.00 *", "60.00 ="}, ""},
        {"after the total", "12+4=", 3, "2", 'x', {"12.00 +", "4.00 +", "16.00 =", "2.00 *"}, ""},
        {"none selected: at the end", "12+", -1, "3", '+', {"12.00 +", "3.00 +"}, ""},
        {"zero is refused", "12+4=", 1, "0", '+', {}, "An inserted line needs a number other than 0!"},
        {"a word is refused", "12+4=", 1, "abc", '+', {}, "Type a number for the inserted line!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestMachine t;
        Keys(t, c.keys);
        const Lines keyed = Shown(t);
        if (c.after >= 0) t.machine.TapeClicked(c.after);
        CorrectLineForm answer;
        answer.number = c.number;
        answer.operation = c.operation;
        t.fakes.dialogs.corrections.push_back(answer);
        t.machine.Run(Command::InsertLine);
        ASSERT_EQ(t.fakes.dialogs.correctionsShown.size(), 1u);
        EXPECT_EQ(t.fakes.dialogs.correctionsShown[0].title, "Insert Line");
        ExpectEdited(t, keyed, c.lines, c.message);
    }
}

// Random sessions: a number deleted equals a fresh run without its keys; a line inserted equals
// a fresh run with its number keyed there; undo of everything gives the start.
TEST(LineEdits, EqualFreshRunsKeyedThatWay) {
    int deleted = 0, inserted = 0;
    for (unsigned seed = 1; seed <= 600; ++seed) {
        std::mt19937 random(seed);
        auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
        // Each block: its number's keys, then its operation, maybe a note or a reference between.
        std::vector<std::string> numbers, operations;
        for (int b = pick(2, 12); b > 0; --b) {
            numbers.push_back(std::to_string(pick(1, 9999)) + (pick(0, 2) ? "" : "." + std::to_string(pick(1, 99))));
            operations.push_back(std::string(1, "+-*/=++="[pick(0, 7)]) + (pick(0, 5) ? "" : pick(0, 1) ? "77#" : "S"));
        }
        auto keyed = [&](TestMachine& t, std::size_t skip) {
            for (std::size_t i = 0; i < numbers.size(); ++i) Keys(t, (i == skip ? "" : numbers[i]) + operations[i]);
        };
        TestMachine t;
        const Lines start = Shown(t);
        std::vector<std::int64_t> printedBy(numbers.size(), -1);
        for (std::size_t i = 0; i < numbers.size(); ++i) {
            Keys(t, numbers[i]);
            const std::int64_t before = t.machine.GetTape().Count();
            Keys(t, operations[i]);
            if (t.machine.GetTape().Count() > before && t.machine.LineCorrectable(before)) printedBy[i] = before;
        }
        const std::size_t which = static_cast<std::size_t>(pick(0, static_cast<int>(numbers.size()) - 1));
        SCOPED_TRACE("seed " + std::to_string(seed) + ", block " + std::to_string(which));
        if (printedBy[which] < 0) continue;
        if (pick(0, 1)) {
            t.machine.TapeClicked(printedBy[which]);
            t.machine.Run(Command::DeleteLine);
            TestMachine fresh;
            keyed(fresh, which);
            EXPECT_EQ(Shown(t), Shown(fresh));
            EXPECT_EQ(t.State(), fresh.State());
            ++deleted;
        } else {
            // After the number's line, "5 -" keyed with the pending operation pressed again.
            t.machine.TapeClicked(printedBy[which]);
            CorrectLineForm answer;
            answer.number = "5";
            answer.operation = '-';
            t.fakes.dialogs.corrections.push_back(answer);
            t.machine.Run(Command::InsertLine);
            TestMachine fresh;
            for (std::size_t i = 0; i < numbers.size(); ++i) {
                Keys(fresh, numbers[i]);
                Keys(fresh, operations[i].substr(0, 1));
                if (i == which) Keys(fresh, std::string("-5") + (fresh.State().PendingOperation == 'x' ? '*' : fresh.State().PendingOperation));
                Keys(fresh, operations[i].substr(1));
            }
            EXPECT_EQ(Shown(t), Shown(fresh));
            EXPECT_EQ(t.State().Subtotal, fresh.State().Subtotal);
            ++inserted;
        }
        while (t.machine.CanUndo()) t.machine.Run(Command::Undo);
        EXPECT_EQ(Shown(t), start);
        if (HasFailure()) break;
    }
    EXPECT_GT(deleted, 150);
    EXPECT_GT(inserted, 150);
}

}  // namespace

namespace {

// What an edit may change, and what the record says of each line: the number the Correct Line
// dialog offers on it ("-" where it offers none).
struct Level {
    Lines tape;
    CalculatorState state;
    std::string memory;
    Lines offered;
    bool operator==(const Level&) const = default;
};

Level LevelOf(TestMachine& t) {
    Level level{t.TapeLines(), t.State(), t.machine.Memory().Text(), {}};
    for (std::int64_t i = 0; i < t.machine.GetTape().Count(); ++i) {
        const std::size_t shown = t.fakes.dialogs.correctionsShown.size();
        if (t.machine.LineCorrectable(i)) {
            t.machine.TapeClicked(i);
            t.fakes.dialogs.corrections.push_back(std::nullopt);
            t.machine.Run(Command::CorrectLine);
        }
        level.offered.push_back(t.fakes.dialogs.correctionsShown.size() > shown ? t.fakes.dialogs.correctionsShown.back().number : "-");
    }
    return level;
}

// Random sessions of some hundred keys (past several of the record's snapshots): deletes,
// inserts, corrections and notes one after another, undone one by one and redone, show at each
// level the tape, the calculator and the record as they were.
TEST(LineEdits, ChainsOfEditsUndoAndRedoLevelByLevel) {
    for (unsigned seed = 1; seed <= 40; ++seed) {
        std::mt19937 random(seed);
        auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
        TestMachine t;
        for (int b = pick(20, 60); b > 0; --b) {
            const int between = pick(0, 9);
            if (between < 4) Keys(t, std::vector<std::string>{"\"", "77#", "S", "a"}[static_cast<std::size_t>(between)]);
            if (between == 4) t.machine.Run(PlacesCommand(pick(0, 4)));
            if (between == 5) t.machine.TapeDoubleClicked(pick(0, static_cast<int>(t.machine.GetTape().Count()) - 1));
            Keys(t, std::to_string(pick(1, 9999)) + (pick(0, 2) ? "" : "." + std::to_string(pick(1, 99))) + "+-*/=++="[pick(0, 7)]);
        }
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::vector<Level> levels{LevelOf(t)};
        for (int e = 0; e < 6; ++e) {
            const std::int64_t lines = t.machine.GetTape().Count(), line = pick(0, static_cast<int>(lines) - 1);
            const std::uint64_t rewritten = t.machine.TapeRewritten();
            t.machine.TapeClicked(line);
            switch (pick(0, 3)) {
            case 0: t.machine.Run(Command::DeleteLine); break;
            case 1: t.fakes.dialogs.corrections.push_back(CorrectLineForm{std::to_string(pick(1, 99)), "+-*/"[pick(0, 3)]}); t.machine.Run(Command::InsertLine); break;
            case 2: t.machine.CorrectLine(line, std::to_string(pick(1, 999)), "+-x/"[pick(0, 3)]); break;
            default: Note(t, line, {"edit " + std::to_string(e)}); break;
            }
            t.fakes.dialogs.corrections.clear();
            if (t.machine.TapeRewritten() != rewritten || t.machine.GetTape().Count() != lines) levels.push_back(LevelOf(t));
        }
        for (std::size_t i = levels.size() - 1; i > 0; --i) {
            t.machine.Run(Command::Undo);
            ASSERT_EQ(LevelOf(t), levels[i - 1]) << "undone to " << i - 1;
        }
        for (std::size_t i = 1; i < levels.size(); ++i) {
            t.machine.Run(Command::Redo);
            ASSERT_EQ(LevelOf(t), levels[i]) << "redone to " << i;
        }
    }
}

}  // namespace
