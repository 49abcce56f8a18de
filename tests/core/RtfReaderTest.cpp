#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <variant>
#include <string>
#include <vector>

#include "guide/RtfReader.h"

using namespace qb;
namespace fs = std::filesystem;

namespace {

const fs::path kSourceRoot = QB_SOURCE_DIR;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A document around a body, with a font and a colour table as word processors write them.
std::string Doc(const std::string& body) {
    return "{\\rtf1\\ansi\\ansicpg1252\\deff0"
           "{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\froman\\fcharset2 Symbol;}"
           "{\\f2\\fmodern Courier New;}}"
           "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green128\\blue0;}"
           "\\pard " +
           body + "}";
}

// The document's paragraphs outside tables.
std::vector<RichParagraph> Paragraphs(const RichDocument& doc) {
    std::vector<RichParagraph> paragraphs;
    for (const RichBlock& block : doc.blocks)
        if (const auto* para = std::get_if<RichParagraph>(&block)) paragraphs.push_back(*para);
    return paragraphs;
}

std::string PlainOf(const std::string& rtf) { return ReadRtf(rtf).value().PlainText(); }

// One run as "flags/size@font#colour:text"; Arial and 24 half-points go without saying. The
// flags: b i, u and its kind (udb double, uth thick, uw words, ud dotted, udash, udashd,
// udashdd, uwave), s strike, ^ superscript, _ subscript, C capitals, c small capitals.
std::string Describe(const TextRun& run) {
    static const char* const kUnderlines[] = {"", "u", "udb", "uth", "uw", "ud", "udash", "udashd", "udashdd", "uwave"};
    std::string d;
    if (run.bold) d += 'b';
    if (run.italic) d += 'i';
    d += kUnderlines[static_cast<int>(run.underline)];
    if (run.strike) d += 's';
    if (run.position == VerticalPosition::Superscript) d += '^';
    if (run.position == VerticalPosition::Subscript) d += '_';
    if (run.capitals == Capitals::All) d += 'C';
    if (run.capitals == Capitals::Small) d += 'c';
    if (run.fontSizeHalfPoints != 24) d += "/" + std::to_string(run.fontSizeHalfPoints);
    if (run.fontFamily != "Arial") d += "@" + run.fontFamily;
    if (run.color) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "#%02x%02x%02x", run.color->red, run.color->green, run.color->blue);
        d += hex;
    }
    return d + ":" + run.text;
}

std::string RunsOf(const RichParagraph& para) {
    std::string out;
    for (std::size_t i = 0; i < para.runs.size(); ++i) out += (i ? " | " : "") + Describe(para.runs[i]);
    return out;
}

std::string RunsOf(const std::string& rtf) {
    std::string out;
    for (const RichParagraph& para : Paragraphs(ReadRtf(rtf).value()))
        out += (out.empty() ? "" : " || ") + RunsOf(para);
    return out;
}

// Each paragraph as "alignment left right first before after:text", alignment by its initial.
std::vector<std::string> LayoutsOf(const std::string& rtf) {
    std::vector<std::string> out;
    for (const RichParagraph& p : Paragraphs(ReadRtf(rtf).value())) {
        out.push_back(std::string(1, "LCRJ"[static_cast<int>(p.alignment)]));
        for (int twips : {p.leftIndentTwips, p.rightIndentTwips, p.firstLineIndentTwips, p.spaceBeforeTwips,
                          p.spaceAfterTwips})
            out.back() += " " + std::to_string(twips);
        out.back() += ":" + p.PlainText();
    }
    return out;
}

struct Case {
    std::string rtf;
    std::string expected;
};

// ----- what is and is not rich text -----

