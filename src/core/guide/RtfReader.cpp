#include "guide/RtfReader.h"

#include "guide/CodePageDecoder.h"
#include "guide/SymbolFonts.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace qb {
namespace {

// Groups nest a dozen deep in what word processors write; far deeper nesting is not a
// document. Skipped groups (pictures, styles) are only counted and may nest deeper.
constexpr std::size_t kMaxDepth = 256;
// Numbers in control words are clamped to this, however many digits they have.
constexpr long long kMaxParameter = 1'000'000'000;
// About two feet: more than any page, so an absurd indent cannot upset the viewer.
constexpr int kMaxTwips = 31680;
constexpr int kMaxUnicodeSkip = 16;
// Font names are at most 31 characters on Windows; a longer one is cut, so that every run,
// which carries its font's name, costs a bounded amount.
constexpr std::size_t kMaxFontName = 128;

// Word allows 63 columns and 64 tab stops; more would only cost the viewer.
constexpr std::size_t kMaxColumns = 64;
constexpr std::size_t kMaxTabStops = 64;

constexpr int kSymbolCharset = 2;
constexpr char32_t kBullet = 0x2022;
constexpr char32_t kReplacement = 0xFFFD;

enum class Dest : std::uint8_t { Text, FontTable, ColorTable, ListMarker };

enum class Kw : std::uint8_t {
    // destinations
    Skip, FontTable, ColorTable, ListMarker, Field, FieldResult,
    // document
    Rtf, Ansi, Mac, Pc, Pca, AnsiCodePage, FontCodePage, DefaultFont, Bin, UnicodeSkip, Unicode,
    // characters
    Par, Line, Tab, Cell, Row, NestCell, NestRow, Sect, Page,
    EmDash, EnDash, EmSpace, EnSpace, QmSpace, Bullet, LQuote, RQuote, LDblQuote, RDblQuote,
    Zwj, Zwnj, LtrMark, RtlMark,
    // character format
    LowAnsi, HighAnsi, DoubleByte, AssociatedFont, RightToLeftRun, LeftToRightRun,
    Plain, Bold, Italic, Underline, UnderlineNone, Hidden, FontSize, Font, Color, FontCharset,
    Red, Green, Blue, Strike, StrikeDouble, Super, Sub, NoSuperSub, Up, Down, Caps, SmallCaps,
    // paragraph format
    Pard, AlignLeft, AlignCenter, AlignRight, AlignJustify,
    LeftIndent, RightIndent, FirstIndent, SpaceBefore, SpaceAfter,
    TabRight, TabCenter, TabDecimal, TabStop, BarTab,
    // tables
    InTable, RowDefaults, CellEdge, RowLeft, BorderSide, BorderStyle, BorderNone,
};

// The kinds of underline, by control word.
constexpr std::pair<std::string_view, Underline> kUnderlines[] = {
    {"ul", Underline::Single},          {"uld", Underline::Dotted},
    {"uldash", Underline::Dash},        {"uldashd", Underline::DashDot},
    {"uldashdd", Underline::DashDotDot}, {"uldb", Underline::Double},
    {"ulhwave", Underline::Wave},       {"ulldash", Underline::Dash},
    {"ulth", Underline::Thick},         {"ulthd", Underline::Dotted},
    {"ulthdash", Underline::Dash},      {"ulthdashd", Underline::DashDot},
    {"ulthdashdd", Underline::DashDotDot}, {"ulthldash", Underline::Dash},
    {"ululdbwave", Underline::Wave},    {"ulw", Underline::Words},
    {"ulwave", Underline::Wave},
};

const std::unordered_map<std::string_view, Kw>& Keywords() {
    static const std::unordered_map<std::string_view, Kw> table = [] {
        std::unordered_map<std::string_view, Kw> t = {
            {"fonttbl", Kw::FontTable}, {"colortbl", Kw::ColorTable},
            {"pntext", Kw::ListMarker}, {"listtext", Kw::ListMarker},
            {"field", Kw::Field}, {"fldrslt", Kw::FieldResult},
            {"rtf", Kw::Rtf}, {"ansi", Kw::Ansi}, {"mac", Kw::Mac}, {"pc", Kw::Pc},
            {"pca", Kw::Pca}, {"ansicpg", Kw::AnsiCodePage}, {"cpg", Kw::FontCodePage},
            {"deff", Kw::DefaultFont},
            {"bin", Kw::Bin}, {"uc", Kw::UnicodeSkip}, {"u", Kw::Unicode},
            {"par", Kw::Par}, {"line", Kw::Line}, {"tab", Kw::Tab}, {"cell", Kw::Cell},
            {"nestcell", Kw::NestCell}, {"row", Kw::Row}, {"nestrow", Kw::NestRow}, {"sect", Kw::Sect},
            {"page", Kw::Page}, {"emdash", Kw::EmDash}, {"endash", Kw::EnDash},
            {"emspace", Kw::EmSpace}, {"enspace", Kw::EnSpace}, {"qmspace", Kw::QmSpace},
            {"bullet", Kw::Bullet}, {"lquote", Kw::LQuote}, {"rquote", Kw::RQuote},
            {"ldblquote", Kw::LDblQuote}, {"rdblquote", Kw::RDblQuote}, {"zwj", Kw::Zwj},
            {"zwnj", Kw::Zwnj}, {"ltrmark", Kw::LtrMark}, {"rtlmark", Kw::RtlMark},
            {"loch", Kw::LowAnsi}, {"hich", Kw::HighAnsi}, {"dbch", Kw::DoubleByte},
            {"af", Kw::AssociatedFont}, {"rtlch", Kw::RightToLeftRun}, {"ltrch", Kw::LeftToRightRun},
            {"plain", Kw::Plain}, {"b", Kw::Bold}, {"i", Kw::Italic}, {"ulnone", Kw::UnderlineNone},
            {"v", Kw::Hidden}, {"fs", Kw::FontSize}, {"f", Kw::Font}, {"cf", Kw::Color},
            {"fcharset", Kw::FontCharset}, {"red", Kw::Red}, {"green", Kw::Green},
            {"blue", Kw::Blue}, {"pard", Kw::Pard}, {"ql", Kw::AlignLeft},
            {"qc", Kw::AlignCenter}, {"qr", Kw::AlignRight}, {"qj", Kw::AlignJustify},
            {"qd", Kw::AlignJustify}, {"li", Kw::LeftIndent}, {"ri", Kw::RightIndent},
            {"fi", Kw::FirstIndent}, {"sb", Kw::SpaceBefore}, {"sa", Kw::SpaceAfter},
            {"strike", Kw::Strike}, {"striked", Kw::StrikeDouble}, {"super", Kw::Super},
            {"sub", Kw::Sub}, {"nosupersub", Kw::NoSuperSub}, {"up", Kw::Up}, {"dn", Kw::Down},
            {"caps", Kw::Caps}, {"scaps", Kw::SmallCaps},
            {"tqr", Kw::TabRight}, {"tqc", Kw::TabCenter}, {"tqdec", Kw::TabDecimal},
            {"tx", Kw::TabStop}, {"tb", Kw::BarTab},
            {"intbl", Kw::InTable}, {"trowd", Kw::RowDefaults}, {"cellx", Kw::CellEdge},
            {"trleft", Kw::RowLeft}, {"brdrnone", Kw::BorderNone},
        };
        for (const auto& [word, kind] : kUnderlines) t.emplace(word, Kw::Underline);
        // A border of a cell or of the row, then the style it is drawn in.
        for (std::string_view side : {"clbrdrt", "clbrdrl", "clbrdrb", "clbrdrr", "trbrdrt", "trbrdrl",
                                      "trbrdrb", "trbrdrr", "trbrdrh", "trbrdrv"})
            t.emplace(side, Kw::BorderSide);
        for (std::string_view style : {"brdrs", "brdrth", "brdrsh", "brdrdb", "brdrdot", "brdrdash",
                                       "brdrhair", "brdrtriple", "brdrinset", "brdroutset"})
            t.emplace(style, Kw::BorderStyle);
        // Destinations whose content is not part of the text, with or without \*.
        for (std::string_view skip :
             {"info", "stylesheet", "pict", "nonesttables", "header", "headerl", "headerr", "headerf", "footer",
              "footerl", "footerr", "footerf", "fldinst", "footnote", "annotation", "object",
              "objdata", "xe", "tc", "txe", "rxe", "pn", "falt", "panose", "themedata",
              "colorschememapping", "latentstyles", "datastore", "listtable",
              "listoverridetable", "rsidtbl", "revtbl", "filetbl", "pgdsctbl", "shp",
              "shppict", "nonshppict", "shpinst", "generator", "template", "xmlnstbl",
              "docvar", "userprops", "ftnsep", "ftnsepc", "aftnsep", "aftnsepc", "ftncn",
              "aftncn", "bkmkstart", "bkmkend", "atnid", "atnauthor", "atndate", "atnref",
              "mmathPr", "private", "title", "subject", "author", "operator", "keywords",
              "comment", "doccomm", "company", "buptim", "creatim", "revtim", "printim"})
            t.emplace(skip, Kw::Skip);
        return t;
    }();
    return table;
}

struct CharFormat {
    bool bold = false;
    bool italic = false;
    Underline underline = Underline::None;
    bool strike = false;
    VerticalPosition position = VerticalPosition::Normal;
    Capitals capitals = Capitals::AsTyped;
    bool hidden = false;
    int sizeHalfPoints = 24;
    int font = -1;   // -1: none chosen
    // Word gives the font of double-byte characters apart (\dbch\afN), and marks runs of
    // single bytes above 0x7F with \hich.
    int doubleByteFont = -1;
    enum class Bytes : std::uint8_t { Low, High, Double } bytes = Bytes::Low;
    bool associatedIsDoubleByte = false;  // the next \af names the double-byte font
    int color = 0;   // index into the colour table; entry 0 is normally "automatic"
    bool operator==(const CharFormat&) const = default;
};

struct ParaFormat {
    Alignment alignment = Alignment::Left;
    int left = 0;
    int right = 0;
    int first = 0;
    int before = 0;
    int after = 0;
    bool inTable = false;
    TabAlignment nextTab = TabAlignment::Left;  // the kind of the next \tx
    std::vector<TabStop> tabs;
};

// The row being defined by \trowd: where its cells end and whether lines are drawn.
struct RowDefinition {
    int left = 0;
    std::vector<int> edges;
    bool borders = false;
};

struct GroupState {
    Dest dest = Dest::Text;
    CharFormat chr;
    ParaFormat para;
    int unicodeSkip = 1;
};

struct FontEntry {
    std::string name;
    int charset = -1;   // -1: not given
    int codePage = 0;   // \cpg; 0: not given
    SymbolFont symbol = SymbolFont::None;
};

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

int Clamp(long long value, int low, int high) {
    return static_cast<int>(std::clamp<long long>(value, low, high));
}

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

class RtfParser {
public:
    explicit RtfParser(std::string_view in) : in_(in), tabStopBudget_(in.size() / 4) {}

