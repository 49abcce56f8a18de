// No unsaved tape is lost to a crash: the recovery record follows every command, goes at every
// clean end, brings every field back at the next start, and survives a torn append.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <set>
#include <tuple>

#include "documents/RecoveryRecord.h"
#include "fakes/TestMachine.h"

using namespace qb;
using namespace qb::test;

namespace {

constexpr const char* kFolder = "/home/pat/.local/state/the Quillbox/";
constexpr const char* kOwn = "200-2.QBR";

// A path in the record's folder.
std::string In(const std::string& name) { return kFolder + name; }

// A copy that keeps its record (under the name own) as the program does; before() prepares the
// disk it starts on.
struct Recovering : TestMachine {
    explicit Recovering(const std::function<void(FakePorts&)>& before = {}, const char* own = kOwn)
        : TestMachine({{"Auto Decimal", "False"}}, false) {
        fakes.files.folders.insert("/home/pat/");
        machine.SetFolders({"/home/pat", "", "", "/home/pat"});
        machine.SetRecoveryPlace({kFolder, own});
        if (before) before(fakes);
        Start();
    }
    std::string Path() const { return In(kOwn); }
    bool HasRecord() const { return fakes.files.files.count(Path()) != 0; }
    std::string Record() const { return HasRecord() ? fakes.files.files.at(Path()) : std::string(); }
    // What the machine holds, as a record holds it.
    RecoveryState Now() const {
        return {machine.Document().Caption(), State().Subtotal, State().PendingOperation, State().EntryText,
                State().JustPressedEquals, State().SpecialResult, machine.GetTimers().GetStopwatch().ElapsedTime,
                machine.Document().LastTapeFile(), machine.Document().TapeFileName(), {}};
    }
    // The timer fired: the record is flushed and must hold exactly the tape and its state.
    void Flush() {
        if (machine.RecoveryTimerOn()) machine.RecoveryTick();
        EXPECT_FALSE(machine.RecoveryTimerOn());
        const auto read = ReadRecoveryRecord(Record()).value();
        EXPECT_FALSE(read.damaged);
        EXPECT_EQ(read.lines.ToVector(), TapeLines());
        EXPECT_EQ(read.state, Now());
        EXPECT_EQ(read.time, fakes.clock.epoch);
    }
};

// A record's first writing, whole.
std::string RecordBytes(const RecoveryState& state, const qb::TapeLines& tape, std::int64_t time) {
    RecordWriter writer(state, tape, time);
    std::string bytes;
    for (std::string_view piece = writer.Next(); !piece.empty(); piece = writer.Next()) bytes += piece;
    return bytes;
}

// Writes a record of this tape under a name, as a copy that ended would have left it.
void LeaveRecord(FakePorts& fakes, const std::string& name, const RecoveryState& state,
                 const std::vector<std::string>& lines, std::int64_t time, const std::string& more = "") {
    fakes.files.files[In(name)] = RecordBytes(state, qb::TapeLines(lines), time) + more;
    fakes.files.folders.insert(kFolder);
}

const std::vector<std::string> kThreeLines = {"               0 =", "           12.50 +", "            7.50 +"};

}  // namespace

// Whatever changed, the record then reads as the tape and its state (Flush); how a key's change
// is written (appended, never the tape again) is the next test's.
TEST(Recovery, TheRecordFollowsEveryKindOfCommand) {
    const std::pair<const char*, std::function<void(Recovering&)>> cases[] = {
        {"a key that prints a line", [](Recovering& t) { t.Press("12+"); }},
        {"digits alone", [](Recovering& t) { t.Press("7"); }},
        {"lines alone, the state as it was (a second clear)",
         [](Recovering& t) { t.Press("S"); t.Flush(); t.Press("S"); }},
        {"the stopwatch's reading", [](Recovering& t) {
             t.machine.Run(Command::Stopwatch);
             t.Flush();
             t.fakes.clock.now += 5;
             t.machine.StopwatchTick();
         }},
        {"a new caption", [](Recovering& t) {
             t.fakes.dialogs.captions.push_back("March fuel");
             t.machine.Run(Command::NewCaption);
         }},
        {"a line above the last changed in place (a correction, an undo)", [](Recovering& t) {
             t.Press("1+");
             t.Flush();
             std::vector<std::string> lines = t.TapeLines();
             lines[1] = "            6.00 +";
             t.machine.GetTape().Replace(qb::TapeLines(lines));
             t.Press("1+");
         }},
        {"lines taken away", [](Recovering& t) {
             std::vector<std::string> lines = t.TapeLines();
             lines.pop_back();
             t.machine.GetTape().Replace(qb::TapeLines(lines));
             t.Press("1");
         }},
        {"New Tape, then a key", [](Recovering& t) {
             t.fakes.messages.answers.push_back(MessageAnswer::No);
             t.machine.Run(Command::NewTape);
             t.Press("9+");
         }},
    };
    for (const auto& [what, command] : cases) {
        SCOPED_TRACE(what);
        Recovering t;
        EXPECT_FALSE(t.machine.RecoveryTimerOn());  // a clean tape needs no record
        t.Press("5+");
        t.Flush();
        command(t);
        t.Flush();
    }
}