// What is not rich text is refused; a document cut short or damaged keeps what was read.
TEST(RtfReader, ReadsMinimalAndDamagedDocumentsAndRefusesTheRest) {
    static const char kControlBytes[] = "{\\rtf1 a\0b\x01\x7f c}";
    const std::string refused = "<refused>";
    const Case cases[] = {
        {"", refused},
        {"hello", refused},
        {"{\\rt", refused},
        {"{\\rtfoo1 text}", refused},
        {"{\\rtfA1 text}", refused},
        {"{ \\rtf1 text}", refused},
        {"{\\RTF1 text}", refused},
        // Nesting far deeper than any word processor writes.
        {"{\\rtf1 " + std::string(300, '{') + "x" + std::string(300, '}') + "}", refused},
        {"{\\rtf1 Hello}", "Hello"},
        {"{\\rtf Hello}", "Hello"},
        {"{\\rtf1}", ""},
        {"  \r\n{\\rtf1 Leading blanks}", "Leading blanks"},
        // Cut short anywhere: what was read stays.
        {"{\\rtf1 abc", "abc"},
        {"{\\rtf1 abc\\", "abc"},
        {"{\\rtf1 abc\\'4", "abc"},
        {"{\\rtf1 abc\\u82", "abcR"},
        {"{\\rtf1 {\\b a{\\i b", "ab"},
        {"{\\rtf1 {\\*\\generator x", ""},
        // Extra closing braces end the document; nothing after it is read.
        {"{\\rtf1 a}}}b", "a"},
        // NUL and other control bytes are not text.
        {std::string(kControlBytes, sizeof kControlBytes - 1), "ab c"},
        // Groups at the depth limit are still read.
        {"{\\rtf1 " + std::string(250, '{') + "deep" + std::string(250, '}') + "}", "deep"},
        // A skipped group may nest deeper: it is only counted.
        {"{\\rtf1 {\\*\\x " + std::string(5000, '{') + std::string(5000, '}') + "}after}", "after"},
        // \bin longer than the rest of the file simply ends it.
        {"{\\rtf1 a{\\pict\\bin99999999999999 xyz}}", "a"},
    };
    for (const Case& c : cases) {
        const auto doc = ReadRtf(c.rtf);
        EXPECT_EQ(doc ? doc->PlainText() : refused, c.expected) << c.rtf.substr(0, 60);
    }
}

// ----- formatting -----

TEST(RtfReader, CharacterFormatting) {
    const Case cases[] = {
        {"a{\\b b}c", ":a | b:b | :c"},
        {"\\i a\\i0 b", "i:a | :b"},
        {"\\ul a\\ulnone b\\ul c\\ul0 d", "u:a | :b | u:c | :d"},
        {"\\uldb a\\ulc0 b\\ulwave c", "udb:ab | uwave:c"},
        {"\\fs40 a\\fs b", "/40:a | :b"},
        // Parameters beyond any sensible value are clamped.
        {"\\fs99999999999999999999999 big", "/3276:big"},
        {"\\b\\i\\ul\\fs32\\cf1\\f2 a\\plain b", "biu/32@Courier New#ff0000:a | :b"},
        // State comes back when a group closes, however deep.
        {"\\b{\\i{\\ul a}b}c", "biu:a | bi:b | b:c"},
        // A change that does not show keeps one run.
        {"a\\b\\b0 b{}c", ":abc"},
        {"a\\cf0 b\\cf9 c", ":abc"},
        {"a\\cf3 b", ":ab"},  // one past the colour table
        // Hidden text is not shown.
        {"a{\\v secret}b", ":ab"},
        // Symbol's letters are Greek, drawn in the viewer's font like text in an unknown one.
        {"\\f2 mono\\f1 sym\\f77 none", "@Courier New:mono | @:\xCF\x83\xCF\x88\xCE\xBCnone"},
        {"\\cf1 red\\cf2 green\\cf0 auto", "#ff0000:red | #008000:green | :auto"},
        {"H{\\sub 2}O{\\super 3}{\\strike s}{\\caps C}{\\scaps c}", ":H | _:2 | :O | ^:3 | s:s | C:C | c:c"},
        {"\\up6 a\\dn2 b\\up0 c\\uld d\\ulth e\\ulnone f", "^:a | _:b | :c | ud:d | uth:e | :f"},
    };
    for (const Case& c : cases) EXPECT_EQ(RunsOf(Doc(c.rtf)), c.expected) << c.rtf;
}