    std::optional<RichDocument> Read() {
        while (pos_ < in_.size() && (in_[pos_] == ' ' || in_[pos_] == '\t' || in_[pos_] == '\r' ||
                                     in_[pos_] == '\n'))
            ++pos_;
        if (in_.substr(pos_, 5) != "{\\rtf") return std::nullopt;
        // The first control word must be \rtf itself, not merely begin with it.
        if (pos_ + 5 < in_.size() && IsLetter(in_[pos_ + 5])) return std::nullopt;

        while (pos_ < in_.size() && !finished_) {
            const char c = in_[pos_++];
            switch (c) {
                case '{': OpenGroup(); break;
                case '}': CloseGroup(); break;
                case '\\': ControlSequence(); break;
                case '\r':
                case '\n': break;  // line ends in the file are not text
                default: TextByte(static_cast<unsigned char>(c)); break;
            }
            if (failed_) return std::nullopt;
        }
        FinishParagraph(/*atEnd=*/true);
        return std::move(doc_);
    }

private:
    // ----- groups -----

    void OpenGroup() {
        FlushBytes();
        unicodePending_ = 0;
        ignorableNext_ = false;
        if (skipDepth_ > 0) {
            ++skipDepth_;
            return;
        }
        if (stack_.size() >= kMaxDepth) {
            failed_ = true;
            return;
        }
        stack_.push_back(st_);
    }