TEST(Recovery, KeysAreAppendedAtOnceAndSyncedOnlyByTheTimerOrTheSessionsEnd) {
    Recovering t;
    t.Press("5+");  // a fresh record: written whole, synced
    t.Press("3+");
    // On the disk before the next event, not yet synced: a kill loses nothing, a power cut the last second.
    EXPECT_EQ(ReadRecoveryRecord(t.Record())->lines.ToVector(), t.TapeLines());
    EXPECT_EQ(t.fakes.files.log.back(), "append " + t.Path());
    EXPECT_TRUE(t.machine.RecoveryTimerOn());
    t.Press("2+");
    EXPECT_EQ(t.fakes.files.LogFrom("sync").size(), 0u);
    t.machine.RecoveryTick();
    EXPECT_EQ(t.fakes.files.log.back(), "sync " + t.Path());
    // Nothing changed, nothing to write: the timer stays off.
    EXPECT_FALSE(t.machine.RecoveryTimerOn());
    t.machine.Run(Command::ShortcutKeys);
    EXPECT_FALSE(t.machine.RecoveryTimerOn());
    EXPECT_EQ(t.fakes.files.privateWrites, 1);
    // The session's end syncs the record at once, and the program goes on.
    t.Press("7+");
    t.machine.KeepForSessionEnd();
    EXPECT_EQ(t.fakes.files.log.back(), "sync " + t.Path());
    EXPECT_FALSE(t.machine.RecoveryTimerOn());
    t.Press("2+");
    EXPECT_EQ(ReadRecoveryRecord(t.Record())->lines.ToVector(), t.TapeLines());
}

TEST(Recovery, EveryCleanEndRemovesTheRecord) {
    // What ends the tape, and whether it ends (false when the record should stay).
    const std::pair<const char*, std::function<bool(Recovering&)>> cases[] = {
        {"Save As", [](Recovering& t) {
             t.AnswerSaveAs("/home/pat/march");
             t.machine.Run(Command::SaveAs);
             return true;
         }},
        {"close, Save the tape? No", [](Recovering& t) {
             t.fakes.messages.answers.push_back(MessageAnswer::No);
             return t.machine.QueryClose();
         }},
        {"New Tape, No", [](Recovering& t) {
             t.fakes.messages.answers.push_back(MessageAnswer::No);
             t.machine.Run(Command::NewTape);
             return true;
         }},
        {"close, Cancel: the tape stays and so does its record", [](Recovering& t) {
             t.fakes.messages.answers.push_back(MessageAnswer::Cancel);
             return t.machine.QueryClose();
         }},
        {"close, Save the tape? Yes, and the save fails", [](Recovering& t) {
             t.fakes.messages.answers.push_back(MessageAnswer::Yes);
             t.AnswerSaveAs("/home/pat/march");
             t.fakes.files.failWrites = true;
             EXPECT_FALSE(t.machine.QueryClose());
             return false;
         }},
        {"close during a timed event, Save As cancelled: the close goes on, the record stays", [](Recovering& t) {
             t.machine.Event().active = true;
             EXPECT_TRUE(t.machine.QueryClose());
             EXPECT_EQ(ReadRecoveryRecord(t.Record())->lines.ToVector(), t.TapeLines());
             return false;
         }},
    };
    for (const auto& [what, end] : cases) {
        SCOPED_TRACE(what);
        Recovering t;
        t.Press("5+3-");
        t.Flush();
        const bool ends = end(t);
        EXPECT_EQ(t.HasRecord(), !ends);
        EXPECT_FALSE(t.machine.RecoveryTimerOn());
    }
}

