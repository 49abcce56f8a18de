#include "documents/RecoveryRecord.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <vector>

#include "documents/TapeFile.h"
#include "engine/NumberRules.h"

namespace qb {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kKeyLength = 4;

// A line break inside a value (a file name may hold one) would split the record's line: such
// a value is not kept.
std::string_view OneLine(std::string_view value) {
    return value.find_first_of("\r\n") == std::string_view::npos ? value : std::string_view();
}

void Put(std::string& out, std::string_view key, std::string_view value) {
    out += key;
    out += OneLine(value);
    out += kLineEnd;
}

TapeDocument HeaderOf(const RecoveryState& state) {
    TapeDocument header;
    header.caption = std::string(OneLine(state.caption));
    header.subtotal = state.subtotal;
    header.pendingOperation = state.pendingOperation;
    header.entryText = std::string(OneLine(state.entryText));
    header.justPressedEquals = state.justPressedEquals;
    header.specialResult = state.specialResult;
    header.elapsedTime = std::string(OneLine(state.elapsedTime));
    return header;
}

std::optional<std::int64_t> ParseCount(std::string_view text) {
    if (text.empty() || text.size() > 18) return std::nullopt;
    std::int64_t value = 0;
    bool negative = text.front() == '-';
    if (negative) text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

std::optional<bool> ParseFlag(std::string_view text) {
    if (text == "-1") return true;
    if (text == "0") return false;
    return std::nullopt;
}

bool IsOperation(std::string_view text) {
    return text.size() == 1 && std::string_view("+-x/%").find(text.front()) != std::string_view::npos;
}

// The record's whole lines (each without its CR LF), and whether bytes follow the last one.
struct Lines {
    std::vector<std::string_view> whole;
    std::vector<std::size_t> ends;  // the offset just after each line's CR LF
    bool torn = false;
};

Lines SplitLines(std::string_view bytes) {
    Lines lines;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        // A line is whole with its CR LF; no line holds either alone, so a lone CR or LF, or an
        // end without them, is damage.
        const std::size_t cr = bytes.find_first_of("\r\n", pos);
        if (cr == std::string_view::npos || bytes[cr] != '\r' || cr + 1 >= bytes.size() || bytes[cr + 1] != '\n') {
            lines.torn = true;
            break;
        }
        lines.whole.push_back(bytes.substr(pos, cr - pos));
        pos = cr + 2;
        lines.ends.push_back(pos);
    }
    return lines;
}

bool HasKey(std::string_view line, std::string_view key) { return line.substr(0, kKeyLength) == key; }

// An appended subtotal is written to the last bit (the shortest text that reads back as the same
// double), so a recovered tape goes on with exactly the subtotal it had.
std::string_view ExactText(double value) {
    static thread_local char text[32];
    const auto written = std::to_chars(text, text + sizeof text, value);
    return std::string_view(text, static_cast<std::size_t>(written.ptr - text));
}

double ReadExact(std::string_view text) {
    double value = 0;
    const auto read = std::from_chars(text.data(), text.data() + text.size(), value);
    if (read.ec != std::errc() || read.ptr != text.data() + text.size()) return ParseNumber(text) + 0.0;
    return value;
}

}  // namespace

RecordWriter::RecordWriter(const RecoveryState& state, const TapeLines& lines, std::int64_t time)
    : header_(HeaderOf(state)), tape_(header_, lines) {
    Put(prefix_, "QBR=", state.lastTapeFile);
    Put(prefix_, "NAM=", state.tapeFileName);
    Put(prefix_, "TIM=", std::to_string(time));
    Put(prefix_, "LNS=", std::to_string(lines.size()));
    Put(prefix_, "ACX=", ExactText(state.subtotal));
    if (!state.writingInPlace.empty()) Put(prefix_, "INP=", state.writingInPlace);
}

std::string_view RecordWriter::Next() {
    if (!prefixGiven_) {
        prefixGiven_ = true;
        return prefix_;
    }
    return tape_.Next();
}

std::string RecordAppend(const RecoveryState& before, const RecoveryState& now, const TapeLines& lines,
                         std::size_t from, std::int64_t time) {
    std::string out;
    RecordAppend(before, now, lines, from, time, out);
    return out;
}