    void CloseGroup() {
        FlushBytes();
        unicodePending_ = 0;
        ignorableNext_ = false;
        if (skipDepth_ > 0) {
            if (--skipDepth_ > 0) return;
        } else if (st_.dest == Dest::FontTable) {
            CommitFont();  // the last entry may lack its ";"
        }
        if (stack_.size() <= 1) {  // the document's own group closes: the rest is not read
            FinishParagraph(/*atEnd=*/true);
            finished_ = true;
            return;
        }
        st_ = stack_.back();
        stack_.pop_back();
    }

    void SkipGroup() {
        // The group's state was pushed when it opened; it comes back at its closing brace.
        skipDepth_ = 1;
    }

    // ----- tokens -----

    void ControlSequence() {
        if (pos_ >= in_.size()) return;
        const char c = in_[pos_];
        if (!IsLetter(c)) {
            ++pos_;
            ControlSymbol(c);
            return;
        }
        const std::size_t start = pos_;
        while (pos_ < in_.size() && IsLetter(in_[pos_])) ++pos_;
        const std::string_view word = in_.substr(start, pos_ - start);
        bool hasParam = false;
        long long param = 0;
        bool negative = false;
        if (pos_ + 1 < in_.size() && in_[pos_] == '-' && IsDigit(in_[pos_ + 1])) {
            negative = true;
            ++pos_;
        }
        while (pos_ < in_.size() && IsDigit(in_[pos_])) {
            hasParam = true;
            param = std::min(param * 10 + (in_[pos_] - '0'), kMaxParameter);
            ++pos_;
        }
        if (negative) param = -param;
        if (pos_ < in_.size() && in_[pos_] == ' ') ++pos_;  // the delimiting blank is not text
        ControlWord(word, hasParam, param);
    }

    void ControlSymbol(char c) {
        if (skipDepth_ > 0) return;
        if (c == '*') {
            ignorableNext_ = true;
            return;
        }
        if (c == '\'') {
            const int high = pos_ < in_.size() ? HexValue(in_[pos_]) : -1;
            if (high < 0) return;
            ++pos_;
            int value = high;
            const int low = pos_ < in_.size() ? HexValue(in_[pos_]) : -1;
            if (low >= 0) {
                value = high * 16 + low;
                ++pos_;
            }
            if (ConsumeUnicodeFallback()) return;
            ByteCharacter(static_cast<unsigned char>(value));
            return;
        }
        if (ConsumeUnicodeFallback()) return;
        switch (c) {
            // Bytes, so that one may be the trail byte of a double-byte character.
            case '\\':
            case '{':
            case '}': ByteCharacter(static_cast<unsigned char>(c)); break;
            case '~': Character(0x00A0); break;
            case '_': Character(0x2011); break;
            case '\r':
            case '\n': Paragraph(); break;  // a backslash before a line end is \par
            default: break;                  // \- optional hyphen, \| \: and others: nothing
        }
    }

