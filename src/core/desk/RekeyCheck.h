#pragma once
// Check by re-keying: the tape as it was becomes the first keying, kept unchanged, and a fresh
// tape the second. Each line keyed is compared with the first keying's line at the same place;
// the lines that differ say on screen what the first keying has there. Nothing of it is printed
// or saved.

#include <cstdint>
#include <set>
#include <string>

#include "engine/TapeLines.h"

namespace qb {

class Tape;
class MessagePort;

class RekeyCheck {
public:
    bool Active() const { return active_; }
    // The first keying; the caller then starts the fresh tape.
    void Begin(TapeLines firstKeying);
    // Compares the lines keyed since the last look (all of them after a rewrite). True when the
    // fresh tape has come to the first keying's end.
    bool Follow(const Tape& tape);
    // Ends the check: the summary, with the offer to go to the first difference (selected and
    // shown on Yes).
    void End(Tape& tape, MessagePort& messages);

    // "Differs: the first keying has 1,205.00 +"; empty for a line that agrees or is not compared.
    std::string Difference(std::int64_t line) const;
    std::int64_t Agreeing() const { return agreeing_; }
    std::int64_t Differing() const { return static_cast<std::int64_t>(differing_.size()); }
    // " - Check: 12 agree, 1 differs" while the check runs, for the title.
    std::string TitleText() const;
    // "12 lines agree, 1 differs: line 7"
    std::string Summary() const;

private:
    bool active_ = false;
    TapeLines first_;
    std::int64_t seen_ = 0;
    std::uint64_t generation_ = 0;
    std::int64_t agreeing_ = 0;
    std::set<std::int64_t> differing_;
};

}  // namespace qb