TEST(RtfReader, FontTableForms) {
    const Case cases[] = {
        // Entries without their own braces.
        {"{\\rtf1{\\fonttbl\\f0\\fnil Courier New;\\f1 Tahoma;}\\f1 x}", "@Tahoma:x"},
        // Alternative names and panose numbers are not part of the name.
        {"{\\rtf1{\\fonttbl{\\f2\\fswiss{\\*\\panose 020b0604020202020204}Liberation Sans"
         "{\\*\\falt Arial};}}\\f2 x}",
         "@Liberation Sans:x"},
        // A name longer than any font's is cut.
        {"{\\rtf1{\\fonttbl{\\f0 " + std::string(200, 'a') + ";}}\\f0 x}", "@" + std::string(125, 'a') + ":x"},
        // Blanks around a name are not part of it.
        {"{\\rtf1{\\fonttbl{\\f1\\fnil  Tahoma ;}}\\f1 x}", "@Tahoma:x"},
        // A last entry without its ";".
        {"{\\rtf1{\\fonttbl{\\f3 Georgia}}\\f3 x}", "@Georgia:x"},
        // Names in the code page.
        {"{\\rtf1{\\fonttbl{\\f0 Caf\\'e9 Sans;}}\\f0 x}", "@Caf\xC3\xA9 Sans:x"},
        // The default font applies before any \f and after \plain.
        {"{\\rtf1\\deff1{\\fonttbl{\\f0 Arial;}{\\f1 Tahoma;}}x\\f0 y\\plain z}", "@Tahoma:x | :y | @Tahoma:z"},
    };
    for (const Case& c : cases) EXPECT_EQ(RunsOf(c.rtf), c.expected) << c.rtf;
}

TEST(RtfReader, ParagraphFormatting) {
    const std::vector<std::string> expected = {
        "C 0 0 0 0 0:centred", "R 0 0 0 0 0:right", "J 720 360 -360 120 240:justified",
        "J 720 360 -360 120 240:still justified", "L 0 0 0 0 0:left again", "C 0 0 0 0 0:inner",
        "L -31680 0 31680 0 0:clamped",
        "L 100 0 0 0 0:outer",  // the last paragraph, without \par, keeps its format
    };
    EXPECT_EQ(LayoutsOf(Doc("\\qc centred\\par\\pard\\qr right\\par"
                            "\\pard\\qj\\li720\\ri360\\fi-360\\sb120\\sa240 justified\\par still justified\\par"
                            "\\pard left again\\par{\\qc inner\\par}"
                            "\\li-99999999999999\\fi99999999999 clamped\\par\\pard\\li100 outer")),
              expected);
}

// ----- characters -----

TEST(RtfReader, EscapesAndSpecialCharacters) {
    const Case cases[] = {
        {"\\{\\}\\\\", "{}\\"},
        {"a\\~b\\-c\\_d", "a\xC2\xA0" "bc\xE2\x80\x91" "d"},
        {"a\\tab b\tc", "a\tb\tc"},
        {"a\\line b\\\nc", "a\nb\nc"},
        {"a\\par\\par b\\par", "a\n\nb"},
        {"a\r\nb", "ab"},
        {"x\\emdash\\endash\\lquote\\rquote\\ldblquote\\rdblquote\\bullet",
         "x\xE2\x80\x94\xE2\x80\x93\xE2\x80\x98\xE2\x80\x99\xE2\x80\x9C\xE2\x80\x9D\xE2\x80\xA2"},
        {"x\\emspace\\enspace\\qmspace\\zwj\\zwnj\\ltrmark\\rtlmark", "x\u2003\u2002\u2005\u200D\u200C\u200E\u200F"},
        // The blank after a control word delimits it; a second blank is text.
        {"\\b  a", " a"},
        {"a\\foo b\\foo123 c\\foo-5 d", "abcd"},
        {"a\\'41\\'4Fb", "aAOb"},  // capital hex digits too
        // Bytes above 127 written as they are count in the document's code page.
        {"caf\xe9 \x80", "caf\xC3\xA9 \xE2\x82\xAC"},
        {"a\\'zzb", "azzb"},
        {"\\trowd\\cellx100\\cellx200 A\\cell B\\cell\\row C", "A\tB\nC"},
        {"one\\sect two\\page three", "one\ntwo\nthree"},
        // A list marker belongs to its own paragraph only.
        {"{\\pntext 1.\\tab}First\\par Second", "1.\tFirst\nSecond"},
    };
    for (const Case& c : cases) EXPECT_EQ(PlainOf(Doc(c.rtf)), c.expected) << c.rtf;
}

