#include <gtest/gtest.h>

#include "fakes/FakePrinter.h"
#include "fakes/TestMachine.h"
#include "window/KeyCodes.h"

using namespace qb;
using namespace qb::test;

namespace {

const char* const kDir = "/home/pat/";

struct DocMachine : TestMachine {
    DocMachine() {
        machine.SetStartDirectory("/home/pat");
        fakes.messages.Reset();
        fakes.dialogs.printer = &printer;
    }
    // A timed event runs, as its set-up left it.
    void RunEvent(const char* name, const char* date, const char* description) {
        machine.Event().active = true;
        machine.Event().name = name;
        machine.Event().date = date;
        machine.Event().description = description;
    }
    FakePrinter printer;
    void SaveAsWithoutPrompt(const std::string& name) {
        if (machine.GetOptions().FileCaption) machine.Run(Command::PromptFileCaption);
        fakes.dialogs.files.push_back(std::string(kDir) + name);
        machine.Run(Command::SaveAs);
    }
};

TEST(SaveAs, FileNamesAreCheckedAndTheExtensionAdded) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        // name typed, file written ("" none), error
        {"budget", "budget.QBX", ""}, {"budget.QBX", "budget.QBX", ""},
        {"budget.qbx", "", "The file name budget.qbx is not valid for the Quillbox!"},
        {"budget.txt", "", "The file name budget.txt is not valid for the Quillbox!"},
        {"a.b.QBX", "", "The file name a.b.QBX is not valid for the Quillbox!"},
        {".QBX", "", "The file name .QBX is not valid for the Quillbox!"},
    };
    for (const auto& [typed, written, error] : cases) {
        DocMachine t;
        t.Press("5+");
        t.SaveAsWithoutPrompt(typed);
        if (*written) {
            EXPECT_EQ(t.fakes.files.files.count(std::string(kDir) + written), 1u) << typed;
            EXPECT_EQ(t.machine.Title(), std::string("the Quillbox (") + written + ")");
            EXPECT_FALSE(t.machine.GetTape().Dirty());
            EXPECT_EQ(t.machine.Document().LastTapeFile(), std::string(kDir) + written);
        } else {
            EXPECT_TRUE(t.fakes.files.files.empty()) << typed;
            EXPECT_EQ(t.fakes.messages.Errors(), std::vector<std::string>{error});
            EXPECT_EQ(t.machine.Title(), "the Quillbox");
            EXPECT_TRUE(t.machine.GetTape().Dirty());
        }
    }
}

TEST(SaveAs, TheCaptionPromptComesFirstAndItsCaptionIsWritten) {
    DocMachine t;
    t.machine.Run(Command::SaveAs);  // the prompt is cancelled
    EXPECT_TRUE(t.fakes.dialogs.fileRequests.empty());
    t.fakes.dialogs.captions.push_back("x");
    t.machine.Run(Command::SaveAs);  // the dialog is cancelled
    EXPECT_EQ(t.fakes.files.writes, 0);
    t.Press("5+");
    t.AnswerSaveAs("/home/pat/march", "March fuel");
    t.machine.Run(Command::SaveAs);
    const std::string& bytes = t.fakes.files.files["/home/pat/march.QBX"];
    EXPECT_EQ(bytes.substr(0, 16), "QBX=March fuel\r\n");
    EXPECT_EQ(t.machine.Document().Caption(), "March fuel");
    EXPECT_EQ(t.fakes.settings.values["Last Caption"], "March fuel");
    // Without the prompt, only a caption set by New caption is written.
    t.machine.Run(Command::PromptFileCaption);
    t.fakes.dialogs.files.push_back("/home/pat/other");
    t.machine.Run(Command::SaveAs);
    EXPECT_EQ(t.fakes.files.files["/home/pat/other.QBX"].substr(0, 6), "QBX=\r\n");
}

