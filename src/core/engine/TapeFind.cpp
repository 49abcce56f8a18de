#include "engine/TapeFind.h"

#include "engine/NoteLines.h"
#include "engine/NumberRules.h"
#include "engine/Tape.h"
#include "engine/TapeRecompute.h"

namespace qb {
namespace {

// Small letters of the tape's code page (Windows-1252): accented capitals too, so "MÜLLER"
// finds a note about Müller.
char Lower(char c) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7)) return static_cast<char>(byte + 0x20);
    switch (byte) {
    case 0x8A:  // Š
    case 0x8C:  // Œ
    case 0x8E: return static_cast<char>(byte + 0x10);  // Ž
    case 0x9F: return static_cast<char>(0xFF);          // Ÿ
    default: return c;
    }
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

// "-1,250.00" and the like: a sign, digits with separators, one decimal sign, digits; when
// grouped, the separators stand between groups of three. Nothing when the text is not a number
// written so.
std::optional<double> TypedNumber(std::string_view typed, char separator, char point, bool grouped) {
    std::string plain;
    std::size_t i = 0;
    if (i < typed.size() && typed[i] == '-') plain += typed[i++];
    bool digits = false, pointSeen = false, separated = false;
    std::size_t run = 0;  // digits since the start or the last separator
    for (; i < typed.size(); ++i) {
        const char c = typed[i];
        const bool groupEnds = !grouped || (separated ? run == 3 : run >= 1 && run <= 3);
        if (c >= '0' && c <= '9') {
            plain += c;
            digits = true;
            ++run;
        } else if (c == point && !pointSeen && (!separated || groupEnds)) {
            plain += '.';
            pointSeen = true;
        } else if (c == separator && !pointSeen && groupEnds) {
            separated = true;
            run = 0;
        } else {
            return std::nullopt;
        }
    }
    if (!digits || (grouped && separated && !pointSeen && run != 3)) return std::nullopt;
    return ParseNumber(plain);
}

// With a decimal comma, "1.250,5" reads as 1250.5; a number not written so is read as the tape
// shows numbers, whatever the locale: "1,250.50" and "1250.5" are 1250.5 too.
std::optional<double> TypedNumber(std::string_view typed, bool decimalComma) {
    if (!decimalComma) return TypedNumber(typed, ',', '.', false);
    if (const auto number = TypedNumber(typed, '.', ',', true)) return number;
    return TypedNumber(typed, ',', '.', false);
}

// Whether the note reads text (in small letters) from column from of its line at on, read on
// into the lines below it as the note goes on there.
bool NoteReadsFrom(const TapeLines& lines, std::size_t at, std::size_t from, std::string_view text) {
    std::string_view line = lines[at];
    std::string_view rest = NoteLineText(line).substr(from);
    for (std::size_t next = at + 1; !text.empty();) {
        if (!rest.empty()) {
            if (Lower(rest.front()) != text.front()) return false;
            rest.remove_prefix(1);
            text.remove_prefix(1);
            continue;
        }
        if (next >= lines.size() || !IsNoteLine(lines[next])) return false;
        const NoteJoin join = NoteLineJoin(lines[next], line);
        if (join == NoteJoin::Begins) return false;
        if (join == NoteJoin::AfterBlank) {
            if (text.front() != ' ') return false;
            text.remove_prefix(1);
        }
        line = lines[next++];
        rest = NoteLineText(line);
    }
    return true;
}

// Whether text (in small letters) begins within the note line at at.
bool NoteMatchBegins(const TapeLines& lines, std::size_t at, const std::string& text) {
    if (!IsNoteLine(lines[at])) return false;
    const std::string_view own = NoteLineText(lines[at]);
    for (std::size_t from = 0; from < own.size(); ++from)
        if (Lower(own[from]) == text.front() && NoteReadsFrom(lines, at, from, text)) return true;
    return false;
}

// Lines that cannot hold the number: no digit of it at all is quicker to see than a reading.
bool MayShowNumber(std::string_view line) {
    const char last = line.empty() ? 0 : line.back();
    return last == '+' || last == '-' || last == '*' || last == '/' || last == '%' || last == '=' ||
           last == Tape::kReferenceMark;
}

}  // namespace

FindQuery MakeFindQuery(std::string_view typed, bool decimalComma) {
    FindQuery query;
    const std::string_view trimmed = Trim(typed);
    // A note holds no two blanks in a row: its words are wrapped so.
    for (const char c : trimmed)
        if (c != ' ' || query.text.back() != ' ') query.text += Lower(c);
    query.number = TypedNumber(trimmed, decimalComma);
    return query;
}

bool LineMatches(const FindQuery& query, const TapeLines& lines, std::size_t at) {
    const std::string_view line = lines[at];
    if (query.Empty() || line.empty()) return false;
    if (line.back() == Tape::kNoteMark) return NoteMatchBegins(lines, at, query.text);
    if (!query.number || !MayShowNumber(line)) return false;
    if (line.back() == Tape::kReferenceMark) {
        const std::string_view content = Trim(line.substr(0, line.size() - 1));
        return ParseNumber(std::string(content)) == *query.number;
    }
    const TapeLineReading reading = ReadTapeLine(line, at > 0 ? lines[at - 1] : std::string_view(), at == 0);
    return reading.kind != TapeLineReading::Kind::Other && reading.kind != TapeLineReading::Kind::Overflow &&
           reading.value == *query.number;
}

FindResult FindOnTape(const TapeLines& lines, const FindQuery& query, std::int64_t from, bool forward) {
    FindResult result;
    const auto count = static_cast<std::int64_t>(lines.size());
    if (count == 0 || query.Empty()) return result;
    if (from < 0 || from >= count) from = forward ? -1 : count;
    const std::int64_t step = forward ? 1 : -1;
    std::int64_t i = from;
    for (std::int64_t seen = 0; seen < count; ++seen) {
        i += step;
        if (i >= count || i < 0) {
            i = forward ? 0 : count - 1;
            result.wrapped = from != -1 && from != count;
        }
        if (LineMatches(query, lines, static_cast<std::size_t>(i))) {
            result.line = i;
            return result;
        }
    }
    return result;
}

}  // namespace qb
