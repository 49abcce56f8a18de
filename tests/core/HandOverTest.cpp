#include <gtest/gtest.h>

#include <tuple>

using namespace std::string_literals;

#include "documents/HandOver.h"
#include "fakes/TestMachine.h"

using namespace qb;
using namespace qb::test;

namespace {

TEST(CommandLine, WordsGiven) {
    struct Case {
        std::vector<std::string> words;
        bool help, version;
        std::optional<std::string> file;
        std::string problem;
    };
    const Case cases[] = {
        {{}, false, false, std::nullopt, ""},
        {{"march.QBX"}, false, false, "march.QBX", ""},
        {{"--help"}, true, false, std::nullopt, ""},
        {{"-h", "--version"}, true, true, std::nullopt, ""},
        {{"--", "--help"}, false, false, "--help", ""},  // a file of that name
        {{"-"}, false, false, "-", ""},
        {{"--open", "a"}, false, false, "a", "unknown option --open"},
        {{"a", "b"}, false, false, "a", "one tape file at a time"},
        {{""}, false, false, std::nullopt, "an empty file name"},
    };
    for (const Case& c : cases) {
        const CommandLine line = ReadCommandLine(c.words);
        SCOPED_TRACE(c.words.empty() ? "(none)" : c.words[0]);
        EXPECT_EQ(line.help, c.help);
        EXPECT_EQ(line.version, c.version);
        EXPECT_EQ(line.file, c.file);
        EXPECT_EQ(line.problem, c.problem);
    }
}

TEST(CommandLine, NamesThatAreNotUtf8AreShownWithReplacements) {
    const std::tuple<std::string, bool, std::string> cases[] = {
        {"M\xC3\xA4rz.QBX", true, "M\xC3\xA4rz.QBX"},           // ä
        // The edges of each length: U+0080, U+07FF, U+0800, U+0905, U+FFFD, U+10FFFF, U+D7FF, U+E000.
        {"\xC2\x80\xDF\xBF", true, "\xC2\x80\xDF\xBF"},
        {"\xE0\xA0\x80\xE0\xA4\x85\xEF\xBF\xBD", true, "\xE0\xA0\x80\xE0\xA4\x85\xEF\xBF\xBD"},
        {"\xED\x9F\xBF\xEE\x80\x80", true, "\xED\x9F\xBF\xEE\x80\x80"},  // either side of the surrogates
        {"\xF0\x90\x80\x80\xF4\x8F\xBF\xBF", true, "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF"},  // U+10000, U+10FFFF
        {"\xE0\x9F\xBF", false, "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},  // overlong U+07FF
        {"M\xE4rz.QBX", false, "M\xEF\xBF\xBDrz.QBX"},           // Latin-1
        {"\xED\xA0\x80", false, "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},  // a surrogate
        {"\xF4\x90\x80\x80", false, "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},  // past U+10FFFF
    };
    for (const auto& [name, valid, shown] : cases) {
        EXPECT_EQ(IsUtf8(name), valid) << name;
        EXPECT_EQ(ShownName(name), shown) << name;
    }
}

TEST(CommandLine, RelativeNamesAreTakenFromTheStartingFolder) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"march.QBX", "/home/pat", "/home/pat/march.QBX"},   {"/tmp/march.QBX", "/home/pat", "/tmp/march.QBX"},
        {"tapes/march.QBX", "/home/pat/", "/home/pat/tapes/march.QBX"}, {"march.QBX", "", "march.QBX"},
    };
    for (const auto& [path, folder, whole] : cases) EXPECT_EQ(WholePath(path, folder), whole) << path << " " << folder;
}

TEST(HandOver, RequestsSurviveTheTripAndStrangersAreRefused) {
    const std::optional<std::string> files[] = {std::nullopt, "/home/pat/march.QBX", "/home/pat/two\nlines.QBX",
                                                "/home/pat/M\xE4rz.QBX"};
    // The longest request there may be, a name filling it to the last byte.
    const std::string longest = "QBX-OPEN\n/" + std::string(kHandOverLimit - 11, 'a') + '\0';
    ASSERT_EQ(longest.size(), kHandOverLimit);
    EXPECT_TRUE(DecodeHandOver(longest));
    for (const auto& file : files) {
        const std::optional<HandOver> back = DecodeHandOver(EncodeHandOver(HandOver{file}));
        ASSERT_TRUE(back);
        EXPECT_EQ(back->file, file);
    }
    const std::string strangers[] = {"", "GET / HTTP/1.0\r\n\0"s, "QBX-RAISE\n" /* not ended */, "QBX-RAISE\nmore\0"s,
                                     "QBX-OPEN\n\0"s, "QBX-OPEN\n/a\0b\0"s,
                                     "QBX-OPEN\n/" + std::string(kHandOverLimit, 'a') + '\0'};
    for (const std::string& bytes : strangers) EXPECT_FALSE(DecodeHandOver(bytes)) << bytes.substr(0, 20);
    // No bytes at all, where the buffer behind them holds the start of a request.
    EXPECT_FALSE(DecodeHandOver(std::string_view("QBX-OPEN\n/a", 0)));
}

const char* const kMarch =
    "QBX=March\r\nACC=12\r\nOPR=+\r\nNEW=\r\nJPE=0\r\nSPC=0\r\nTEV=00:12:40\r\n            12.00 +\r\n";

struct OpenMachine : TestMachine {
    OpenMachine() {
        fakes.files.files["/home/pat/march.QBX"] = kMarch;
        fakes.files.files["/home/pat/notes.txt"] = "hello\r\n";
        fakes.files.folders.insert("/home/pat/tapes/");
        fakes.files.specials.insert("/home/pat/fifo");
        machine.TakeFocusRequest();  // start-up's
    }
};

TEST(OpenFile, ATapeGivenFromOutsideOpensAsOpenWould) {
    OpenMachine t;
    t.machine.OpenFileCommand("/home/pat/march.QBX");
    EXPECT_TRUE(t.fakes.messages.shown.empty());  // a clean tape: nothing asked
    EXPECT_EQ(t.Trimmed(), std::vector<std::string>{"12.00 +"});
    EXPECT_EQ(t.machine.Title(), "the Quillbox (march)");
    EXPECT_EQ(t.machine.Document().LastTapeFile(), "/home/pat/march.QBX");
    EXPECT_EQ(t.machine.Document().Caption(), "March");
    EXPECT_TRUE(t.machine.GetTimers().GetStopwatch().ItemVisible());
    EXPECT_EQ(t.machine.GetTimers().GetStopwatch().ItemCaption(), "Time: 00:12:40");
    t.machine.Run(Command::TimedEvent);  // a timed event needs a tape without a time
    EXPECT_EQ(t.fakes.messages.Errors(), std::vector<std::string>{"Clear the timed event tape first!"});
    EXPECT_FALSE(t.machine.GetTape().Dirty());
    EXPECT_TRUE(t.machine.TakeFocusRequest());
}

TEST(OpenFile, AChangedTapeIsOfferedForSavingFirst) {
    const std::tuple<MessageAnswer, bool> cases[] = {
        // answer to "Save the tape?", whether the file then opens
        {MessageAnswer::Cancel, false}, {MessageAnswer::No, true},
        {MessageAnswer::Yes, true},  // saved to its file first
    };
    for (const auto& [answer, opens] : cases) {
        OpenMachine t;
        t.AnswerSaveAs("/home/pat/today");
        t.Press("5+3+");
        const auto before = t.TapeLines();
        t.fakes.messages.answers.push_back(answer);
        t.machine.OpenFileCommand("/home/pat/march.QBX");
        EXPECT_EQ(t.Questions(), std::vector<std::string>{"Save the tape?"});
        EXPECT_EQ(t.machine.Title(), opens ? "the Quillbox (march)" : "the Quillbox");
        EXPECT_EQ(t.TapeLines() == before, !opens);
        EXPECT_EQ(t.fakes.files.Exists("/home/pat/today.QBX"), answer == MessageAnswer::Yes);
    }
}

// Names that are no tape, and any name while a timed event is paused.
TEST(OpenFile, NamesThatAreNoTapeSaySoAndLoseNothing) {
    const std::tuple<const char*, const char*> cases[] = {
        {"/home/pat/notes.txt", "The file was not created by the Quillbox!"},
        {"/home/pat/april.QBX", "There is no file /home/pat/april.QBX!"},
        {"/home/pat/tapes", "/home/pat/tapes is a folder, not a tape file!"},
        {"/home/pat/fifo", "/home/pat/fifo is a pipe or a device, not a tape file!"},
        {"/home/pat/M\xE4rz.QBX", "The file name /home/pat/M\xEF\xBF\xBDrz.QBX is not valid for the Quillbox!\r\n\r\n"
                                  "Rename the file, its name is not UTF-8 text!"},
        {"/home/pat/march.QBX", "Press F12 to turn the timer back on!"},
    };
    for (const auto& [path, message] : cases) {
        OpenMachine t;
        t.Press("5+3+");
        t.machine.Event().active = t.machine.Event().paused = std::string(path) == "/home/pat/march.QBX";
        const auto before = t.TapeLines();
        t.fakes.messages.answers.push_back(MessageAnswer::No);  // to "Save the tape?", when asked
        t.machine.OpenFileCommand(path);
        EXPECT_EQ(t.fakes.messages.Errors(), std::vector<std::string>{message});
        // Only a file that is there is worth the question; none of these opens.
        EXPECT_EQ(t.Questions().size(), std::string(path) == "/home/pat/notes.txt" ? 1u : 0u) << path;
        EXPECT_EQ(t.TapeLines(), before) << path;
        EXPECT_TRUE(t.machine.GetTape().Dirty()) << path;
        EXPECT_EQ(t.machine.Title(), "the Quillbox");
        EXPECT_TRUE(t.machine.Document().LastTapeFile().empty());
    }
}

}  // namespace
