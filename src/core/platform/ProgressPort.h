#pragma once
// A progress window with Cancel for work that may last: printing or exporting a long tape,
// replaying a correction.

#include <cstdint>
#include <string>

namespace qb {

class ProgressPort {
public:
    virtual ~ProgressPort() = default;
    // Work of `steps` steps begins. The window shows only once the work has lasted about half a
    // second, so short work shows nothing.
    virtual void Begin(const std::string& what, std::int64_t steps) = 0;
    // `done` steps are done: false once the user has cancelled.
    virtual bool Advance(std::int64_t done) = 0;
    virtual void End() = 0;
};

// One piece of long work on a progress port (none: it cannot be cancelled). The port hears of
// every kStride-th step only, so the loops that count cost next to nothing.
class Progress {
public:
    static constexpr std::int64_t kStride = 256;

    Progress(ProgressPort* port, const std::string& what, std::int64_t steps) : port_(port) {
        if (port_) port_->Begin(what, steps);
    }
    ~Progress() {
        if (port_) port_->End();
    }
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // One step more: false when the user cancelled, and from then on.
    bool Step() {
        ++done_;
        if (!port_ || cancelled_ || done_ % kStride != 0) return !cancelled_;
        cancelled_ = !port_->Advance(done_);
        return !cancelled_;
    }
    bool Cancelled() const { return cancelled_; }

private:
    ProgressPort* port_;
    std::int64_t done_ = 0;
    bool cancelled_ = false;
};

}  // namespace qb
