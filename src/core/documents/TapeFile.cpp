#include "documents/TapeFile.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstring>
#include <limits>
#include <optional>
#include <utility>

#include "engine/NumberRules.h"

namespace qb {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kKeyLength = 4;

// Walks the bytes line by line without copying them. A line ends at CR LF, at a lone CR, or
// at a lone LF: the program writes CR LF only, but a tape file that went through an editor or
// a transfer that keeps bare LF must still open with its lines intact rather than as one
// long caption. Bytes after the last line end form a last line; nothing after it is no line.
class LineReader {
public:
    explicit LineReader(std::string_view bytes) : bytes_(bytes), nextCr_(Find('\r')), nextLf_(Find('\n')) {}

    std::optional<std::string_view> Next() {
        const std::size_t size = bytes_.size();
        if (pos_ >= size) return std::nullopt;
        const char* data = bytes_.data();
        // The next CR and the next LF, each looked for again only once passed, so every byte is
        // searched once (by memchr, which is fast) whatever mix of line ends the file has.
        if (nextCr_ < pos_) nextCr_ = Find('\r');
        if (nextLf_ < pos_) nextLf_ = Find('\n');
        const std::size_t end = std::min(nextCr_, nextLf_);
        std::string_view line(data + pos_, end - pos_);
        pos_ = end;
        if (pos_ < size) {
            if (data[pos_] == '\r' && pos_ + 1 < size && data[pos_ + 1] == '\n') ++pos_;
            ++pos_;
        }
        return line;
    }

    // About how many lines are left, for reserving room: one per twenty bytes, as a tape's are.
    std::size_t Estimate() const { return (bytes_.size() - std::min(pos_, bytes_.size())) / 20 + 1; }

private:
    // The position of the next c at or after pos_, or the end.
    std::size_t Find(char c) const {
        const void* found = std::memchr(bytes_.data() + pos_, c, bytes_.size() - pos_);
        return found ? static_cast<std::size_t>(static_cast<const char*>(found) - bytes_.data()) : bytes_.size();
    }

    std::string_view bytes_;
    std::size_t pos_ = 0;
    std::size_t nextCr_, nextLf_;  // looked for again once below pos_
};

bool HasKey(std::string_view line, std::string_view key) {
    return line.size() >= kKeyLength && line.substr(0, kKeyLength) == key;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(std::string_view text, std::string_view lowerWord) {
    if (text.size() != lowerWord.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (LowerAscii(text[i]) != lowerWord[i]) return false;
    return true;
}

// A flag as the file holds it: a decimal number (any number but zero is true; blanks around it
// are allowed) or the word True or False in any case. Anything else, the empty text included,
// has no truth value. Zero is judged on the digits, not on a parsed double, so a huge or tiny
// number never turns into a wrong answer through overflow or underflow.
std::optional<bool> ParseFlag(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    if (EqualsIgnoringCase(text, "true")) return true;
    if (EqualsIgnoringCase(text, "false")) return false;

    std::size_t i = 0;
    const std::size_t n = text.size();
    if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
    bool anyDigit = false, nonZero = false;
    auto digits = [&] {
        for (; i < n && IsDigit(text[i]); ++i) {
            anyDigit = true;
            nonZero = nonZero || text[i] != '0';
        }
    };
    digits();
    if (i < n && text[i] == '.') {
        ++i;
        digits();
    }
    if (!anyDigit) return std::nullopt;
    if (i < n && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
        const std::size_t exponentStart = i;
        while (i < n && IsDigit(text[i])) ++i;
        if (i == exponentStart) return std::nullopt;
    }
    if (i != n) return std::nullopt;
    return nonZero;
}

// The pending operation must be one the calculator knows. Any other value (empty, "*", "x2",
// a stray letter) cannot have come from the program, and going on with an operation that no
// key can apply would leave the calculator stuck, so such a file counts as corrupted, as a
// flag without a truth value does.
std::optional<char> ParseOperation(std::string_view text) {
    if (text.size() != 1) return std::nullopt;
    switch (text.front()) {
        case '+':
        case '-':
        case 'x':
        case '/':
        case '%': return text.front();
        default: return std::nullopt;
    }
}

// For a number too large for a double: the largest double with its sign when the number is
// that double as written to 15 significant digits, else 0 (no subtotal the program can have
// written). Nothing for any other text.
std::optional<double> BeyondTheRange(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    const bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
    // Digits as ParseNumber takes them (no "inf" or "nan").
    if (text.empty() || !(IsDigit(text.front()) || text.front() == '.')) return std::nullopt;
    long double wide = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), wide);
    if (result.ec == std::errc::result_out_of_range) {
        // Beyond even a long double: too large when a digit other than 0 stands before the
        // point or the exponent is positive, else too small (which reads as 0).
        const std::string_view number(text.data(), static_cast<std::size_t>(result.ptr - text.data()));
        const std::size_t exponent = number.find_first_of("eE");
        const bool largeMantissa = number.substr(0, std::min(number.find('.'), exponent)).find_first_not_of('0') !=
                                   std::string_view::npos;
        const bool negativeExponent = exponent != std::string_view::npos && exponent + 1 < number.size() &&
                                      number[exponent + 1] == '-';
        if (negativeExponent || (!largeMantissa && exponent == std::string_view::npos)) return std::nullopt;
        return 0.0;
    }
    if (result.ec != std::errc() || wide <= std::numeric_limits<double>::max()) return std::nullopt;
    constexpr long double kLargestWritten = 1.79769313486232E+308L;
    if (wide > kLargestWritten) return 0.0;
    const double largest = std::numeric_limits<double>::max();
    return negative ? -largest : largest;
}

}  // namespace

