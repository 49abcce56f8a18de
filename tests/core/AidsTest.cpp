#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "aids/SoundQueue.h"
#include "aids/Tooltips.h"
#include "fakes/TestMachine.h"
#include "guide/TopicList.h"
#include "platform/AudioPort.h"
#include "window/KeyCodes.h"
#include "window/MenuModel.h"

using namespace qb;
using namespace qb::test;

namespace {

// The menu items of correction and undo name their keys in their tooltips.
TEST(Tooltips, MenuItemsNameTheirKeys) {
    int named = 0;
    for (const Menu& menu : MainMenus()) {
        for (const MenuItem& item : menu.items) {
            if (item.command != Command::CorrectLine && item.command != Command::Undo && item.command != Command::Redo)
                continue;
            const std::string tip = TooltipOf(MenuItemTooltips(), item.name);
            EXPECT_NE(tip.find(ShortcutText(item.shortcut)), std::string::npos) << item.name << ": " << tip;
            ++named;
        }
    }
    EXPECT_EQ(named, 3);
    // Each of the two shortcut-key panels' fifteen keys has one; there is no thirty-first.
    EXPECT_FALSE(TooltipOf(MainWindowTooltips(), "lblKey(29)").empty());
    EXPECT_TRUE(TooltipOf(MainWindowTooltips(), "lblKey(30)").empty());
}

TEST(ShortcutPanels, ShiftF1PagesAndAnyCommandBringsTheTapeBack) {
    TestMachine t;
    const std::vector<std::pair<bool, bool>> expected = {{true, false}, {false, true}, {true, false}};
    for (const auto& [first, second] : expected) {
        t.machine.Key(vk::F1, vk::ShiftState, 0);
        EXPECT_EQ(t.machine.Window().ShortcutPanelVisible(1), first);
        EXPECT_EQ(t.machine.Window().ShortcutPanelVisible(2), second);
        EXPECT_FALSE(t.machine.Window().TapeVisible());
    }
    t.machine.Key(16, vk::ShiftState, 0);  // Shift alone keeps them
    EXPECT_TRUE(t.machine.Window().ShortcutPanelVisible(1));
    t.machine.Key(53, 0, '5');
    EXPECT_FALSE(t.machine.Window().ShortcutPanelVisible(1));
    EXPECT_TRUE(t.machine.Window().TapeVisible());
    EXPECT_EQ(ShortcutPanelLabels(1).size(), 15u);
    EXPECT_EQ(ShortcutPanelLabels(2).back(), "Previous List << Shift+F1");
    // They show while a timed event is paused too.
    t.machine.Event().active = t.machine.Event().paused = true;
    t.machine.Run(Command::ShortcutKeys);
    EXPECT_TRUE(t.machine.Window().ShortcutPanelVisible(1));
    EXPECT_TRUE(t.fakes.messages.Errors().empty());
}

TEST(TopicList, SortedListAndOpeningTopic) {
    const std::tuple<std::vector<std::string>, std::vector<std::string>, std::string, std::string> cases[] = {
        {{"UG Zebra.rtf", "UG apple.rtf", "UG Benefits.rtf", "notes.rtf"}, {"apple", "Benefits", "Zebra"}, "Benefits",
         ""},
        {{"UG Benefits.RTF"}, {"Benefits"}, "Benefits", ""},
        {{"ug benefits.rtf", "UG Zoo.rtf"}, {"benefits", "Zoo"}, "benefits", ""},
        {{"UG Your Own Topic.rtf", "UG Basics.rtf"}, {"Basics", "Your Own Topic"}, "Basics", TopicList::kOwnTopicTip},
        {{"UG Your Own Topic.rtf", "UG Zoo.rtf"}, {"Your Own Topic", "Zoo"}, "Your Own Topic", TopicList::kOwnTopicTip},
        {{"readme.txt", "UG .rtf"}, {TopicList::kNoTopics}, TopicList::kNoTopics, ""},
        // Names that differ in letter case alone keep the folder's order.
        {{"UG memory.rtf", "UG Apple.rtf", "UG MEMORY.rtf"}, {"Apple", "memory", "MEMORY"}, "Apple", ""},
    };
    TopicList list;  // built again for each row: nothing of the last list stays
    for (const auto& [files, entries, opening, tip] : cases) {
        list.Build(files);
        EXPECT_EQ(list.Entries(), entries);
        EXPECT_EQ(list.SelectedTopic(), opening);
        EXPECT_EQ(list.ViewerTooltip(), tip);
        const std::string path = list.SelectedPath();  // the file of the opening topic
        EXPECT_TRUE(opening == TopicList::kNoTopics ? path.empty() : path.find(opening + ".") != std::string::npos) << path;
    }
}

// A letter moves to the next topic it begins, wrapping round; it says whether the selection moved.
// A letter is a whole character: U+0905 and U+0906 share their first two bytes.
// The walking buttons move through the list and are enabled only where they lead somewhere.
TEST(TopicList, WalkingAndButtons) {
    using B = TopicList::Button;
    TopicList three;
    three.Build({"UG A.rtf", "UG B.rtf", "UG C.rtf"});
    EXPECT_TRUE(three.ButtonEnabled(B::First) && three.ButtonEnabled(B::Previous));  // as opened, every button is on
    const std::tuple<B, bool, int> walks[] = {{B::Last, true, 2},  {B::Next, false, 2},     {B::Last, false, 2},
                                              {B::Previous, true, 1}, {B::Next, true, 2},  {B::First, true, 0},
                                              {B::Previous, false, 0}, {B::First, false, 0}};
    for (const auto& [button, moved, selected] : walks) {
        EXPECT_EQ(three.Walk(button), moved) << static_cast<int>(button);
        EXPECT_EQ(three.Selected(), selected) << static_cast<int>(button);
    }
    EXPECT_FALSE(three.ButtonEnabled(B::First));
    EXPECT_TRUE(three.ButtonEnabled(B::Next));
    three.Select(1);
    EXPECT_TRUE(three.ButtonEnabled(B::First) && three.ButtonEnabled(B::Last));
    three.Select(2);
    EXPECT_FALSE(three.ButtonEnabled(B::Next));
}

TEST(TopicList, FirstLetterSearchWrapsRound) {
    struct Step {
        const char* letter;
        const char* topic;
        bool moved;
    };
    const std::pair<std::vector<std::string>, std::vector<Step>> lists[] = {
        {{"UG Benefits.rtf", "UG Budget.rtf", "UG Basics.rtf", "UG Memory.rtf"},
         {{"b", "Budget", true}, {"B", "Basics", true}, {"q", "Basics", false}, {"m", "Memory", true},
          {"M", "Memory", false}, {"\r", "Memory", false}, {"", "Memory", false}}},
        {{"UG \xE0\xA4\x85\xE0\xA4\x82\xE0\xA4\x95.rtf", "UG \xE0\xA4\x86\xE0\xA4\xAE.rtf"},
         {{"\xE0\xA4\x85", "\xE0\xA4\x85\xE0\xA4\x82\xE0\xA4\x95", false},
          {"\xE0\xA4\x86", "\xE0\xA4\x86\xE0\xA4\xAE", true}}},
        {{"UG Zoo.rtf", "UG \xC3\x89" "cu.rtf"}, {{"\xC3\x89", "\xC3\x89" "cu", true}}},  // a letter of two bytes
        // An alpha with a combining circumflex is a letter of its own, not an alpha.
        {{"UG \xCE\xB1y.rtf", "UG \xCE\xB1\xCD\x82x.rtf"},
         {{"\xCE\xB1", "\xCE\xB1y", false}, {"\xCE\xB1\xCD\x82", "\xCE\xB1\xCD\x82x", true}}},
        // Letters of four bytes, alike in their first three.
        {{"UG \xF0\x9D\x94\xB8lpha.rtf", "UG \xF0\x9D\x94\xB8rc.rtf", "UG \xF0\x9D\x94\xB9" "eta.rtf"},
         {{"\xF0\x9D\x94\xB9", "\xF0\x9D\x94\xB9" "eta", true}}},
    };
    for (const auto& [files, steps] : lists) {
        TopicList list;
        list.Build(files);
        for (const Step& step : steps) {
            EXPECT_EQ(list.TypeLetter(std::string_view(step.letter)), step.moved) << step.letter;
            EXPECT_EQ(list.SelectedTopic(), step.topic) << step.letter;
        }
    }
}

// A device whose sound lasts until the test lets it end; when it can tell, it says so.
class FakeAudio : public AudioPort {
public:
    bool Open(const std::string& p) override {
        path = p;
        return present;
    }
    bool Playing() override { return playing; }
    void Play() override {
        if (present) playing = true, ++plays;
    }
    void Rewind() override { ++rewinds; }
    void Close() override { ++closes; }
    void SetEndedHandler(std::function<void()> handler) override { ended = std::move(handler); }
    // The sound plays to its end.
    void End() {
        playing = false;
        if (tells && ended) ended();
    }
    bool present = true, playing = false, tells = true;
    int plays = 0, rewinds = 0, closes = 0;
    std::string path;
    std::function<void()> ended;
};

// The queue on a 310 ms sound, millisecond by millisecond: the status timer runs as the window
// runs it (started when the interval becomes 50, keeping its beat, stopped when it becomes 0),
// and each request comes at its time. Gives the times at which sounds started.
std::vector<int> SoundStarts(bool deviceTells, std::vector<int> requests) {
    constexpr int kLength = 310;
    FakeAudio audio;
    audio.tells = deviceTells;
    bool on = true;
    SoundQueue queue(audio, on);
    queue.Open("Quillbox.wav");
    std::vector<int> starts;
    int endsAt = -1, nextUpdate = -1, now = 0;
    auto afterEvent = [&] {
        if (audio.plays > static_cast<int>(starts.size())) starts.push_back(now), endsAt = now + kLength;
        if (queue.StatusInterval() > 0 && nextUpdate < 0) nextUpdate = now + queue.StatusInterval();
        if (queue.StatusInterval() == 0) nextUpdate = -1;
    };
    for (; now < 3000; ++now) {
        if (audio.playing && now == endsAt) audio.End(), afterEvent();
        for (int at : requests)
            if (at == now) queue.RequestSound(), afterEvent();
        if (now == nextUpdate) nextUpdate += SoundQueue::kStatusInterval, queue.StatusUpdate(), afterEvent();
    }
    EXPECT_EQ(queue.PendingSounds(), 0);
    EXPECT_EQ(queue.StatusInterval(), 0);
    EXPECT_EQ(audio.rewinds, audio.plays);
    return starts;
}

// One sound per request, whenever it comes; a request after a sound has ended plays at once when
// the device tells the end, else at the next status update.
TEST(SoundQueue, EveryRequestSoundsOnceInTurn) {
    struct Case {
        bool deviceTells;
        std::vector<int> requests, starts;
    };
    const Case cases[] = {
        {true, {0}, {0}},
        {true, {0, 330}, {0, 330}},  // after the end, before the next status update
        {true, {0, 310}, {0, 310}},  // in the same moment as the end
        {false, {0, 330}, {0, 350}},          {true, {0, 100, 200}, {0, 310, 620}},
        {false, {0, 100, 200}, {0, 350, 700}}, {true, {0, 100, 700}, {0, 310, 700}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SoundStarts(c.deviceTells, c.requests), c.starts)
            << (c.deviceTells ? "telling" : "silent") << " device, " << c.requests.size() << " requests";
}

// An end told twice, by the device and by a status update, counts once.
TEST(SoundQueue, AnEndIsCountedOnce) {
    FakeAudio audio;
    bool on = true;
    SoundQueue queue(audio, on);
    queue.Open("Quillbox.wav");
    queue.RequestSound();
    queue.RequestSound();
    audio.tells = false;
    audio.End();
    queue.StatusUpdate();  // the first sound is over: the second starts
    queue.SoundEnded();    // a late word about the first
    EXPECT_EQ(audio.plays, 2);
    EXPECT_EQ(queue.PendingSounds(), 1);
    EXPECT_EQ(queue.StatusInterval(), SoundQueue::kStatusInterval);
}

TEST(SoundQueue, OffAndMissingAreSilent) {
    FakeAudio audio;
    bool on = false;
    SoundQueue queue(audio, on);
    queue.RequestSound();
    EXPECT_EQ(queue.PendingSounds(), 0);
    audio.present = false;
    on = true;
    queue.Open("missing.wav");
    EXPECT_FALSE(queue.SoundReady());
    queue.RequestSound();
    queue.RequestSound();
    queue.StatusUpdate();
    queue.StatusUpdate();
    EXPECT_EQ(queue.PendingSounds(), 0);
    EXPECT_EQ(audio.plays, 0);
    queue.Close();
    EXPECT_EQ(audio.closes, 0);
}

}  // namespace