// Save As sets up its dialog and remembers the file; Save then writes it silently with the caption
// set since, keeps the old file when the write fails, and offers the event's name during one.
TEST(Save, ATapeWithAFileIsSavedSilentlyWithItsCaption) {
    DocMachine t;
    t.SaveAsWithoutPrompt("budget");
    ASSERT_EQ(t.fakes.dialogs.fileRequests.size(), 1u);
    const FileDialogRequest& r = t.fakes.dialogs.fileRequests[0];
    EXPECT_TRUE(r.save);
    EXPECT_EQ(r.title, "the Quillbox");
    EXPECT_EQ(r.filter, "Tape Files (*.QBX)|*.QBX");
    EXPECT_EQ(r.initialName, "/home/pat/*.QBX");
    t.Press("7+");
    t.fakes.dialogs.captions.push_back("Later");
    t.machine.Run(Command::NewCaption);
    t.machine.Key(vk::S, vk::CtrlState, 19);
    EXPECT_EQ(t.fakes.dialogs.fileRequests.size(), 1u);
    EXPECT_EQ(t.fakes.files.files["/home/pat/budget.QBX"].substr(0, 11), "QBX=Later\r\n");
    EXPECT_FALSE(t.machine.GetTape().Dirty());
    EXPECT_EQ(t.fakes.dialogs.busyOn, 2);
    EXPECT_EQ(t.fakes.dialogs.busyOff, 2);

    const std::string before = t.fakes.files.files["/home/pat/budget.QBX"];
    t.Press("8+");
    t.fakes.files.failWrites = true;
    t.machine.Run(Command::Save);
    EXPECT_EQ(t.fakes.messages.Errors(),
              std::vector<std::string>{"An error occurred while saving the tape file!\r\n\r\nPerhaps the disk is full!"});
    EXPECT_EQ(t.fakes.files.files["/home/pat/budget.QBX"], before);
    EXPECT_TRUE(t.machine.GetTape().Dirty());
    t.machine.Run(Command::SaveAs);
    EXPECT_EQ(t.fakes.dialogs.fileRequests.back().initialName, "/home/pat/budget.QBX");

    t.RunEvent("Pat", "7/4/1999", "Audit");
    t.machine.Run(Command::Save);
    EXPECT_EQ(t.fakes.dialogs.fileRequests.back().initialName, "/home/pat/Pat 07_04_1999 Audit");
    t.machine.Event().date.clear();
    EXPECT_EQ(t.machine.GetTimers().SuggestedFileName(), "Pat Audit");
}

struct AskCase {
    const char* name;
    bool dirty;
    std::vector<MessageAnswer> answers;
    bool hasFile;
    bool failWrite;
    bool newTapeHappens;
};

TEST(NewTape, SaveTheTapeQuestion) {
    const AskCase cases[] = {
        {"clean tape asks nothing", false, {}, false, false, true},
        {"cancel keeps the tape", true, {MessageAnswer::Cancel}, false, false, false},
        {"no discards it", true, {MessageAnswer::No}, false, false, true},
        {"yes with a file saves silently", true, {MessageAnswer::Yes}, true, false, true},
        {"yes without a file and a cancelled prompt stops", true, {MessageAnswer::Yes}, false, false, false},
        {"yes and a failed write stops", true, {MessageAnswer::Yes}, true, true, false},
    };
    for (const auto& c : cases) {
        DocMachine t;
        if (c.hasFile) t.SaveAsWithoutPrompt("budget");
        if (c.dirty) t.Press("5+");
        t.fakes.messages.Reset();
        t.fakes.files.failWrites = c.failWrite;
        for (auto a : c.answers) t.fakes.messages.answers.push_back(a);
        auto before = t.TapeLines();
        t.machine.Key(vk::F4, 0, 0);
        EXPECT_EQ(t.Questions().size(), c.dirty ? 1u : 0u) << c.name;
        if (c.dirty) {
            const MessageRequest& q = t.fakes.messages.shown[0];
            EXPECT_EQ(q.title, "the Quillbox");
            EXPECT_EQ(q.text, "Save the tape?");
            EXPECT_EQ(q.icon, MessageIcon::Question);
            EXPECT_EQ(q.defaultAnswer, MessageAnswer::Cancel);
        }
        if (c.newTapeHappens) {
            EXPECT_EQ(t.Trimmed(), std::vector<std::string>{"0 ="}) << c.name;
            EXPECT_FALSE(t.machine.GetTape().Dirty());
            EXPECT_EQ(t.machine.Title(), "the Quillbox");
            EXPECT_EQ(t.machine.Document().LastTapeFile(), "");
        } else {
            EXPECT_EQ(t.TapeLines(), before) << c.name;
            EXPECT_TRUE(t.machine.GetTape().Dirty()) << c.name;
        }
    }
}

