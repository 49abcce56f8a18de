// The grand total: every total added in with its option on, printed by its key and cleared by a
// second press in a row; kept in the settings; replayed by corrections and undo. And the CSV's
// last column, each line's kind.

#include <gtest/gtest.h>

#include "engine/NoteLines.h"
#include "export/TapeCsv.h"
#include "fakes/TestMachine.h"

using namespace qb;
using namespace qb::test;

namespace {

using Lines = std::vector<std::string>;

TestMachine WithGrandTotal(std::map<std::string, std::string> stored = {}) {
    stored.emplace("Grand Total", "True");
    return TestMachine(std::move(stored));
}

TEST(GrandTotal, AddsEveryTotalAndPrintsThenClears) {
    const struct {
        const char* name;
        bool on;
        const char* keys;     // typed; 'G' is the grand total key
        const char* printed;  // the last line after
        double grand;
    } cases[] = {
        {"the printed (rounded) total", true, "1.005+=G", "1.01 g", 1.01},
        {"pressed twice clears without a line", true, "12+3=GG", "15.00 g", 0},
        {"option off: no key, nothing added", false, "12+3=G", "15.00 =", 0},
        {"a subtotal is no total", true, "12+3+G", ".00 g", 0},
        // Two totals (the guide's example), or pressed, a key, pressed: nothing cleared.
        {"pressed, a key, pressed", true, "12+3=G4G", "15.00 g", 15},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestMachine t = c.on ? WithGrandTotal() : TestMachine();
        for (const char key : std::string(c.keys)) {
            if (key == 'G') t.machine.Run(Command::GrandTotal);
            else t.Type(std::string(1, key));
        }
        EXPECT_EQ(t.Trimmed().back(), c.printed);
        EXPECT_DOUBLE_EQ(t.State().GrandTotal, c.grand);
    }
}

TEST(GrandTotal, KeptInTheSettingsAndBroughtBackAtStart) {
    TestMachine t = WithGrandTotal();
    t.Type("12+3=");
    EXPECT_EQ(t.fakes.settings.values["Grand Total Value"], "15");
    TestMachine again = WithGrandTotal(t.fakes.settings.values);
    EXPECT_DOUBLE_EQ(again.State().GrandTotal, 15);
    again.machine.Run(Command::GrandTotal);
    again.machine.Run(Command::GrandTotal);
    EXPECT_EQ(again.fakes.settings.values["Grand Total Value"], "0");
    // Never used: no key stored.
    EXPECT_EQ(TestMachine().fakes.settings.values.count("Grand Total Value"), 0u);
}

// Notes, references, counts and grand totals are tape lines a file holds as they stand: saved,
// opened and saved again, the bytes are the same.
TEST(GrandTotal, ABookSavedOpenedAndSavedAgainIsTheSameBytes) {
    TestMachine t = WithGrandTotal({{"Item Count", "True"}});
    t.Type("1250+4711#75=");
    t.fakes.dialogs.notes.push_back("Office supplies for March");
    t.machine.Run(Command::Note);
    t.machine.Run(Command::GrandTotal);
    t.AnswerSaveAs("/t/book", "Book");
    t.machine.Run(Command::SaveAs);
    const std::string bytes = t.fakes.files.files["/t/book.QBX"];
    TestMachine again;
    again.Open("/t/book.QBX", bytes);
    EXPECT_EQ(again.TapeLines(), t.TapeLines());
    again.AnswerSaveAs("/t/again", "Book");
    again.machine.Run(Command::SaveAs);
    EXPECT_EQ(again.fakes.files.files["/t/again.QBX"], bytes);
}

TEST(TapeCsv, TheLastColumnIsTheLinesKind) {
    const Lines lines = {Tape::LayOut("0 ="), Tape::LayOut("1,250.00 +"), Tape::LayOut("4711 #"), NoteLines("Rent")[0],
                         Tape::LayOut("12 n"), Tape::LayOut("1,250.00 ="), Tape::LayOut("1,250.00 g"), " ",
                         Tape::LayOut("0 ="), Tape::LayOut("10.00 A"), "*123456789012.00 +",
                         "Stopwatch 0:01:02", "3    15.00 ="};
    const Lines kinds = {"clear", "number", "reference", "note", "count", "total", "grand total", "blank",
                         "clear", "adjusted", "overflow", "text", "total"};
    const std::string csv = TapeCsv(TapeLines(lines), std::vector<std::optional<double>>(lines.size()));
    EXPECT_EQ(csv.substr(0, csv.find("\r\n")), "line,text,number,operation,subtotal,kind");
    EXPECT_NE(csv.find(" g\",1250.00,g,,grand total\r\n"), std::string::npos);
    Lines column;  // the export's own last column, row by row
    for (std::size_t end = csv.find("\r\n"), next; (next = csv.find("\r\n", end + 2)) != std::string::npos; end = next)
        column.push_back(csv.substr(csv.rfind(',', next) + 1, next - csv.rfind(',', next) - 1));
    EXPECT_EQ(column, kinds);
}

}  // namespace