TEST(RtfReader, UnicodeAndItsFallbacks) {
    const Case cases[] = {
        {"caf\\u233?", "caf\xC3\xA9"},
        // The last character of two bytes in UTF-8 and the first of three.
        {"\\u2047?\\u2048?", "\xDF\xBF\xE0\xA0\x80"},
        {"\\u8364\\'80\\'80", "\xE2\x82\xAC\xE2\x82\xAC"},
        {"\\uc2\\u8364xyz", "\xE2\x82\xAC" "z"},
        {"\\uc0\\u8364 x", "\xE2\x82\xAC" "x"},
        // Values above 32767 are written negative.
        {"\\u-1279?", "\xEF\xAC\x81"},
        // Surrogate pairs, each half with its own fallback; U+DC00 is the first low half.
        {"\\u-10179?\\u-8704?\\u-10179?\\u-9216?", "\xF0\x9F\x98\x80\xF0\x9F\x90\x80"},
        {"\\u-8704?x", "\xEF\xBF\xBDx"},
        {"\\u-10240?\\u-9216?", "\xF0\x90\x80\x80"},  // U+D800, the first high half
        {"\\u-10179?\\u-10179?\\u-8704?", "\xEF\xBF\xBD\xF0\x9F\x98\x80"},  // a high half without its low one
        {"\\u-32768?x", "\xE8\x80\x80x"},
        {"\\u-10179?\\u-8193?\\u-9217?\\u-9216?", "\xF0\x9F\x9F\xBF\xF4\x8F\xB0\x80"},  // the last halves of each kind
        {"x\\u-10179?", "x\xEF\xBF\xBD"},  // a high half at the end
        // \uc belongs to its group.
        {"{\\uc2\\u8364xx}\\u8364xy", "\xE2\x82\xAC\xE2\x82\xAC" "y"},
        // A group's end cuts the fallback short.
        {"{\\uc3\\u8364a}b", "\xE2\x82\xAC" "b"},
        {"\\u99999999999999?x", "\xEF\xBF\xBDx"},
        // U+FFFF and U+FFFE are no characters.
        {"\\u-1?x", "\xEF\xBF\xBDx"},
        {"\\u0?x", "x"},
    };
    for (const Case& c : cases) EXPECT_EQ(PlainOf(Doc(c.rtf)), c.expected) << c.rtf;
}

TEST(RtfReader, CodePagesOfTheDocumentAndItsFonts) {
    // Font 0 has no character set, 1 is Cyrillic, 2 Western, 3 "default" (unused), 4 Japanese, 5 Greek
    // by its \cpg, 6 Wingdings, 7 a name in its own code page.
    const auto doc = [](const std::string& header, const std::string& body) {
        return "{\\rtf1" + header +
               "{\\fonttbl{\\f0 Plain;}{\\f1\\fcharset204 Cyr;}{\\f2\\fcharset0 West;}{\\f3\\fcharset1 Dflt;}"
               "{\\f4\\fcharset128 MS Mincho;}{\\f5\\fcharset0\\cpg1253 Greek;}{\\f6\\fcharset2 Wingdings;}"
               "{\\f7\\fcharset128 \\'82\\'6c\\'82\\'72 Gothic;}}" +
               body + "}";
    };
    const std::string privet = "\\'cf\\'f0\\'e8\\'e2\\'e5\\'f2";
    const struct {
        std::string header, body, expected;
    } cases[] = {
        {"\\ansi\\ansicpg1251", "\\f0 " + privet, "Привет"},
        {"\\ansi\\ansicpg1251", "\\f2 " + privet, "Ïðèâåò"},
        {"\\ansi", "\\f1 " + privet + "\\f0 " + privet, "ПриветÏðèâåò"},
        {"\\ansi", "\\f5 \\'c1\\'e8\\'de\\'ed\\'e1", "Αθήνα"},
        {"\\mac", "\\'8e", "é"},
        {"\\pc", "\\'82", "é"},
        {"\\pca", "\\'d5", "ı"},
        {"\\ansi\\ansicpg99999", "\\'e9", "é"},
        {"\\ansi\\ansicpg21866", "\\'a4", "є"},  // KOI8-U
        {"\\ansi\\ansicpg10007", "\\'80", "А"},  // the Macintosh's Cyrillic
        {"\\ansi", "{\\fonttbl{\\f9\\fcharset177 Hebrew;}}\\f9 \\'e0", "א"},
        {"\\ansi", "{\\fonttbl{\\f9\\fcharset186 Baltic;}}\\f9 \\'e0", "ą"},
        {"\\ansi", "{\\fonttbl{\\f9\\fcharset178 Arabic;}}\\f9 \\'c7", "ا"},
        {"\\ansi", "{\\fonttbl{\\f9\\fcharset129 Korean;}}\\f9 \\'b0\\'a1", "가"},
        {"\\ansi", "{\\fonttbl{\\f9\\fcharset255 OEM;}}\\f9 \\'9b", "ø"},
        // Double-byte characters; a trail byte may be written as it is, even as \\ or a brace.
        {"\\ansi", "\\f4 \\'82\\'a0\\'83A\\'83\\\\\\'b1", "あアソｱ"},
        {"\\ansi", "\\f4\\uc2\\u12354\\'82\\'a0x", "あx"},
        // Word's double-byte font beside a Western one, and its runs marked as single bytes.
        {"\\ansi", "\\f2\\hich\\af2\\dbch\\af4\\loch\\f2 \\'82\\'a0", "あ"},
        {"\\ansi", "\\f2\\dbch\\af4\\loch\\f2 caf\\hich\\f2 \\'e9\\loch\\f2 !", "café!"},
        {"\\ansi", "\\f2\\dbch\\af4\\loch\\f2 \\'b1", "±"},  // a single byte of both code pages
        {"\\ansi", "\\f2\\hich\\af4 \\'82\\'a0", "‚\u00A0"},
        // A lead byte cut short by the paragraph, a group or a character of another kind.
        {"\\ansi", "\\f4 \\'82\\par x", "\uFFFD\nx"},
        {"\\ansi", "\\f4 \\'82\\u8364?\\'82\\u-10179?\\u-8704?", "\uFFFD€\uFFFD😀"},
        {"\\ansi", "x\\f6 \\'a7\\'fc\\'d8 \\u-3929?", "x▪✓➢ ▪"},
    };
    for (const auto& c : cases) EXPECT_EQ(PlainOf(doc(c.header, c.body)), c.expected) << c.header << c.body;
    EXPECT_EQ(RunsOf(doc("\\ansi", "\\f7 x")), "@ＭＳ Gothic:x");
}

