#include "guide/RtfReader.h"

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

// Windows-1252 from 0x80 to 0x9F; the rest of the code page is Latin-1. The five unused
// bytes map to the control characters of the same number, as Windows does.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr int kSymbolCharset = 2;
constexpr char32_t kBullet = 0x2022;
constexpr char32_t kReplacement = 0xFFFD;

enum class Dest : std::uint8_t { Text, FontTable, ColorTable, ListMarker };

enum class Kw : std::uint8_t {
    // destinations
    Skip, FontTable, ColorTable, ListMarker, Field, FieldResult,
    // document
    Rtf, AnsiCodePage, DefaultFont, Bin, UnicodeSkip, Unicode,
    // characters
    Par, Line, Tab, Cell, Row, Sect, Page,
    EmDash, EnDash, EmSpace, EnSpace, QmSpace, Bullet, LQuote, RQuote, LDblQuote, RDblQuote,
    Zwj, Zwnj, LtrMark, RtlMark,
    // character format
    Plain, Bold, Italic, Underline, UnderlineNone, Hidden, FontSize, Font, Color, FontCharset,
    Red, Green, Blue,
    // paragraph format
    Pard, AlignLeft, AlignCenter, AlignRight, AlignJustify,
    LeftIndent, RightIndent, FirstIndent, SpaceBefore, SpaceAfter,
};

