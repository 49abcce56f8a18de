#include "documents/RecoveryKeeper.h"

#include <algorithm>
#include <new>

#include "documents/TapeFile.h"
#include "settings/Locations.h"

namespace qb {
namespace {

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// A record holds a tape file and, at most, a few entries a second: past this it is no record.
constexpr std::uint64_t kRecordLimit = 2 * kTapeFileLimit;

// A whole writing of a record or of a list of temporaries under way: "<copy>.QBR.xxxxxx" or
// "<copy>.QBT.xxxxxx". Where it is, else npos.
std::size_t WritingAt(const std::string& name) {
    for (const std::string end : {RecoveryKeeper::kExtension, RecoveryKeeper::kTemporariesExtension}) {
        const std::size_t at = name.find(end + ".");
        if (at != std::string::npos && at > 0) return at;
    }
    return std::string::npos;
}

// The copy a file of the folder belongs to: its name up to ".QBR" (a record, or a whole writing
// of one under way), ".QBT" or ".lock"; "" for any other file.
std::string StemOf(const std::string& name) {
    if (const std::size_t writing = WritingAt(name); writing != std::string::npos) return name.substr(0, writing);
    const std::size_t record = name.find(RecoveryKeeper::kExtension);
    if (record != std::string::npos && record > 0) return name.substr(0, record);
    for (const std::string end : {RecoveryKeeper::kLockExtension, RecoveryKeeper::kTemporariesExtension})
        if (EndsWith(name, end) && name.size() > end.size()) return name.substr(0, name.size() - end.size());
    return {};
}

// A list of temporary files: one path a line.
std::vector<std::string> ListedPaths(const std::string& list) {
    std::vector<std::string> paths;
    std::size_t start = 0;
    while (start < list.size()) {
        std::size_t end = list.find('\n', start);
        if (end == std::string::npos) break;  // a torn last line names nothing whole
        if (end > start && list[start] == '/') paths.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return paths;
}

}  // namespace

void RecoveryKeeper::SetPlace(RecoveryPlace place) {
    place_ = std::move(place);
    path_.clear();
    exists_ = pending_ = false;
    if (place_.folder.empty() || place_.ownName.empty()) return;
    // A name is a name: nothing the shell gives may lead the record out of its folder.
    if (place_.ownName.find('/') != std::string::npos || place_.ownName.front() == '.') return;
    place_.folder = Locations::WithSeparator(place_.folder);
    path_ = place_.folder + place_.ownName;
    ownStem_ = StemOf(place_.ownName);
    if (ownStem_.empty()) ownStem_ = place_.ownName;
}

bool RecoveryKeeper::Start() {
    if (!On()) return !refused_;
    if (!files_.MakePrivateFolder(place_.folder)) {
        path_.clear();
        refused_ = true;
        return false;
    }
    // Without its lock no record is kept (others would take it for a left one): each flush
    // tries again, and fails while the lock cannot be had.
    locked_ = files_.LockPrivate(LockOf(ownStem_)) == LockOutcome::Held;
    files_.WatchTemporaries([this](const std::string& path) { NoteTemporary(path); });
    return true;
}

void RecoveryKeeper::End() {
    files_.WatchTemporaries(nullptr);
    ForgetTemporaries();
    if (locked_) files_.UnlockPrivate(LockOf(ownStem_), true);
    locked_ = false;
}

void RecoveryKeeper::NoteTemporary(const std::string& path) {
    if (!On() || !locked_ || path.find('\n') != std::string::npos) return;
    temporaries_.push_back(path);
    std::string list;
    for (const std::string& listed : temporaries_) list += listed + "\n";
    StringSource whole(list);
    files_.WritePrivate(place_.folder + ownStem_ + kTemporariesExtension, whole);
}

void RecoveryKeeper::ForgetTemporaries() {
    if (temporaries_.empty()) return;
    temporaries_.clear();
    files_.Remove(place_.folder + ownStem_ + kTemporariesExtension);
}

// Only what a copy listed before it made it is removed, and only a file of that name.
void RecoveryKeeper::RemoveTemporaries(const std::string& list) {
    std::string bytes;
    if (files_.ReadPrivate(place_.folder + list, bytes, 1 << 20) == ReadOutcome::Read)
        for (const std::string& path : ListedPaths(bytes))
            if (files_.Exists(path)) files_.Remove(path);
    files_.Remove(place_.folder + list);
}

bool RecoveryKeeper::NeedsFresh(const TapeLines& lines) const {
    return !exists_ || broken_ || lines.Generation() != generation_ || lines.size() < count_ ||
           (count_ > 0 && lines[count_ - 1] != lastLine_) ||
           appendedBytes_ > std::max<std::uint64_t>(kMostAppended, freshBytes_);
}

bool RecoveryKeeper::Note(bool dirty, const RecoveryState& state, const TapeLines& lines) {
    if (!On()) return pending_ = false;
    if (!dirty) {
        // Saved, or dropped as the user chose: nothing is left to recover.
        Discard();
        return false;
    }
    pending_ = NeedsFresh(lines) || lines.size() != count_ || !(state == written_);
    if (pending_) failures_ = 0;
    return pending_;
}

void RecoveryKeeper::Remember(const RecoveryState& state, const TapeLines& lines) {
    generation_ = lines.Generation();
    count_ = lines.size();
    if (count_ > 0)
        lastLine_.assign(lines[count_ - 1]);
    else
        lastLine_.clear();
    written_ = state;
}

bool RecoveryKeeper::Failed(std::string reason) {
    // Tried again on the next ticks while the disk may take it; then only after a change.
    pending_ = ++failures_ < kMostTries;
    unsynced_ = false;
    failure_ = reason.empty() ? std::string("the system gives no reason") : std::move(reason);
    if (failures_ >= kMostTries) failing_ = true;
    return false;
}

bool RecoveryKeeper::Succeeded() {
    failures_ = 0;
    failing_ = false;
    return true;
}

bool RecoveryKeeper::Sync() {
    if (!unsynced_) return true;
    unsynced_ = false;
    if (files_.SyncPrivate(path_)) return Succeeded();
    broken_ = true;
    return Failed(files_.LastPrivateError());
}

bool RecoveryKeeper::Protect(const RecoveryState& state, const TapeLines& lines) {
    if (!On()) return false;
    if (!Flush(true, state, lines)) return false;
    return Sync();
}

bool RecoveryKeeper::Flush(bool dirty, const RecoveryState& state, const TapeLines& lines) {
    pending_ = false;
    if (!On()) return true;
    if (!dirty) {
        Discard();
        return true;
    }
    const std::int64_t now = clock_.SecondsSinceEpoch();
    if (NeedsFresh(lines)) {
        if (!files_.MakePrivateFolder(place_.folder)) {
            // A folder that is not the user's alone, or cannot be: no record in it, this run.
            path_.clear();
            refused_ = true;
            return false;
        }
        if (!locked_) locked_ = files_.LockPrivate(LockOf(ownStem_)) == LockOutcome::Held;
        if (!locked_) return Failed("its lock cannot be taken");
        bool written = false;
        try {
            RecordWriter writer(state, lines, now);
            written = files_.WritePrivate(path_, writer);
        } catch (const std::bad_alloc&) {
        }
        broken_ = !written;
        if (!written) return Failed(files_.LastPrivateError());
        Succeeded();
        unsynced_ = false;
        exists_ = true;
        freshBytes_ = TapeWriter(TapeDocument{}, lines).Size();
        appendedBytes_ = 0;
        Remember(state, lines);
        return true;
    }
    if (lines.size() == count_ && state == written_) return true;
    std::string& entries = entries_;
    RecordAppend(written_, state, lines, count_, now, entries);
    if (!files_.AppendPrivate(path_, entries)) {
        // What reached the disk is unknown: the next flush writes the whole record.
        broken_ = true;
        return Failed(files_.LastPrivateError());
    }
    Succeeded();
    unsynced_ = true;
    appendedBytes_ += entries.size();
    Remember(state, lines);
    return true;
}

void RecoveryKeeper::Discard() {
    pending_ = unsynced_ = false;
    if (!exists_) return;
    files_.Remove(path_);
    exists_ = broken_ = false;
}

std::vector<LeftRecord> RecoveryKeeper::LeftBehind() {
    std::vector<LeftRecord> left;
    if (!On()) return left;
    // The folder's files by the copy they belong to.
    std::vector<std::string> names = files_.ListFiles(place_.folder);
    std::sort(names.begin(), names.end());
    std::vector<std::pair<std::string, std::vector<std::string>>> copies;
    for (const std::string& name : names) {
        if (name.empty() || name.front() == '.') continue;
        const std::string stem = StemOf(name);
        if (stem.empty() || stem == ownStem_) continue;
        if (copies.empty() || copies.back().first != stem) copies.push_back({stem, {}});
        copies.back().second.push_back(name);
    }
    for (const auto& [stem, files] : copies) {
        // A copy that runs holds its lock; one that ended holds none.
        const LockOutcome lock = files_.LockPrivate(LockOf(stem));
        if (lock == LockOutcome::HeldElsewhere) continue;
        // A lock that cannot be had at all tells nothing: the copy may run.
        if (lock != LockOutcome::Held) continue;
        const std::string record = stem + kExtension;
        bool hasRecord = false;
        for (const std::string& name : files) {
            // A whole writing that a copy which ended never finished: its record is the one before.
            if (WritingAt(name) != std::string::npos) files_.Remove(place_.folder + name);
            if (name == stem + kTemporariesExtension) RemoveTemporaries(name);
            if (name == record) hasRecord = true;
        }
        if (!hasRecord) {
            // The lock of a copy that ended with nothing to recover.
            files_.UnlockPrivate(LockOf(stem), true);
            continue;
        }
        LeftRecord found{record, std::nullopt};
        try {
            std::string bytes;
            found.read = files_.ReadPrivate(place_.folder + record, bytes, kRecordLimit);
            if (found.read == ReadOutcome::Read) found.tape = ReadRecoveryRecord(bytes);
        } catch (const std::bad_alloc&) {
            found.tape.reset();
        }
        left.push_back(std::move(found));
    }
    std::stable_sort(left.begin(), left.end(), [](const LeftRecord& a, const LeftRecord& b) {
        const std::int64_t timeA = a.tape ? a.tape->time : 0, timeB = b.tape ? b.tape->time : 0;
        return timeA < timeB;
    });
    return left;
}

std::string RecoveryKeeper::MoveAside(const std::string& name) {
    const std::string folder = place_.folder + kDiscarded + "/";
    if (!files_.MakePrivateFolder(folder)) return {};
    // The moment it was put aside leads its name: the week it is kept counts from then.
    const std::string target = folder + std::to_string(clock_.SecondsSinceEpoch()) + "-" + name;
    return files_.Rename(place_.folder + name, target) ? target : std::string();
}

void RecoveryKeeper::Remove(const std::string& name) { files_.Remove(place_.folder + name); }

void RecoveryKeeper::Let(const std::string& name) {
    const std::string stem = StemOf(name);
    // Its file goes too: a copy that looks again makes it afresh.
    if (!stem.empty()) files_.UnlockPrivate(LockOf(stem), true);
}

void RecoveryKeeper::PurgeDiscarded() {
    if (!On()) return;
    const std::string folder = place_.folder + kDiscarded + "/";
    // Only where nothing but the user's own files can be.
    if (!files_.ListFiles(folder).empty() && !files_.MakePrivateFolder(folder)) return;
    const std::int64_t now = clock_.SecondsSinceEpoch();
    for (const std::string& name : files_.ListFiles(folder)) {
        const std::size_t dash = name.find('-');
        if (dash == std::string::npos || dash == 0 || dash > 18) continue;
        std::int64_t put = 0;
        bool digits = true;
        for (std::size_t i = 0; i < dash; ++i) {
            if (name[i] < '0' || name[i] > '9') digits = false;
            else put = put * 10 + (name[i] - '0');
        }
        if (digits && now - put > kDiscardedKept) files_.Remove(folder + name);
    }
}

}  // namespace qb