std::string TabsOf(const RichParagraph& para) {
    std::string out;
    for (const TabStop& stop : para.tabStops)
        out += std::string(out.empty() ? "" : " ") + "LCRD"[static_cast<int>(stop.alignment)] +
               std::to_string(stop.positionTwips);
    return out;
}

TEST(RtfReader, TabStopsBelongToTheParagraph) {
    const Case cases[] = {
        {"\\tqr\\tx4320\\tqc\\tx2880\\tqdec\\tx5000\\tx100 a", "L100 C2880 R4320 D5000"},
        // A bar tab is no stop, and the kind before it does not carry over.
        {"\\tqr\\tb3000\\tx3500 a", "L3500"},
        {"\\tx200\\tqr\\tx200 a", "R200"},
        {"\\tx-50\\tx99999999 a", "L0 L31680"},
    };
    for (const Case& c : cases) EXPECT_EQ(TabsOf(Paragraphs(ReadRtf(Doc(c.rtf)).value()).at(0)), c.expected) << c.rtf;
    std::string many;
    for (int i = 1; i <= 100; ++i) many += "\\tx" + std::to_string(i * 10);
    const auto doc = ReadRtf(Doc(many + " a\\par{\\pard\\tx5 b\\par}c"));
    const auto paras = Paragraphs(*doc);
    ASSERT_EQ(paras.size(), 3u);
    EXPECT_EQ(paras[0].tabStops.size(), 64u);
    EXPECT_EQ(paras[1].tabStops.front().positionTwips, 5);
    EXPECT_EQ(paras[2].tabStops.size(), 64u);  // a group's stops end with it
}

// The document's blocks: paragraphs as their text, tables as [cell|cell/cell|cell] with each
// cell's right edge after '@' when the file gives one, and '#' for a table with lines.
std::string BlocksOf(const std::string& rtf) {
    const RichDocument doc = ReadRtf(rtf).value();
    std::string out;
    for (const RichBlock& block : doc.blocks) {
        if (!out.empty()) out += " ";
        if (const auto* para = std::get_if<RichParagraph>(&block)) {
            out += para->PlainText();
            continue;
        }
        const auto& table = std::get<RichTable>(block);
        out += table.borders ? "#[" : "[";
        for (std::size_t r = 0; r < table.rows.size(); ++r) {
            if (r > 0) out += "/";
            for (std::size_t c = 0; c < table.rows[r].cells.size(); ++c) {
                const TableCell& cell = table.rows[r].cells[c];
                if (c > 0) out += "|";
                for (std::size_t p = 0; p < cell.paragraphs.size(); ++p) {
                    if (p > 0) out += '+';
                    out += cell.paragraphs[p].PlainText();
                }
                if (cell.rightEdgeTwips != 0) out.append(1, '@').append(std::to_string(cell.rightEdgeTwips));
            }
        }
        out += "]";
    }
    return out;
}

