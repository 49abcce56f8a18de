#pragma once
// The recovery record: the tape as a tape file holds it, kept on disk while the tape has unsaved
// changes, so that a crash, a kill or a power cut loses nothing. It is written whole only when
// the tape was rewritten; lines added at the end of the tape and the calculator's values that
// changed are appended to it.
//
// Every line ends in CR LF. A record begins with
//
//     QBR=<the tape's file, empty when it has none>
//     NAM=<the file name the title shows>
//     TIM=<when it was written: seconds since 1970-01-01 00:00 UTC>
//     LNS=<how many tape lines the tape file below holds>
//     ACX=<the subtotal to the last bit: the shortest text that reads back as the same number>
//     INP=<a file being rewritten in place>   (only while one is)
//
// (ACX= is read in preference to the tape file's ACC=, which is rounded as a tape file shows
// it; a record without it goes by ACC=) followed by a tape file ("QBX=" to "SPC=", "TEV=" when there is a reading, then LNS lines).
// After it come the appended entries, one per line:
//
//     +<tape line>      a line added at the end of the tape
//     QBX= ACC= OPR= NEW= JPE= SPC= TEV= QBR= NAM= INP=   a value that changed (the subtotal to
//                       the last bit: the shortest text that reads back as the same number)
//     TIM=<seconds>     ends one flush: the lines and values since the last TIM= apply only with it
//
// A flush counts whole or not at all: lines and values together, once its TIM= is whole, so the
// tape recovered always goes with its subtotal.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "documents/TapeDocument.h"
#include "documents/TapeFile.h"
#include "platform/FilePort.h"

namespace qb {

// Everything of the tape but its lines.
struct RecoveryState : TapeValues {
    std::string lastTapeFile;  // the tape's file, "" when it has none
    std::string tapeFileName;  // as the title shows it
    // A file being rewritten in place as the record was kept: a crash may have left it cut short.
    std::string writingInPlace;
    bool operator==(const RecoveryState&) const = default;
};

// The whole record, in pieces, so a long tape is written without a second copy of it. The lines
// are read as the pieces are asked for: they must outlive the writer.
class RecordWriter final : public ByteSource {
public:
    RecordWriter(const RecoveryState& state, const TapeLines& lines, std::int64_t time);
    std::string_view Next() override;

private:
    std::string prefix_;
    bool prefixGiven_ = false;
    TapeDocument header_;
    TapeWriter tape_;
};

// The entries of one flush: lines[from..] added, the values of now that differ from before, and
// the time that ends them.
std::string RecordAppend(const RecoveryState& before, const RecoveryState& now, const TapeLines& lines,
                         std::size_t from, std::int64_t time);
// The same into out, whose room is used again.
void RecordAppend(const RecoveryState& before, const RecoveryState& now, const TapeLines& lines, std::size_t from,
                  std::int64_t time, std::string& out);

struct RecoveredTape {
    RecoveryState state;
    TapeLines lines;
    std::int64_t time = 0;  // of the last flush that is whole
    bool damaged = false;   // something could not be read: the rest was recovered
    // The values that could not be read, as the user knows them ("the subtotal"): a new
    // tape's stand in for them.
    std::vector<std::string> unreadable;
};

// A record's tape as its last whole flush before any damage left it: lines and values. A
// value that cannot be read is left as a new tape has it, and a line count that does not fit
// what follows it is not trusted. Nothing when it is no record at all.
std::optional<RecoveredTape> ReadRecoveryRecord(std::string_view bytes);

}  // namespace qb