    void ControlWord(std::string_view word, bool hasParam, long long param) {
        const auto& keywords = Keywords();
        const auto found = keywords.find(word);
        if (skipDepth_ > 0) {
            if (found != keywords.end() && found->second == Kw::Bin) SkipBinary(hasParam, param);
            return;
        }
        const bool ignorable = std::exchange(ignorableNext_, false);
        if (found == keywords.end()) {
            if (ignorable) SkipGroup();
            else ConsumeUnicodeFallback();
            return;
        }
        const Kw kw = found->second;
        if (ignorable && kw != Kw::FontTable && kw != Kw::ColorTable && kw != Kw::ListMarker &&
            kw != Kw::Field && kw != Kw::FieldResult) {
            SkipGroup();
            return;
        }
        if (kw == Kw::Bin) {
            SkipBinary(hasParam, param);
            return;
        }
        if (kw != Kw::Unicode && ConsumeUnicodeFallback()) return;
        const int value = static_cast<int>(param);  // already within +-kMaxParameter
        const bool on = !hasParam || param != 0;
        CharFormat& chr = st_.chr;
        ParaFormat& para = st_.para;
        switch (kw) {
            case Kw::Skip: SkipGroup(); break;
            case Kw::FontTable: st_.dest = Dest::FontTable; break;
            case Kw::ColorTable: st_.dest = Dest::ColorTable; break;
            case Kw::ListMarker:
                st_.dest = Dest::ListMarker;
                marker_.clear();
                inMarker_ = true;
                break;
            case Kw::Field:
            case Kw::FieldResult:
            case Kw::Rtf: break;
            case Kw::Ansi: documentCodePage_ = CodePageDecoder::kWindows1252; break;
            case Kw::Mac: documentCodePage_ = 10000; break;
            case Kw::Pc: documentCodePage_ = 437; break;
            case Kw::Pca: documentCodePage_ = 850; break;
            case Kw::AnsiCodePage:
                if (value > 0) documentCodePage_ = value;
                break;
            case Kw::FontCodePage:
                if (st_.dest == Dest::FontTable) fontCodePage_ = std::max(0, value);
                break;
            case Kw::DefaultFont:
                defaultFont_ = value;
                if (chr.font < 0) chr.font = value;
                break;
            case Kw::Bin: break;
            case Kw::UnicodeSkip: st_.unicodeSkip = Clamp(param, 0, kMaxUnicodeSkip); break;
            case Kw::Unicode: UnicodeCharacter(hasParam, param); break;
            case Kw::Par: Paragraph(); break;
            case Kw::Line:
            case Kw::Page: Character('\n'); break;
            case Kw::Tab: Character('\t'); break;
            case Kw::Cell: EndCell(); break;
            case Kw::Row: EndRow(); break;
            // A table inside a cell is flattened into the cell's text.
            case Kw::NestCell: Character('\t'); break;
            case Kw::NestRow: Character('\n'); break;
            case Kw::Sect:
                if (!current_.runs.empty()) Paragraph();
                break;
            case Kw::EmDash: Character(0x2014); break;
            case Kw::EnDash: Character(0x2013); break;
            case Kw::EmSpace: Character(0x2003); break;
            case Kw::EnSpace: Character(0x2002); break;
            case Kw::QmSpace: Character(0x2005); break;
            case Kw::Bullet: Character(kBullet); break;
            case Kw::LQuote: Character(0x2018); break;
            case Kw::RQuote: Character(0x2019); break;
            case Kw::LDblQuote: Character(0x201C); break;
            case Kw::RDblQuote: Character(0x201D); break;
            case Kw::Zwj: Character(0x200D); break;
            case Kw::Zwnj: Character(0x200C); break;
            case Kw::LtrMark: Character(0x200E); break;
            case Kw::RtlMark: Character(0x200F); break;
            case Kw::LowAnsi:
                chr.bytes = CharFormat::Bytes::Low;
                chr.associatedIsDoubleByte = false;
                break;
            case Kw::HighAnsi:
                chr.bytes = CharFormat::Bytes::High;
                chr.associatedIsDoubleByte = false;
                break;
            case Kw::DoubleByte:
                chr.bytes = CharFormat::Bytes::Double;
                chr.associatedIsDoubleByte = true;
                break;
            case Kw::RightToLeftRun:
            case Kw::LeftToRightRun: chr.associatedIsDoubleByte = false; break;
            case Kw::AssociatedFont:
                if (chr.associatedIsDoubleByte) chr.doubleByteFont = value;
                break;
            case Kw::Plain:
                chr = CharFormat{};
                chr.font = defaultFont_;
                break;
            case Kw::Bold: chr.bold = on; break;
            case Kw::Italic: chr.italic = on; break;
            case Kw::Underline: chr.underline = on ? UnderlineOf(word) : Underline::None; break;
            case Kw::UnderlineNone: chr.underline = Underline::None; break;
            case Kw::Strike:
            case Kw::StrikeDouble: chr.strike = on; break;
            case Kw::Super: chr.position = on ? VerticalPosition::Superscript : VerticalPosition::Normal; break;
            case Kw::Sub: chr.position = on ? VerticalPosition::Subscript : VerticalPosition::Normal; break;
            case Kw::NoSuperSub: chr.position = VerticalPosition::Normal; break;
            case Kw::Up: chr.position = on ? VerticalPosition::Superscript : VerticalPosition::Normal; break;
            case Kw::Down: chr.position = on ? VerticalPosition::Subscript : VerticalPosition::Normal; break;
            case Kw::Caps: chr.capitals = on ? Capitals::All : Capitals::AsTyped; break;
            case Kw::SmallCaps: chr.capitals = on ? Capitals::Small : Capitals::AsTyped; break;
            case Kw::Hidden: chr.hidden = on; break;
            case Kw::FontSize: chr.sizeHalfPoints = hasParam ? Clamp(param, 2, 3276) : 24; break;
            case Kw::Font:
                if (st_.dest == Dest::FontTable) {
                    CommitFont();
                    fontNumber_ = value;
                    fontCharset_ = -1;
                    fontCodePage_ = 0;
                } else {
                    chr.font = value;
                }
                break;
            case Kw::FontCharset:
                if (st_.dest == Dest::FontTable) fontCharset_ = value;
                break;
            case Kw::Color: chr.color = std::max(0, value); break;
            case Kw::Red: SetColorPart(0, param); break;
            case Kw::Green: SetColorPart(1, param); break;
            case Kw::Blue: SetColorPart(2, param); break;
            case Kw::Pard: para = ParaFormat{}; break;
            case Kw::AlignLeft: para.alignment = Alignment::Left; break;
            case Kw::AlignCenter: para.alignment = Alignment::Center; break;
            case Kw::AlignRight: para.alignment = Alignment::Right; break;
            case Kw::AlignJustify: para.alignment = Alignment::Justify; break;
            case Kw::LeftIndent: para.left = Clamp(param, -kMaxTwips, kMaxTwips); break;
            case Kw::RightIndent: para.right = Clamp(param, -kMaxTwips, kMaxTwips); break;
            case Kw::FirstIndent: para.first = Clamp(param, -kMaxTwips, kMaxTwips); break;
            case Kw::SpaceBefore: para.before = Clamp(param, 0, kMaxTwips); break;
            case Kw::SpaceAfter: para.after = Clamp(param, 0, kMaxTwips); break;
            case Kw::TabRight: para.nextTab = TabAlignment::Right; break;
            case Kw::TabCenter: para.nextTab = TabAlignment::Center; break;
            case Kw::TabDecimal: para.nextTab = TabAlignment::Decimal; break;
            case Kw::TabStop: AddTabStop(para, Clamp(param, 0, kMaxTwips)); break;
            // A bar tab draws a line down the paragraph; the text does not stop at it.
            case Kw::BarTab: para.nextTab = TabAlignment::Left; break;
            case Kw::InTable: para.inTable = true; break;
            case Kw::RowDefaults:
                rowDefinition_ = RowDefinition{};
                borderSide_ = false;
                break;
            case Kw::CellEdge:
                if (rowDefinition_.edges.size() < kMaxColumns)
                    rowDefinition_.edges.push_back(Clamp(param, -kMaxTwips, kMaxTwips));
                break;
            case Kw::RowLeft: rowDefinition_.left = Clamp(param, -kMaxTwips, kMaxTwips); break;
            case Kw::BorderSide: borderSide_ = true; break;
            case Kw::BorderStyle:
                if (std::exchange(borderSide_, false)) rowDefinition_.borders = true;
                break;
            case Kw::BorderNone: borderSide_ = false; break;
        }
    }

