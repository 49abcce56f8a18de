#pragma once
// What the program is told when it starts: a tape file named on its command line, and what one
// copy of the program hands to the copy that already runs (bring its window to the front, and
// perhaps open a file). Paths are bytes as the system gives them; the program works in UTF-8.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qb {

struct CommandLine {
    bool help = false;
    bool version = false;
    std::optional<std::string> file;  // the tape to open, as given
    std::string problem;              // what was wrong with the words given; empty when nothing
};

// The words after the program's name: [--help] [--version] [--] [FILE].
CommandLine ReadCommandLine(const std::vector<std::string>& words);
// The program's usage, for --help and after a word it does not take.
std::string UsageText();

// The bytes are UTF-8 text: no stray, overlong or surrogate sequence.
bool IsUtf8(std::string_view bytes);
// A name fit to show the user: bytes that are not UTF-8 become U+FFFD.
std::string ShownName(std::string_view bytes);
// A path named relative to a folder, made whole (the folder's path, a '/' and the name).
std::string WholePath(const std::string& path, const std::string& folder);

// What a second start asks of the running copy: come to the front, and open the file when given.
struct HandOver {
    std::optional<std::string> file;
};
// A request ends in a NUL byte, which no file name holds: the receiver reads up to it.
std::string EncodeHandOver(const HandOver& request);
// Nothing when the bytes (up to and with the NUL) are no request of this program's.
std::optional<HandOver> DecodeHandOver(std::string_view bytes);
// The most a request may hold; a longer one is none of this program's.
constexpr std::size_t kHandOverLimit = 64 * 1024;

}  // namespace qb