TEST(Open, ARoundTripRestoresTheTapeAndTheCalculator) {
    DocMachine t;
    t.Press("12.5+7.5-5=4*");
    t.AnswerSaveAs("/home/pat/trip", "Round = trip \xE9");
    t.machine.Run(Command::SaveAs);

    DocMachine u;
    u.fakes.files.files = t.fakes.files.files;
    u.fakes.dialogs.files.push_back("/home/pat/trip.QBX");
    u.machine.Key(vk::O, vk::CtrlState, 15);
    EXPECT_EQ(u.TapeLines(), t.TapeLines());
    EXPECT_EQ(u.State().Subtotal, t.State().Subtotal);
    EXPECT_EQ(u.State().PendingOperation, 'x');
    EXPECT_EQ(u.Display(), t.State().EntryText);
    EXPECT_EQ(u.State().JustPressedEquals, t.State().JustPressedEquals);
    EXPECT_EQ(u.machine.GetCalculator().OperatorCaption(), "*");
    EXPECT_EQ(u.machine.Document().Caption(), "Round = trip \xE9");
    EXPECT_EQ(u.machine.Title(), "the Quillbox (trip)");
    EXPECT_FALSE(u.machine.GetTape().Dirty());
    EXPECT_EQ(u.fakes.settings.values.count("Last Caption"), 0u);  // opening does not write it
    u.Press("2=");
    EXPECT_EQ(u.Trimmed().back(), "22.00 =");
}

TEST(Open, AFileThatIsNotATapeLeavesTheTapeButResetsTheCalculator) {
    DocMachine t;
    t.Press("5+3");
    t.fakes.files.files["/home/pat/notes.QBX"] = "hello\r\n";
    t.fakes.dialogs.files.push_back("/home/pat/notes.QBX");
    t.fakes.dialogs.files.push_back("/home/pat/missing.QBX");
    auto before = t.TapeLines();
    t.fakes.messages.answers = {MessageAnswer::No, MessageAnswer::No};
    t.machine.Run(Command::Open);
    t.machine.Run(Command::Open);
    EXPECT_EQ(t.fakes.messages.Errors(), (std::vector<std::string>{"The file was not created by the Quillbox!",
                                                                    "The file was not created by the Quillbox!"}));
    EXPECT_EQ(t.TapeLines(), before);
    EXPECT_EQ(t.State().Subtotal, 0);
    EXPECT_EQ(t.Display(), "");
    EXPECT_EQ(t.machine.Title(), "the Quillbox");
}

TEST(Open, ACorruptedFileAddsTheZeroLine) {
    DocMachine t;
    t.Press("5+");
    t.fakes.messages.answers.push_back(MessageAnswer::No);
    t.Open("/home/pat/bad.QBX", "QBX=\r\nACC=1\r\nOPR=+\r\nNEW=\r\nJPE=maybe\r\nSPC=0\r\n");
    EXPECT_EQ(t.fakes.messages.Errors(), std::vector<std::string>{"The file is corrupted and unusable!"});
    EXPECT_EQ(t.Trimmed(), (std::vector<std::string>{"0 =", "5.00 +", "", "0 ="}));
    EXPECT_EQ(t.machine.Title(), "the Quillbox");
}

