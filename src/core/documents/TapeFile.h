#pragma once
// The tape file: a line-oriented 8-bit text file with a six-line header ("QBX=", "ACC=",
// "OPR=", "NEW=", "JPE=", "SPC="), an optional "TEV=" line, then the tape lines. Lines end in
// CR LF; a lone CR also ends a line when reading.

#include <cstdint>
#include <string>
#include <string_view>

#include "documents/TapeDocument.h"
#include "platform/FilePort.h"
#include "platform/ProgressPort.h"

namespace qb {

enum class TapeReadResult { Read, NotATapeFile, Corrupted, Cancelled };

// The largest tape file that is opened: 256 MiB, some thirteen million lines. Anything larger
// (or a device that never ends) is refused rather than allowed to exhaust the memory.
inline constexpr std::uint64_t kTapeFileLimit = 256ull << 20;

// The file's bytes for a document (captions and lines are written as they are: bytes in the
// Windows-1252 code page). The lines may come from elsewhere, so a tape is saved without a copy.
std::string WriteTapeBytes(const TapeDocument& document);
std::string WriteTapeBytes(const TapeDocument& header, const TapeLines& lines);

// The same bytes in pieces: the header, then the lines a few hundred kilobytes at a time, so a
// long tape is saved without a second copy of it in memory.
class TapeWriter final : public ByteSource {
public:
    TapeWriter(const TapeDocument& header, const TapeLines& lines);
    std::string_view Next() override;
    // All the bytes it gives, counted beforehand.
    std::size_t Size() const { return header_.size() + lines_.characters() + 2 * lines_.size(); }

private:
    std::string header_;
    bool headerGiven_ = false;
    const TapeLines& lines_;
    std::size_t next_ = 0;
    std::string piece_;
};

// Reads a document from a file's bytes. On Read, document holds what was read; otherwise it is
// left as it was.
TapeReadResult ReadTapeBytes(std::string_view bytes, TapeDocument& document);
// The same, taking the bytes over (used up either way): the lines are laid out in them, uncopied.
// Each line is a step of the progress, when there is one; Cancelled when the user cancelled it.
TapeReadResult ReadTapeBytes(std::string&& bytes, TapeDocument& document, Progress* progress = nullptr);

}  // namespace qb