    void SkipBinary(bool hasParam, long long param) {
        if (!hasParam || param <= 0) return;
        const auto left = static_cast<long long>(in_.size() - pos_);
        pos_ += static_cast<std::size_t>(std::min(param, left));
    }

    // After \uN the reader skips the next \ucN characters, the fallback for readers that do
    // not know Unicode. True when the current token was such a fallback.
    bool ConsumeUnicodeFallback() {
        if (unicodePending_ == 0) return false;
        --unicodePending_;
        return true;
    }

    void TextByte(unsigned char c) {
        if (skipDepth_ > 0) return;
        ignorableNext_ = false;
        if (ConsumeUnicodeFallback()) return;
        if (c == '\t') {
            Character('\t');
            return;
        }
        if (c < 0x20 || c == 0x7F) return;  // NUL and other control bytes are not text
        ByteCharacter(c);
    }

    // A byte of text: a picture in a symbol font, else a byte in the code page of the current
    // font or, failing that, of the document.
    void ByteCharacter(unsigned char c) {
        if (st_.dest == Dest::FontTable) {
            DecodeByte(FontTableCodePage(), c);
            return;
        }
        const FontEntry* font = FontOf(st_.chr.font);
        if (font != nullptr && font->symbol != SymbolFont::None) {
            Character(SymbolLook(font->symbol, c));
            return;
        }
        if (decoder_.Waiting()) {
            DecodeByte(decoder_.WaitingCodePage(), c);
            return;
        }
        if (c < 0x80) {
            Character(c);
            return;
        }
        // A lead byte of the double-byte font, unless Word marked the run as single bytes.
        const int codePage = CodePageOf(font);
        if (st_.chr.doubleByteFont >= 0 && st_.chr.bytes != CharFormat::Bytes::High &&
            st_.chr.doubleByteFont != st_.chr.font) {
            const FontEntry* doubleByte = FontOf(st_.chr.doubleByteFont);
            if (doubleByte != nullptr && doubleByte->symbol == SymbolFont::None) {
                const int doubleByteCodePage = CodePageOf(doubleByte);
                if (!decoder_.IsLeadByte(codePage, c) && decoder_.IsLeadByte(doubleByteCodePage, c)) {
                    DecodeByte(doubleByteCodePage, c);
                    return;
                }
            }
        }
        DecodeByte(codePage, c);
    }

