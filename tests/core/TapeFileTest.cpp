#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "documents/TapeFile.h"
#include "engine/NumberRules.h"

using namespace qb;
using namespace std::string_literals;

namespace {

// A readable picture of a document, so a failed comparison shows what differs. The subtotal is
// shown in its shortest exact form, so two different doubles never look the same.
std::string Describe(const TapeDocument& d) {
    char number[64];
    auto end = std::to_chars(number, number + sizeof number, d.subtotal).ptr;
    std::string out = "caption [" + d.caption + "] subtotal " + std::string(number, end) + " op [" +
                      std::string(1, d.pendingOperation) + "] entry [" + d.entryText + "] jpe " +
                      (d.justPressedEquals ? "T" : "F") + " spc " + (d.specialResult ? "T" : "F") + " tev [" +
                      d.elapsedTime + "] lines";
    for (const std::string_view line : d.lines) out += " [" + std::string(line) + "]";
    return out;
}

TapeDocument Document(std::string caption, double subtotal, char operation, std::string entry, bool jpe,
                      bool spc, std::string elapsed, std::vector<std::string> lines) {
    TapeDocument d;
    static_cast<TapeValues&>(d) = {std::move(caption), subtotal, operation, std::move(entry), jpe, spc,
                                   std::move(elapsed)};
    d.lines = std::move(lines);
    return d;
}

// A document no test reads into a file, to see that failed reads leave the target alone.
TapeDocument Untouched() {
    return Document("old caption", 7.25, '/', "3.", false, true, "00:00:09", {"            7.25 /"});
}

const std::string kHeader = "QBX=Fuel\r\nACC=1\r\nOPR=+\r\nNEW=\r\nJPE=-1\r\nSPC=0\r\n";

struct GoldenCase {
    const char* name;
    TapeDocument document;
    std::string bytes;
};

std::vector<GoldenCase> GoldenCases() {
    return {
        {"with timer reading",
         Document("March fuel", 42.5, '+', "", true, false, "01:02:05", {"           40.00 +", "            2.50 +"}),
         "QBX=March fuel\r\nACC=42.5\r\nOPR=+\r\nNEW=\r\nJPE=-1\r\nSPC=0\r\nTEV=01:02:05\r\n"
         "           40.00 +\r\n            2.50 +\r\n"},
        {"empty tape with timer reading", Document("", 0, '+', "", true, false, "00:00:42", {}),
         "QBX=\r\nACC=0\r\nOPR=+\r\nNEW=\r\nJPE=-1\r\nSPC=0\r\nTEV=00:00:42\r\n"},
        // Only the first four characters are a key: "=" and a key inside the caption stay.
        {"caption with = and 8-bit bytes",
         Document("ACC=gas \xE9t\xE9 = 5\xA0\x80", 0.5, 'x', "12.5", false, true, "", {" ", "               0 ="}),
         "QBX=ACC=gas \xE9t\xE9 = 5\xA0\x80\r\nACC=.5\r\nOPR=x\r\nNEW=12.5\r\nJPE=0\r\nSPC=-1\r\n"
         " \r\n               0 =\r\n"},
        {"negative and exponent subtotals", Document("", -0.25, '-', "-3", false, false, "", {"*,234,567,890.12 +"}),
         "QBX=\r\nACC=-.25\r\nOPR=-\r\nNEW=-3\r\nJPE=0\r\nSPC=0\r\n*,234,567,890.12 +\r\n"},
        {"large subtotal", Document("", 1.5e20, '%', "", true, true, "", {}),
         "QBX=\r\nACC=1.5E+20\r\nOPR=%\r\nNEW=\r\nJPE=-1\r\nSPC=-1\r\n"},
        {"NUL bytes", Document("a\0b"s, 1, '+', "1\0"s, true, false, "\0"s, {"\0"s, "x\0\0y"s, ""}),
         "QBX=a\0b\r\nACC=1\r\nOPR=+\r\nNEW=1\0\r\nJPE=-1\r\nSPC=0\r\nTEV=\0\r\n\0\r\nx\0\0y\r\n\r\n"s},
        // A first line that looks like a timer reading, without one, is written after an empty reading.
        {"a first line like a timer reading", Document("c", 1, '+', "", true, false, "", {"TEV=00:00:05", "x"}),
         "QBX=c\r\nACC=1\r\nOPR=+\r\nNEW=\r\nJPE=-1\r\nSPC=0\r\nTEV=\r\nTEV=00:00:05\r\nx\r\n"},
        // Only the line after the header is a timer reading: a later TEV= line is a tape line.
        {"a later line like a timer reading", Document("", 1, '+', "", true, false, "", {" ", "TEV=1"}),
         "QBX=\r\nACC=1\r\nOPR=+\r\nNEW=\r\nJPE=-1\r\nSPC=0\r\n \r\nTEV=1\r\n"},
        {"a second timer reading", Document("", 1, '+', "", true, false, "1", {"TEV=2"}),
         "QBX=\r\nACC=1\r\nOPR=+\r\nNEW=\r\nJPE=-1\r\nSPC=0\r\nTEV=1\r\nTEV=2\r\n"},
    };
}

TEST(TapeFile, WritesExactBytesAndReadsThemBack) {
    for (const auto& c : GoldenCases()) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(WriteTapeBytes(c.document), c.bytes);
        TapeDocument read = Untouched();
        ASSERT_EQ(ReadTapeBytes(c.bytes, read), TapeReadResult::Read);
        EXPECT_EQ(Describe(read), Describe(c.document));
        EXPECT_EQ(WriteTapeBytes(read), c.bytes);
    }
}

