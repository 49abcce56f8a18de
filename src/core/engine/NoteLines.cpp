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

std::string Marked(std::string text) {
    text.resize(kNoteColumns, ' ');
    text += ' ';
    text += Tape::kNoteMark;
    return text;
}

}  // namespace

std::vector<std::string> NoteLines(std::string_view note) {
    std::vector<std::string> lines;
    std::string line;
    for (std::string_view word : Words(note)) {
        if (!line.empty() && line.size() + 1 + word.size() <= kNoteColumns) {
            line += ' ';
            line += word;
            continue;
        }
        if (!line.empty()) lines.push_back(Marked(std::move(line)));
        line.clear();
        while (word.size() > kNoteColumns) {
            lines.push_back(Marked(std::string(word.substr(0, kNoteColumns))));
            word.remove_prefix(kNoteColumns);
        }
        line = word;
    }
    if (!line.empty()) lines.push_back(Marked(std::move(line)));
    return lines;
}

bool IsNoteLine(std::string_view line) {
    return line.size() == Tape::kLineWidth && line.back() == Tape::kNoteMark && line[kNoteColumns] == ' ';
}

std::string NoteLineText(std::string_view line) {
    std::string_view text = line.substr(0, kNoteColumns);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return std::string(text);
}

}  // namespace qb