std::string WriteTapeBytes(const TapeDocument& document) { return WriteTapeBytes(document, document.lines); }

std::string WriteTapeBytes(const TapeDocument& document, const TapeLines& lines) {
    TapeWriter writer(document, lines);
    std::string bytes;
    bytes.reserve(writer.Size());
    for (std::string_view piece = writer.Next(); !piece.empty(); piece = writer.Next()) bytes += piece;
    return bytes;
}

TapeWriter::TapeWriter(const TapeDocument& document, const TapeLines& lines) : lines_(lines) {
    const std::string subtotal = NumberToText(document.subtotal);
    auto put = [this](std::string_view key, std::string_view value) {
        header_ += key;
        header_ += value;
        header_ += kLineEnd;
    };
    put("QBX=", document.caption);
    put("ACC=", subtotal);
    put("OPR=", std::string_view(&document.pendingOperation, 1));
    put("NEW=", document.entryText);
    put("JPE=", document.justPressedEquals ? "-1" : "0");
    put("SPC=", document.specialResult ? "-1" : "0");
    // Without a reading the line is left out, unless the first tape line itself begins with
    // "TEV=": an empty reading then says where the tape starts.
    if (!document.elapsedTime.empty() || (!lines.empty() && HasKey(lines.front(), "TEV=")))
        put("TEV=", document.elapsedTime);
}

std::string_view TapeWriter::Next() {
    if (!headerGiven_) {
        headerGiven_ = true;
        return header_;
    }
    constexpr std::size_t kPiece = 256 * 1024;
    piece_.clear();
    if (piece_.capacity() < kPiece) piece_.reserve(kPiece + 64);
    for (; next_ < lines_.size() && piece_.size() < kPiece; ++next_) {
        piece_ += lines_[next_];
        piece_ += kLineEnd;
    }
    return piece_;
}

TapeReadResult ReadTapeBytes(std::string_view bytes, TapeDocument& document) {
    return ReadTapeBytes(std::string(bytes), document);
}