const std::unordered_map<std::string_view, Kw>& Keywords() {
    static const std::unordered_map<std::string_view, Kw> table = [] {
        std::unordered_map<std::string_view, Kw> t = {
            {"fonttbl", Kw::FontTable}, {"colortbl", Kw::ColorTable},
            {"pntext", Kw::ListMarker}, {"listtext", Kw::ListMarker},
            {"field", Kw::Field}, {"fldrslt", Kw::FieldResult},
            {"rtf", Kw::Rtf}, {"ansicpg", Kw::AnsiCodePage}, {"deff", Kw::DefaultFont},
            {"bin", Kw::Bin}, {"uc", Kw::UnicodeSkip}, {"u", Kw::Unicode},
            {"par", Kw::Par}, {"line", Kw::Line}, {"tab", Kw::Tab}, {"cell", Kw::Cell},
            {"nestcell", Kw::Cell}, {"row", Kw::Row}, {"nestrow", Kw::Row}, {"sect", Kw::Sect},
            {"page", Kw::Page}, {"emdash", Kw::EmDash}, {"endash", Kw::EnDash},
            {"emspace", Kw::EmSpace}, {"enspace", Kw::EnSpace}, {"qmspace", Kw::QmSpace},
            {"bullet", Kw::Bullet}, {"lquote", Kw::LQuote}, {"rquote", Kw::RQuote},
            {"ldblquote", Kw::LDblQuote}, {"rdblquote", Kw::RDblQuote}, {"zwj", Kw::Zwj},
            {"zwnj", Kw::Zwnj}, {"ltrmark", Kw::LtrMark}, {"rtlmark", Kw::RtlMark},
            {"plain", Kw::Plain}, {"b", Kw::Bold}, {"i", Kw::Italic}, {"ulnone", Kw::UnderlineNone},
            {"v", Kw::Hidden}, {"fs", Kw::FontSize}, {"f", Kw::Font}, {"cf", Kw::Color},
            {"fcharset", Kw::FontCharset}, {"red", Kw::Red}, {"green", Kw::Green},
            {"blue", Kw::Blue}, {"pard", Kw::Pard}, {"ql", Kw::AlignLeft},
            {"qc", Kw::AlignCenter}, {"qr", Kw::AlignRight}, {"qj", Kw::AlignJustify},
            {"qd", Kw::AlignJustify}, {"li", Kw::LeftIndent}, {"ri", Kw::RightIndent},
            {"fi", Kw::FirstIndent}, {"sb", Kw::SpaceBefore}, {"sa", Kw::SpaceAfter},
        };
        // Every kind of underline is drawn as one underline.
        for (std::string_view ul :
             {"ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave", "ulldash", "ulth",
              "ulthd", "ulthdash", "ulthdashd", "ulthdashdd", "ulthldash", "ululdbwave", "ulw",
              "ulwave"})
            t.emplace(ul, Kw::Underline);
        // Destinations whose content is not part of the text, with or without \*.
        for (std::string_view skip :
             {"info", "stylesheet", "pict", "header", "headerl", "headerr", "headerf", "footer",
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
    bool underline = false;
    bool hidden = false;
    int sizeHalfPoints = 24;
    int font = -1;   // -1: none chosen
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
};

struct GroupState {
    Dest dest = Dest::Text;
    CharFormat chr;
    ParaFormat para;
    int unicodeSkip = 1;
};

struct FontEntry {
    std::string name;
    int charset = 0;
};

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

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
    explicit RtfParser(std::string_view in) : in_(in) {}

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
            case '\\':
            case '{':
            case '}': Character(static_cast<unsigned char>(c)); break;
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
            case Kw::AnsiCodePage: break;  // only Windows-1252 is known; others read as it
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
            case Kw::Cell: Character('\t'); break;
            case Kw::Row: EndRow(); break;
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
            case Kw::Plain:
                chr = CharFormat{};
                chr.font = defaultFont_;
                break;
            case Kw::Bold: chr.bold = on; break;
            case Kw::Italic: chr.italic = on; break;
            case Kw::Underline: chr.underline = on; break;
            case Kw::UnderlineNone: chr.underline = false; break;
            case Kw::Hidden: chr.hidden = on; break;
            case Kw::FontSize: chr.sizeHalfPoints = hasParam ? Clamp(param, 2, 3276) : 24; break;
            case Kw::Font:
                if (st_.dest == Dest::FontTable) {
                    CommitFont();
                    fontNumber_ = value;
                    fontCharset_ = 0;
                } else {
                    chr.font = value;
                }
                break;
            case Kw::FontCharset: fontCharset_ = value; break;
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

    // A byte in the code page of the current font or, failing that, of the document.
    void ByteCharacter(unsigned char c) {
        if (c < 0x80) {
            Character(c);
            return;
        }
        const int charset =
            st_.dest == Dest::FontTable ? fontCharset_ : FontCharsetOf(st_.chr.font);
        if (charset == kSymbolCharset && c == 0xB7) {
            Character(kBullet);
            return;
        }
        Character(c < 0xA0 ? kWindows1252High[c - 0x80] : c);
    }

    void UnicodeCharacter(bool hasParam, long long param) {
        unicodePending_ = 0;
        if (!hasParam) return;
        char32_t cp = kReplacement;
        if (param >= -32768 && param < 0) cp = static_cast<char32_t>(param + 65536);
        else if (param >= 0 && param <= 0xFFFF) cp = static_cast<char32_t>(param);
        if (cp >= 0xDC00 && cp <= 0xDFFF && highSurrogate_ != 0) {
            const char32_t combined = 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (cp - 0xDC00);
            highSurrogate_ = 0;
            Emit(combined);
        } else if (cp >= 0xD800 && cp <= 0xDBFF) {
            FlushSurrogate();
            highSurrogate_ = cp;
        } else {
            Character(cp);
        }
        unicodePending_ = st_.unicodeSkip;
    }

    // ----- where characters go -----

    void Character(char32_t cp) {
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
            run.fontSizeHalfPoints = chr.sizeHalfPoints;
            if (auto font = fonts_.find(chr.font); font != fonts_.end())
                run.fontFamily = font->second.name;
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
               a.fontSizeHalfPoints == b.fontSizeHalfPoints && a.fontFamily == b.fontFamily &&
               a.color == b.color;
    }

    int FontCharsetOf(int font) const {
        const auto found = fonts_.find(font);
        return found == fonts_.end() ? 0 : found->second.charset;
    }

    // ----- tables -----

    void CommitFont() {
        if (st_.dest != Dest::FontTable) return;
        std::string name = Trimmed(fontName_);
        fontName_.clear();
        if (name.empty() || fontNumber_ < 0) return;
        fonts_[fontNumber_] = FontEntry{std::move(name), fontCharset_};
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

    void Paragraph() {
        if (st_.dest != Dest::Text) return;
        FinishParagraph(/*atEnd=*/false);
    }

    void EndRow() {
        if (st_.dest != Dest::Text) return;
        // The row's last cell leaves a tab behind that separates nothing.
        if (!current_.runs.empty()) {
            std::string& text = current_.runs.back().text;
            if (!text.empty() && text.back() == '\t') text.pop_back();
            if (text.empty()) current_.runs.pop_back();
        }
        FinishParagraph(/*atEnd=*/false);
    }

    void FinishParagraph(bool atEnd) {
        FlushSurrogate();
        // An empty marker (outline numbering switched off) does not make a list item.
        if (inMarker_) current_.listMarker = Trimmed(marker_);
        if (atEnd && current_.runs.empty() && !inMarker_) return;
        const ParaFormat& para = st_.para;
        current_.alignment = para.alignment;
        current_.leftIndentTwips = para.left;
        current_.rightIndentTwips = para.right;
        current_.firstLineIndentTwips = para.first;
        current_.spaceBeforeTwips = para.before;
        current_.spaceAfterTwips = para.after;
        TakeLeadingBullet(current_);
        std::erase_if(current_.runs, [](const TextRun& run) { return run.text.empty(); });
        doc_.paragraphs.push_back(std::move(current_));
        current_ = RichParagraph{};
        marker_.clear();
        inMarker_ = false;
    }

    // A paragraph typed as a bullet character and a tab is a list item like any other.
    static void TakeLeadingBullet(RichParagraph& para) {
        static constexpr std::string_view kBulletUtf8 = "\xE2\x80\xA2";
        if (!para.listMarker.empty() || para.runs.empty()) return;
        std::string& first = para.runs.front().text;
        if (first.rfind(kBulletUtf8, 0) != 0) return;
        first.erase(0, kBulletUtf8.size());
        para.listMarker = std::string(kBulletUtf8);
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

    int defaultFont_ = -1;
    std::unordered_map<int, FontEntry> fonts_;
    int fontNumber_ = -1;
    int fontCharset_ = 0;
    std::string fontName_;

    std::vector<std::optional<Rgb>> colors_;
    std::array<std::uint8_t, 3> colorParts_{};
    bool colorSet_ = false;

    RichDocument doc_;
    RichParagraph current_;
    CharFormat runFormat_;
    std::string marker_;
    bool inMarker_ = false;
};

}  // namespace

std::optional<RichDocument> ReadRtf(std::string_view bytes) { return RtfParser(bytes).Read(); }

}  // namespace qb