TEST(RtfReader, Tables) {
    const Case cases[] = {
        // As LibreOffice writes them: the row's definition before its cells.
        {"Before\\par\\trowd\\trgaph108\\trleft-108\\cellx2000\\cellx4000\\pard\\intbl A\\cell B\\cell\\row"
         "\\trowd\\cellx2000\\cellx4000\\pard\\intbl C\\cell D\\cell\\row\\pard After",
         "Before [A@2000|B@4000/C@2000|D@4000] After"},
        // As Word writes them: the definition again at the row's end, which is the one in force.
        {"\\trowd\\cellx1000\\cellx2000\\pard\\intbl A\\cell B\\cell\\pard\\intbl{\\trowd\\cellx1500\\cellx3000\\row}"
         "\\pard After",
         "[A@1500|B@3000] After"},
        // Paragraphs within a cell, an empty cell, and a cell beyond the row's definition.
        {"\\trowd\\cellx100\\pard\\intbl one\\par two\\cell\\cell three\\cell\\row",
         "[one+two@100||three]"},
        // A table that ends the document, or is cut short.
        {"\\pard\\intbl A\\cell B", "[A|B]"},
        {"\\pard\\intbl A\\par\\pard B", "[A] B"},
        // \cell alone still makes a cell; \row without cells makes nothing.
        {"A\\cell B\\cell\\row C", "[A|B] C"},
        {"a\\row\\row b", "a b"},
        // A table within a cell reads as the cell's text.
        {"\\intbl A\\nestcell B\\nestcell{\\*\\nesttableprops\\trowd\\cellx50\\nestrow}\\cell\\row", "[A\tB\t]"},
        {"\\intbl A\\nestcell\\nestrow B\\nestcell\\nestrow\\cell\\row", "[A\t\nB\t\n]"},
        // Lines around cells; none, or a paragraph's border, draw no table lines.
        {"\\trowd\\clbrdrt\\brdrs\\brdrw10\\cellx100\\intbl A\\cell\\row", "#[A@100]"},
        {"\\trowd\\clbrdrt\\brdrnone\\cellx100\\intbl\\brdrb\\brdrs A\\cell\\row", "[A@100]"},
        // Two tables with a paragraph between them stay two.
        {"\\intbl A\\cell\\row\\pard x\\par\\intbl B\\cell\\row", "[A] x [B]"},
    };
    for (const Case& c : cases) EXPECT_EQ(BlocksOf(Doc(c.rtf)), c.expected) << c.rtf;

    // Plain text: a row a line, cells separated by tabs.
    EXPECT_EQ(PlainOf(Doc(cases[0].rtf)), "Before\nA\tB\nC\tD\nAfter");
    EXPECT_EQ(PlainOf(Doc(cases[2].rtf)), "one two\t\tthree");
    // No row has more cells than Word allows; the rest join the last cell.
    std::string wide = "\\intbl ";
    for (int i = 0; i < 70; ++i) wide += std::to_string(i) + "\\cell ";
    const auto doc = ReadRtf(Doc(wide + "\\row"));
    const auto& row = std::get<RichTable>(doc->blocks.at(0)).rows.at(0);
    ASSERT_EQ(row.cells.size(), 64u);
    EXPECT_EQ(row.cells.back().paragraphs.size(), 7u);
}

// ----- what is left out -----

TEST(RtfReader, SkipsDestinationsThatAreNotText) {
    const std::string cases[] = {
        "{\\info{\\title SECRET}{\\author SECRET}}Text",
        "{\\stylesheet{\\s1\\b SECRET;}{\\*\\cs2 SECRET;}}Text",
        "{\\*\\anythingnew SECRET{\\b SECRET}}Text",
        "{\\*\\b SECRET}Text",  // an ignorable group goes whole, even one that starts as formatting
        "{\\pict\\pngblip 89504e47SECRET}Text",
        "{\\*\\shppict{\\pict\\pngblip SECRET}}{\\nonshppict{\\pict\\wmetafile8 SECRET}}Text",
        "{\\header SECRET\\par}{\\footerr SECRET\\par}Text",
        "{\\footnote\\ftnalt SECRET}Text",
        "{\\field{\\*\\fldinst HYPERLINK \"SECRET\"}{\\*\\fldrslt Text}}",
        "{\\*\\listtable{\\list{\\listlevel{\\leveltext \\'01\\u8226 ?;}}}}Text",
        "{\\*\\pn\\pnlvlblt{\\pntxtb SECRET}}Text",
        // Binary data may hold any byte, braces included; a count below one skips nothing.
        "{\\pict\\bin6 {{}}}S}Text", "\\bin6 {{}}}SText", "\\bin-1 Text",
        "{\\*\\ud{SECRET}}Text",
        // What a reader without nested tables would show instead of them.
        "{\\nonesttables SECRET\\par}Text",
    };
    for (const std::string& body : cases) EXPECT_EQ(PlainOf(Doc(body)), "Text") << body;
}