struct ReadCase {
    const char* name;
    std::string bytes;
    TapeReadResult expected;
};

TEST(TapeFile, FaultyFilesLeaveTheDocumentAlone) {
    using R = TapeReadResult;
    const ReadCase cases[] = {
        {"empty file", "", R::NotATapeFile},
        {"small letters", "qbx=Fuel\r\nACC=1\r\nOPR=+\r\nNEW=\r\nJPE=-1\r\nSPC=0\r\n", R::NotATapeFile},
        {"blank first line", "\r\n" + kHeader, R::NotATapeFile},
        {"keys out of order", "QBX=Fuel\r\nOPR=+\r\nACC=1\r\nNEW=\r\nJPE=-1\r\nSPC=0\r\n", R::NotATapeFile},
        {"JPE and SPC swapped", "QBX=Fuel\r\nACC=1\r\nOPR=+\r\nNEW=\r\nSPC=0\r\nJPE=-1\r\n", R::NotATapeFile},
        {"ends after OPR", "QBX=Fuel\r\nACC=1\r\nOPR=+\r\n", R::Corrupted},
        {"ends inside JPE line", "QBX=Fuel\r\nACC=1\r\nOPR=+\r\nNEW=\r\nJPE=-", R::Corrupted},
        {"ends right after SPC", kHeader, R::Read},
        {"ends in SPC without line end", "QBX=Fuel\r\nACC=1\r\nOPR=+\r\nNEW=\r\nJPE=-1\r\nSPC=0", R::Read},
        // The first fault met decides.
        {"bad flag before a wrong key", "QBX=Fuel\r\nACC=1\r\nOPR=+\r\nNEW=\r\nJPE=maybe\r\nspc=0\r\n", R::Corrupted},
        {"wrong key before a bad flag", "QBX=Fuel\r\nACC=1\r\nOPR=+\r\nnew=\r\nJPE=maybe\r\n", R::NotATapeFile},
        // Millions of empty lines would cost more than twice the file's size in memory: no tape.
        {"a million LFs", kHeader + std::string(1'000'000, '\n'), R::Corrupted},
        {"a million CRs", kHeader + std::string(1'000'000, '\r'), R::Corrupted},
    };
    std::vector<ReadCase> all(std::begin(cases), std::end(cases));
    // A pending operation the calculator does not know makes the file corrupted.
    for (const std::string& operation : {""s, "*"s, "++"s, "\0"s})
        all.push_back({"OPR", "QBX=Fuel\r\nACC=1\r\nOPR=" + operation + "\r\nNEW=\r\nJPE=-1\r\nSPC=0\r\n", R::Corrupted});
    for (const auto& c : all) {
        SCOPED_TRACE(std::string(c.name) + " " + c.bytes.substr(0, 80));
        TapeDocument document = Untouched();
        EXPECT_EQ(ReadTapeBytes(c.bytes, document), c.expected);
        if (c.expected != TapeReadResult::Read) {
            EXPECT_EQ(Describe(document), Describe(Untouched()));
        }
    }
}