TEST(Open, ATapeSavedEmptyOpensAgain) {
    DocMachine t;
    t.machine.Run(Command::NewTape);
    t.machine.GetTape().Replace({});
    t.SaveAsWithoutPrompt("empty");
    DocMachine u;
    u.Open("/home/pat/empty.QBX", t.fakes.files.files["/home/pat/empty.QBX"]);
    EXPECT_TRUE(u.fakes.messages.Errors().empty());
    EXPECT_TRUE(u.TapeLines().empty());
}

TEST(Captions, NewCaptionPromptsAndStores) {
    DocMachine t;
    t.fakes.dialogs.captions.push_back(std::string(80, 'c'));
    t.machine.Key(vk::W, vk::CtrlState, 23);
    EXPECT_EQ(t.machine.Document().Caption(), std::string(75, 'c'));
    EXPECT_EQ(t.fakes.settings.values["Last Caption"], std::string(75, 'c'));
    EXPECT_TRUE(t.machine.Document().UseCaptionWithoutPrompt());
    t.machine.Run(Command::NewCaption);  // cancelled
    EXPECT_EQ(t.machine.Document().Caption(), std::string(75, 'c'));
    EXPECT_EQ(t.fakes.dialogs.captionPrompts.back(), std::string(75, 'c'));
    // A new tape empties the caption but keeps the setting.
    t.machine.Run(Command::NewTape);
    EXPECT_EQ(t.machine.Document().Caption(), "");
    EXPECT_EQ(t.fakes.settings.values["Last Caption"], std::string(75, 'c'));
    EXPECT_TRUE(t.machine.Document().UseCaptionWithoutPrompt());
    t.fakes.dialogs.captions.push_back("Kept");
    t.machine.Run(Command::NewCaption);
    t.machine.Key(vk::Q, vk::CtrlState, 17);
    EXPECT_EQ(t.machine.Document().Caption(), "");
    EXPECT_EQ(t.fakes.settings.values["Last Caption"], "");
    EXPECT_TRUE(t.machine.Document().UseCaptionWithoutPrompt());
}

// The caption a last run left stands in the caption box, but with the prompts off neither a print
// nor a file takes it until New caption sets it again.
TEST(Captions, ALastRunsCaptionIsUsedWithoutPromptOnlyOnceSetAgain) {
    for (const bool setAgain : {false, true}) {
        SCOPED_TRACE(setAgain ? "set again" : "as stored");
        TestMachine t({{"Auto Decimal", "False"}, {"Last Caption", "Budget"}});
        FakePrinter printer;
        t.fakes.dialogs.printer = &printer;
        t.machine.Run(Command::PromptPrintCaption);
        t.machine.Run(Command::PromptFileCaption);
        if (setAgain) {
            t.fakes.dialogs.captions.push_back("Budget");
            t.machine.Run(Command::NewCaption);
        }
        EXPECT_EQ(t.machine.Document().Caption(), "Budget");
        t.fakes.dialogs.printerAnswers.push_back(1);
        t.machine.Run(Command::Print);
        ASSERT_EQ(printer.jobs.size(), 1u);
        EXPECT_EQ(FakePrinter::Texts(printer.jobs[0][0])[0], setAgain ? "Budget" : "               0 =");
        t.fakes.dialogs.files.push_back("/t/b");
        t.machine.Run(Command::SaveAs);
        EXPECT_EQ(t.fakes.files.files["/t/b.QBX"].substr(0, 6), setAgain ? "QBX=Bu" : "QBX=\r\n");
    }
}

TEST(Captions, TooltipsSwitchedInADialogReachTheSettings) {
    for (const Command dialog : {Command::NewCaption, Command::TimedEvent}) {
        DocMachine t;
        t.fakes.dialogs.flipTooltipsInPrompt = true;
        t.machine.Run(dialog);
        EXPECT_FALSE(t.machine.GetOptions().Tooltips);
        EXPECT_EQ(t.fakes.settings.values["Tooltips"], "False");
    }
}