// ----- list items -----

// Each case's one paragraph as "marker|text".
TEST(RtfReader, ListItems) {
    const std::string fonts = "{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset2 Symbol;}{\\f2 Wingdings;}{\\f3 Wingdings 3;}}";
    const Case cases[] = {
        {"{\\pntext\\f1\\'b7\\tab}Item\\par", "\xE2\x80\xA2|Item"},
        {"{\\*\\pntext 2)\\tab}Item\\par", "2)|Item"},
        {"{\\listtext Step 1\\tab}One\\par", "Step 1|One"},  // a blank within the marker stays
        // Outline numbering switched off leaves an empty marker: no list item.
        {"{\\listtext\\pard\\plain \\tab}Heading\\par", "|Heading"},
        {"\\bullet\\tab Item\\par", "\xE2\x80\xA2|Item"},
        {"{\\b \\bullet  }{\\i Item}\\par", "\xE2\x80\xA2|Item"},
        {"x\\bullet y\\par", "|x\xE2\x80\xA2y"},
        // Bullets of the symbol fonts, as their look-alikes.
        {"{\\listtext\\f2\\'a7\\tab}One\\par", "▪|One"},
        {"{\\listtext\\f2\\'6c\\tab}One\\par", "●|One"},
        // A picture without a look-alike is still a bullet in front of a list item.
        {"{\\listtext\\f3\\'97\\tab}One\\par", "•|One"},
        {"{\\f2\\'a7}\\tab One\\par", "▪|One"},
        {"{\\f3\\'97} One\\par", "|\uFFFD One"},
    };
    for (const Case& c : cases) {
        const std::vector<RichParagraph> paras = Paragraphs(ReadRtf(fonts + c.rtf + "}").value());
        ASSERT_EQ(paras.size(), 1u) << c.rtf;
        std::string text;
        for (const TextRun& run : paras[0].runs) text += run.text;
        EXPECT_EQ(paras[0].listMarker + "|" + text, c.expected) << c.rtf;
    }
}

// ----- cost -----

TEST(RtfReader, HostileShapesOfMegabytesAreRead) {
    // Each shape is a few megabytes: a reader that went quadratic on one would hang here. Nested
    // groups, Unicode, long font names and paragraphs are timed by bench/core_bench.
    const std::size_t n = 400'000;
    std::string skipped = "{\\rtf1{\\*\\x " + std::string(n, '{') + std::string(n, '}') + "}y}";
    // Many tab stops, then paragraph after paragraph, cell after cell, row after row.
    std::string stops = "{\\rtf1 ";
    for (int i = 1; i <= 64; ++i) stops += "\\tx" + std::to_string(i);
    for (std::size_t i = 0; i < n / 4; ++i) stops += "\\par";
    std::string cells = "{\\rtf1\\intbl ";
    for (std::size_t i = 0; i < n / 8; ++i) cells += i % 2 ? "\\cell\\row" : "\\cell";
    // A font in a code page of its own for every entry, and lead bytes without trail bytes.
    std::string codePages = "{\\rtf1{\\fonttbl";
    for (std::size_t i = 0; i < n / 16; ++i) codePages += "{\\f" + std::to_string(i) + "\\cpg" + std::to_string(i) + " F;}";
    codePages += "}";
    for (std::size_t i = 0; i < n / 16; ++i) codePages += "\\f" + std::to_string(i) + "\\'82";

    EXPECT_EQ(ReadRtf(skipped)->PlainText(), "y");
    std::size_t storedStops = 0;
    for (const RichParagraph& para : Paragraphs(*ReadRtf(stops))) storedStops += para.tabStops.size();
    EXPECT_LE(storedStops, stops.size() / 4);
    EXPECT_EQ(std::get<RichTable>(ReadRtf(cells)->blocks.at(0)).rows.size(), n / 16);
    EXPECT_TRUE(ReadRtf(codePages).has_value());
}

