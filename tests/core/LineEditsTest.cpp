// Notes after a selected line and written again, lines deleted and inserted in the middle of the
// tape: each gives what keying the tape that way would have given, and undo takes it back whole.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "engine/NoteLines.h"
#include "engine/NumberRules.h"
#include "fakes/TestMachine.h"

using namespace qb;
using namespace qb::test;

namespace {

using Lines = std::vector<std::string>;

// The lines after the start-up's "0 =", the note lines as their text, for short expectations.
Lines Shown(const TestMachine& t) {
    Lines lines = t.Trimmed();
    lines.erase(lines.begin());
    for (std::string& line : lines)
        if (IsNoteLine(line)) line = "note:" + std::string(NoteLineText(line));
    return lines;
}

void Note(TestMachine& t, std::int64_t selected, std::vector<std::optional<std::string>> answers) {
    if (selected >= 0) t.machine.TapeClicked(selected);
    t.fakes.dialogs.notes.assign(answers.begin(), answers.end());
    t.machine.Run(Command::Note);
}

// The test machine's key language, with "#" for a reference number, '"' for a note of two lines,
// '\'' for a note of one word cut across three lines, 'n' for Options, Item Count, 'g' for Options,
// Grand Total and 'G' for Tape, Grand Total.
void Keys(TestMachine& t, const std::string& keys) {
    for (char c : keys) {
        if (c == '"') Note(t, -1, {"Office supplies for March"});
        else if (c == '\'') Note(t, -1, {"Supercalifragilisticexpialidocious"});
        else if (c == 'n') t.machine.Run(Command::ItemCount);
        else if (c == 'g') t.machine.Run(Command::GrandTotalOption);
        else if (c == 'G') t.machine.Run(Command::GrandTotal);
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
        EXPECT_EQ(t.fakes.messages.beeps, message.empty() ? 1 : 0);  // a message is no beep as well
        if (!errors.empty()) {
            EXPECT_EQ(errors[0].rfind(message, 0), 0u) << errors[0];
        }
        return;
    }
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(Shown(t), lines);
    ExpectUndoAndRedo(t, keyed, lines);
}

// A tape keyed so in a decimal mode (0: floating point), saved, and read again from its file.
void OpenKeyed(TestMachine& t, const std::string& keys, int places) {
    TestMachine keyed;
    keyed.machine.Run(PlacesCommand(places));
    Keys(keyed, keys);
    keyed.AnswerSaveAs("/t/k");
    keyed.machine.Run(Command::SaveAs);
    t.machine.Run(PlacesCommand(places));
    t.Open("/t/k.QBX", keyed.fakes.files.files["/t/k.QBX"]);
}

TEST(NoteAfterLine, GoesAfterTheSelectedLineOrAtTheEnd) {
    const struct {
        const char* name;
        std::int64_t selected;  // the tape's line (0 is the start-up's "0 =")
        const char* note;
        Lines lines;
        bool fromFile = false;
    } cases[] = {
        {"after the first number", 1, "rent", {"12.00 +", "note:rent", "3.00 +", "15.00 ="}},
        {"after the total", 3, "rent", {"12.00 +", "3.00 +", "15.00 =", "note:rent"}},
        {"none selected", -1, "rent", {"12.00 +", "3.00 +", "15.00 =", "note:rent"}},
        // The 3 and its total came of one key, "=": the note goes after both.
        {"wrapped, after a number keyed with =", 2, "Office supplies for March",
         {"12.00 +", "3.00 +", "15.00 =", "note:Office supplies", "note:for March"}},
        {"after the start's 0 =", 0, "rent", {"note:rent", "12.00 +", "3.00 +", "15.00 ="}},
        // A file's lines have no keys: the note goes right after the line.
        {"a file's, after its first number", 1, "rent", {"12.00 +", "note:rent", "3.00 +", "15.00 ="}, true},
        {"a file's, wrapped, after a number", 2, "Office supplies for March",
         {"12.00 +", "3.00 +", "note:Office supplies", "note:for March", "15.00 ="}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestMachine t;
        if (c.fromFile) OpenKeyed(t, "12+3=", 2);
        else Keys(t, "12+3=");
        const Lines keyed = Shown(t);
        Note(t, c.selected, {c.note});
        EXPECT_EQ(Shown(t), c.lines);
        EXPECT_EQ(t.State().Subtotal, 15);
        ExpectUndoAndRedo(t, keyed, c.lines);
    }
}

// A selected note is written again whole, one keyed or one read from a file. A file's note is the
// note that was written: where it begins and ends, and its words as typed, even when one is cut
// across lines. The same text again changes nothing.
TEST(NoteAfterLine, AFilesNoteIsWrittenAgainAndKeysAfterItStay) {
    const struct {
        const char* name;
        const char* keys;     // of the file; "3=" is keyed after it is read
        std::int64_t line;    // selected, a line of the note (0 is the start-up's "0 =")
        std::int64_t first;   // the note's lines
        std::int64_t count;
        const char* written;  // the note as the dialog shows it
        bool older = false;   // the file as written before lines said how they go on
        bool keyed = false;   // no file: the note keyed
    } cases[] = {
        {"a keyed note", "12+\"", 3, 2, 2, "Office supplies for March", false, true},
        {"a note of two lines", "12+\"", 2, 2, 2, "Office supplies for March"},
        {"the second of two notes in a row", "12+\"\"", 5, 4, 2, "Office supplies for March"},
        {"the first of two notes in a row", "12+\"\"", 3, 2, 2, "Office supplies for March"},
        {"a word cut across lines", "12+'", 3, 2, 3, "Supercalifragilisticexpialidocious"},
        {"written before: each line a note of its own", "12+\"", 3, 3, 1, "for March", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestMachine t;
        Keys(t, c.keys);
        t.AnswerSaveAs("/t/a");
        t.machine.Run(Command::SaveAs);
        std::string bytes = t.fakes.files.files["/t/a.QBX"];
        for (std::size_t at = 1; c.older && at < bytes.size(); ++at)
            if (bytes[at] == '"' && (bytes[at - 1] == kNoteGoesOn || bytes[at - 1] == kNoteWordGoesOn)) bytes[at - 1] = ' ';
        TestMachine opened;
        if (!c.keyed) opened.Open("/t/a.QBX", bytes);
        TestMachine& u = c.keyed ? t : opened;
        Keys(u, "3=");
        const Lines before = Shown(u);
        Note(u, c.line, {"Paid in cash"});
        EXPECT_EQ(u.fakes.dialogs.notePrompts.back(), c.written);
        Lines after = before;
        after.erase(after.begin() + c.first - 1, after.begin() + c.first - 1 + c.count);
        after.insert(after.begin() + c.first - 1, "note:Paid in cash");
        EXPECT_EQ(Shown(u), after);
        EXPECT_EQ(u.machine.GetTape().ListIndex(), c.first);
        Note(u, c.first, {"Paid in cash"});
        EXPECT_EQ(Shown(u), after);
        // The keys after the file's lines still correct and delete as keyed.
        ASSERT_TRUE(u.machine.CorrectLine(u.machine.GetTape().Count() - 2, "4", '+'));
        EXPECT_EQ(u.Trimmed().back(), "16.00 =");
        u.machine.Run(Command::Undo);
        ExpectUndoAndRedo(u, before, after);
    }
}

// An edit selects the line it inserted, or the one in the deleted line's place, to go on from
// (none past the end); returns that line.
std::int64_t ExpectFirstChangeSelected(const TestMachine& t, const Lines& before) {
    const Lines now = Shown(t);
    const std::int64_t changed = std::mismatch(before.begin(), before.end(), now.begin(), now.end()).first - before.begin() + 1;
    EXPECT_EQ(t.machine.GetTape().ListIndex(), changed < t.machine.GetTape().Count() ? changed : -1);
    return changed;
}

// A line deleted as if never keyed; a number inserted (after the line) as if keyed there.
TEST(LineEdits, DeletedAsIfNeverKeyedInsertedAsIfKeyedThere) {
    const struct {
        const char* name;
        const char* keys;     // typed
        std::int64_t line;    // deleted, or the one the number goes after (0 is the start-up's "0 =")
        const char* number;   // inserted; none for a deletion
        char operation;
        Lines lines;          // after, empty when refused
        const char* message;  // the refusal's words, or "" for none
    } cases[] = {
        {"keyed with a correction of a typo", "12+39B=", 2, nullptr, 0, {"12.00 +", "12.00 ="}, ""},
        {"a reference alone", "12+4711#3=", 2, nullptr, 0, {"12.00 +", "3.00 +", "15.00 ="}, ""},
        {"a note goes whole, the totals stay", "12+\"3=", 3, nullptr, 0, {"12.00 +", "3.00 +", "15.00 ="}, ""},
        {"the last line: none selected after", "12+3+", 2, nullptr, 0, {"12.00 +"}, ""},
        {"a total is refused", "12+3=", 3, nullptr, 0, {}, "A total cannot be deleted"},
        {"the clear line beeps", "12+3=S", 5, nullptr, 0, {}, ""},
        {"after the total", "12+4=", 3, "2", '*', {"12.00 +", "4.00 +", "16.00 =", "2.00 *"}, ""},
        {"none selected: at the end", "12+", -1, "3", '+', {"12.00 +", "3.00 +"}, ""},
        {"after the start's 0 =: first", "12+4=", 0, "3", '-', {"3.00 -", "12.00 +", "4.00 +", "13.00 ="}, ""},
        {"zero is refused", "12+4=", 1, "0", '+', {}, "An inserted line needs a number other than 0!"},
        {"a word is refused", "12+4=", 1, "abc", '+', {}, "Type a number for the inserted line!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestMachine t;
        Keys(t, c.keys);
        const Lines keyed = Shown(t);
        t.EditLine(c.line, c.number, c.operation);
        // Insert Line asks for the number in the Correct Line dialog under its own title.
        ASSERT_EQ(t.fakes.dialogs.correctionsShown.size(), c.number ? 1u : 0u);
        for (const CorrectLineForm& form : t.fakes.dialogs.correctionsShown) EXPECT_EQ(form.title, "Insert Line");
        const std::int64_t changed = c.lines.empty() ? 0 : ExpectFirstChangeSelected(t, keyed);
        ExpectEdited(t, keyed, c.lines, c.message);
        if (c.lines.empty() || !c.number) continue;
        t.EditLine(changed, nullptr, 0);  // the inserted line deleted: the keys as struck
        EXPECT_EQ(Shown(t), keyed);
    }
}

// A key that took the selected line, once that line is deleted, works again as with no line
// selected: the memory takes the last number on the tape at that point.
TEST(LineEdits, AKeyThatTookADeletedLineWorksAsWithNoneSelected) {
    TestMachine t;
    Keys(t, "12+3+");
    t.machine.TapeClicked(2);
    t.machine.Run(Command::MemoryAdd);
    Keys(t, "4+");
    t.EditLine(2, nullptr, 0);
    EXPECT_EQ(Shown(t), (Lines{"12.00 +", "4.00 +"}));
    EXPECT_EQ(t.machine.Memory().Text(), "             12.");
}

// A number deleted from (or put among) the lines of a tape read from a file gives the file of
// the tape keyed without (or with) it, and keys struck after the file's lines follow from the new
// subtotal. Undo gives the tape back byte for byte and its keys as they were; redo the edit.
TEST(FileLineEdits, EqualTheFileOfTheTapeKeyedThatWay) {
    const struct {
        const char* name;
        int places;
        const char* file;    // the keys of the tape in the file
        const char* after;   // keys struck after it was read
        std::int64_t line;   // deleted, or the one the number goes after (0 is the first "0 =")
        const char* number;  // inserted; none for a deletion
        char operation;
        const char* same;  // the keys of the file that reads the same
        bool correct = false;  // the line corrected to the number instead
    } cases[] = {
        {"the keys after it follow", 2, "12+3+", "4+=", 2, nullptr, 0, "12+"},
        {"the keys after a clear below it only move", 2, "12+3+S", "4+=", 2, nullptr, 0, "12+S"},
        // The memory and a recall of it keyed after the file's lines go on as keyed.
        {"corrected, the keys after it follow", 2, "10+", "100+ar+=", 1, "20", '+', "20+", true},
        {"corrected, a clear keyed between leaves them alone", 2, "10+", "S100+ar+=", 1, "20", '+', "20+",
         true},
        {"inserted on a clear's blank line: after its 0 =", 2, "5+S12+4=", "", 2, "2", '+', "5+S2+12+4="},
        {"inserted on a note: after its last line", 2, "12+\"4=", "", 2, "3", '+', "12+\"3+4="},
        {"a note goes whole", 2, "12+\"4=", "", 3, nullptr, 0, "12+4="},
        {"a note keyed after another goes alone", 2, "12+\"\"4=", "", 4, nullptr, 0, "12+\"4="},
        {"a word cut across lines goes whole", 2, "12+'4=", "", 4, nullptr, 0, "12+4="},
        {"inserted, the keys after it follow", 2, "12+4+", "5+=", 1, "3", '-', "12-3+4+"},
        {"counted totals count again", 2, "n12+3+4=5+6=", "", 2, nullptr, 0, "n12+4=5+6="},
        {"counted, inserted", 2, "n12+4=", "", 1, "3", '-', "n12-3+4="},
        {"a count on a line of its own", 2, "n100000000+1+1+1+1+1+1+1+1+1+2+=", "", 11, nullptr, 0, "n100000000+1+1+1+1+1+1+1+1+1+="},
        // A grand total follows the totals that went into it, back to its last clear.
        {"grand total, corrected above it", 2, "g1+2=3+4=G", "", 1, "100", '+', "g100+2=3+4=G", true},
        {"grand total, deleted above it", 2, "g12+3=4+5=G", "", 2, nullptr, 0, "g12+=4+5=G"},
        {"grand total, inserted above it", 0, "g12+4=G", "", 1, "3.5", '-', "g12-3.5+4=G"},
        {"two grand totals", 2, "g1+2=G5+=G", "", 1, "100", '+', "g100+2=G5+=G", true},
        {"two grand totals, cleared between", 2, "g1+2=GG5+=G", "", 1, "100", '+', "g100+2=GG5+=G", true},
        {"two grand totals, the first 0: no clear shows", 2, "g1-1=G2+=G", "", 1, "5", '+', "g5-1=G2+=G", true},
        {"a grand total of 0 in floating point, \". g\"", 0, "g1-1=G", "", 1, "3", '+', "g3-1=G", true},
        {"grand totals past a clear of the subtotal", 2, "g1+2=GS5+=GG7+=G", "", 2, nullptr, 0, "g1+=GS5+=GG7+=G"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestMachine t, same, keyed;
        OpenKeyed(t, c.file, c.places);
        OpenKeyed(keyed, c.file, c.places);
        OpenKeyed(same, c.same, c.places);
        std::int64_t keyedFrom = keyed.machine.GetTape().Count();
        const std::int64_t moved = same.machine.GetTape().Count() - keyedFrom;  // lines the edit adds
        for (TestMachine* m : {&t, &same, &keyed}) Keys(*m, c.after);
        while (*c.after && !keyed.machine.LineCorrectable(keyedFrom)) ++keyedFrom;  // the first keyed number
        const Lines before = t.TapeLines(), shown = Shown(t);
        t.EditLine(c.line, c.number, c.operation, c.correct);
        if (!c.correct) ExpectFirstChangeSelected(t, shown);
        EXPECT_TRUE(t.fakes.messages.Errors().empty());
        EXPECT_EQ(t.TapeLines(), same.TapeLines());
        EXPECT_EQ(t.State().Subtotal, same.State().Subtotal);
        t.machine.Run(Command::Undo);
        EXPECT_EQ(t.TapeLines(), before);
        EXPECT_EQ(t.State(), keyed.State());
        t.machine.Run(Command::Redo);
        EXPECT_EQ(t.TapeLines(), same.TapeLines());
        if (!*c.after) continue;
        // The keyed lines still correct as keyed, before the edit and after it.
        for (TestMachine* m : {&t, &same}) ASSERT_TRUE(m->machine.CorrectLine(keyedFrom + moved, "7", '+'));
        EXPECT_EQ(t.TapeLines(), same.TapeLines());
        t.machine.Run(Command::Undo);
        t.machine.Run(Command::Undo);
        for (TestMachine* m : {&t, &keyed}) ASSERT_TRUE(m->machine.CorrectLine(keyedFrom, "7", '+'));
        EXPECT_EQ(t.TapeLines(), keyed.TapeLines());
    }
}

// Corrected lines keep their marks when lines above them go or come, on a file's lines, on the
// keyed lines after them that the replay prints again, and on a tape keyed whole; undo puts
// them back.
TEST(FileLineEdits, CorrectedMarksMoveWithTheirLines) {
    const struct {
        std::int64_t line;
        const char* number;  // inserted; none for a deletion
        std::vector<std::int64_t> marked;
    } cases[] = {{1, nullptr, {1, 3, 5}}, {2, nullptr, {3, 5}}, {2, "1", {2, 5, 7}}, {0, "1", {3, 5, 7}}};
    for (const auto& c : cases) for (const bool fromFile : {true, false}) {
        SCOPED_TRACE(fromFile ? "a file" : "keyed");
        TestMachine t;
        if (fromFile) OpenKeyed(t, "12+3+4+5=", 2);
        Keys(t, fromFile ? "7+=" : "12+3+4+5=7+=");
        for (const std::int64_t line : {2, 4, 6}) ASSERT_TRUE(t.machine.CorrectLine(line, "8", '+'));
        const auto marks = t.machine.GetTape().Corrections();
        t.EditLine(c.line, c.number, '+');
        std::vector<std::int64_t> marked;
        for (const auto& [line, text] : t.machine.GetTape().Corrections()) marked.push_back(line);
        EXPECT_EQ(marked, c.marked) << c.line;
        t.machine.Run(Command::Undo);
        EXPECT_EQ(t.machine.GetTape().Corrections(), marks);
    }
}

// What a correction of a file's line refuses, a deletion or an insertion there refuses with the
// same reason; lines that cannot be deleted or corrected say why. The tape stays as it was.
TEST(FileLineEdits, RefusedAsACorrectionIs) {
    const Lines business = {"0 =", "100.00 +", "10.00 A", "110.00 S", "5.00 +", "115.00 ="};
    const Lines zero = {"0 =", "6.00 +", "2.00 +", ".00 /", "6.00 ="};
    const Lines wide = {"0 =", "5.00 +", "*9,999,999,999.00 +", "7.00 ="};
    const Lines wideGrandTotal = {"0 =", "5.00 +", "2.00 +", "7.00 =", "*,999,999,999.00 g"};
    const struct {
        const char* name;
        const Lines& file;
        std::int64_t line;
        const char* number;  // inserted; none for a deletion
        const char* message;  // "" for a beep
        bool correct = false;  // the line corrected to the number instead
    } cases[] = {
        {"a division by zero after it", zero, 1, nullptr, "The tape was not changed: line 4 would divide by zero!"},
        {"inserted above a division by zero", zero, 2, "5", "The tape was not changed: line 4 would divide by zero!"},
        {"a number too wide after it", wide, 1, nullptr,
         "The tape was not changed: line 3 shows a number too wide for the tape, so the totals after it cannot be recomputed!"},
        {"the number too wide itself", wide, 2, nullptr, "This line shows a number too wide for the tape, so it cannot be deleted!"},
        {"corrected, a number too wide after it", wide, 1, "6",
         "The correction was not made: line 3 shows a number too wide for the tape, so the totals after it "
         "cannot be recomputed!",
         true},
        {"corrected, the number too wide itself", wide, 2, "6",
         "This line shows a number too wide for the tape, so it cannot be corrected!", true},
        {"a grand total too wide below it", wideGrandTotal, 1, nullptr,
         "The tape was not changed: line 5 shows a grand total too wide for the tape, so the grand totals cannot be worked out again!"},
        {"a business key's line after it", business, 1, "5",
         "The tape was not changed: line 3 is a business key's line worked out from the amounts above it, so the totals "
         "after it cannot be recomputed!"},
        {"the business key's line itself", business, 2, nullptr, "A line that a percent, tax, mark-up or margin key worked out cannot be deleted"},
        {"a total", business, 5, nullptr, "A total cannot be deleted: delete or correct the numbers that went into it, and the total follows!"},
        {"the clear line", zero, 0, nullptr, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestMachine t;
        Lines laidOut;
        for (const std::string& line : c.file) laidOut.push_back(line[0] == '*' ? line : Tape::LayOut(line));
        t.machine.GetTape().Replace(TapeLines(laidOut));
        t.EditLine(c.line, c.number, '+', c.correct);
        ExpectEdited(t, Shown(t), {}, c.message);
        EXPECT_EQ(t.TapeLines(), laidOut);
    }
}

// The decimals a number needs: "2.50" needs 1.
int DecimalsOf(std::string number) {
    if (number.find('.') == std::string::npos) return 0;
    while (number.back() == '0') number.pop_back();
    return static_cast<int>(number.size() - number.find('.') - 1);
}

// Random sessions: a number deleted equals a fresh run without its keys; a line inserted equals
// a fresh run with its number keyed there; a number corrected, a fresh run with the other number
// keyed instead; undo of everything gives the start. Every other session both tapes go to a file
// (in one of the decimal modes, with or without separators) and are read again first: their
// numbers have no keys then, and a number corrected to more decimals than its line shows keeps
// them, so only one that fits the line equals the fresh run.
TEST(LineEdits, EqualFreshRunsKeyedThatWay) {
    int made[3] = {}, wider = 0, refused = 0;  // deletions, insertions and corrections made
    for (unsigned seed = 1; seed <= 3600; ++seed) {
        std::mt19937 random(seed);
        auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
        const auto number = [&](bool whole) {  // 'N' at the end makes it negative
            const std::string digits = std::to_string(pick(1, 9999));
            const std::string decimals = whole || pick(0, 2) ? "" : "." + std::to_string(pick(1, 9999));
            return digits + decimals + (pick(0, 6) ? "" : "N");
        };
        // Each block: its number's keys, then its operation, maybe a reference or a clear after.
        // A section starts with a whole number, which shows its decimal places on a file's lines.
        std::vector<std::string> numbers, operations;
        for (int b = pick(2, 12); b > 0; --b) {
            numbers.push_back(number(operations.empty() || operations.back().back() == 'S'));
            const std::string after = pick(0, 5) ? "" : pick(0, 1) ? "77#" : "S";
            operations.push_back(std::string(1, "+-*/%=++="[pick(0, 8)]) + after);
        }
        const bool viaFile = seed % 2 == 0, separators = pick(0, 1) == 1;
        const int places = viaFile ? pick(0, 5) : 2;
        auto setUp = [&](TestMachine& m) {
            m.machine.Run(PlacesCommand(places));
            if (!separators) m.machine.Run(Command::CommaSeparator);
        };
        auto keyed = [&](TestMachine& t, std::size_t skip, const std::string& instead) {
            setUp(t);
            for (std::size_t i = 0; i < numbers.size(); ++i)
                Keys(t, (i == skip ? instead : numbers[i]) + operations[i]);
        };
        auto read = [&](TestMachine& keyedHere, TestMachine& opened) -> TestMachine& {
            if (!viaFile) return keyedHere;
            keyedHere.AnswerSaveAs("/t/r");
            keyedHere.machine.Run(Command::SaveAs);
            setUp(opened);
            opened.Open("/t/r.QBX", keyedHere.fakes.files.files["/t/r.QBX"]);
            return opened;
        };
        TestMachine t, opened, fresh, freshOpened;
        setUp(t);
        // The line each block's number shows, and the last line its operation key printed.
        std::vector<std::int64_t> printedBy(numbers.size(), -1), lastOf(numbers.size(), -1);
        for (std::size_t i = 0; i < numbers.size(); ++i) {
            Keys(t, numbers[i]);
            const std::int64_t before = t.machine.GetTape().Count();
            Keys(t, operations[i].substr(0, 1));
            if (t.machine.GetTape().Count() > before && t.machine.LineCorrectable(before)) printedBy[i] = before;
            lastOf[i] = t.machine.GetTape().Count() - 1;
            Keys(t, operations[i].substr(1));
        }
        const std::size_t which = static_cast<std::size_t>(pick(0, static_cast<int>(numbers.size()) - 1));
        SCOPED_TRACE("seed " + std::to_string(seed) + ", block " + std::to_string(which));
        if (printedBy[which] < 0) continue;
        TestMachine& e = read(t, opened);
        const Lines start = viaFile ? Shown(e) : Lines{};  // undo goes back to the file as read
        ASSERT_EQ(Shown(e), Shown(t));
        const int kind = pick(0, 2);  // delete, insert, correct
        // "=" with nothing keyed since a total or a clear prints no total; a file's total stays.
        const bool lone = operations[which][0] == '=' && (which == 0 || std::string("=S").find(operations[which - 1].back()) != std::string::npos);
        if (viaFile && kind == 0 && lone) continue;
        // A file's lines have no keys: the number goes after the line, not after its key's lines.
        e.machine.TapeClicked(kind == 1 && viaFile ? lastOf[which] : printedBy[which]);
        const std::string other = number(false);  // a correction's, and as the dialog takes it typed
        const std::string typed = Typed(other);
        if (kind == 0) {
            e.machine.Run(Command::DeleteLine);
            keyed(fresh, which, "");
        } else if (kind == 1) {
            // After the number's line, "5 -" keyed with the pending operation pressed again.
            e.fakes.dialogs.corrections.push_back(CorrectLineForm{"5", '-'});
            e.machine.Run(Command::InsertLine);
            setUp(fresh);
            for (std::size_t i = 0; i < numbers.size(); ++i) {
                Keys(fresh, numbers[i]);
                Keys(fresh, operations[i].substr(0, 1));
                if (i == which) Keys(fresh, std::string("-5") + (fresh.State().PendingOperation == 'x' ? '*' : fresh.State().PendingOperation));
                Keys(fresh, operations[i].substr(1));
            }
        } else {
            const char symbol = e.TapeLines()[static_cast<std::size_t>(printedBy[which])].back();
            e.machine.CorrectLine(printedBy[which], typed, symbol == '*' ? 'x' : symbol);
            keyed(fresh, which, other);
        }
        // A file's line too wide for the tape keeps the totals after it from being worked out.
        if (!e.fakes.messages.Errors().empty()) {
            ++refused;
            continue;
        }
        ++made[kind];
        if (viaFile && kind == 1) { EXPECT_EQ(e.machine.GetTape().ListIndex(), lastOf[which] + 1); }  // the inserted line
        if (viaFile && kind == 2) {
            const std::string shown = e.TapeLines()[static_cast<std::size_t>(printedBy[which])];
            EXPECT_GE(DecimalsOf(NoSpecialChar(shown.substr(0, shown.size() - 1))), DecimalsOf(typed))
                << shown;
        }
        const bool fits = !viaFile || kind != 2 || places == 0 || DecimalsOf(typed) <= places;
        wider += !fits;
        if (fits) {
            const TestMachine& f = read(fresh, freshOpened);
            EXPECT_EQ(Shown(e), Shown(f));
            if (viaFile) {  // a file keeps the subtotal to 15 digits
                EXPECT_NEAR(e.State().Subtotal, f.State().Subtotal, 1e-12 * std::max(1.0, std::abs(f.State().Subtotal)));
            } else {
                EXPECT_EQ(kind == 1 ? f.State() : e.State(), f.State());
                EXPECT_EQ(e.State().Subtotal, f.State().Subtotal);
            }
        }
        while (e.machine.CanUndo()) e.machine.Run(Command::Undo);
        EXPECT_EQ(Shown(e), start);
        if (HasFailure()) break;
    }
    for (const int n : made) EXPECT_GT(n, 1000);
    EXPECT_GT(wider, 50);
    EXPECT_LT(refused, 300);  // products too wide for a file's line
}

}  // namespace

namespace {

// A view that keeps its own copy of the tape from what the tape tells it.
struct Mirror : TapeListener {
    explicit Mirror(const Tape& tape) : tape(tape), lines(tape.Lines().ToVector()) {}
    void Check(std::int64_t first, std::int64_t last, std::size_t size) const {
        EXPECT_LE(0, first);
        EXPECT_LE(first, last);
        EXPECT_LT(last, static_cast<std::int64_t>(size));
    }
    void LinesAppended(std::int64_t first, std::int64_t last) override {
        Check(first, last, static_cast<std::size_t>(tape.Count()));
        EXPECT_EQ(first, static_cast<std::int64_t>(lines.size()));
        for (std::int64_t i = first; i <= last && i < tape.Count(); ++i) lines.emplace_back(tape.Line(i));
    }
    void TapeReset() override { lines = tape.Lines().ToVector(); }
    void LinesRemoved(std::int64_t first, std::int64_t last) override {
        Check(first, last, lines.size());
        lines.resize(static_cast<std::size_t>(std::max<std::int64_t>(first, 0)));
    }
    void LinesChanged(std::int64_t first, std::int64_t last) override {
        Check(first, last, std::min(lines.size(), static_cast<std::size_t>(tape.Count())));
        for (std::int64_t i = first; i <= last && i < tape.Count() && i < static_cast<std::int64_t>(lines.size()); ++i)
            lines[static_cast<std::size_t>(i)] = tape.Line(i);
    }
    const Tape& tape;
    Lines lines;
};

// Corrections, deletions, insertions, undo and redo tell a view exactly which lines changed, went
// or came (the chains of edits check that at every level); so do reading a file, correcting one
// of its lines and a new tape.
TEST(Undo, AViewToldOfEveryChangeShowsTheTape) {
    TestMachine t;
    Mirror view(t.machine.GetTape());
    t.machine.GetTape().SetListener(&view);
    t.Open("/home/pat/a.QBX", "QBX=\r\nACC=3\r\nOPR=+\r\nNEW=\r\nJPE=0\r\nSPC=0\r\n            1.00 +\r\n            2.00 +\r\n");
    t.Press("10+20+30+=S5+");
    EXPECT_EQ(view.lines, t.TapeLines());
    ASSERT_TRUE(t.machine.CorrectLine(0, "7", '+'));
    EXPECT_EQ(view.lines, t.TapeLines());
    for (const Command command : {Command::Undo, Command::Redo, Command::NewTape}) {
        t.machine.Run(command);
        EXPECT_EQ(view.lines, t.TapeLines()) << static_cast<int>(command);
    }
    t.machine.GetTape().SetListener(nullptr);
}

// What an edit may change, and what the record says of each line: the number the Correct Line
// dialog offers on it ("-" where it offers none).
struct Level {
    Lines tape;
    CalculatorState state;
    std::string memory;
    Lines offered;
    bool operator==(const Level&) const = default;
};

Level LevelOf(TestMachine& t, const Mirror& view) {
    Level level{t.TapeLines(), t.State(), t.machine.Memory().Text(), {}};
    EXPECT_EQ(view.lines, level.tape);  // what the tape told a view
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
// level the tape, the calculator and the record as they were, a recalled memory's number too, and
// a view told of each change shows the tape.
TEST(LineEdits, ChainsOfEditsUndoAndRedoLevelByLevel) {
    for (unsigned seed = 1; seed <= 40; ++seed) {
        std::mt19937 random(seed);
        auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
        TestMachine t;
        Mirror view(t.machine.GetTape());
        t.machine.GetTape().SetListener(&view);
        for (int b = pick(20, 60); b > 0; --b) {
            const int between = pick(0, 9);
            const std::vector<std::string> others = {"\"", "77#", "S", "ar+"};
            if (between < 4) Keys(t, others[static_cast<std::size_t>(between)]);
            if (between == 4) t.machine.Run(PlacesCommand(pick(0, 4)));
            if (between == 5) t.machine.TapeDoubleClicked(pick(0, static_cast<int>(t.machine.GetTape().Count()) - 1));
            Keys(t, std::to_string(pick(1, 9999)) + (pick(0, 2) ? "" : "." + std::to_string(pick(1, 99))) + "+-*/=++="[pick(0, 7)]);
        }
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::vector<Level> levels{LevelOf(t, view)};
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
            if (t.machine.TapeRewritten() != rewritten || t.machine.GetTape().Count() != lines)
                levels.push_back(LevelOf(t, view));
        }
        for (std::size_t i = levels.size() - 1; i > 0; --i) {
            t.machine.Run(Command::Undo);
            ASSERT_EQ(LevelOf(t, view), levels[i - 1]) << "undone to " << i - 1;
        }
        for (std::size_t i = 1; i < levels.size(); ++i) {
            t.machine.Run(Command::Redo);
            ASSERT_EQ(LevelOf(t, view), levels[i]) << "redone to " << i;
        }
        t.machine.GetTape().SetListener(nullptr);
    }
}

}  // namespace