void RecordAppend(const RecoveryState& before, const RecoveryState& now, const TapeLines& lines, std::size_t from,
                  std::int64_t time, std::string& out) {
    out.clear();
    for (std::size_t i = from; i < lines.size(); ++i) {
        out += '+';
        out += lines[i];
        out += kLineEnd;
    }
    if (now.caption != before.caption) Put(out, "QBX=", now.caption);
    if (now.subtotal != before.subtotal || std::signbit(now.subtotal) != std::signbit(before.subtotal))
        Put(out, "ACC=", ExactText(now.subtotal));
    if (now.pendingOperation != before.pendingOperation)
        Put(out, "OPR=", std::string_view(&now.pendingOperation, 1));
    if (now.entryText != before.entryText) Put(out, "NEW=", now.entryText);
    if (now.justPressedEquals != before.justPressedEquals) Put(out, "JPE=", now.justPressedEquals ? "-1" : "0");
    if (now.specialResult != before.specialResult) Put(out, "SPC=", now.specialResult ? "-1" : "0");
    if (now.elapsedTime != before.elapsedTime) Put(out, "TEV=", now.elapsedTime);
    if (now.lastTapeFile != before.lastTapeFile) Put(out, "QBR=", now.lastTapeFile);
    if (now.tapeFileName != before.tapeFileName) Put(out, "NAM=", now.tapeFileName);
    if (now.writingInPlace != before.writingInPlace) Put(out, "INP=", now.writingInPlace);
    char digits[24];
    const auto written = std::to_chars(digits, digits + sizeof digits, time);
    Put(out, "TIM=", std::string_view(digits, static_cast<std::size_t>(written.ptr - digits)));
}

namespace {

// The keys of the tape file's header, in the order it writes them, and what each is to the user.
constexpr std::string_view kHeaderKeys[] = {"QBX=", "ACC=", "OPR=", "NEW=", "JPE=", "SPC=", "TEV="};
constexpr const char* kHeaderWhat[] = {"the caption",           "the subtotal",           "the pending operation",
                                       "the number being keyed", "the calculator's state", "the calculator's state",
                                       ""};
constexpr std::size_t kOptionalHeaderKey = 6;  // TEV= is there only with a timer reading

constexpr std::string_view kEntryKeys[] = {"QBX=", "ACC=", "OPR=", "NEW=", "JPE=", "SPC=",
                                           "TEV=", "QBR=", "NAM=", "INP=", "TIM="};

bool LooksLikeEntry(std::string_view line) {
    if (!line.empty() && line.front() == '+') return true;
    for (std::string_view key : kEntryKeys)
        if (HasKey(line, key)) return true;
    return false;
}

void Unreadable(RecoveredTape& tape, const char* what) {
    tape.damaged = true;
    if (*what == '\0') return;
    for (const std::string& named : tape.unreadable)
        if (named == what) return;
    tape.unreadable.emplace_back(what);
}

// Where the tape lines end. The count the record gives holds when the entries follow right
// after it; a count that was damaged is never allowed to take entries for lines: the lines then
// end before the first run of entries that a flush's time closes (or, with none, before the
// entries at the end).
// A flush's time closes the entries it follows: a line that reads like a time first among the
// lines, or after a line that is no entry (a file's line may read anything), is only a line. So
// is one that reads like a time before the record's own: every flush comes after the record was
// written (`since`, when that time could be read), so a tape's line "TIM=25" is no flush's end.
struct Counted {
    const std::vector<std::string_view>& whole;
    std::optional<std::int64_t> since;

    bool Closes(std::size_t line, std::size_t first) const {
        if (line <= first || !LooksLikeEntry(whole[line - 1]) || !HasKey(whole[line], "TIM=")) return false;
        const auto at = ParseCount(whole[line].substr(kKeyLength));
        return at && (!since || *at >= *since);
    }

    std::size_t FirstClosing(std::size_t first) const {
        std::size_t closing = first;
        while (closing < whole.size() && !Closes(closing, first)) ++closing;
        return closing;
    }

    // The count's lines from `first` on end where the entries begin. A count that reaches the
    // record's end holds whatever its lines read like: that is how the program writes a record
    // afresh, after a recovery too, so it must read back whole. (A count damaged to just that
    // many more lines takes the entries after it for lines: they stay in sight.)
    bool Fits(std::size_t first, std::optional<std::int64_t> count) const {
        if (!count || *count < 0 || first > whole.size() || static_cast<std::uint64_t>(*count) > whole.size() - first)
            return false;
        const std::size_t end = first + static_cast<std::size_t>(*count);
        return end == whole.size() || (end <= FirstClosing(first) && LooksLikeEntry(whole[end]));
    }