// ----- files written by a word processor -----

// Files in several code pages with the text they hold (NAME.txt, UTF-8). Each is read as its
// writer wrote it and, where there is one, as rewritten into the code page's \'hh escapes.
TEST(RtfReader, ReadsWordProcessorFilesInTheirCodePages) {
    struct Sample {
        const char* text;
        std::vector<const char*> files;
    };
    const Sample samples[] = {
        {"cyrillic", {"cyrillic-1251"}},
        {"central", {"central", "central-1250"}},
        {"japanese", {"japanese", "japanese-932"}},
        {"bullets", {"bullets"}},
        {"formatting", {"formatting"}},
    };
    const fs::path dir = kSourceRoot / "tests" / "data" / "rtf";
    for (const Sample& s : samples) {
        const auto trimmed = [](std::string text) { return text.erase(text.find_last_not_of('\n') + 1); };
        const std::string expected = trimmed(ReadFile(dir / (std::string(s.text) + ".txt")));
        ASSERT_FALSE(expected.empty()) << s.text;
        for (const char* file : s.files)
            EXPECT_EQ(trimmed(PlainOf(ReadFile(dir / (std::string(file) + ".rtf")))), expected) << file;
    }
}

TEST(RtfReader, KeepsTheLookOfAWordProcessorFile) {
    const auto doc = ReadRtf(ReadFile(kSourceRoot / "tests" / "data" / "rtf" / "report.rtf"));
    ASSERT_TRUE(doc.has_value());
    const auto& paras = Paragraphs(*doc);
    ASSERT_GE(paras.size(), 8u);
    // The title: centred, bold, 20 pt, dark blue.
    EXPECT_EQ(paras[0].alignment, Alignment::Center);
    EXPECT_EQ(RunsOf(paras[0]), "b/40@Liberation Sans#1f3864:Month-end tape report");
    // A red bold word, a word in a fixed-pitch font and a hyperlink's text in the paragraph.
    std::set<std::string> looks;
    for (const TextRun& run : paras[1].runs) looks.insert(Describe(run));
    EXPECT_TRUE(looks.count("b/22@Liberation Sans#c00000:accounts"));
    EXPECT_TRUE(looks.count("/20@Liberation Mono:TAPE.QBX"));
    EXPECT_TRUE(looks.count("u/22@Liberation Sans#000080:the tape archive"));
    // The heading "Totals" is no list item; header and footer are not part of the text.
    EXPECT_EQ(paras[2].PlainText(), "Totals");
    EXPECT_EQ(doc->PlainText().find("(header)"), std::string::npos);
}

// ----- the User Guide's own topics -----

TEST(UserGuideTopics, EveryTopicReadsUnderABoldHeading) {
    const fs::path dir = kSourceRoot / "assets" / "guide";
    std::set<std::string> topics;
    for (const auto& entry : fs::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("UG ", 0) != 0 || entry.path().extension() != ".rtf") continue;
        topics.insert(name.substr(3, name.size() - 7));
        const std::string bytes = ReadFile(entry.path());
        EXPECT_TRUE(std::all_of(bytes.begin(), bytes.end(), [](char c) { return c > 0 && c < 0x7F; }))
            << name << " is to be plain ASCII";
        const auto doc = ReadRtf(bytes);
        ASSERT_TRUE(doc.has_value()) << name;
        // The heading: the first paragraph, bold throughout and larger than any text after it.
        const std::vector<RichParagraph> paras = Paragraphs(*doc);
        ASSERT_FALSE(paras.empty() || paras[0].runs.empty()) << name;
        int largestBody = 0;
        for (std::size_t i = 1; i < paras.size(); ++i)
            for (const TextRun& run : paras[i].runs) largestBody = std::max(largestBody, run.fontSizeHalfPoints);
        for (const TextRun& run : paras[0].runs) {
            EXPECT_TRUE(run.bold) << name;
            EXPECT_GT(run.fontSizeHalfPoints, largestBody) << name;
        }
        EXPECT_EQ(doc->PlainText().find('\\'), std::string::npos) << name << ": a stray control word";
    }
    // The topics the program names; the guide's examples read the others.
    for (const char* wanted : {"Benefits", "Your Own Topic"}) EXPECT_TRUE(topics.count(wanted)) << "no topic " << wanted;
}

}  // namespace
