// Exporting the tape: the CSV file's rows and subtotals, the PDF's pages through the printer
// layout, and the export commands' file names, questions and failures.

#include <gtest/gtest.h>

#include "engine/Tape.h"
#include "engine/TapeRecompute.h"
#include "export/TapeCsv.h"
#include "fakes/TestMachine.h"

using namespace qb;
using namespace qb::test;

namespace {

using Lines = std::vector<std::string>;

// Laid out as the tape holds them: lines ending in an operation as the calculator prints them
// (right-justified, or "*" and their end when too wide), other lines as they stand.
TapeLines Laid(const Lines& lines) {
    Lines laid;
    for (const std::string& line : lines) {
        const bool printed = line.size() > 2 && line[line.size() - 2] == ' ' &&
                             std::string_view("+-*/%=").find(line.back()) != std::string_view::npos;
        laid.push_back(printed ? Tape::LayOut(line) : line);
    }
    return TapeLines(laid);
}

// The CSV's rows after the header, without their CR LF.
// The rows without their last field, the line's kind (its own test reads it).
std::string WithoutKind(const std::string& row) {
    return row.substr(0, row.find_last_of(",;"));
}

Lines Rows(const std::string& csv) {
    Lines rows;
    std::size_t at = csv.find("\r\n") + 2;
    while (at < csv.size()) {
        const std::size_t end = csv.find("\r\n", at);
        rows.push_back(WithoutKind(csv.substr(at, end - at)));
        at = end + 2;
    }
    return rows;
}

// The rows of the tape exported as a CSV file at path (without its extension).
Lines Exported(TestMachine& t, const std::string& path) {
    t.fakes.dialogs.files = {path};
    t.machine.Run(Command::ExportCsv);
    return Rows(t.fakes.files.files[path + ".csv"]);
}

TEST(TapeCsv, EveryLineKindGivesItsColumns) {
    const std::string wide = "12,345,678,901.00 +";
    struct Case {
        const char* name;
        Lines tape;
        Lines rows;
    };
    const Case cases[] = {
        {"numbers, a total and separators", {"0 =", "1,250.00 +", "7.50 -", "1,242.50 ="},
         {"1,\"               0 =\",0,=,0", "2,\"        1,250.00 +\",1250.00,+,1250",
          "3,\"            7.50 -\",7.50,-,1242.5", "4,\"        1,242.50 =\",1242.50,=,1242.5"}},
        {"a clear starts afresh after its blank line", {"5.00 +", "5.00 =", " ", "0 =", "2.00 *"},
         {"1,\"            5.00 +\",5.00,+,5", "2,\"            5.00 =\",5.00,=,5", "3,\" \",,,5",
          "4,\"               0 =\",0,=,0", "5,\"            2.00 *\",2.00,*,0"}},
        {"floating point, fractions and negative numbers", {"10. +", ".5 /", "-3.25 %", "-.75 +"},
         {"1,\"             10. +\",10,+,10", "2,\"              .5 /\",0.5,/,20",
          "3,\"           -3.25 %\",-3.25,%,-615.384615384615", "4,\"            -.75 +\",-0.75,+,-616.134615384615"}},
        {"a line too wide for the tape leaves the subtotal unknown down to the next clear",
         {"0 =", "3.00 +", wide, "4.00 +", "7.00 =", " ", "0 =", "1.00 +"},
         {"1,\"               0 =\",0,=,0", "2,\"            3.00 +\",3.00,+,3", "3,\"*,345,678,901.00 +\",,+,",
          "4,\"            4.00 +\",4.00,+,", "5,\"            7.00 =\",7.00,=,", "6,\" \",,,",
          "7,\"               0 =\",0,=,0", "8,\"            1.00 +\",1.00,+,1"}},
        {"a division by zero leaves it unknown too", {"0 =", "8.00 +", "0.00 /", "2.00 +"},
         {"1,\"               0 =\",0,=,0", "2,\"            8.00 +\",8.00,+,8", "3,\"            0.00 /\",0.00,/,",
          "4,\"            2.00 +\",2.00,+,"}},
        {"timer lines and captions with commas and quotes stand as text",
         {"Timed event: Dez 01:02:05", "Rent, \"May\"", "0 =", "Time: 00:00:05"},
         {"1,Timed event: Dez 01:02:05,,,0", "2,\"Rent, \"\"May\"\"\",,,0", "3,\"               0 =\",0,=,0",
          "4,Time: 00:00:05,,,0"}},
        {"Windows-1252 text becomes UTF-8", {"Caf\xE9 \x80 5"}, {"1,Caf\xC3\xA9 \xE2\x82\xAC 5,,,0"}},
        {"subtotals within one of zero, and a caption that ends like a number line",
         {"-.75 +", "1.25 +", "Gift for Sam +"},
         {"1,\"            -.75 +\",-0.75,+,-0.75", "2,\"            1.25 +\",1.25,+,0.5", "3,\"    Gift for Sam +\",,,0.5"}},
        {"a count and a grand total give their numbers; one too wide its mark alone", {"7 n", "-1,250.00 g", "*,345,678,901.00 g", "*12345678901234 n", "All g", "1-2 g", ", g", "1.2.3 n", "0.. g"},
         {"1,7 n,7,n,0", "2,\"-1,250.00 g\",-1250.00,g,0", "3,\"*,345,678,901.00 g\",,g,0", "4,*12345678901234 n,,n,0",
          "5,All g,,,0", "6,1-2 g,,,0", "7,\", g\",,,0", "8,1.2.3 n,,,0", "9,0.. g,,,0"}},
        {"a lone point, an amount right after its rate, wide lines with no operation",
         {". +", "19% 1,900,000.00 T", "19.00 T", "2.00 +  ", "*123456789012345", "*12345678901234+"},
         {"1,\"               . +\",0,+,0", "2,\"19% 1,900,000.00 T\",1900000.00,T,0", "3,19.00 T,19.00,T,0",
          "4,\"2.00 +  \",2.00,+,2", "5,*123456789012345,,,", "6,*12345678901234+,,,"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TapeLines lines = Laid(c.tape);
        const std::string csv = TapeCsv(lines, RecomputeSubtotals(lines));
        EXPECT_EQ(csv.substr(0, csv.find("\r\n") + 2), "line,text,number,operation,subtotal,kind\r\n");
        EXPECT_EQ(Rows(csv), c.rows);
    }
}

// The locale's form: its list separator between fields and its decimal sign in the numbers,
// nowhere else; the text column stays as the tape shows it.
TEST(TapeCsv, TheLocalesFormHasItsSeparatorAndDecimalSign) {
    struct Case {
        const char* name;
        CsvStyle style;
        Lines rows;
    };
    const Case cases[] = {
        {"a decimal comma", CsvStyle::ForLocale(","),
         {"line;text;number;operation;subtotal", "1;\"Rent; May\";;;0", "2;\"        1,234.50 +\";1234,50;+;1234,5",
          "3;\"            -.25 /\";-0,25;/;-4938", "4;\"       -4,938.00 =\";-4938,00;=;-4938"}},
        {"a sign of two bytes", CsvStyle::ForLocale("\xD9\xAB"),
         {"line,text,number,operation,subtotal", "1,Rent; May,,,0", "2,\"        1,234.50 +\",1234\xD9\xAB""50,+,1234\xD9\xAB""5",
          "3,\"            -.25 /\",-0\xD9\xAB""25,/,-4938", "4,\"       -4,938.00 =\",-4938\xD9\xAB""00,=,-4938"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TapeLines lines = Laid({"Rent; May", "1,234.50 +", "-.25 /", "-4,938.00 ="});
        const std::string csv = TapeCsv(lines, RecomputeSubtotals(lines), c.style);
        Lines rows = Rows(csv);
        rows.insert(rows.begin(), WithoutKind(csv.substr(0, csv.find("\r\n"))));
        EXPECT_EQ(rows, c.rows);
    }
}

TEST(TapeCsv, FieldsAreQuotedOnlyWhereTheyMustBe) {
    const std::pair<const char*, const char*> cases[] = {
        {"plain", "plain"},           {"a,b", "\"a,b\""},          {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"two\r\nlines", "\"two\r\nlines\""}, {" padded", "\" padded\""}, {"", ""},
    };
    for (const auto& [text, field] : cases) EXPECT_EQ(CsvField(text), field) << text;
}

// Keyed lines give the subtotal the calculator worked out, at its full precision, not the one
// their rounded numbers would give; an opened tape's lines are recomputed and keys go on from them.
TEST(ExportCsv, KeyedLinesGiveTheSubtotalAsWorkedOut) {
    struct Case {
        const char* name;
        std::vector<Command> options;
        const char* keys;
        Lines rows;
        const char* opened = nullptr;  // the file opened before the keys
    };
    const Case cases[] = {
        {"entries wider than the places, not rounded before the operation", {Command::RoundBeforeOperation},
         "1.234+2.004+=",
         {"1,\"               0 =\",0,=,0", "2,\"            1.23 +\",1.23,+,1.234", "3,\"            2.00 +\",2.00,+,3.238",
          "4,\"            3.24 =\",3.24,=,3.238"}},
        {"an opened tape", {}, "0.25+",
         {"1,\"               0 =\",0,=,0", "2,\"            1.00 +\",1.00,+,1", "3,\"            0.50 +\",0.50,+,1.5",
          "4,\"             .25 +\",0.25,+,1.75"},
         "QBX=Rent\r\nACC=1.5\r\nOPR=+\r\nNEW=\r\nJPE=0\r\nSPC=0\r\n               0 =\r\n            1.00 +\r\n"
         "            0.50 +\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestMachine t;
        for (Command option : c.options) t.machine.Run(option);
        if (c.opened) t.Open("/t/a.QBX", c.opened);
        t.Press(c.keys);
        EXPECT_EQ(Exported(t, "/home/user/tape"), c.rows);
    }
}

// The save dialog's type list chooses the form; the next export offers the one chosen last.
TEST(ExportCsv, TheTypeChosenGivesTheForm) {
    TestMachine t;
    t.machine.SetLocaleDecimalSign(",");
    t.Press("1.5+");
    t.fakes.dialogs.files = {"/t/a", "/t/b", "/t/c"};
    t.fakes.dialogs.fileTypes = {0, 1};
    for (int i = 0; i < 3; ++i) t.machine.Run(Command::ExportCsv);
    EXPECT_EQ(t.fakes.dialogs.fileTypesOffered, (std::vector<int>{0, 0, 1}));
    auto& files = t.fakes.files.files;
    EXPECT_EQ(Rows(files["/t/a.csv"]).back(), "2,\"            1.50 +\",1.50,+,1.5");
    EXPECT_EQ(Rows(files["/t/b.csv"]).back(), "2;\"            1.50 +\";1,50;+;1,5");
    EXPECT_EQ(files["/t/c.csv"], files["/t/b.csv"]);
}

// Both exports: the file dialog in the save folder with their filter, the extension added when
// missing, a question before replacing a file, and the tape's own file and state left alone. A
// failed write says so, with the reason.
TEST(Export, AsksForAFileAndLeavesTheTapeAlone) {
    struct Case {
        Command command;
        const char* filter;
        const char* extension;
    };
    const Case cases[] = {{Command::ExportPdf, "PDF files (*.pdf)|*.pdf", ".pdf"},
                          {Command::ExportCsv, "CSV (comma, point) (*.csv)|*.csv|CSV for this locale (*.csv)|*.csv", ".csv"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.extension);
        TestMachine t;
        t.machine.SetStartDirectory("/work/");
        t.Press("12+");
        // The print caption prompt (on by default) comes first for the PDF: left empty.
        t.fakes.dialogs.captions = {"", "", "", ""};
        t.fakes.dialogs.files = {"/work/March"};
        t.machine.Run(c.command);
        const std::string path = std::string("/work/March") + c.extension;
        ASSERT_EQ(t.fakes.dialogs.fileRequests.size(), 1u);
        EXPECT_EQ(t.fakes.dialogs.fileRequests[0].filter, c.filter);
        EXPECT_TRUE(t.fakes.dialogs.fileRequests[0].save);
        EXPECT_EQ(t.fakes.dialogs.fileRequests[0].initialName, std::string("/work/*") + c.extension);
        EXPECT_EQ(t.fakes.files.files.count(path), 1u);
        EXPECT_EQ(t.fakes.dialogs.busyOn, 1);
        EXPECT_EQ(t.fakes.dialogs.busyOff, 1);
        EXPECT_TRUE(t.machine.GetTape().Dirty());
        EXPECT_EQ(t.machine.Document().TapeFileName(), "");
        EXPECT_EQ(t.machine.Title(), "the Quillbox");

        // The name as typed with its extension in capitals is kept; replacing asks first.
        t.fakes.files.files[path] = "old";
        t.fakes.dialogs.files = {path};
        t.fakes.messages.answers = {MessageAnswer::No};
        t.machine.Run(c.command);
        EXPECT_EQ(t.fakes.files.files[path], "old");
        ASSERT_EQ(t.fakes.messages.shown.size(), 1u);
        EXPECT_NE(t.fakes.messages.shown[0].text.find("already exists"), std::string::npos);
        std::string upper = std::string("/work/Upper") + c.extension;
        for (std::size_t i = upper.size() - 3; i < upper.size(); ++i) upper[i] = static_cast<char>(upper[i] - 'a' + 'A');
        t.fakes.dialogs.files = {upper};
        t.machine.Run(c.command);
        EXPECT_EQ(t.fakes.files.files.count(upper), 1u);

        t.fakes.files.failWrites = true;
        t.fakes.files.writeError = "No space left on device";
        t.fakes.pdf.failure = "No space left on device";
        t.fakes.dialogs.files = {"/full/disk"};
        t.machine.Run(c.command);
        ASSERT_EQ(t.fakes.messages.shown.size(), 2u);
        EXPECT_EQ(t.fakes.messages.shown[1].title, "Oops!");
        const std::string& failure = t.fakes.messages.shown[1].text;
        EXPECT_NE(failure.find("The tape could not be exported to disk."), std::string::npos);
        EXPECT_NE(failure.find("No space left on device!"), std::string::npos);
    }
}

// The PDF is the printed tape: the caption when Print would print it, the timed event's heading
// while one runs (which the export leaves running), then every line. A cancelled print caption
// prompt exports nothing. The PDF's title is the document's, as a print job's name is.
TEST(ExportPdf, LaysTheTapeOutAsPrintDoes) {
    TestMachine t({}, false);
    t.fakes.dialogs.printers = 0;  // no printer: Print is off, the PDF export is not
    t.Start();
    EXPECT_FALSE(t.machine.MenuItemEnabled(Command::Print));
    EXPECT_TRUE(t.machine.MenuItemEnabled(Command::ExportPdf));
    t.Press("12+3=");
    t.fakes.dialogs.captions = {std::nullopt};
    t.fakes.dialogs.files = {"/t/x"};
    t.machine.Run(Command::ExportPdf);
    EXPECT_TRUE(t.fakes.dialogs.fileRequests.empty());
    t.fakes.dialogs.captions = {std::string("March, \"rent\"")};  // the print caption prompt
    t.machine.Event().active = true;
    t.machine.Event().name = "Dez";
    t.fakes.dialogs.files = {"/t/march"};
    t.machine.Run(Command::ExportPdf);
    EXPECT_EQ(t.fakes.files.files["/t/march.pdf"],
              "Timed event: Dez \nMarch, \"rent\"\n               0 =\n           12.00 +\n            3.00 +\n"
              "           15.00 =\n");
    EXPECT_EQ(t.fakes.pdf.printer.fontName, "Arial");  // put back, as after printing
    EXPECT_EQ(t.fakes.pdf.titles, (Lines{"March, \"rent\""}));
    EXPECT_TRUE(t.machine.Event().active);
    EXPECT_EQ(t.fakes.dialogs.captionPrompts, (Lines{"", ""}));
}

}  // namespace
