// Long work reports its progress, and a Cancel leaves everything as it was before the command.
#include <gtest/gtest.h>

#include "fakes/TestMachine.h"

using namespace qb;
using namespace qb::test;

namespace {

enum class Work { Print, ExportPdf, Correct, Open };
const char* const kNames[] = {"print", "PDF export", "correction", "open"};

constexpr int kKeyedLines = 600;

TEST(Progress, LongWorkCanBeCancelledWithoutATrace) {
    // Each work, done and cancelled at the given step of its progress.
    const std::pair<Work, std::int64_t> works[] = {{Work::Print, Progress::kStride},
                                                   {Work::ExportPdf, Progress::kStride},
                                                   {Work::Correct, 2 * Progress::kStride},
                                                   {Work::Open, Progress::kStride}};
    std::string file = "QBX=\r\nACC=0\r\nOPR=+\r\nNEW=\r\nJPE=0\r\nSPC=0\r\n";
    for (int i = 0; i < 2 * kKeyedLines; ++i) file += "            7.00 +\r\n";
    std::string keys;
    for (int i = 0; i < kKeyedLines; ++i) keys += "1+";
    for (const auto& [work, step] : works) {
        for (const bool cancelled : {false, true}) {
            SCOPED_TRACE(std::string(kNames[static_cast<int>(work)]) + (cancelled ? " cancelled" : ""));
            TestMachine t;
            FakePrinter printer;
            t.fakes.dialogs.printer = &printer;
            t.machine.Run(Command::PromptPrintCaption);  // no caption prompt
            t.Press(keys);
            t.fakes.files.files["/t/tape.pdf"] = "earlier";
            const std::vector<std::string> before = t.TapeLines();
            if (cancelled) t.fakes.progress.cancelAt = step;
            t.fakes.messages.Reset();

            switch (work) {
            case Work::Print:
                t.fakes.dialogs.printerAnswers.push_back(2);
                t.machine.Run(Command::Print);
                EXPECT_EQ(printer.jobs.size(), cancelled ? 0u : 2u);
                break;
            case Work::ExportPdf:
                t.fakes.dialogs.files = {"/t/tape.pdf"};
                t.fakes.messages.answers.push_back(MessageAnswer::Yes);  // replace the earlier file
                t.machine.Run(Command::ExportPdf);
                EXPECT_EQ(t.fakes.files.files["/t/tape.pdf"] == "earlier", cancelled);
                break;
            case Work::Open:
                t.fakes.files.files["/t/long.QBX"] = file;
                t.fakes.dialogs.files = {"/t/long.QBX"};
                t.fakes.messages.answers.push_back(MessageAnswer::No);  // "Save the tape?"
                t.machine.Run(Command::Open);
                EXPECT_EQ(t.machine.Document().TapeFileName(), cancelled ? "" : "long");
                EXPECT_EQ(t.TapeLines().size(), cancelled ? before.size() : 2u * kKeyedLines);
                break;
            case Work::Correct:
                EXPECT_EQ(t.machine.CorrectLine(1, "2", '+'), !cancelled);
                break;
            }
            if (cancelled || work == Work::Print || work == Work::ExportPdf)
                EXPECT_EQ(t.TapeLines(), before);
            else
                EXPECT_NE(t.TapeLines(), before);
            EXPECT_TRUE(t.fakes.messages.Errors().empty());
            ASSERT_EQ(t.fakes.progress.begun.size(), 1u);
            EXPECT_GE(t.fakes.progress.begun[0].second, kKeyedLines);
            EXPECT_EQ(t.fakes.progress.ended, 1);
        }
    }
}

}  // namespace
