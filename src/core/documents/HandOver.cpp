#include "documents/HandOver.h"

namespace qb {
namespace {

constexpr std::string_view kRaise = "QBX-RAISE\n";
constexpr std::string_view kOpen = "QBX-OPEN\n";

// The length of the UTF-8 sequence at the start of bytes; 0 when it is not one.
std::size_t SequenceLength(std::string_view bytes) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    char32_t cp = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, cp = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, cp = lead & 0x07;
    } else {
        return 0;
    }
    if (bytes.size() < length) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (byte(i) & 0x3F);
    }
    // Overlong forms, surrogates and code points past U+10FFFF.
    if ((length == 3 && cp < 0x800) || (length == 4 && (cp < 0x10000 || cp > 0x10FFFF))) return 0;
    if (cp >= 0xD800 && cp <= 0xDFFF) return 0;
    return length;
}

}  // namespace

CommandLine ReadCommandLine(const std::vector<std::string>& words) {
    CommandLine line;
    bool options = true;
    for (const std::string& word : words) {
        if (options && word == "--") {
            options = false;
        } else if (options && (word == "--help" || word == "-h")) {
            line.help = true;
        } else if (options && word == "--version") {
            line.version = true;
        } else if (options && word.size() > 1 && word[0] == '-') {
            if (line.problem.empty()) line.problem = "unknown option " + ShownName(word);
        } else if (line.file) {
            if (line.problem.empty()) line.problem = "one tape file at a time";
        } else if (word.empty()) {
            if (line.problem.empty()) line.problem = "an empty file name";
        } else {
            line.file = word;
        }
    }
    return line;
}

std::string UsageText() {
    return "Usage: quillbox [--help] [--version] [--] [FILE]\n"
           "A printing calculator with a paper tape. FILE is a tape file (.QBX) to open;\n"
           "when a copy is already running, the file opens in that copy.\n";
}

bool IsUtf8(std::string_view bytes) {
    while (!bytes.empty()) {
        const std::size_t length = SequenceLength(bytes);
        if (length == 0) return false;
        bytes.remove_prefix(length);
    }
    return true;
}

std::string ShownName(std::string_view bytes) {
    std::string shown;
    while (!bytes.empty()) {
        std::size_t length = SequenceLength(bytes);
        if (length == 0) {
            shown += "\xEF\xBF\xBD";
            length = 1;
        } else {
            shown += bytes.substr(0, length);
        }
        bytes.remove_prefix(length);
    }
    return shown;
}

std::string WholePath(const std::string& path, const std::string& folder) {
    if (path.empty() || path[0] == '/' || folder.empty()) return path;
    return folder.back() == '/' ? folder + path : folder + "/" + path;
}

std::string EncodeHandOver(const HandOver& request) {
    std::string bytes(request.file ? kOpen : kRaise);
    if (request.file) bytes += *request.file;
    return bytes + '\0';
}

std::optional<HandOver> DecodeHandOver(std::string_view bytes) {
    // One NUL, at the end: a name holds none. (No bytes at all have no end to look at.)
    if (bytes.empty() || bytes.size() > kHandOverLimit || bytes.find('\0') != bytes.size() - 1) return std::nullopt;
    bytes.remove_suffix(1);
    if (bytes == kRaise) return HandOver{};
    if (bytes.substr(0, kOpen.size()) != kOpen || bytes.size() == kOpen.size()) return std::nullopt;
    return HandOver{std::string(bytes.substr(kOpen.size()))};
}

}  // namespace qb