TEST(TapeFile, FlagValues) {
    using R = TapeReadResult;
    const std::tuple<const char*, TapeReadResult, bool> cases[] = {  // the value, the reading, the flag
        {"-1", R::Read, true},      {"0", R::Read, false},        {"-0", R::Read, false},   {".5", R::Read, true},
        {"1E999", R::Read, true},   {"1E-999", R::Read, true},    {"0E5", R::Read, false},  {" -1 ", R::Read, true},
        {"+3", R::Read, true},      {"TRUE", R::Read, true},      {"fAlSe", R::Read, false}, {"", R::Corrupted, false},
        {"Truely", R::Corrupted, false}, {"Xrue", R::Corrupted, false}, {"1x", R::Corrupted, false},
        {"-", R::Corrupted, false}, {"1E", R::Corrupted, false},  {"1,0", R::Corrupted, false}, {"1 2", R::Corrupted, false},
    };
    for (const auto& [value, expected, flag] : cases) {
        for (bool jpe : {true, false}) {
            SCOPED_TRACE(std::string(jpe ? "JPE=" : "SPC=") + value);
            // The other flag holds the opposite of what is expected, so a mix-up shows.
            const std::string other = flag ? "0" : "-1";
            const std::string bytes = "QBX=\r\nACC=0\r\nOPR=+\r\nNEW=\r\nJPE=" + (jpe ? value : other) +
                                      "\r\nSPC=" + (jpe ? other : value) + "\r\n";
            TapeDocument document = Untouched();
            ASSERT_EQ(ReadTapeBytes(bytes, document), expected);
            if (expected != R::Read) continue;
            EXPECT_EQ(jpe ? document.justPressedEquals : document.specialResult, flag);
            EXPECT_EQ(jpe ? document.specialResult : document.justPressedEquals, !flag);
        }
    }
}

TEST(TapeFile, SubtotalValues) {
    const std::pair<const char*, double> cases[] = {
        {".5", 0.5}, {"1.5E+20", 1.5e20}, {"-.25", -0.25}, {"2E-07", 2e-7}, {"42.5", 42.5}, {"abc", 0},
        {"", 0},     {"12.5.3", 12.5},    {"1,234", 1},    {" 7", 7},       {"-0", 0},       {"inf", 0},
        {"nan", 0},  {"1E-999", 0},       {"1E-99999", 0}, {"0.00001E-99999", 0},
        // The top of the range as the program writes it, 15 digits rounded up past the largest double.
        {"1.79769313486232E+308", 1.7976931348623157e308},
        {"-1.79769313486232E+308", -1.7976931348623157e308},
        {"1.7976931348623157E+308", 1.7976931348623157e308},
    };
    for (const auto& [value, expected] : cases) {
        SCOPED_TRACE(value);
        TapeDocument document;
        const std::string bytes = "QBX=\r\nACC="s + value + "\r\nOPR=+\r\nNEW=\r\nJPE=0\r\nSPC=0\r\n";
        ASSERT_EQ(ReadTapeBytes(bytes, document), TapeReadResult::Read);
        EXPECT_EQ(document.subtotal, expected);
        EXPECT_FALSE(std::signbit(document.subtotal) && document.subtotal == 0) << "a zero reads unsigned";
    }
    // Beyond the range it cannot have been written by the program: rather than go on with a
    // different number, the file is corrupted.
    for (const char* value : {"1E999", "-1E999", "1e400", "1.79769313486233E+308", "1E+99999", "77777E99999"}) {
        TapeDocument document;
        EXPECT_EQ(ReadTapeBytes("QBX=\r\nACC="s + value + "\r\nOPR=+\r\nNEW=\r\nJPE=0\r\nSPC=0\r\n", document),
                  TapeReadResult::Corrupted) << value;
    }
}