    std::size_t TapeLinesEnd(std::size_t first, std::optional<std::int64_t> count, bool& damaged) const {
        if (Fits(first, count)) return first + static_cast<std::size_t>(*count);
        const std::size_t closing = FirstClosing(first);
        damaged = true;
        std::size_t end = closing;
        while (end > first && LooksLikeEntry(whole[end - 1])) --end;
        return end;
    }
};

// Reads keyed lines from `next` on, their keys in the order of `keys`, any of them missing:
// each goes to `take` with its key's place in `keys`. A line with none of the keys still due is
// a damaged one, skipped, when one of them begins a line soon after it and it is no entry of
// the record's; otherwise the keyed lines end before it. They end too where `done` says so,
// given the place of the first key still due and the line. Gives how many lines were taken.
template <std::size_t N, class Take>
std::size_t ReadKeyed(const std::vector<std::string_view>& whole, std::size_t& next,
                      const std::string_view (&keys)[N], RecoveredTape& tape, Take take,
                      const std::function<bool(std::size_t due, std::size_t line)>& done = {}) {
    std::size_t due = 0, taken = 0;
    const auto keyAt = [&](std::size_t line) {
        std::size_t k = due;
        while (k < N && !HasKey(whole[line], keys[k])) ++k;
        return k;
    };
    while (next < whole.size() && due < N) {
        if (done && done(due, next)) break;
        const std::size_t found = keyAt(next);
        if (found == N) {
            bool followed = false;
            for (std::size_t ahead = next + 1; !followed && ahead < whole.size() && ahead <= next + (N - due); ++ahead)
                followed = keyAt(ahead) < N;
            if (!followed || LooksLikeEntry(whole[next])) break;
            tape.damaged = true;
            ++next;
            continue;
        }
        take(found, due, whole[next].substr(kKeyLength));
        due = found + 1;
        ++next;
        ++taken;
    }
    return taken;
}

}  // namespace

