#include <gtest/gtest.h>

#include "fakes/FakePrinter.h"
#include "fakes/TestMachine.h"
#include "platform/ClockPort.h"
#include "timers/Stopwatch.h"
#include "window/KeyCodes.h"

using namespace qb;
using namespace qb::test;

namespace {

constexpr double kHour = 3600;

// The reading rounds to the nearest second, a half to even, and runs on past midnight. A pause
// keeps the reading: a resume counts on from it, however many hours it holds.
TEST(Stopwatch, Readings) {
    const std::tuple<double, double, bool, const char*> cases[] = {
        // start, now (seconds since midnight), then a pause and one second after a resume, reading
        {23 * kHour + 59 * 60 + 50, 5, false, "00:00:15"}, {100, 105.5, false, "00:00:06"},
        {100, 104.5, false, "00:00:04"},  {100, 106.5, false, "00:00:06"}, {10, 10.4, false, "00:00:00"},
        {0, 3725, false, "01:02:05"},     {0, 65, true, "00:01:06"},       {0, 3725, true, "01:02:06"},
        {0, 25 * kHour + 59, true, "25:01:00"},
    };
    for (const auto& [start, now, paused, reading] : cases) {
        Stopwatch s;
        s.Start(start);
        s.Tick(now);
        if (paused) {
            s.Pause();
            s.Resume(50000);
            s.Tick(50001);
        }
        EXPECT_EQ(s.ItemCaption(), reading) << start << " to " << now << (paused ? " and on" : "");
    }
}

struct Clocked : TestMachine {
    const Stopwatch& Watch() const { return machine.GetTimers().GetStopwatch(); }
    void At(double seconds) { fakes.clock.now = seconds; }
    void Tick(double seconds) {
        At(seconds);
        machine.StopwatchTick();
    }
};

// F2 starts the stopwatch and stops it with the reading at the stop; a new tape hides the
// reading while the run goes on, and no timed event starts during it.
TEST(StopwatchCommand, StartStopAndTheElapsedMessage) {
    Clocked t;
    t.At(1000);
    t.machine.Key(vk::F2, 0, 0);
    EXPECT_TRUE(t.Watch().ItemVisible());
    t.machine.Run(Command::TimedEvent);  // refused while the stopwatch runs
    EXPECT_EQ(t.fakes.messages.Errors(),
              std::vector<std::string>{"The stopwatch is active ... unable to start a timed event!"});
    EXPECT_TRUE(t.fakes.dialogs.eventFormsShown.empty());
    t.Tick(1066);
    t.machine.Run(Command::NewTape);
    EXPECT_FALSE(t.Watch().ItemVisible());
    EXPECT_TRUE(t.Watch().TimerOn());
    t.Tick(1067);
    EXPECT_TRUE(t.Watch().ItemVisible());
    EXPECT_EQ(t.Watch().ItemCaption(), "00:01:07");
    t.At(1070);  // stopped between two ticks: read at the stop
    t.machine.Key(vk::Left, 0, 0);  // the Left arrow is the same command
    EXPECT_FALSE(t.Watch().ItemVisible());
    EXPECT_FALSE(t.Watch().TimerOn());
    ASSERT_EQ(t.fakes.messages.shown.size(), 2u);
    EXPECT_EQ(t.fakes.messages.shown[1].title, "Stopwatch");
    EXPECT_EQ(t.fakes.messages.shown[1].text, "Elapsed time ... 00:01:10");
    // The reading goes into the tape file.
    t.machine.Run(Command::PromptFileCaption);
    t.fakes.dialogs.files.push_back("/tmp/timed");
    t.machine.Run(Command::SaveAs);
    EXPECT_NE(t.fakes.files.files["/tmp/timed.QBX"].find("SPC=0\r\nTEV=00:01:10\r\n"), std::string::npos);
}

TimedEventForm Form(const char* name, const char* date, const char* event, int color = 3) {
    return TimedEventForm{name, date, event, color};
}

TEST(TimedEventSetup, BeginChecksTheBoxesInOrder) {
    const std::tuple<TimedEventForm, const char*, const char*> cases[] = {
        {Form("", "", ""), "A name is required", ""},     {Form("   ", "", ""), "", ""},
        {Form("Pat 2", "", ""), "The Name may contain letters only", ""},
        {Form("Ren\xE9", "", ""), "The Name may contain letters only", ""},
        {Form("Pat", "7/4/99", "Audit"), "", "7/4/1999"}, {Form("Pat", "not a date", ""), "The Date is not valid", ""},
        {Form("Pat", "", "Audit, part 2"), "The Event may contain numbers and letters only", ""},
        {Form("Pat", "", "Audit 10"), "", ""},
    };
    for (const auto& [form, problem, date] : cases) {
        FakeClockPort clock;
        TimedEventRules rules(clock);
        TimedEventForm f = form;
        auto found = rules.Check(f);
        EXPECT_EQ(found ? found->message : std::string(), problem) << form.name << "|" << form.date;
        if (!found) {
            EXPECT_EQ(f.date, date) << form.date;
        }
    }
}

// A whole event: F9 begins it on today's date. F12 pauses it only in the collapsed window, where it
// is also the Clear Entry Box shortcut; while paused the window stays open and every other key is
// refused, and the paused time is not counted. Its end saves the tape under the event's name.
TEST(TimedEvent, AWholeEventWithPauseEndsWithASaveUnderItsName) {
    Clocked t;
    t.At(1000);
    t.fakes.dialogs.eventForms.push_back(Form("Pat", "7/4/99", "Audit", 5));
    t.machine.Key(vk::F9, 0, 0);
    ASSERT_TRUE(t.machine.Event().active);
    EXPECT_EQ(t.fakes.dialogs.eventFormsShown[0].date, "12/6/2026");  // today when none is kept
    EXPECT_EQ(t.fakes.dialogs.eventFormsShown[0].colorIndex, 7);
    EXPECT_EQ(t.machine.GetTimers().DisplayBackground(), 0xC0C0FFu);
    // In the expanded window F12 is the Clear Entry Box shortcut and goes no further.
    t.machine.Key(vk::F12, 0, 0);
    EXPECT_FALSE(t.machine.Event().paused);
    EXPECT_FALSE(t.machine.GetOptions().ClearEntryBox);
    t.machine.Key(vk::F12, 0, 0);
    t.machine.Key(vk::F11, 0, 0);
    ASSERT_TRUE(t.machine.Window().Collapsed());
    t.Tick(1000 + 12 * 60 + 40);

    // The first F12 toggles Clear Entry Box and pauses the event.
    t.machine.Key(vk::F12, 0, 0);
    EXPECT_FALSE(t.machine.GetOptions().ClearEntryBox);
    EXPECT_FALSE(t.Watch().TimerOn());
    EXPECT_EQ(t.Watch().ItemCaption(), "00:12:40 Paused");
    t.At(1000 + 17 * 60 + 40);
    t.machine.Run(Command::WelcomeMessage);  // not guarded
    EXPECT_EQ(t.fakes.messages.shown.back().title, "the Quillbox");
    EXPECT_FALSE(t.machine.QueryClose());
    t.machine.Key(vk::Key5, 0, '5');
    EXPECT_EQ(t.fakes.messages.Errors(),
              (std::vector<std::string>{"Press F12 to turn the timer back on!", "Press F12 to turn the timer back on!"}));
    EXPECT_EQ(t.Display(), "");

    // The second only resumes.
    t.machine.Key(vk::F12, 0, 0);
    EXPECT_FALSE(t.machine.GetOptions().ClearEntryBox);
    t.Tick(1000 + 17 * 60 + 41);
    EXPECT_EQ(t.Watch().ItemCaption(), "00:12:41");
    t.machine.Key(vk::Key5, 0, '5');
    EXPECT_EQ(t.Display(), "5");

    t.AnswerSaveAs("/home/pat/Pat 07_04_1999 Audit");
    t.machine.Key(vk::Left, 0, 0);
    EXPECT_FALSE(t.machine.Event().active);
    EXPECT_EQ(t.fakes.dialogs.fileRequests.back().initialName, "./Pat 07_04_1999 Audit");
    EXPECT_NE(t.fakes.files.files["/home/pat/Pat 07_04_1999 Audit.QBX"].find("TEV=00:12:41"), std::string::npos);
    EXPECT_EQ(t.machine.GetTimers().DisplayBackground(), 0xFFFFFFu);
    EXPECT_EQ(t.Watch().ElapsedTime, "");
    EXPECT_FALSE(t.Watch().ItemVisible());
}

TEST(TimedEvent, ACancelledSetUpChangesNothingAndTheLastValuesComeBack) {
    Clocked t;
    t.machine.Run(Command::TimedEvent);  // cancelled: the next one begins
    t.fakes.dialogs.eventForms.push_back(Form("Dez Ide", "", "", 0));
    t.machine.Run(Command::TimedEvent);
    ASSERT_TRUE(t.machine.Event().active);
    t.machine.Run(Command::TimedEvent);  // the same command ends it: the next one asks again
    t.machine.Run(Command::TimedEvent);
    const TimedEventForm& shown = t.fakes.dialogs.eventFormsShown.back();
    EXPECT_EQ(shown.name, "Dez Ide");
    EXPECT_EQ(shown.date, "12/6/2026");
    EXPECT_EQ(shown.colorIndex, 7);  // colour 0 comes back as 7
}

TEST(TimedEvent, PrintingEndsItWithoutASaveAndHeadsTheTape) {
    Clocked t;
    FakePrinter printer;
    t.fakes.dialogs.printer = &printer;
    t.At(0);
    t.fakes.dialogs.eventForms.push_back(Form("Dez Ide", "7/4/1999", "Audit"));
    t.machine.Run(Command::TimedEvent);
    t.Tick(3725);
    t.fakes.dialogs.captions.push_back("");
    t.fakes.dialogs.printerAnswers.push_back(1);
    t.machine.Run(Command::Print);
    EXPECT_FALSE(t.machine.Event().active);
    EXPECT_EQ(t.fakes.files.writes, 0);
    ASSERT_EQ(printer.jobs.size(), 1u);
    EXPECT_EQ(FakePrinter::Texts(printer.jobs[0][0])[0], "Timed event: Dez Ide 7/4/1999 Audit 01:02:05");
}

TEST(TimedEvent, ClosingTheWindowSavesAndClosesEvenWhenTheSaveIsCancelled) {
    Clocked t;
    t.fakes.dialogs.eventForms.push_back(Form("Pat", "", ""));
    t.machine.Run(Command::TimedEvent);
    EXPECT_TRUE(t.machine.QueryClose());
    EXPECT_FALSE(t.machine.Event().active);
    EXPECT_EQ(t.fakes.dialogs.captionPrompts.size(), 1u);  // the Save As of the event's end
}

// The clock's own reading of a moment, for a port without the user's locale: m/d/yyyy and the
// time of day in UTC, on the proleptic Gregorian calendar.
struct PlainClock : qb::ClockPort {
    double SecondsSinceMidnight() override { return 0; }
    std::string Today() override { return {}; }
    std::optional<std::string> ParseDate(const std::string&) override { return std::nullopt; }
};

TEST(Clock, ShowsMomentsAsTheCalendarHasThem) {
    const std::pair<std::int64_t, const char*> cases[] = {
        {-60, "12/31/1969 23:59 UTC"},          // before the epoch: the day before, not a negative time
        {951782400, "2/29/2000 00:00 UTC"},     // a leap day in a year divisible by 400
        {1706745600 + 3723, "2/1/2024 01:02 UTC"},  // January and February count to the year they are in
        {4107542400, "3/1/2100 00:00 UTC"},     // 2100 is no leap year
        {1711843200, "3/31/2024 00:00 UTC"},    // the last day of a long month
        {-62167219200, "1/1/0 00:00 UTC"},      // a moment from a damaged record, before the calendar's first era
    };
    PlainClock clock;
    for (const auto& [seconds, shown] : cases) EXPECT_EQ(clock.ShowDateTime(seconds), shown) << seconds;
}

}  // namespace