    void DecodeByte(int codePage, unsigned char c) {
        const CodePageDecoder::Decoded decoded = decoder_.Byte(codePage, c);
        for (int i = 0; i < decoded.count; ++i) {
            FlushSurrogate();
            Emit(decoded.chars[static_cast<std::size_t>(i)]);
        }
    }

    // A lead byte without its trail byte is no character.
    void FlushBytes() {
        const CodePageDecoder::Decoded decoded = decoder_.Flush();
        if (decoded.count > 0) Emit(decoded.chars[0]);
    }

    // A picture without a look-alike is a replacement character, but as a list marker it is
    // still a bullet.
    char32_t SymbolLook(SymbolFont font, char32_t c) const {
        const char32_t look = SymbolCharacter(font, c);
        return look == kReplacement && st_.dest == Dest::ListMarker ? kBullet : look;
    }

    void UnicodeCharacter(bool hasParam, long long param) {
        unicodePending_ = 0;
        if (!hasParam) return;
        char32_t cp = kReplacement;
        if (param >= -32768 && param < 0) cp = static_cast<char32_t>(param + 65536);
        else if (param >= 0 && param <= 0xFFFF) cp = static_cast<char32_t>(param);
        if (cp == 0xFFFE || cp == 0xFFFF) cp = kReplacement;  // not characters
        if (cp >= 0xDC00 && cp <= 0xDFFF && highSurrogate_ != 0) {
            const char32_t combined = 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (cp - 0xDC00);
            highSurrogate_ = 0;
            Emit(combined);
        } else if (cp >= 0xD800 && cp <= 0xDBFF) {
            FlushBytes();
            FlushSurrogate();
            highSurrogate_ = cp;
        } else {
            // Writers give a symbol font's pictures as private-use characters U+F020 to U+F0FF.
            const FontEntry* font = st_.dest == Dest::FontTable ? nullptr : FontOf(st_.chr.font);
            if (font != nullptr && font->symbol != SymbolFont::None && cp >= 0xF020 && cp <= 0xF0FF)
                cp = SymbolLook(font->symbol, cp);
            Character(cp);
        }
        unicodePending_ = st_.unicodeSkip;
    }

    // ----- where characters go -----

    void Character(char32_t cp) {
        FlushBytes();
        FlushSurrogate();
        Emit(cp);
    }

    void FlushSurrogate() {
        if (highSurrogate_ == 0) return;
        highSurrogate_ = 0;
        Emit(kReplacement);
    }

    void Emit(char32_t cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF) cp = kReplacement;
        if (cp == 0 || (cp < 0x20 && cp != '\t' && cp != '\n')) return;
        switch (st_.dest) {
            case Dest::FontTable:
                if (cp == ';') CommitFont();
                else if (cp >= 0x20 && fontName_.size() + 4 <= kMaxFontName) AppendUtf8(fontName_, cp);
                break;
            case Dest::ColorTable:
                if (cp == ';') CommitColor();
                break;
            case Dest::ListMarker:
                if (cp >= 0x20) AppendUtf8(marker_, cp);
                break;
            case Dest::Text:
                if (!st_.chr.hidden) AppendUtf8(RunFor(st_.chr).text, cp);
                break;
        }
    }