TapeReadResult ReadTapeBytes(std::string&& bytes, TapeDocument& document, Progress* progress) {
    if (bytes.size() > TapeLines::kMostCharacters) return TapeReadResult::Corrupted;
    LineReader reader(bytes);
    TapeDocument read;

    // No header value the program writes is long (a caption has 75 characters at most): a value
    // of megabytes would only burden every redraw of the window.
    constexpr std::size_t kLongestValue = 64 * 1024;
    auto first = reader.Next();
    if (!first || !HasKey(*first, "QBX=")) return TapeReadResult::NotATapeFile;
    read.caption = std::string(first->substr(kKeyLength));
    if (read.caption.size() > kLongestValue) return TapeReadResult::Corrupted;

    // Lines 2 to 6, in order: a missing line is a file cut short inside the header, a wrong key
    // is not a tape file, a value without meaning is corrupted. The first fault met decides.
    enum { kAcc, kOpr, kNew, kJpe, kSpc, kHeaderValues };
    constexpr std::string_view kKeys[kHeaderValues] = {"ACC=", "OPR=", "NEW=", "JPE=", "SPC="};
    std::string_view values[kHeaderValues];
    for (int k = 0; k < kHeaderValues; ++k) {
        auto line = reader.Next();
        if (!line) return TapeReadResult::Corrupted;
        if (!HasKey(*line, kKeys[k])) return TapeReadResult::NotATapeFile;
        values[k] = line->substr(kKeyLength);
        if (values[k].size() > kLongestValue) return TapeReadResult::Corrupted;
        if (k == kOpr) {
            auto operation = ParseOperation(values[k]);
            if (!operation) return TapeReadResult::Corrupted;
            read.pendingOperation = *operation;
        } else if (k == kJpe || k == kSpc) {
            auto flag = ParseFlag(values[k]);
            if (!flag) return TapeReadResult::Corrupted;
            (k == kJpe ? read.justPressedEquals : read.specialResult) = *flag;
        }
    }
    // ParseNumber gives 0 for text that is no number or lies beyond a double; adding 0 turns a
    // read "-0" into the 0 the program itself would have written.
    read.subtotal = ParseNumber(values[kAcc]) + 0.0;
    if (read.subtotal == 0) {
        // The largest double is written rounded to 15 digits, just above it: that is the largest
        // double again. A number beyond it is no subtotal the program can have written.
        const std::optional<double> huge = BeyondTheRange(values[kAcc]);
        if (huge && *huge == 0) return TapeReadResult::Corrupted;
        if (huge) read.subtotal = *huge;
    }
    read.entryText = std::string(values[kNew]);

    // A file may end right after its "SPC=" line: that is what the program writes for an empty
    // tape without a timer reading, so it reads as exactly that.
    auto line = reader.Next();
    if (line && HasKey(*line, "TEV=")) {
        if (line->size() - kKeyLength > kLongestValue) return TapeReadResult::Corrupted;
        read.elapsedTime = std::string(line->substr(kKeyLength));
        line = reader.Next();
    }
    if (line) {
        // The lines are moved to the front of the bytes, their line ends dropped: every line lands
        // before where it was read, and the reader only looks ahead.
        std::vector<std::uint32_t> ends;
        ends.reserve(reader.Estimate());
        std::size_t laidOut = 0;
        for (; line; line = reader.Next()) {
            if (progress && !progress->Step()) return TapeReadResult::Cancelled;
            std::memmove(bytes.data() + laidOut, line->data(), line->size());
            laidOut += line->size();
            ends.push_back(static_cast<std::uint32_t>(laidOut));
            // Nothing the program writes is mostly line ends: a file that would cost more than
            // twice its size in memory (millions of empty lines) is no tape of it.
            if (ends.size() * TapeLines::kBytesPerLine > 2 * bytes.size() + 4096) return TapeReadResult::Corrupted;
        }
        bytes.resize(laidOut);
        read.lines.Adopt(std::move(bytes), std::move(ends));
    }

    document = std::move(read);
    return TapeReadResult::Read;
}

}  // namespace qb
