#include "engine/NoteLines.h"

#include "engine/Tape.h"

namespace qb {
namespace {

std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i] == ' ') ++i;
        const std::size_t start = i;
        while (i < text.size() && text[i] != ' ') ++i;
        if (i > start) words.push_back(text.substr(start, i - start));
    }
    return words;
}

std::string Marked(std::string text, char join) {
    text.resize(kNoteColumns, ' ');
    text += join;
    text += Tape::kNoteMark;
    return text;
}

}  // namespace

std::vector<std::string> NoteLines(std::string_view note) {
    std::vector<std::string> lines;
    std::string line;
    // How the line being filled goes on from the one before it.
    char join = kNoteBegins;
    const auto put = [&](std::string text, char next) {
        lines.push_back(Marked(std::move(text), join));
        join = next;
    };
    for (std::string_view word : Words(note)) {
        if (!line.empty() && line.size() + 1 + word.size() <= kNoteColumns) {
            line += ' ';
            line += word;
            continue;
        }
        if (!line.empty()) put(std::move(line), kNoteGoesOn);
        line.clear();
        while (word.size() > kNoteColumns) {
            put(std::string(word.substr(0, kNoteColumns)), kNoteWordGoesOn);
            word.remove_prefix(kNoteColumns);
        }
        line = word;
    }
    if (!line.empty()) put(std::move(line), kNoteBegins);
    return lines;
}

bool IsNoteLine(std::string_view line) {
    if (line.size() != Tape::kLineWidth || line.back() != Tape::kNoteMark) return false;
    const char join = line[kNoteColumns];
    return join == kNoteBegins || join == kNoteGoesOn || join == kNoteWordGoesOn;
}

NoteJoin NoteLineJoin(std::string_view line, std::string_view above) {
    if (!IsNoteLine(above)) return NoteJoin::Begins;
    switch (line[kNoteColumns]) {
    case kNoteGoesOn: return NoteJoin::AfterBlank;
    case kNoteWordGoesOn: return NoteJoin::InWord;
    default: return NoteJoin::Begins;
    }
}

std::string_view NoteLineText(std::string_view line) {
    std::string_view text = line.substr(0, kNoteColumns);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

std::pair<std::int64_t, std::int64_t> NoteAround(const TapeLines& lines, std::int64_t index, std::int64_t end) {
    const auto at = [&](std::int64_t i) { return lines[static_cast<std::size_t>(i)]; };
    std::int64_t first = index, last = index;
    while (first > 0 && NoteLineJoin(at(first), at(first - 1)) != NoteJoin::Begins) --first;
    while (last + 1 < end && IsNoteLine(at(last + 1)) && NoteLineJoin(at(last + 1), at(last)) != NoteJoin::Begins) ++last;
    return {first, last - first + 1};
}

std::string NoteText(const TapeLines& lines, std::int64_t first, std::int64_t count) {
    std::string text;
    for (std::int64_t i = first; i < first + count; ++i) {
        const std::string_view line = lines[static_cast<std::size_t>(i)];
        if (i > first && NoteLineJoin(line, lines[static_cast<std::size_t>(i - 1)]) != NoteJoin::InWord) text += ' ';
        text += NoteLineText(line);
    }
    return text;
}

std::string ShownLine(std::string_view line) {
    std::string shown;
    AppendShownLine(shown, line);
    return shown;
}

void AppendShownLine(std::string& out, std::string_view line) {
    const std::size_t at = out.size();
    out += line;
    if (IsNoteLine(line)) out[at + kNoteColumns] = ' ';
}

}  // namespace qb