    TextRun& RunFor(const CharFormat& chr) {
        if (current_.runs.empty() || !(runFormat_ == chr)) {
            TextRun run;
            run.bold = chr.bold;
            run.italic = chr.italic;
            run.underline = chr.underline;
            run.strike = chr.strike;
            run.position = chr.position;
            run.capitals = chr.capitals;
            run.fontSizeHalfPoints = chr.sizeHalfPoints;
            // A symbol font's pictures are Unicode characters by now, which a text font draws.
            if (const FontEntry* font = FontOf(chr.font); font != nullptr && font->symbol == SymbolFont::None)
                run.fontFamily = font->name;
            if (chr.color > 0 && static_cast<std::size_t>(chr.color) < colors_.size())
                run.color = colors_[chr.color];
            else if (chr.color == 0 && !colors_.empty())
                run.color = colors_[0];
            runFormat_ = chr;
            // A change that does not show (bold off and on again) keeps the run going.
            if (current_.runs.empty() || !SameLook(current_.runs.back(), run))
                current_.runs.push_back(std::move(run));
        }
        return current_.runs.back();
    }

    static bool SameLook(const TextRun& a, const TextRun& b) {
        return a.bold == b.bold && a.italic == b.italic && a.underline == b.underline &&
               a.strike == b.strike && a.position == b.position && a.capitals == b.capitals &&
               a.fontSizeHalfPoints == b.fontSizeHalfPoints && a.fontFamily == b.fontFamily &&
               a.color == b.color;
    }

    static Underline UnderlineOf(std::string_view word) {
        for (const auto& [name, kind] : kUnderlines)
            if (name == word) return kind;
        return Underline::Single;
    }

    const FontEntry* FontOf(int font) const {
        const auto found = fonts_.find(font);
        return found == fonts_.end() ? nullptr : &found->second;
    }

    // The code page of a font's text: its own \cpg, else its character set's, else (no
    // character set, or the "default" one) the document's.
    int CodePageOf(int charset, int codePage) const {
        if (codePage > 0) return codePage;
        const int fromCharset = CodePageDecoder::CodePageOfCharset(charset);
        return fromCharset > 0 ? fromCharset : documentCodePage_;
    }
    int CodePageOf(const FontEntry* font) const {
        return font == nullptr ? documentCodePage_ : CodePageOf(font->charset, font->codePage);
    }
    // A font's name is written in the font's own code page.
    int FontTableCodePage() const { return CodePageOf(fontCharset_, fontCodePage_); }

    // ----- tables -----

    void CommitFont() {
        if (st_.dest != Dest::FontTable) return;
        FlushBytes();
        std::string name = Trimmed(fontName_);
        fontName_.clear();
        if (name.empty() || fontNumber_ < 0) return;
        const SymbolFont symbol = SymbolFontOf(name, fontCharset_ == kSymbolCharset);
        fonts_[fontNumber_] = FontEntry{std::move(name), fontCharset_, fontCodePage_, symbol};
    }

    void SetColorPart(int part, long long value) {
        if (st_.dest != Dest::ColorTable) return;
        colorParts_[part] = static_cast<std::uint8_t>(std::clamp<long long>(value, 0, 255));
        colorSet_ = true;
    }

    void CommitColor() {
        if (colorSet_) colors_.push_back(Rgb{colorParts_[0], colorParts_[1], colorParts_[2]});
        else colors_.push_back(std::nullopt);
        colorParts_ = {};
        colorSet_ = false;
    }

    // ----- paragraphs -----

    static void AddTabStop(ParaFormat& para, int position) {
        const TabStop stop{position, std::exchange(para.nextTab, TabAlignment::Left)};
        auto at = std::lower_bound(para.tabs.begin(), para.tabs.end(), position,
                                   [](const TabStop& t, int p) { return t.positionTwips < p; });
        if (at != para.tabs.end() && at->positionTwips == position) *at = stop;
        else if (para.tabs.size() < kMaxTabStops) para.tabs.insert(at, stop);
    }

    void Paragraph() {
        if (st_.dest != Dest::Text) return;
        FinishParagraph(/*atEnd=*/false);
    }

    // \cell ends the cell's last paragraph, and \row the row. Cells beyond the most a table may
    // have join the last one.
    void EndCell() {
        if (st_.dest != Dest::Text) return;
        FinishParagraph(/*atEnd=*/false, /*endsCell=*/true);
        CommitCell();
    }

    void CommitCell() {
        if (row_.cells.size() < kMaxColumns) {
            row_.cells.push_back(std::move(cell_));
        } else {
            auto& last = row_.cells.back().paragraphs;
            for (RichParagraph& para : cell_.paragraphs) last.push_back(std::move(para));
        }
        cell_ = TableCell{};
    }

    void EndRow() {
        if (st_.dest != Dest::Text) return;
        // Text after the last \cell, which no word processor writes, is a cell of its own; a
        // \row outside any table only ends the paragraph.
        if (!current_.runs.empty() || inMarker_)
            FinishParagraph(/*atEnd=*/false, /*endsCell=*/st_.para.inTable || !row_.cells.empty());
        if (!cell_.paragraphs.empty()) CommitCell();
        CommitRow();
    }

