// No tape is lost: a failed save keeps the window, Save As asks before it writes over a file, a
// cancelled event save leaves no file behind, and what is saved reads back the same.
#include <gtest/gtest.h>

#include "documents/TapeFile.h"
#include "fakes/TestMachine.h"
#include "window/KeyCodes.h"

using namespace qb;
using namespace qb::test;

namespace {

// A machine in the middle of a timed event, with a few numbers on its tape.
struct DuringAnEvent : TestMachine {
    DuringAnEvent() {
        machine.SetFolders({"/home/pat", "", "", "/home/pat"});
        fakes.files.folders.insert("/home/pat/");
        fakes.clock.now = 1000;
        fakes.dialogs.eventForms.push_back(TimedEventForm{"Pat", "7/4/99", "Audit", 5});
        machine.Key(vk::F9, 0, 0);
        Type("12+30+");
        fakes.clock.now = 1065;
        machine.StopwatchTick();
        fakes.messages.Reset();
    }
};

// A cancelled Save As lets the close go on: TimedEvent.ClosingTheWindowSavesAndClosesEvenWhenTheSaveIsCancelled.
// A failed one keeps the window, the event, and the file the tape had.
TEST(KeepingTapes, ACloseDuringAnEventWhoseSaveFailsKeepsTheWindowTheEventAndTheFile) {
    struct Case {
        const char* what;
        std::string typed;  // in the event's Save As dialog
        bool failWrite;
        std::string error;
    };
    const Case cases[] = {
        {"the disk refuses the file", "/home/pat/Pat 07_04_1999 Audit", true,
         "An error occurred while saving the tape file!\r\n\r\nPerhaps the disk is full!"},
        {"a name that is refused", "/home/pat/notes.txt", false, "The file name notes.txt is not valid for the Quillbox!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DuringAnEvent t;
        t.machine.Event().active = false;  // saved before the event, as a tape of its own
        t.AnswerSaveAs("/home/pat/budget", "Audit");
        t.machine.Run(Command::SaveAs);
        t.machine.Event().active = true;
        const std::vector<std::string> tape = t.TapeLines();
        t.fakes.files.failWrites = c.failWrite;
        t.AnswerSaveAs(c.typed, "Audit");
        EXPECT_FALSE(t.machine.QueryClose());
        EXPECT_EQ(t.fakes.messages.Errors(), std::vector{c.error});
        EXPECT_EQ(t.TapeLines(), tape);
        EXPECT_TRUE(t.machine.Event().active);
        EXPECT_EQ(t.machine.Title(), "the Quillbox (budget.QBX)");
        EXPECT_EQ(t.machine.Document().LastTapeFile(), "/home/pat/budget.QBX");
        // The event goes on as it was: its colours, and its clock counting from its start (the
        // reading saved below).
        EXPECT_EQ(t.machine.GetTimers().DisplayBackground(), 0xC0C0FFu);
        t.fakes.clock.now = 1070;
        t.machine.StopwatchTick();
        // The user saves elsewhere and closes.
        t.fakes.files.failWrites = false;
        t.AnswerSaveAs("/home/pat/audit", "Audit");
        EXPECT_TRUE(t.machine.QueryClose());
        EXPECT_NE(t.fakes.files.files["/home/pat/audit.QBX"].find("TEV=00:01:10"), std::string::npos);
    }
}

TEST(KeepingTapes, ACancelledEventSaveLeavesTheTapeWithoutAFile) {
    for (bool cancelCaption : {true, false}) {
        SCOPED_TRACE(cancelCaption ? "caption prompt cancelled" : "file dialog cancelled");
        DuringAnEvent t;
        t.fakes.dialogs.captions.push_back(cancelCaption ? std::nullopt : std::optional<std::string>("Audit"));
        t.machine.Key(vk::Left, 0, 0);  // ends the event with a save
        EXPECT_FALSE(t.machine.Event().active);
        EXPECT_EQ(t.machine.Title(), "the Quillbox");
        EXPECT_TRUE(t.fakes.files.files.empty());
        // Save is a new tape's save: through the dialog, never to the suggested bare name.
        t.fakes.dialogs.captions.push_back("Audit");
        t.machine.Run(Command::Save);
        EXPECT_EQ(t.fakes.dialogs.fileRequests.back().initialName, "/home/pat/*.QBX");
        EXPECT_TRUE(t.fakes.files.files.empty());
    }
}

TEST(KeepingTapes, SaveAsAsksBeforeWritingOverTheFileItWillWrite) {
    struct Case {
        const char* typed;
        std::vector<MessageAnswer> answers;  // to "... already exists"
        std::vector<std::string> questions;
        bool written;
    };
    const std::string question = "budget.QBX already exists.\r\nDo you want to replace it?";
    const Case cases[] = {
        {"budget.QBX", {MessageAnswer::Yes}, {question}, true},
        {"budget", {MessageAnswer::No}, {question}, false},  // the dialog comes back, then Cancel
        {"other", {}, {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        TestMachine t;
        t.machine.SetFolders({"/home/pat", "", "", "/home/pat"});
        t.fakes.files.files["/home/pat/budget.QBX"] = "old";
        t.Type("5+");
        t.AnswerSaveAs(std::string("/home/pat/") + c.typed);
        t.fakes.messages.answers.assign(c.answers.begin(), c.answers.end());
        t.machine.Run(Command::SaveAs);
        std::vector<std::string> questions;
        for (const MessageRequest& m : t.fakes.messages.shown) questions.push_back(m.text);
        EXPECT_EQ(questions, c.questions);
        const std::string written = std::string("/home/pat/") + (std::string(c.typed) == "other" ? "other" : "budget") + ".QBX";
        EXPECT_EQ(t.fakes.files.files[written] != "old" && !t.fakes.files.files[written].empty(), c.written);
        if (!c.written) {
            // Asked again with the name that was refused.
            ASSERT_EQ(t.fakes.dialogs.fileRequests.size(), 2u);
            EXPECT_EQ(t.fakes.dialogs.fileRequests[1].initialName, "/home/pat/budget.QBX");
            EXPECT_EQ(t.machine.Title(), "the Quillbox");
        }
    }
}

// Another copy (in another session) or another program wrote the tape's file since it was
// opened or saved here: Save asks before it replaces that work, and No keeps both.
TEST(KeepingTapes, SaveAsksBeforeReplacingAFileChangedOnTheDiskMeanwhile) {
    const std::string path = "/home/pat/budget.QBX", theirs = "QBX=\r\nACC=9\r\nOPR=+\r\nNEW=\r\nJPE=0\r\nSPC=0\r\n";
    const std::string question =
        "budget.QBX has been changed on the disk since this tape was opened or saved.\r\nDo you want to replace it with this tape?";
    struct Case {
        const char* what;
        bool savedAs;  // bound to the file by Save As, else by Open
        std::optional<std::string> meanwhile;  // the file's bytes written elsewhere; none: removed
        std::vector<MessageAnswer> answers;
        bool asked, replaced;
    };
    const Case cases[] = {
        {"opened, changed, No", false, theirs, {MessageAnswer::No}, true, false},
        {"opened, changed, Yes", false, theirs, {MessageAnswer::Yes}, true, true},
        {"saved, changed, No", true, theirs, {MessageAnswer::No}, true, false},
        {"opened, removed", false, std::nullopt, {}, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestMachine t;
        t.machine.SetFolders({"/home/pat", "", "", "/home/pat"});
        t.fakes.files.folders.insert("/home/pat/");
        if (c.savedAs) {
            t.Type("5+");
            t.AnswerSaveAs(path);
            t.machine.Run(Command::SaveAs);
        } else {
            t.Open(path, "QBX=\r\nACC=5\r\nOPR=+\r\nNEW=\r\nJPE=0\r\nSPC=0\r\n            5.00 +\r\n");
        }
        // Saved again unchanged, nothing is asked.
        t.Type("1+");
        t.machine.Run(Command::Save);
        ASSERT_TRUE(t.fakes.messages.shown.empty());
        if (c.meanwhile) {
            t.fakes.files.files[path] = *c.meanwhile;
        } else {
            t.fakes.files.files.erase(path);
        }
        t.Type("2+");
        t.fakes.messages.answers.assign(c.answers.begin(), c.answers.end());
        t.machine.Key(vk::S, vk::CtrlState, 19);
        std::vector<std::string> asked;
        for (const MessageRequest& m : t.fakes.messages.shown) asked.push_back(m.text);
        EXPECT_EQ(asked, c.asked ? std::vector<std::string>{question} : std::vector<std::string>{});
        EXPECT_EQ(t.fakes.files.files[path] == theirs, !c.replaced);
        EXPECT_EQ(t.machine.GetTape().Dirty(), !c.replaced);
        // Closing then asks to save, and the same question keeps their work.
        t.fakes.messages.Reset();
        t.fakes.messages.answers = {MessageAnswer::Yes, MessageAnswer::No};
        EXPECT_EQ(t.machine.QueryClose(), c.replaced);
        EXPECT_EQ(t.fakes.files.files[path] == theirs, !c.replaced);
    }
}

TEST(KeepingTapes, AStoredCaptionIsCleanedLikeATypedOne) {
    const std::pair<std::string, std::string> cases[] = {
        {"March\r\nfuel", "March  fuel"}, {std::string(100, 'c'), std::string(75, 'c')},
    };
    for (const auto& [stored, used] : cases) {
        TestMachine t({{"Last Caption", stored}, {"Auto Decimal", "False"}});
        EXPECT_EQ(t.machine.Document().Caption(), used);  // one line, as the file's first line must be
    }
}

// A tape of five million lines opens; what is larger is refused before anything changes, and
// running out of memory while reading is a failed read, not the end of the program.
TEST(KeepingTapes, FilesTooLargeOrUnreadableLeaveTheTapeAsItWas) {
    static_assert(kTapeFileLimit >= 5'000'000ull * 20 + 100, "five million tape lines must open");
    struct Case {
        const char* what;
        bool tooLarge, outOfMemory;
        std::string error;
        bool calculatorReset;  // a file that was read but is no tape resets the calculator
    };
    const Case cases[] = {
        {"over the limit", true, false, "The file is too large to be a tape of the Quillbox!", false},
        {"out of memory", false, true, "The file was not created by the Quillbox!", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestMachine t;
        t.Type("12+30+");
        const std::vector<std::string> tape = t.TapeLines();
        const double subtotal = t.State().Subtotal;
        if (c.tooLarge) t.fakes.files.tooLarge.insert("/home/pat/big.QBX");
        t.fakes.files.outOfMemory = c.outOfMemory;
        t.fakes.messages.answers.push_back(MessageAnswer::No);  // "Save the tape?"
        t.Open("/home/pat/big.QBX");
        EXPECT_EQ(t.fakes.files.lastLimit, kTapeFileLimit);
        EXPECT_EQ(t.fakes.messages.Errors(), std::vector<std::string>{c.error});
        EXPECT_EQ(t.TapeLines(), tape);
        EXPECT_EQ(t.State().Subtotal, c.calculatorReset ? 0 : subtotal);
        EXPECT_EQ(t.machine.Title(), "the Quillbox");
    }
}

}  // namespace