std::optional<RecoveredTape> ReadRecoveryRecord(std::string_view bytes) {
    const Lines lines = SplitLines(bytes);
    const auto& whole = lines.whole;
    RecoveredTape tape;
    // The record's own lines first; each value after them that cannot be read is left as a new
    // tape has it, and said.
    static constexpr std::string_view kPrefix[] = {"QBR=", "NAM=", "TIM=", "LNS=", "ACX=", "INP="};
    constexpr std::size_t kPrefixLines = 4;  // the ones every record has
    std::size_t next = 0;
    std::optional<std::int64_t> count;
    std::optional<double> exact;
    bool timed = false;
    const std::size_t prefix = ReadKeyed(whole, next, kPrefix, tape, [&](std::size_t found, std::size_t due, std::string_view value) {
        if (found != due && due == 0) Unreadable(tape, "the tape's file");
        switch (found) {
        case 0: tape.state.lastTapeFile = std::string(value); break;
        case 1: tape.state.tapeFileName = std::string(value); break;
        case 2:
            if (const auto time = ParseCount(value)) tape.time = *time, timed = true;
            break;
        case 3: count = ParseCount(value); break;
        case 4:
            if (const double value_ = ReadExact(value); std::isfinite(value_)) exact = value_;
            break;
        default: tape.state.writingInPlace = std::string(value); break;
        }
    });
    // Nothing of a record's own: no record at all.
    if (prefix == 0) return std::nullopt;
    if (!timed) Unreadable(tape, "the time it was kept");
    if (next < kPrefixLines || !count) tape.damaged = true;

    const Counted counted{whole, timed ? std::optional<std::int64_t>(tape.time) : std::nullopt};

    // The tape file's header: its keys in order, any of them missing or unreadable.
    std::size_t key = 0;
    const std::size_t header = ReadKeyed(whole, next, kHeaderKeys, tape, [&](std::size_t found, std::size_t, std::string_view value) {
        for (; key < found && key < kOptionalHeaderKey; ++key) Unreadable(tape, kHeaderWhat[key]);
        key = found + 1;
        bool read = true;
        switch (found) {
        case 0: tape.state.caption = std::string(value); break;
        case 1: {
            const double subtotal = ReadExact(value);
            read = std::isfinite(subtotal);
            if (read) tape.state.subtotal = subtotal + 0.0;  // a read "-0" is the 0 the program writes
            break;
        }
        case 2:
            read = IsOperation(value);
            if (read) tape.state.pendingOperation = value.front();
            break;
        case 3: tape.state.entryText = std::string(value); break;
        case 4:
        case 5: {
            const auto flag = ParseFlag(value);
            read = flag.has_value();
            if (read) (found == 4 ? tape.state.justPressedEquals : tape.state.specialResult) = *flag;
            break;
        }
        default: tape.state.elapsedTime = std::string(value); break;
        }
        // The rounded subtotal is not needed beside the exact one.
        if (!read && found == 1 && exact) tape.damaged = true;
        else if (!read) Unreadable(tape, kHeaderWhat[found]);
    }, [&](std::size_t due, std::size_t line) {
        // Past the keys every header has, the count decides: where just that many lines are left
        // before the entries, they are the tape's, even one that reads like a damaged key. One
        // that begins like "TEV=" is the tape's only when the count does not fit after it too.
        return due >= kOptionalHeaderKey && counted.Fits(line, count) &&
               (!HasKey(whole[line], kHeaderKeys[kOptionalHeaderKey]) || !counted.Fits(line + 1, count));
    });
    if (header == 0) return std::nullopt;
    // The header's last line damaged beyond knowing: it is no tape line when the count says so.
    if (key < kOptionalHeaderKey && next < whole.size() && !LooksLikeEntry(whole[next]) &&
        !counted.Fits(next, count) && counted.Fits(next + 1, count)) {
        tape.damaged = true;
        ++next;
    }
    for (; key < kOptionalHeaderKey; ++key) Unreadable(tape, kHeaderWhat[key]);
    if (exact) tape.state.subtotal = *exact;

    const std::size_t bodyEnd = counted.TapeLinesEnd(next, count, tape.damaged);
    std::size_t characters = 0;
    for (std::size_t i = next; i < bodyEnd; ++i) characters += whole[i].size();
    tape.lines.reserve(bodyEnd - next, characters);
    for (std::size_t i = next; i < bodyEnd; ++i) tape.lines.push_back(whole[i]);

    // The appended entries: lines and values wait for the time that ends their flush.
    RecoveryState flushing = tape.state;
    std::vector<std::string_view> added;
    bool waiting = false;
    for (std::size_t i = bodyEnd; i < whole.size(); ++i) {
        const std::string_view line = whole[i];
        if (!line.empty() && line.front() == '+') {
            added.push_back(line.substr(1));
            waiting = true;
            continue;
        }
        if (line.size() < kKeyLength || line[kKeyLength - 1] != '=') {
            tape.damaged = true;
            break;
        }
        const std::string_view key = line.substr(0, kKeyLength), value = line.substr(kKeyLength);
        bool known = true;
        if (key == "TIM=") {
            const auto at = ParseCount(value);
            if (!at) {
                tape.damaged = true;
                break;
            }
            for (std::string_view text : added) tape.lines.push_back(text);
            added.clear();
            tape.state = flushing;
            tape.time = *at;
            waiting = false;
            continue;
        }
        if (key == "QBX=") {
            flushing.caption = std::string(value);
        } else if (key == "ACC=") {
            const double subtotal = ReadExact(value);
            known = std::isfinite(subtotal);
            flushing.subtotal = subtotal;
        } else if (key == "OPR=") {
            known = IsOperation(value);
            if (known) flushing.pendingOperation = value.front();
        } else if (key == "NEW=") {
            flushing.entryText = std::string(value);
        } else if (key == "JPE=" || key == "SPC=") {
            const auto flag = ParseFlag(value);
            known = flag.has_value();
            if (known) (key == "JPE=" ? flushing.justPressedEquals : flushing.specialResult) = *flag;
        } else if (key == "TEV=") {
            flushing.elapsedTime = std::string(value);
        } else if (key == "QBR=") {
            flushing.lastTapeFile = std::string(value);
        } else if (key == "NAM=") {
            flushing.tapeFileName = std::string(value);
        } else if (key == "INP=") {
            flushing.writingInPlace = std::string(value);
        } else {
            known = false;
        }
        if (!known) {
            tape.damaged = true;
            break;
        }
        waiting = true;
    }
    // Lines and values whose flush never ended, or bytes after the last whole line: a torn append.
    if (waiting || lines.torn) tape.damaged = true;
    return tape;
}

}  // namespace qb