TEST(Print, CaptionChoiceAndCopies) {
    struct Case {
        const char* name;
        bool prompt;             // "Prompt For Print Caption"
        bool newCaptionFirst;    // the caption was set with New caption
        std::vector<std::optional<std::string>> prompts;
        std::optional<int> copies;
        std::size_t jobs;
        const char* firstLine;
    };
    const Case cases[] = {
        {"prompted caption on every copy", true, false, {std::string("Fuel")}, 3, 3, "Fuel"},
        {"cancelled prompt prints nothing", true, false, {std::nullopt}, 1, 0, ""},
        {"cancelled printer dialog prints nothing", true, false, {std::string("Fuel")}, std::nullopt, 0, ""},
        {"no prompt and no New caption: no caption", false, false, {}, 1, 1, "               0 ="},
        {"no prompt after New caption: its caption", false, true, {std::string("Set")}, 1, 1, "Set"},
    };
    for (const auto& c : cases) {
        DocMachine t;
        if (!c.prompt) t.machine.Run(Command::PromptPrintCaption);
        for (const auto& p : c.prompts) t.fakes.dialogs.captions.push_back(p);
        if (c.newCaptionFirst) t.machine.Run(Command::NewCaption);
        t.fakes.dialogs.printerAnswers.push_back(c.copies);
        t.machine.Key(vk::P, vk::CtrlState, 16);
        ASSERT_EQ(t.printer.jobs.size(), c.jobs) << c.name;
        for (const auto& job : t.printer.jobs) EXPECT_EQ(FakePrinter::Texts(job[0])[0], c.firstLine) << c.name;
        EXPECT_EQ(t.printer.fontName, "Arial") << c.name;
    }
}

TEST(Close, AsksOnlyForAChangedTapeAndHonoursCancel) {
    DocMachine t;
    EXPECT_TRUE(t.machine.QueryClose());
    t.Press("5+");
    t.fakes.messages.answers.push_back(MessageAnswer::Cancel);
    EXPECT_FALSE(t.machine.QueryClose());
    t.fakes.messages.answers.push_back(MessageAnswer::No);
    EXPECT_TRUE(t.machine.QueryClose());
    t.machine.Event().active = t.machine.Event().paused = true;
    EXPECT_FALSE(t.machine.QueryClose());
    EXPECT_EQ(t.fakes.messages.Errors().back(), "Press F12 to turn the timer back on!");
    // Unloaded, it remembers the window.
    t.machine.Unload(1500, -30);
    EXPECT_EQ(t.fakes.settings.values["Last Mode"], "False");
    EXPECT_EQ(t.fakes.settings.values["Last Left"], "1500");
    EXPECT_EQ(t.fakes.settings.values["Last Top"], "-30");
}

TEST(StartUp, NoPrinterIsReportedOnceAndDisablesPrint) {
    FakePorts fakes;
    fakes.dialogs.printers = 0;
    fakes.settings.values["Auto Decimal"] = "False";
    Machine m(fakes.ports());
    m.Load();
    EXPECT_FALSE(m.IsEnabled(Command::Print));
    m.FirstActivation();
    m.FirstActivation();
    EXPECT_EQ(fakes.messages.Errors(),
              std::vector<std::string>{"There is no printer available!\r\n\r\nYou will not be able to print the tape!"});
}

TEST(Welcome, OnlyTheFirstRunSaysItShowsOnce) {
    DocMachine t;
    t.machine.Run(Command::WelcomeMessage);
    ASSERT_EQ(t.fakes.messages.shown.size(), 1u);
    const MessageRequest& m = t.fakes.messages.shown[0];
    EXPECT_EQ(m.title, "the Quillbox");
    EXPECT_EQ(m.buttons, MessageButtons::OkCancel);
    EXPECT_EQ(m.text.find("this once only"), std::string::npos);
    EXPECT_EQ(m.text.substr(0, 75), "Welcome to the Quillbox! Thanks for giving this innovative program a try!\r\n");
    EXPECT_NE(m.text.find("\r\n\r\nEnjoy! ... Ambrose Tolle"), std::string::npos);
}

}  // namespace