    void CommitRow() {
        if (row_.cells.empty()) return;
        // The row's definition may come before its cells or, as Word also writes it, again
        // just before \row: it is the one in force when the row ends.
        for (std::size_t i = 0; i < row_.cells.size(); ++i)
            row_.cells[i].rightEdgeTwips = i < rowDefinition_.edges.size() ? rowDefinition_.edges[i] : 0;
        row_.leftEdgeTwips = rowDefinition_.left;
        table_.borders = table_.borders || rowDefinition_.borders;
        table_.rows.push_back(std::move(row_));
        row_ = TableRow{};
    }

    // A table ends at the first paragraph outside it, or with the document.
    void CloseTable() {
        if (!cell_.paragraphs.empty()) CommitCell();
        CommitRow();
        if (table_.rows.empty()) return;
        doc_.blocks.emplace_back(std::move(table_));
        table_ = RichTable{};
    }

    void FinishParagraph(bool atEnd, bool endsCell = false) {
        FlushBytes();
        FlushSurrogate();
        // An empty marker (outline numbering switched off) does not make a list item.
        if (inMarker_) current_.listMarker = Trimmed(marker_);
        if (atEnd && current_.runs.empty() && !inMarker_) {
            CloseTable();
            return;
        }
        const ParaFormat& para = st_.para;
        current_.alignment = para.alignment;
        current_.leftIndentTwips = para.left;
        current_.rightIndentTwips = para.right;
        current_.firstLineIndentTwips = para.first;
        current_.spaceBeforeTwips = para.before;
        current_.spaceAfterTwips = para.after;
        // A file that sets many stops and then writes paragraph after paragraph would make the
        // stops cost far more than the file; a document keeps at most one stop per four bytes.
        if (para.tabs.size() <= tabStopBudget_) {
            current_.tabStops = para.tabs;
            tabStopBudget_ -= para.tabs.size();
        }
        TakeLeadingBullet(current_);
        std::erase_if(current_.runs, [](const TextRun& run) { return run.text.empty(); });
        if (endsCell || para.inTable) {
            cell_.paragraphs.push_back(std::move(current_));
        } else {
            CloseTable();
            doc_.blocks.emplace_back(std::move(current_));
        }
        if (atEnd) CloseTable();
        current_ = RichParagraph{};
        marker_.clear();
        inMarker_ = false;
    }

    // A paragraph typed as a bullet character and a tab is a list item like any other.
    static void TakeLeadingBullet(RichParagraph& para) {
        // The bullet, the black circle, small and large squares, the diamond and the check mark.
        static constexpr std::string_view kBullets[] = {
            "\xE2\x80\xA2", "\xE2\x97\x8F", "\xE2\x96\xAA", "\xE2\x96\xA0", "\xE2\x9D\x96",
            "\xE2\x9D\x91", "\xE2\x9E\xA2", "\xE2\x9C\x93", "\xE2\x97\x86"};
        if (!para.listMarker.empty() || para.runs.empty()) return;
        std::string& first = para.runs.front().text;
        const auto bullet = std::find_if(std::begin(kBullets), std::end(kBullets),
                                         [&](std::string_view b) { return first.rfind(b, 0) == 0; });
        if (bullet == std::end(kBullets)) return;
        first.erase(0, bullet->size());
        para.listMarker = std::string(*bullet);
        for (TextRun& run : para.runs) {
            const auto keep = run.text.find_first_not_of(" \t");
            if (keep != std::string::npos) {
                run.text.erase(0, keep);
                break;
            }
            run.text.clear();
        }
    }

    std::string_view in_;
    std::size_t pos_ = 0;
    bool finished_ = false;
    bool failed_ = false;

    GroupState st_;
    std::vector<GroupState> stack_;
    std::size_t skipDepth_ = 0;
    bool ignorableNext_ = false;
    int unicodePending_ = 0;
    char32_t highSurrogate_ = 0;

    int documentCodePage_ = CodePageDecoder::kWindows1252;
    CodePageDecoder decoder_;

    int defaultFont_ = -1;
    std::unordered_map<int, FontEntry> fonts_;
    int fontNumber_ = -1;
    int fontCharset_ = -1;
    int fontCodePage_ = 0;
    std::string fontName_;

    std::vector<std::optional<Rgb>> colors_;
    std::array<std::uint8_t, 3> colorParts_{};
    bool colorSet_ = false;

    RichDocument doc_;
    RichParagraph current_;
    CharFormat runFormat_;
    std::string marker_;
    bool inMarker_ = false;

    std::size_t tabStopBudget_;

    RowDefinition rowDefinition_;
    bool borderSide_ = false;
    TableRow row_;
    TableCell cell_;
    RichTable table_;
};

}  // namespace

std::optional<RichDocument> ReadRtf(std::string_view bytes) { return RtfParser(bytes).Read(); }

}  // namespace qb
