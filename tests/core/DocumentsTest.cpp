#include <gtest/gtest.h>

#include "fakes/FakePrinter.h"
#include "fakes/TestMachine.h"
#include "window/KeyCodes.h"

using namespace qb;
using namespace qb::test;

namespace {

const char* const kDir = "/home/pat/";

struct DocMachine : TestMachine {
    explicit DocMachine(std::map<std::string, std::string> stored = {}) : TestMachine(std::move(stored)) {
        machine.SetStartDirectory("/home/pat");
        fakes.messages.Reset();
        fakes.dialogs.printer = &printer;
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
        {"budget", "budget.QBX", ""}, {"budget.QBX", "budget.QBX", ""}, {"a.QBX", "a.QBX", ""},
        {"budget.qbx", "", "The file name budget.qbx is not valid for the Quillbox!"},
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
        } else {
            EXPECT_TRUE(t.fakes.files.files.empty()) << typed;
            EXPECT_EQ(t.fakes.messages.Errors(), std::vector<std::string>{error});
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
    EXPECT_EQ(t.fakes.settings.values["Last Caption"], "March fuel");
    // Without the prompt, only a caption set by New caption is written: the Captions tests below.
}

// Save As sets up its dialog and remembers the file; Save then writes it silently with the caption
// set since, and keeps the old file when the write fails (the event's name it offers during one: TimersTest).
TEST(Save, ATapeWithAFileIsSavedSilentlyWithItsCaption) {
    DocMachine t;
    t.SaveAsWithoutPrompt("budget");
    ASSERT_EQ(t.fakes.dialogs.fileRequests.size(), 1u);
    EXPECT_EQ(t.fakes.dialogs.fileRequests[0].filter, "Tape Files (*.QBX)|*.QBX");
    EXPECT_TRUE(t.fakes.dialogs.fileRequests[0].save);
    t.Press("7+");
    t.fakes.dialogs.captions.push_back("Later");
    t.machine.Run(Command::NewCaption);
    t.machine.Key(vk::S, vk::CtrlState, 19);
    EXPECT_EQ(t.fakes.dialogs.fileRequests.size(), 1u);
    EXPECT_EQ(t.fakes.files.files["/home/pat/budget.QBX"].substr(0, 11), "QBX=Later\r\n");
    EXPECT_FALSE(t.machine.GetTape().Dirty());

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
}

// No and Cancel to "Save the tape?" are in Recovery.EveryCleanEndRemovesTheRecord, with a Yes whose
// save fails; here Yes saves silently to the tape's file, and stops at a cancelled prompt without one.
TEST(NewTape, SaveTheTapeQuestion) {
    for (const bool hasFile : {true, false}) {
        SCOPED_TRACE(hasFile ? "yes with a file" : "yes without a file, the prompt cancelled");
        DocMachine t;
        if (hasFile) t.SaveAsWithoutPrompt("budget");
        t.Press("5+");
        t.fakes.messages.Reset();
        t.fakes.messages.answers.push_back(MessageAnswer::Yes);
        const auto before = t.TapeLines();
        t.machine.Key(vk::F4, 0, 0);
        ASSERT_EQ(t.Questions().size(), 1u);
        EXPECT_EQ(t.fakes.messages.shown[0].defaultAnswer, MessageAnswer::Cancel);
        // A new tape only once the old one is saved.
        EXPECT_EQ(t.TapeLines() == before, !hasFile);
        EXPECT_EQ(t.machine.GetTape().Dirty(), !hasFile);
    }
}

TEST(Open, ACorruptedFileAddsTheZeroLine) {
    DocMachine t;
    t.Press("5+");
    t.fakes.messages.answers.push_back(MessageAnswer::No);
    t.Open("/home/pat/bad.QBX", "QBX=\r\nACC=1\r\nOPR=+\r\nNEW=\r\nJPE=maybe\r\nSPC=0\r\n");
    EXPECT_EQ(t.fakes.messages.Errors(), std::vector<std::string>{"The file is corrupted and unusable!"});
    EXPECT_EQ(t.Trimmed(), (std::vector<std::string>{"0 =", "5.00 +", "", "0 ="}));
    EXPECT_EQ(t.machine.Title(), "the Quillbox");
    ASSERT_EQ(t.fakes.dialogs.fileRequests.size(), 1u);
    EXPECT_FALSE(t.fakes.dialogs.fileRequests[0].save);
}

TEST(Captions, NewCaptionPromptsAndStores) {
    DocMachine t;
    t.fakes.dialogs.captions.push_back(std::string(80, 'c'));
    t.machine.Key(vk::W, vk::CtrlState, 23);
    EXPECT_EQ(t.machine.Document().Caption(), std::string(75, 'c'));
    EXPECT_EQ(t.fakes.settings.values["Last Caption"], std::string(75, 'c'));
    EXPECT_TRUE(t.machine.Document().UseCaptionWithoutPrompt());
    // A new tape empties the caption but keeps the setting.
    t.machine.Run(Command::NewTape);
    EXPECT_EQ(t.machine.Document().Caption(), "");
    EXPECT_EQ(t.fakes.settings.values["Last Caption"], std::string(75, 'c'));
    t.fakes.dialogs.captions.push_back("Kept");
    t.machine.Run(Command::NewCaption);
    t.machine.Key(vk::Q, vk::CtrlState, 17);
    EXPECT_EQ(t.machine.Document().Caption(), "");
    EXPECT_EQ(t.fakes.settings.values["Last Caption"], "");
    EXPECT_TRUE(t.machine.Document().UseCaptionWithoutPrompt());
}

// A caption holds the characters a tape's file can: the prompt speaks UTF-8, the caption is kept
// in Windows-1252, and a character outside it is refused by name and typed again, never changed.
TEST(Captions, ACharacterTheTapeCannotHoldIsRefusedByName) {
    DocMachine t;
    t.fakes.dialogs.captions = {"Rachunek \xc5\x81\xc3\xb3" "d\xc5\xba", "Caf\xc3\xa9\xc2\xa0\xe2\x82\xac", std::nullopt};
    t.machine.Run(Command::NewCaption);
    EXPECT_EQ(t.fakes.messages.Errors(), std::vector<std::string>{"The tape cannot hold the character \"\xc5\x81\" in a caption!"});
    EXPECT_EQ(t.fakes.dialogs.captionPrompts.back(), "Rachunek \xc5\x81\xc3\xb3" "d\xc5\xba");
    EXPECT_EQ(t.machine.Document().Caption(), "Caf\xe9\xa0\x80");  // a no-break space too
    EXPECT_EQ(t.fakes.settings.values["Last Caption"], "Caf\xe9\xa0\x80");
    t.machine.Run(Command::NewCaption);  // cancelled: the caption stays
    EXPECT_EQ(t.fakes.dialogs.captionPrompts.back(), "Caf\xc3\xa9\xc2\xa0\xe2\x82\xac");
    EXPECT_EQ(t.machine.Document().Caption(), "Caf\xe9\xa0\x80");
    t.fakes.dialogs.captions = {"Fuel\tMarch"};  // pasted with a tab
    t.machine.Run(Command::NewCaption);
    EXPECT_EQ(t.machine.Document().Caption(), "Fuel March");
    // A byte a file's caption may hold and no key types is kept by OK as it stands.
    t.Open("/t/a.QBX", "QBX=Fuel\x81\r\nACC=0\r\nOPR=+\r\nNEW=\r\nJPE=0\r\nSPC=0\r\n");
    t.fakes.dialogs.captions = {"Fuel\xc2\x81"};
    t.machine.Run(Command::NewCaption);
    EXPECT_EQ(t.machine.Document().Caption(), "Fuel\x81");
    EXPECT_EQ(t.fakes.messages.Errors().size(), 1u);
}

// The caption a last run left stands in the caption box, but with the prompts off neither a print
// nor a file takes it until New caption sets it again.
TEST(Captions, ALastRunsCaptionIsUsedWithoutPromptOnlyOnceSetAgain) {
    for (const bool setAgain : {false, true}) {
        SCOPED_TRACE(setAgain ? "set again" : "as stored");
        DocMachine t({{"Auto Decimal", "False"}, {"Last Caption", "Budget"}});
        t.machine.Run(Command::PromptPrintCaption);
        t.machine.Run(Command::PromptFileCaption);
        if (setAgain) {
            t.fakes.dialogs.captions.push_back("Budget");
            t.machine.Run(Command::NewCaption);
        }
        EXPECT_EQ(t.machine.Document().Caption(), "Budget");
        t.fakes.dialogs.printerAnswers.push_back(1);
        t.machine.Run(Command::Print);
        ASSERT_EQ(t.printer.jobs.size(), 1u);
        EXPECT_EQ(FakePrinter::Texts(t.printer.jobs[0][0])[0], setAgain ? "Budget" : "               0 =");
        t.fakes.dialogs.files.push_back("/t/b");
        t.machine.Run(Command::SaveAs);
        EXPECT_EQ(t.fakes.files.files["/t/b.QBX"].substr(0, 6), setAgain ? "QBX=Bu" : "QBX=\r\n");
    }
}

// Without the prompt, the caption New caption set or none: Captions.ALastRunsCaption... above.
TEST(Print, CaptionChoiceAndCopies) {
    for (const std::optional<int> copies : {std::optional<int>(3), std::optional<int>()}) {
        DocMachine t;
        t.fakes.dialogs.captions.push_back(std::string("Fuel"));
        t.fakes.dialogs.printerAnswers.push_back(copies);  // nothing: the printer dialog cancelled
        t.machine.Key(vk::P, vk::CtrlState, 16);
        ASSERT_EQ(t.printer.jobs.size(), copies ? 3u : 0u);
        for (const auto& job : t.printer.jobs) EXPECT_EQ(FakePrinter::Texts(job[0])[0], "Fuel");
    }
}

// The print queue lists the job by the name a PDF of the tape takes as its title: the caption,
// else the file's name without its extension, else the program's name; in UTF-8 whether it comes
// from the caption (kept in the tape's code page) or the file's name.
TEST(Print, TheJobGoesByTheCaptionOrElseTheFileName) {
    DocMachine t;
    t.machine.Run(Command::PromptPrintCaption);  // off: no prompt before the printer dialog
    t.fakes.files.files["/t/M\xc3\xa4rz.QBX"] = "QBX=\r\nACC=0\r\nOPR=+\r\nNEW=\r\nJPE=0\r\nSPC=0\r\n               0 =\r\n";
    std::vector<std::string> names;
    auto print = [&] {
        t.printer.documentName.clear();
        t.fakes.dialogs.printerAnswers.push_back(1);
        t.machine.Run(Command::Print);
        names.push_back(t.printer.documentName);
    };
    print();
    t.fakes.dialogs.files = {"/t/M\xc3\xa4rz.QBX"};
    t.machine.Run(Command::Open);
    print();
    t.fakes.dialogs.captions = {std::string("Caf\xc3\xa9")};
    t.machine.Run(Command::NewCaption);
    print();
    t.machine.Run(Command::ClearCaption);
    print();
    t.AnswerSaveAs("/t/\xc3\x96l");  // Save As names the file with its extension
    t.machine.Run(Command::SaveAs);
    print();
    EXPECT_EQ(names, (std::vector<std::string>{"the Quillbox", "M\xc3\xa4rz", "Caf\xc3\xa9", "M\xc3\xa4rz", "\xc3\x96l"}));
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

}  // namespace