TEST(TapeFile, LineEnds) {
    const std::tuple<const char*, std::string, std::vector<std::string>> cases[] = {
        {"lone CR", "QBX=Fuel\rACC=1\rOPR=+\rNEW=\rJPE=-1\rSPC=0\r  5.00 +\r  6.00 +\r", {"  5.00 +", "  6.00 +"}},
        {"mixed", "QBX=Fuel\r\nACC=1\rOPR=+\nNEW=\r\nJPE=-1\rSPC=0\n  5.00 +\r\n  6.00 +", {"  5.00 +", "  6.00 +"}},
        {"CR CR is an empty line", kHeader + "a\r\rb\r\n", {"a", "", "b"}},
        {"LF CR is two line ends", kHeader + "a\n\rb", {"a", "", "b"}},
        {"blank lines at the end", kHeader + "a\r\n\r\n\r\n", {"a", "", ""}},
        {"last line without line end", kHeader + "a\r\n b", {"a", " b"}},
    };
    for (const auto& [name, bytes, lines] : cases) {
        SCOPED_TRACE(name);
        TapeDocument document;
        ASSERT_EQ(ReadTapeBytes(bytes, document), TapeReadResult::Read);
        EXPECT_EQ(document.lines, lines);
    }
}

// Tape lines may be of any length; a header value is at most 64 KiB (the program writes short
// ones), and a longer one makes the file corrupted rather than a burden on every redraw.
TEST(TapeFile, LongLinesAndHeaderValues) {
    const std::string longLine(3'000'000, '7'), longest(64 * 1024, '7'), tooLong(64 * 1024 + 1, '7');
    TapeDocument document = Document(longest, 1, '+', longest, true, false, longest, {longLine, "", longLine});
    const std::string bytes = WriteTapeBytes(document);
    TapeDocument read;
    ASSERT_EQ(ReadTapeBytes(bytes, read), TapeReadResult::Read);
    EXPECT_TRUE(read.caption == longest && read.entryText == longest && read.elapsedTime == longest);
    EXPECT_EQ(read.lines, document.lines);
    for (int field = 0; field < 3; ++field) {
        TapeDocument tooMuch = document;
        (field == 0 ? tooMuch.caption : field == 1 ? tooMuch.entryText : tooMuch.elapsedTime) = tooLong;
        EXPECT_EQ(ReadTapeBytes(WriteTapeBytes(tooMuch), read), TapeReadResult::Corrupted) << field;
    }

    // A flag or subtotal of any length allowed is still judged, not overflowed.
    std::string zeros = "QBX=\r\nACC=0." + std::string(60'000, '7') + "\r\nOPR=+\r\nNEW=\r\nJPE=" +
                        std::string(60'000, '0') + "\r\nSPC=" + std::string(60'000, '0') + "1\r\n";
    ASSERT_EQ(ReadTapeBytes(zeros, read), TapeReadResult::Read);
    EXPECT_DOUBLE_EQ(read.subtotal, 7.0 / 9);
    EXPECT_FALSE(read.justPressedEquals);
    EXPECT_TRUE(read.specialResult);
    zeros.replace(zeros.find("ACC=0."), 6, "ACC=");
    EXPECT_EQ(ReadTapeBytes(zeros, read), TapeReadResult::Corrupted);  // beyond a double
}

// Whatever the bytes, reading ends, and a document that was read comes back the same from the
// bytes written for it. The alphabet holds the header's letters and every kind of line end.
TEST(TapeFile, ArbitraryBytesReadSafelyAndRoundTrip) {
    const std::string alphabet = "QBXACOPRNEWJSTV=+-x/%.0123456789 \r\n\0\xE9"s;
    std::mt19937 random(20240501);
    int read = 0;
    for (int round = 0; round < 3000; ++round) {
        // Start from a good header most of the time, so that the tape part is reached too.
        std::string bytes = round % 4 == 0 ? "" : kHeader.substr(0, random() % (kHeader.size() + 1));
        const std::size_t length = random() % 80;
        for (std::size_t i = 0; i < length; ++i) bytes += alphabet[random() % alphabet.size()];

        TapeDocument first = Untouched();
        if (ReadTapeBytes(bytes, first) != TapeReadResult::Read) {
            EXPECT_EQ(Describe(first), Describe(Untouched())) << bytes;
            continue;
        }
        ++read;
        ASSERT_TRUE(std::isfinite(first.subtotal)) << bytes;
        TapeDocument second;
        ASSERT_EQ(ReadTapeBytes(WriteTapeBytes(first), second), TapeReadResult::Read) << bytes;
        // The subtotal is kept to 15 significant digits.
        EXPECT_EQ(NumberToText(second.subtotal), NumberToText(first.subtotal)) << bytes;
        second.subtotal = first.subtotal;
        EXPECT_EQ(Describe(second), Describe(first)) << bytes;
    }
    EXPECT_GT(read, 100) << "too few random files got past the header to test the tape part";
}

}  // namespace