TEST(Recovery, YesBringsBackEveryFieldAsAnUnsavedTape) {
    const RecoveryState was{"March fuel", -1234.5, 'x', "12.3", false, true, "00:01:05", "/home/pat/march.QBX", "march", {}};
    std::vector<std::string> longer = kThreeLines;
    longer.push_back("           20.00 =");
    struct Case {
        const char* what;
        RecoveryState written;
        std::string appended;  // after the record's first writing
        std::vector<std::string> lines;
        bool fileThere;  // its file was saved meanwhile by another copy
    };
    const Case cases[] = {
        {"every field in the record's first writing", was, "", kThreeLines, true},
        {"every field changed by an appended flush", {"Feb", 3, '+', "", true, false, "", "", "", {}},
         "+           20.00 =\r\nQBX=March fuel\r\nACC=-1234.5\r\nOPR=x\r\nNEW=12.3\r\nJPE=0\r\nSPC=-1\r\n"
         "TEV=00:01:05\r\nQBR=/home/pat/march.QBX\r\nNAM=march\r\nTIM=1796548496\r\n",
         longer, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Recovering t([&](FakePorts& f) {
            LeaveRecord(f, "100-1.QBR", c.written, kThreeLines, 1796548496, c.appended);
            f.messages.answers.push_back(MessageAnswer::Yes);
        });
        ASSERT_EQ(t.startupMessages.size(), 1u);
        EXPECT_EQ(t.startupMessages[0].text, "The Quillbox ended on 12/6/2026 09:14 UTC without saving a tape of " +
                                                 std::to_string(c.lines.size()) + " lines, \"March fuel\". Recover it?");
        EXPECT_EQ(t.TapeLines(), c.lines);
        EXPECT_EQ(t.Now(), was);
        EXPECT_EQ(t.Display(), "12.3");
        EXPECT_EQ(t.machine.GetTimers().GetStopwatch().ItemCaption(), "Time: 00:01:05");
        EXPECT_TRUE(t.machine.GetTape().Dirty());
        EXPECT_EQ(t.machine.Title(), "the Quillbox (march) (recovered)");
        // The tape now lives in this copy's record; the old one is gone.
        EXPECT_FALSE(t.fakes.files.files.count(In("100-1.QBR")));
        ASSERT_TRUE(t.HasRecord());
        EXPECT_EQ(ReadRecoveryRecord(t.Record())->lines.ToVector(), c.lines);
        // The first Save asks before it replaces a file saved meanwhile, and No keeps it; with no
        // file there it asks nothing. Saved, it is a tape like any other.
        if (c.fileThere) t.fakes.files.files["/home/pat/march.QBX"] = "theirs";
        t.fakes.messages.answers = {MessageAnswer::No, MessageAnswer::Yes};
        t.machine.Run(Command::Save);
        EXPECT_EQ(t.machine.GetTape().Dirty(), c.fileThere);
        if (c.fileThere) t.machine.Run(Command::Save);
        ASSERT_EQ(t.fakes.messages.shown.size(), c.fileThere ? 2u : 0u);
        if (c.fileThere) {
            EXPECT_EQ(t.fakes.messages.shown[0].text, "march.QBX may have been changed on the disk while this tape "
                                                      "waited to be recovered.\r\nDo you want to replace it with this tape?");
        }
        EXPECT_EQ(t.machine.Title(), "the Quillbox (march)");
        EXPECT_FALSE(t.HasRecord());
        EXPECT_NE(t.fakes.files.files.at("/home/pat/march.QBX"), "theirs");
    }
}

TEST(Recovery, NoMovesTheRecordAsideForAWeekAndOnlyLeftRecordsAreOffered) {
    const std::string discarded = In("discarded/");
    Recovering t([&](FakePorts& f) {
        LeaveRecord(f, "100-1.QBR", {"Caf\xe9 \x80 5", 0, '+', "", true, false, "", "", "", ""}, {kThreeLines[1]},
                    1796548496);
        f.files.files[discarded + std::to_string(f.clock.epoch - 8 * 86400) + "-50-5.QBR"] = "old";
        f.files.files[discarded + std::to_string(f.clock.epoch - 6 * 86400) + "-60-6.QBR"] = "recent";
        f.files.folders.insert(discarded);
        f.messages.answers.push_back(MessageAnswer::No);
    });
    // The question shows a caption with accents, and a single line.
    ASSERT_EQ(t.startupMessages.size(), 1u);
    EXPECT_EQ(t.startupMessages[0].text,
              "The Quillbox ended on 12/6/2026 09:14 UTC without saving a tape of 1 line, \"Caf\u00e9 \u20ac 5\". "
              "Recover it?");
    EXPECT_EQ(t.TapeLines(), std::vector<std::string>{"               0 ="});
    EXPECT_FALSE(t.machine.GetTape().Dirty());
    EXPECT_EQ(t.machine.Title(), "the Quillbox");
    const auto& files = t.fakes.files.files;
    EXPECT_FALSE(files.count(In("100-1.QBR")));
    EXPECT_TRUE(files.count(discarded + std::to_string(t.fakes.clock.epoch) + "-100-1.QBR"));
    EXPECT_FALSE(files.count(discarded + std::to_string(t.fakes.clock.epoch - 8 * 86400) + "-50-5.QBR"));
    EXPECT_TRUE(files.count(discarded + std::to_string(t.fakes.clock.epoch - 6 * 86400) + "-60-6.QBR"));
}

TEST(Recovery, ARecordIsOfferedExactlyWhenItsLockIsFree) {
    struct Case {
        const char* what;
        const char* name;                       // the record left, and its copy's lock
        std::function<void(FakePorts&)> other;  // the other copy, as the disk shows it
        bool offered;
    };
    const Case cases[] = {
        {"its copy holds the lock (another login session, another host)", "300-3",
         [](FakePorts& f) { f.files.lockedElsewhere.insert(In("300-3.lock")); }, false},
        {"its copy ended: the lock is free", "300-3", {}, true},
        {"its copy had this copy's process number (a container, a restart)", "400-1", {}, true},
        {"no lock can be had on this file system", "300-3", [](FakePorts& f) { f.files.noLocks = true; }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string stem = In(c.name), lock = stem + ".lock";
        Recovering t([&](FakePorts& f) {
            LeaveRecord(f, std::string(c.name) + ".QBR", {}, kThreeLines, 1796540000);
            f.files.files[stem + ".QBR.x4Fq2a"] = "QBR=\r\nNAM=";  // its writing under way
            if (c.other) c.other(f);
            f.messages.answers.push_back(MessageAnswer::No);
        }, "400-4.QBR");
        EXPECT_EQ(t.startupMessages.size(), c.offered ? 1u : 0u);
        const auto& files = t.fakes.files.files;
        // A record its copy may still hold and its writing are left alone; No moves a left one aside.
        EXPECT_EQ(files.count(stem + ".QBR"), c.offered ? 0u : 1u);
        EXPECT_EQ(files.count(stem + ".QBR.x4Fq2a"), c.offered ? 0u : 1u);
        // The left record's lock is let go with its file once it was dealt with; this copy holds its own.
        EXPECT_EQ(t.fakes.files.locks.count(lock), 0u);
        if (c.offered) {
            EXPECT_EQ(files.count(lock), 0u);
        }
        EXPECT_EQ(t.fakes.files.locks.count(In("400-4.lock")), t.fakes.files.noLocks ? 0u : 1u);
        t.machine.Unload(0, 0);
        EXPECT_TRUE(t.fakes.files.locks.empty());
        EXPECT_EQ(files.count(In("400-4.lock")), 0u);
    }
}

// Another user's folder (a shared state folder), a link to elsewhere, a folder others write in, or
// such a record file: nothing in it is read, moved or removed, and the user is told once.
TEST(Recovery, APlaceThatIsNotTheUsersAloneIsLeftUntouchedAndTheUserIsToldOnce) {
    for (const bool folder : {true, false}) {
        SCOPED_TRACE(folder ? "the folder" : "the record's file");
        std::map<std::string, std::string> before;
        Recovering t([&](FakePorts& f) {
            RecoveryState planted;
            planted.lastTapeFile = "/tmp/evil", planted.tapeFileName = "evil";
            LeaveRecord(f, "999-1.QBR", planted, kThreeLines, 1796540000);
            f.files.files[In("999-1.QBR.x4Fq2a")] = "garbage";
            f.files.files[In("discarded/1000-50-5.QBR")] = "old";
            f.messages.answers.push_back(MessageAnswer::Yes);
            f.files.notPrivate.insert(folder ? kFolder : In("999-1.QBR"));
            before = f.files.files;
        });
        ASSERT_EQ(t.startupMessages.size(), 1u);
        const std::string told =
            folder ? "Unsaved tapes cannot be kept for recovery: \"/home/pat/.local/state/the Quillbox\" "
                     "cannot be made, or is not a folder of your own, open to you alone."
                   : "A recovery record of the Quillbox was not read: it is a link, or not a file of yours "
                     "alone";
        EXPECT_EQ(t.startupMessages[0].text.rfind(told, 0), 0u);
        EXPECT_EQ(t.machine.Document().LastTapeFile(), "");
        EXPECT_FALSE(t.machine.GetTape().Dirty());
        if (!folder) continue;
        EXPECT_TRUE(t.startupMessages[0].notice);
        EXPECT_EQ(t.fakes.files.files, before);
        EXPECT_TRUE(t.fakes.files.locks.empty());
        t.Press("5+");
        t.machine.RecoveryTick();
        EXPECT_FALSE(t.machine.RecoveryTimerOn());
        EXPECT_EQ(t.fakes.files.privateWrites, 0);
        EXPECT_TRUE(t.fakes.messages.shown.empty());  // told once
    }
}

TEST(Recovery, EachLeftRecordIsAskedAboutOldestFirstAndThoseAfterAYesWait) {
    const std::tuple<const char*, const char*, int> records[] = {
        {"130-3.QBR", "third", 1796543000}, {"110-1.QBR", "first", 1796541000},
        {"120-2.QBR", "second", 1796542000}, {"140-4.QBR", "fourth", 1796544000}};
    for (const int left : {3, 4}) {
        SCOPED_TRACE(left);
        Recovering t([&](FakePorts& f) {
            RecoveryState state;
            for (const auto& [name, caption, time] : records) {
                state.caption = caption;
                if (time < 1796541000 + left * 1000) LeaveRecord(f, name, state, kThreeLines, time);
            }
            f.messages.answers = {MessageAnswer::No, MessageAnswer::Yes};
        });
        ASSERT_EQ(t.startupMessages.size(), 3u);
        EXPECT_NE(t.startupMessages[0].text.find("\"first\""), std::string::npos);
        EXPECT_NE(t.startupMessages[1].text.find("\"second\""), std::string::npos);
        EXPECT_EQ(t.startupMessages[2].text,
                  left == 3 ? "Another unsaved tape waits: the Quillbox offers it again at its next start."
                            : "2 more unsaved tapes wait: the Quillbox offers them again at its next start.");
        EXPECT_EQ(t.machine.Document().Caption(), "second");
        const auto& files = t.fakes.files.files;
        EXPECT_FALSE(files.count(In("110-1.QBR")));  // moved aside
        EXPECT_FALSE(files.count(In("120-2.QBR")));  // recovered
        EXPECT_TRUE(files.count(In("130-3.QBR")));
        EXPECT_EQ(files.count(In("140-4.QBR")), left == 4 ? 1u : 0u);
        // Their locks are let go, so another copy may offer them meanwhile: this copy holds its own alone.
        EXPECT_EQ(t.fakes.files.locks, std::set<std::string>{In("200-2.lock")});
    }
}

TEST(Recovery, ATornAppendAtEveryByteGivesTheTapeOfTheLastWholeFlush) {
    Recovering t;
    t.Press("5+3");
    t.Flush();
    const std::string before = t.Record();
    const std::vector<std::string> linesBefore = t.TapeLines();
    const RecoveryState stateBefore = t.Now();
    t.fakes.clock.epoch += 3;
    t.Press("+");  // one flush: a line and the values it changed
    t.Flush();
    const std::string appended = t.Record().substr(before.size());
    ASSERT_EQ(appended.front(), '+');
    for (std::size_t cut = 0; cut <= appended.size(); ++cut) {
        SCOPED_TRACE(cut);
        const auto read = ReadRecoveryRecord(before + appended.substr(0, cut)).value();
        // Lines and values together: the flush counts whole or not at all.
        const bool whole = cut == appended.size();
        EXPECT_EQ(read.lines.ToVector(), whole ? t.TapeLines() : linesBefore);
        EXPECT_EQ(read.state, whole ? t.Now() : stateBefore);
        EXPECT_EQ(read.time, whole ? t.fakes.clock.epoch : t.fakes.clock.epoch - 3);
        // Torn anywhere but between two flushes, the record says it is damaged.
        EXPECT_EQ(read.damaged, cut != 0 && !whole);
    }
}

TEST(Recovery, TapeLinesThatLookLikeTheRecordsKeysComeBackAsLines) {
    // A tape from a file may hold any line; the record's own count says where its lines are.
    const std::vector<std::vector<std::string>> tapes = {
        {"TEV="},
        {"TEV=00:01:05", "               0 ="},
        {"#      NEW=     0=-1", "TEV=", "a"},
        {"           12.50 +", "NEW=7"},
        {"TIM=25", "a"},
        {"25", "TIM=25"},
        // Lines that read like a whole flush: an entry, then its time.
        {"NAM=x", "TIM=25", "a"},
        {"a", "+x", "TIM=25"},
        {"TIM=17ome/pat", "NAM=march", "TIM=1796525"},
    };
    for (const bool timed : {false, true}) {
        for (const bool appended : {false, true}) {
            for (const auto& lines : tapes) {
                SCOPED_TRACE(lines.front() + (timed ? " with a timer reading" : "") + (appended ? ", appended to" : ""));
                RecoveryState state;
                if (timed) state.elapsedTime = "00:00:09";
                qb::TapeLines tape(lines);
                std::string bytes = RecordBytes(state, tape, 1796540000);
                if (appended) {
                    tape.push_back("            4.00 +");
                    bytes += RecordAppend(state, state, tape, lines.size(), 1796541000);
                }
                const auto read = ReadRecoveryRecord(bytes).value();
                EXPECT_FALSE(read.damaged);
                EXPECT_EQ(read.state.elapsedTime, state.elapsedTime);
                EXPECT_EQ(read.lines.ToVector(), tape.ToVector());
            }
        }
    }
}

TEST(Recovery, TheSubtotalComesBackToTheLastBit) {
    for (const double subtotal : {4.0 / 3, 0.1 + 0.2, -2.0 / 3 * 1e-300, 1e300 / 7, -0.0}) {
        SCOPED_TRACE(subtotal);
        const RecoveryState state{"", subtotal, '+', "", true, false, "", "", "", ""};
        const auto read =
            ReadRecoveryRecord(RecordBytes(state, qb::TapeLines(kThreeLines), 1796540000)).value();
        EXPECT_EQ(read.state.subtotal, subtotal);
        EXPECT_EQ(std::signbit(read.state.subtotal), std::signbit(subtotal));
    }
}

TEST(Recovery, ADamagedRecordGivesItsWholeLinesAndSaysSo) {
    struct Case {
        const char* what;
        std::string more;  // after a record of three lines
        std::size_t lines;
        std::size_t cut = 0;  // bytes cut off the end
        std::int64_t kept = 1796541000;
    };
    const Case cases[] = {
        {"an entry of no known kind",
         "+            3.00 +\r\nTIM=1796541000\r\n%%garbage\r\n+            4.00 +\r\nTIM=1796542000\r\n", 4},
        {"a line holding a lone CR", "+            3.00 +\r\nTIM=1796541000\r\n+     4\r.00 +\r\n", 4},
        {"a record cut inside its tape file's lines gives those that are whole", "", 2, 5, 1796540000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Recovering t([&](FakePorts& f) {
            LeaveRecord(f, "100-1.QBR", {}, kThreeLines, 1796540000, c.more);
            std::string& bytes = f.files.files[In("100-1.QBR")];
            bytes.resize(bytes.size() - c.cut);
            f.messages.answers.push_back(MessageAnswer::Yes);
        });
        EXPECT_EQ(t.machine.GetTape().Count(), static_cast<std::int64_t>(c.lines));
        ASSERT_EQ(t.startupMessages.size(), 2u);  // the question, then the damage
        EXPECT_EQ(t.startupMessages[1].text,
                  "The recovery record was damaged\r\n\r\nThe tape was recovered as it was last kept whole, on " +
                      t.fakes.clock.ShowDateTime(c.kept) + ": " + std::to_string(c.lines) + " lines!");
    }
}

TEST(Recovery, AnUnreadableRecordIsMovedAsideAndTheProgramStarts) {
    Recovering t([](FakePorts& f) {
        f.files.files[In("100-1.QBR")] = "QBR=\r\nNAM=\r\nTIM=x";
        f.files.folders.insert(kFolder);
    });
    const std::string moved = In("discarded/" + std::to_string(t.fakes.clock.epoch) + "-100-1.QBR");
    ASSERT_EQ(t.startupMessages.size(), 1u);
    EXPECT_EQ(t.startupMessages[0].text,
              "A recovery record of the Quillbox cannot be read\r\n\r\nIt was moved to \"" + moved + "\"!");
    EXPECT_TRUE(t.fakes.files.files.count(moved));
    EXPECT_EQ(t.TapeLines(), std::vector<std::string>{"               0 ="});
    t.Press("5+");
    t.Flush();  // and it keeps its own record as usual
}

TEST(Recovery, AFlushTheDiskRefusedIsTriedAgainWholeOnTheNextTicks) {
    // How the flush fails, and whether it needs a record first (an append needs one to append to).
    const std::tuple<const char*, bool, std::function<void(FakePorts&)>> failures[] = {
        {"an append torn part way", true, [](FakePorts& f) { f.files.tearNextAppend = 7; }},
        {"a whole writing refused", false, [](FakePorts& f) { f.files.failPrivateWrites = 1; }},
    };
    for (const auto& [what, recordFirst, fail] : failures) {
        SCOPED_TRACE(what);
        Recovering t;
        if (recordFirst) {
            t.Press("5+");
            t.Flush();
        }
        fail(t.fakes);
        t.Press("3+");
        ASSERT_TRUE(t.machine.RecoveryTimerOn());
        // No key needed: the next tick writes the whole record.
        const int writes = t.fakes.files.privateWrites;
        t.Flush();
        EXPECT_EQ(t.fakes.files.privateWrites, writes + 1);
    }
    // A disk that keeps refusing, or a lock that cannot be had (another copy would take a record
    // without its lock for a left one), is not tried for ever, but again after the next change;
    // the user is told once that tapes are not being kept, and once that they are again.
    const std::tuple<const char*, std::function<void(FakePorts&, bool)>, const char*> refusals[] = {
        {"the disk", [](FakePorts& f, bool on) { f.files.failPrivateWrites = on ? 1000 : 0; },
         "the system gives no reason"},
        {"the lock", [](FakePorts& f, bool on) { f.files.noLocks = on; }, "its lock cannot be taken"},
    };
    for (const auto& [what, refuse, reason] : refusals) {
        SCOPED_TRACE(what);
        Recovering t([&refuse = refuse](FakePorts& f) { refuse(f, true); });
        t.Press("5+");
        for (int tick = 1; tick < RecoveryKeeper::kMostTries; ++tick) {
            EXPECT_TRUE(t.fakes.messages.shown.empty());
            ASSERT_TRUE(t.machine.RecoveryTimerOn());
            t.machine.RecoveryTick();
        }
        EXPECT_FALSE(t.machine.RecoveryTimerOn());
        EXPECT_FALSE(t.HasRecord());
        ASSERT_EQ(t.fakes.messages.shown.size(), 1u);
        EXPECT_EQ(t.fakes.messages.shown[0].text,
                  "Unsaved tapes are not being kept for recovery: \"/home/pat/.local/state/the Quillbox\" "
                  "cannot be written (" + std::string(reason) + ").");
        t.Press("7+");
        for (int tick = 1; tick < RecoveryKeeper::kMostTries; ++tick) t.machine.RecoveryTick();
        EXPECT_EQ(t.fakes.messages.shown.size(), 1u);
        refuse(t.fakes, false);
        t.Press("6+");
        t.Flush();
        ASSERT_EQ(t.fakes.messages.shown.size(), 2u);
        EXPECT_EQ(t.fakes.messages.shown[1].text, "Unsaved tapes are kept for recovery again.");
        // Both come of the timer: they must not take the keys typed meanwhile.
        EXPECT_TRUE(t.fakes.messages.shown[0].notice && t.fakes.messages.shown[1].notice);
    }
}

// Renamed into place, the file's folder is synced before the record goes; a folder that cannot
// be synced fails the save, and the record stays. The save's temporary file is listed before it
// is made, and the list goes after the save. (Rewritten in place, the file is synced by its
// write: AFileRewrittenInPlaceComesBack... below.)
TEST(Recovery, TheRecordGoesOnlyOnceTheSavedFileIsOnTheDisk) {
    const std::string tape = "/home/pat/Tape.QBX", list = In("200-2.QBT");
    for (const bool folderSyncFails : {false, true}) {
        SCOPED_TRACE(folderSyncFails ? "the folder cannot be synced" : "renamed into place");
        Recovering t([&](FakePorts& f) { f.files.files[tape] = "old"; });
        t.Press("5+");
        t.Flush();
        t.fakes.files.failFolderSync = folderSyncFails;
        t.AnswerSaveAs(tape);
        t.fakes.messages.answers.push_back(MessageAnswer::Yes);  // replace it
        t.machine.Run(Command::SaveAs);
        std::vector<std::string> after = {"write private " + list, "write " + tape, "sync folder /home/pat/",
                                          "remove " + list};
        if (!folderSyncFails) after.push_back("remove " + t.Path());
        EXPECT_EQ(t.fakes.files.LogFrom("write private " + list), after);
        EXPECT_EQ(t.HasRecord(), folderSyncFails);
        EXPECT_EQ(t.machine.GetTape().Dirty(), folderSyncFails);
        EXPECT_EQ(t.fakes.messages.Errors().size(), folderSyncFails ? 1u : 0u);
    }
}

TEST(Recovery, AFileRewrittenInPlaceComesBackFromTheRecordIfTheProgramEndsHalfWay) {
    const std::string tape = "/home/pat/Tape.QBX";
    for (const bool changed : {true, false}) {
        SCOPED_TRACE(changed ? "a tape with changes" : "a tape saved before, saved again");
        Recovering t([&](FakePorts& f) { f.files.files[tape] = "old"; });
        t.Press("5+3+");
        t.AnswerSaveAs(tape);
        t.fakes.messages.answers.push_back(MessageAnswer::Yes);
        t.machine.Run(Command::SaveAs);
        ASSERT_FALSE(t.machine.GetTape().Dirty());
        if (changed) t.Press("4+");
        t.fakes.files.readOnly.insert("/home/pat/");
        t.fakes.files.log.clear();
        t.machine.Run(Command::Save);
        // The record held the tape, synced, before the file was touched; it goes after.
        const std::vector<std::string>& log = t.fakes.files.log;
        const auto write = std::find(log.begin(), log.end(), "in place " + tape);
        ASSERT_NE(write, log.end());
        const std::vector<std::string> before(log.begin(), write);
        EXPECT_TRUE(!before.empty() && (before.back() == "sync " + t.Path() || before.back() == "write private " + t.Path()));
        EXPECT_FALSE(t.HasRecord());
        // Killed during the write: the next start brings the tape back and names the file.
        const std::vector<std::string> lines = t.TapeLines();
        Recovering next([&](FakePorts& f) {
            f.files.files = t.fakes.files.filesAtWrite;
            f.files.files[In(kOwn)].swap(f.files.files[In("200-1.QBR")]);
            f.files.files.erase(In(kOwn));
            f.messages.answers.push_back(MessageAnswer::Yes);
        });
        EXPECT_EQ(next.TapeLines(), lines);
        ASSERT_EQ(next.startupMessages.size(), 2u);
        EXPECT_EQ(next.startupMessages[1].text, "The tape file \"Tape.QBX\" may be incomplete\r\n\r\nThe Quillbox ended "
                                                "while writing it. The recovered tape is as it was being saved: save it "
                                                "again to keep it!");
        // Its own record names no file being written.
        EXPECT_TRUE(ReadRecoveryRecord(next.Record())->state.writingInPlace.empty());
        // Nor does the record of keys after a whole save.
        t.Press("1+");
        t.Flush();
    }
}

// A signal between events is in recover_after_kill.sh; here one while "Save the tape?" is open,
// which the box then answers No as it closes: the record stays, synced.
TEST(Recovery, EndingUnaskedKeepsTheRecordSyncedAndAsksNothing) {
    Recovering t;
    t.Press("5+3+");
    t.fakes.messages.whileShown = [&](const MessageRequest&) { t.machine.EndUnasked(); };
    t.fakes.messages.answers.push_back(MessageAnswer::No);
    EXPECT_TRUE(t.machine.QueryClose());
    t.machine.Unload(0, 0);
    ASSERT_TRUE(t.HasRecord());
    EXPECT_EQ(ReadRecoveryRecord(t.Record())->lines.ToVector(), t.TapeLines());
    EXPECT_FALSE(t.fakes.files.LogFrom("sync " + t.Path()).empty());
}

TEST(Recovery, ASignalWhileALeftRecordIsOfferedLeavesItForTheNextStart) {
    TestMachine t({{"Auto Decimal", "False"}}, false);
    LeaveRecord(t.fakes, "100-1.QBR", {}, kThreeLines, 1796540000);
    t.fakes.messages.answers.push_back(MessageAnswer::No);  // what the box gives as it is closed
    t.fakes.messages.whileShown = [&](const MessageRequest&) { t.machine.EndUnasked(); };
    t.machine.SetRecoveryPlace({kFolder, kOwn});
    t.Start();
    EXPECT_EQ(t.startupMessages.size(), 1u);
    EXPECT_TRUE(t.fakes.files.files.count(In("100-1.QBR")));
    EXPECT_FALSE(t.fakes.files.locks.count(In("100-1.lock")));
}

TEST(Recovery, DamagedValuesAndCountsCostNoIntactLine) {
    const RecoveryState kept{"March", 20, '-', "12", false, true, "", "", "", ""};
    const std::string flush = "+            4.00 +\r\nNEW=7\r\nTIM=1796541000\r\n";
    struct Case {
        const char* what;
        std::string from, to;                  // the damage done to a record of three lines and one flush
        std::vector<std::string> unreadable;  // the values said to be lost
        std::function<void(RecoveryState&)> lost;
    };
    const Case cases[] = {
        {"a line count too large", "LNS=3\r\n", "LNS=30\r\n", {}, {}},
        {"a line count too small", "LNS=3\r\n", "LNS=1\r\n", {}, {}},
        {"a line count that is no number", "LNS=3\r\n", "LNS=x\r\n", {}, {}},
        {"a flag that is no flag", "JPE=0\r\n", "JPE=x\r\n", {"the calculator's state"},
         [](RecoveryState& s) { s.justPressedEquals = true; }},
        {"an empty operation", "OPR=-\r\n", "OPR=\r\n", {"the pending operation"},
         [](RecoveryState& s) { s.pendingOperation = '+'; }},
        {"a missing flag", "SPC=-1\r\n", "", {"the calculator's state"}, [](RecoveryState& s) { s.specialResult = false; }},
        {"a time that is no time", "TIM=1796540000\r\n", "TIM=?\r\n", {"the time it was kept"}, {}},
        {"a caption's key", "QBX=March\r\n", "QBx=March\r\n", {"the caption"}, [](RecoveryState& s) { s.caption.clear(); }},
        {"the record's first key", "QBR=\r\n", "Q\x01R=\r\n", {"the tape's file"}, {}},
        {"a stray line in the header", "JPE=0\r\n", "%%\r\nJPE=0\r\n", {}, {}},
        {"a lost line break in the header", "NEW=12\r\nJPE=0\r\n", "NEW=12JPE=0\r\n", {"the calculator's state"},
         [](RecoveryState& s) { s.justPressedEquals = true; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string bytes = RecordBytes(kept, qb::TapeLines(kThreeLines), 1796540000) + flush;
        const std::size_t at = bytes.find(c.from);
        ASSERT_NE(at, std::string::npos);
        bytes.replace(at, c.from.size(), c.to);
        const auto read = ReadRecoveryRecord(bytes).value();
        EXPECT_EQ(read.lines.ToVector(), (std::vector<std::string>{kThreeLines[0], kThreeLines[1], kThreeLines[2],
                                                                    "            4.00 +"}));
        RecoveryState expected = kept;
        expected.entryText = "7";
        if (c.lost) c.lost(expected);
        EXPECT_EQ(read.state, expected);
        EXPECT_EQ(read.unreadable, c.unreadable);
        EXPECT_TRUE(read.damaged);
    }
}

// A count damaged to take in a whole flush, or more, is not trusted: the flushes' times close
// them after the record's time. A count that ends inside the first flush, or at the record's
// end (as a record written afresh must be read), cannot be told from a tape whose lines read
// like entries: it is taken as it stands, and the entries show as lines, none lost.
TEST(Recovery, ACountThatTakesInAWholeFlushIsCaught) {
    const RecoveryState kept{"", 20, '+', "", false, false, "", "", "", ""};
    const std::string flushes = "+            4.00 +\r\nACC=24\r\nTIM=1796541000\r\n"
                                "+            5.00 +\r\nACC=29\r\nTIM=1796542000\r\n";
    const std::vector<std::string> noLines;
    for (const auto* tape : {&kThreeLines, &noLines}) {
        for (const std::size_t more : {3u, 4u, 5u}) {
            const std::size_t count = tape->size() + more;
            SCOPED_TRACE(count);
            std::string bytes = RecordBytes(kept, qb::TapeLines(*tape), 1796540000) + flushes;
            const std::string written = "LNS=" + std::to_string(tape->size());
            bytes.replace(bytes.find(written), written.size(), "LNS=" + std::to_string(count));
            const auto read = ReadRecoveryRecord(bytes).value();
            std::vector<std::string> lines = *tape;
            lines.insert(lines.end(), {"            4.00 +", "            5.00 +"});
            EXPECT_EQ(read.lines.ToVector(), lines);
            EXPECT_EQ(read.state.subtotal, 29);
            EXPECT_TRUE(read.damaged);
        }
    }
}

TEST(Recovery, OneDamagedByteInTheRecordsHeadCostsNoTapeLine) {
    const RecoveryState kept{"March", 0, '+', "", true, false, "", "/home/a/March.QBX", "March.QBX", ""};
    const std::string whole = RecordBytes(kept, qb::TapeLines(kThreeLines), 1796540000) +
                              "+            4.00 +\r\nTIM=1796541000\r\n";
    const std::size_t head = whole.find(kThreeLines[0]);
    for (std::size_t at = 0; at < head; ++at) {
        if (whole[at] == '\r' || whole[at] == '\n') continue;
        SCOPED_TRACE(at);
        std::string bytes = whole;
        bytes[at] = '\x01';
        const auto read = ReadRecoveryRecord(bytes).value();
        EXPECT_EQ(read.lines.size(), 4u);
    }
}

// What a copy that ended left (its record's writing, its lock, its temporaries and their list) goes;
// what a running copy listed, and what no list names, stays.
TEST(Recovery, WhatACopyThatEndedLeftIsRemovedAndNothingElse) {
    const std::string listed = "/home/pat/.Tape.QBX-ab12.saving", unlisted = "/home/pat/.Tape.QBX-zz99.saving",
                      running = "/home/pat/.Other.QBX-cd34.saving";
    Recovering t([&](FakePorts& f) {
        LeaveRecord(f, "100-1.QBR", {}, kThreeLines, 1796540000);
        f.files.files[In("100-1.QBR.x4Fq2a")] = "QBR=\r\nNAM=";
        f.files.files[In("100-1.QBT.Zr81bQ")] = "/tapes/.Tape.QBX-1.saving\n";  // a writing of its list
        f.files.files[In("110-1.lock")] = "";  // a copy that had nothing to recover
        for (const std::string& path : {listed, unlisted, running}) f.files.files[path] = "a whole tape";
        f.files.files[In("120-1.QBT")] = listed + "\n/home/pat/gone.saving\n/home/pat/torn";
        f.files.files[In("300-3.QBT")] = running + "\n";
        f.files.files[In("300-3.lock")] = "";
        f.files.lockedElsewhere.insert(In("300-3.lock"));
        f.messages.answers.push_back(MessageAnswer::No);
    });
    EXPECT_EQ(t.startupMessages.size(), 1u);  // the one record's question alone
    const auto& files = t.fakes.files.files;
    for (const std::string& gone : {In("100-1.QBR.x4Fq2a"), In("100-1.QBT.Zr81bQ"), In("110-1.lock"), listed, In("120-1.QBT")})
        EXPECT_FALSE(files.count(gone)) << gone;
    for (const std::string& kept : {unlisted, running, In("300-3.QBT"), In("300-3.lock")})
        EXPECT_TRUE(files.count(kept)) << kept;
}

// A tape read back, from its file or from its record, goes on as if it had been keyed here: Item
// Count counts the numbers since its last total or clear, and a cost, sell price or margin given
// and not yet worked out stays given.
TEST(Recovery, ATapeReadBackGoesOnAsKeyed) {
    using Keys = std::vector<std::pair<const char*, Command>>;  // keys, then a command (or None)
    const struct {
        const char* what;
        Keys before, after;
    } cases[] = {
        {"numbers since the last total", {{"1+2=5+7+", Command::None}}, {{"3=", Command::None}}},
        {"none since a clear", {{"5+7+S", Command::None}}, {{"3=", Command::None}}},
        // Lines too wide for the tape ("*" and the number's right end): a number, then a total.
        {"a number too wide", {{"1234567890.12+5+", Command::None}}, {{"3=", Command::None}}},
        {"a total too wide", {{"999999999.99+1+=", Command::None}}, {{"3=", Command::None}}},
        {"an Add % line is no item; a number ending in 9 is", {{"100+10", Command::AddPercent}, {"12.49+", Command::None}},
         {{"3=", Command::None}}},
        {"a zero in floating point (a lone point) is an item", {{"", PlacesCommand(0)}, {"5+0+", Command::None}},
         {{"", PlacesCommand(0)}, {"3=", Command::None}}},
        {"a cost given", {{"80", Command::Cost}}, {{"25", Command::Margin}}},
        {"a margin given after three worked out",
         {{"80", Command::Cost}, {"100", Command::Sell}, {"25", Command::Margin}}, {{"80", Command::Cost}}},
        {"a mark-up's sell price is none given",
         {{"80", Command::Cost}, {"80+25", Command::MarkUp}, {"=", Command::None}}, {{"25", Command::Margin}}},
    };
    auto key = [](TestMachine& t, const Keys& keys) {
        for (const auto& [pressed, command] : keys) {
            t.Press(pressed);
            if (command != Command::None) t.machine.Run(command);
        }
    };
    auto itemCount = [](FakePorts& f) { f.settings.values["Item Count"] = "True"; };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Recovering keyed(itemCount);
        key(keyed, c.before);
        keyed.Flush();
        const std::string record = keyed.Record();
        keyed.AnswerSaveAs("/home/pat/t");
        keyed.machine.Run(Command::SaveAs);
        Recovering opened(itemCount);
        opened.Open("/home/pat/t.QBX", keyed.fakes.files.files["/home/pat/t.QBX"]);
        Recovering recovered([&](FakePorts& f) {
            itemCount(f);
            f.files.files[In("100-1.QBR")] = record;
            f.files.folders.insert(kFolder);
            f.messages.answers.push_back(MessageAnswer::Yes);
        });
        for (Recovering* t : {&keyed, &opened, &recovered}) key(*t, c.after);
        EXPECT_EQ(opened.TapeLines(), keyed.TapeLines());
        EXPECT_EQ(recovered.TapeLines(), keyed.TapeLines());
    }
}

// A cost or sell price too wide for the tape cannot be read back from its line: the next key
// goes on as if none were given, never with a value given before it. A profit too wide ends what
// was worked out, as any profit line does.
TEST(Recovery, AValueGivenTooWideIsUnknownWhenReadBack) {
    const struct {
        const char* what;
        Command first, wide, next;
    } cases[] = {{"a cost", Command::Cost, Command::Cost, Command::Sell},
                 {"a sell price", Command::Sell, Command::Sell, Command::Cost},
                 {"a profit", Command::Cost, Command::Sell, Command::Cost}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Recovering keyed;
        keyed.Press("80");
        keyed.machine.Run(c.first);
        keyed.Press("1234567890.12");
        keyed.machine.Run(c.wide);
        keyed.AnswerSaveAs("/home/pat/t");
        keyed.machine.Run(Command::SaveAs);
        Recovering opened;
        opened.Open("/home/pat/t.QBX", keyed.fakes.files.files["/home/pat/t.QBX"]);
        const std::size_t before = opened.TapeLines().size();
        ASSERT_EQ(opened.TapeLines().back()[0], '*');
        opened.Press("5");
        opened.machine.Run(c.next);
        EXPECT_EQ(opened.TapeLines().size(), before + 1);  // its own line alone
    }
}
