#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "fakes/TestMachine.h"
#include "window/KeyCodes.h"
#include "window/MenuModel.h"
#include "window/Zoom.h"

using namespace qb;
using namespace qb::test;

namespace {

// A 1280 by 1024 pixel screen at 15 twips a pixel, and the expanded window's outer size.
constexpr long kScreenW = 19200, kScreenH = 15360, kExpandedW = 8475, kExpandedH = 5910;

// The window shown on that screen, on a run that is not the first.
struct Windowed : TestMachine {
    // told: what the shell tells of the screen and the window besides, before the first activation.
    explicit Windowed(std::map<std::string, std::string> stored = {}, const std::function<void(Machine&)>& told = {})
        : TestMachine(Placed(std::move(stored)), false) {
        machine.SetScreen(kScreenW, kScreenH);
        machine.SetExpandedSize(kExpandedW, kExpandedH);
        if (told) told(machine);
        machine.Load();
        machine.FirstActivation();
    }
    static std::map<std::string, std::string> Placed(std::map<std::string, std::string> stored) {
        stored.emplace("Auto Decimal", "False");  // not a first run
        return stored;
    }
    const Layout::Geometry& G() const { return machine.Window().WindowGeometry(); }
    // Where the window stands, left and top.
    std::pair<long, long> At() const { return {G().left, G().top}; }
};

// While About is open the window steps aside, and comes back where it stood; Exit asks the
// window to close.
TEST(Window, AboutStepsAsideAndExitAsksToClose) {
    Windowed t;
    t.machine.WindowMoved(3000, 2000);
    t.machine.BeginAbout();
    EXPECT_NE(t.At(), (std::pair<long, long>{3000, 2000}));
    t.machine.EndAbout();
    EXPECT_EQ(t.At(), (std::pair<long, long>{3000, 2000}));
    EXPECT_FALSE(t.machine.Window().CloseRequested());
    t.machine.Run(Command::Exit);
    EXPECT_TRUE(t.machine.Window().CloseRequested());
}

TEST(Collapse, TheSmallWindowOpensAtTheLargeWindowsCornerAndComesBack) {
    Windowed t;
    const std::pair<long, long> expanded{(kScreenW - kExpandedW) / 2, (kScreenH - kExpandedH) / 2};
    EXPECT_EQ(t.At(), expanded);

    t.machine.Key(vk::F11, 0, 0);
    EXPECT_TRUE(t.machine.Window().Collapsed());
    EXPECT_EQ(t.machine.Title(), "tQB 1999");
    EXPECT_EQ(t.At(), expanded);
    EXPECT_EQ(t.G().width, 2335);
    EXPECT_EQ(t.G().height, 4440);
    EXPECT_TRUE(t.machine.Window().MenuVisible("mnuFIFile"));
    EXPECT_FALSE(t.machine.Window().MenuVisible("mnuHPHelp"));

    t.machine.WindowMoved(300, 200);
    t.machine.Key(vk::Escape, 0, 27);
    EXPECT_FALSE(t.machine.Window().Collapsed());
    EXPECT_EQ(t.machine.Title(), "the Quillbox");
    EXPECT_EQ(t.G().left, expanded.first);  // always centred
    EXPECT_EQ(t.G().width, kExpandedW);

    t.machine.WindowMoved(10, 10);
    t.machine.Key(vk::F11, 0, 0);
    EXPECT_EQ(t.At(), std::pair(300L, 200L));  // where the small window was last
    t.machine.WindowMoved(40, 0);  // dragged to the very top: not remembered
    t.machine.Key(vk::F11, 0, 0);
    t.machine.WindowMoved(77, 88);
    t.machine.Key(vk::F11, 0, 0);
    EXPECT_EQ(t.At(), std::pair(77L, 88L));
}

// A large zoom on a small screen: the window starts at the screen's edge it does not fit, and
// the collapsed window that takes its corner is on the screen too.
TEST(Collapse, AWindowLargerThanTheScreenStartsAtItsEdge) {
    struct Case {
        const char* what;
        long width, height, left, top;
    };
    const Case cases[] = {
        {"too wide", kScreenW + 6000, kExpandedH, 0, (kScreenH - kExpandedH) / 2},
        {"too tall", kExpandedW, kScreenH + 10, (kScreenW - kExpandedW) / 2, 0},
        {"too large", kExpandedW * 3, kExpandedH * 3, 0, 0},
    };
    for (const Case& c : cases) {
        Windowed t;
        t.machine.SetExpandedSize(c.width, c.height);
        EXPECT_EQ(t.At(), std::pair(c.left, c.top)) << c.what;
        t.machine.Key(vk::F11, 0, 0);
        EXPECT_EQ(t.G().left, c.left) << c.what;
        t.machine.Key(vk::F11, 0, 0);
        EXPECT_EQ(t.At(), std::pair(c.left, c.top)) << c.what;
    }
}

TEST(Collapse, CollapsedKeysEmulateTheHiddenMenus) {
    Windowed t;
    t.machine.Key(vk::F11, 0, 0);
    t.Press("7+");
    t.machine.Key(vk::F1, vk::CtrlState, 0);
    EXPECT_EQ(t.Calc().DecimalPlaces(), 1);
    t.machine.Key(vk::F5, 0, 0);
    EXPECT_DOUBLE_EQ(t.machine.Memory().Value(), 7);
    t.machine.Key(99, vk::CtrlState, 0);  // Ctrl with the keypad 3 does nothing
    t.machine.Key(vk::F6, vk::CtrlState, 0);  // nor with a function key past the places'
    EXPECT_EQ(t.Calc().DecimalPlaces(), 1);
    EXPECT_FALSE(t.machine.GetOptions().AutoDecimal);
    t.machine.Key(vk::F3, vk::CtrlState | vk::ShiftState, 0);  // Find Previous is no Clear Subtotal here
    t.machine.Key(vk::F5, vk::AltState, 0);
    EXPECT_EQ(t.State().Subtotal, 7);
    EXPECT_DOUBLE_EQ(t.machine.Memory().Value(), 7);
    t.machine.Key(vk::M, vk::CtrlState, '\r');  // recalls, and its carriage return runs nothing
    EXPECT_EQ(t.Display(), "7.");
    EXPECT_EQ(t.TapeLines().size(), 2u);
    // Escape expands the window; a second one leaves it so.
    t.machine.Key(vk::Escape, 0, 27);
    t.machine.Key(vk::Escape, 0, 27);
    EXPECT_FALSE(t.machine.Window().Collapsed());
}

// A stored collapsed window comes back where it was, or whole on the screen when that is off
// it: within the work area, at the size it is drawn when that is larger than its design.
TEST(Collapse, AStoredCollapsedWindowIsRestoredOnTheScreen) {
    constexpr long kPanel = 600;  // a desktop panel along the bottom
    struct Case {
        const char *left, *top;
        long wantLeft, wantTop;
        long drawnW = 0, drawnH = 0, workW = 0, workH = 0, workLeft = 0, workTop = 0;
    };
    const Case cases[] = {
        {"1500", "900", 1500, 900}, {"49E90", "-5", kScreenW - 2335, 0}, {"x", "1E400", 0, 0},
        {"30000", "20000", kScreenW - 2335, kScreenH - 4440},
        {"30000", "20000", kScreenW - 4000, kScreenH - kPanel - 7000, 4000, 7000, kScreenW, kScreenH - kPanel},
        {"30000", "20000", kScreenW - 2335, kScreenH - 4440, 2000, 4000},
        {"1500", "900", 1500, 900, 4000, 7000, kScreenW, kScreenH - kPanel},
        // Panels along the top and the left: the work area starts past them.
        {"-5000", "-5000", 0, kPanel, 4000, 7000, kScreenW, kScreenH - kPanel, 0, kPanel},
        {"-5", "30000", kPanel, kScreenH - 7000, 4000, 7000, kScreenW - kPanel, kScreenH, kPanel, 0},
        {"30000", "900", kScreenW - 4000, 900, 4000, 7000, kScreenW - kPanel, kScreenH, kPanel, 0},
        // Taller than the work area: its corner at the work area's.
        {"30000", "30000", kScreenW - 4000, kPanel, 4000, kScreenH, kScreenW, kScreenH - kPanel, 0, kPanel},
    };
    for (const auto& [left, top, wantLeft, wantTop, drawnW, drawnH, workW, workH, workLeft, workTop] : cases) {
        Windowed t({{"Last Mode", "True"}, {"Last Left", left}, {"Last Top", top}}, [&](Machine& m) {
            m.SetCollapsedSize(drawnW, drawnH);
            m.SetWorkArea(workW, workH, workLeft, workTop);
        });
        EXPECT_TRUE(t.machine.Window().Collapsed());
        EXPECT_EQ(t.At(), std::pair(wantLeft, wantTop)) << left << ", " << top;
        t.machine.Unload(t.G().left, t.G().top);
        EXPECT_EQ(t.fakes.settings.values["Last Mode"], "True");
        EXPECT_EQ(t.fakes.settings.values["Last Left"], std::to_string(wantLeft));
        EXPECT_EQ(t.fakes.settings.values["Last Top"], std::to_string(wantTop));
    }
}

// The collapsed window's size as first drawn brings a restored window further in, once: a place
// the user then gives it is left alone.
TEST(Collapse, TheSizeAsFirstDrawnPullsARestoredWindowInOnce) {
    Windowed t({{"Last Mode", "True"}, {"Last Left", "99999"}, {"Last Top", "99999"}});
    EXPECT_EQ(t.At(), std::pair(kScreenW - 2335, kScreenH - 4440));
    t.machine.SetCollapsedSize(3000, 5000);
    EXPECT_EQ(t.At(), std::pair(kScreenW - 3000, kScreenH - 5000));
    t.machine.WindowMoved(kScreenW - 1000, 20);
    t.machine.SetCollapsedSize(3000, 5000);
    EXPECT_EQ(t.At(), std::pair(kScreenW - 1000, 20L));
    // Nor is an expanded window, or one collapsed by the user, pulled.
    Windowed expanded;
    expanded.machine.WindowMoved(kScreenW - 1000, 20);
    expanded.machine.SetCollapsedSize(3000, 5000);
    EXPECT_EQ(expanded.At(), std::pair(kScreenW - 1000, 20L));
    // Expanded again, the window starts expanded next time.
    t.machine.Key(vk::Escape, 0, 27);
    t.machine.Unload(0, 0);
    EXPECT_EQ(t.fakes.settings.values["Last Mode"], "False");
}

TEST(Copy, ChoicesAndTheClipboardText) {
    struct Case {
        const char* keys;
        std::int64_t select;
        std::optional<char> choice;
        std::optional<std::string> clipboard;
        const char* message;
        bool toldOff = false;  // Display Value Copied turned off
        const char* note = nullptr;  // written after the keys
    };
    const Case cases[] = {
        {"1234.+", -1, 'L', "1234.00", "1234.00 copied to the Clipboard"},
        {"5+", -1, 'L', "5.00", "", true},
        {"-7+", -1, 'L', "-7.00", "-7.00 copied to the Clipboard"},
        {"3+4+", 1, 'S', "3.00", "3.00 copied to the Clipboard"},
        {"5+", -1, 'W', " " + std::string(15, ' ') + "0 =\r\n" + std::string(12, ' ') + "5.00 +\r\n", ""},
        // A note's lines as the tape shows them, whatever they say of how they go on.
        {"5+", -1, 'W',
         " " + std::string(15, ' ') + "0 =\r\n" + std::string(12, ' ') + "5.00 +\r\nSupercalifragili \"\r\nsticexpialidocio \"\r\nus" +
             std::string(15, ' ') + "\"\r\n",
         "", false, "Supercalifragilisticexpialidocious"},
        {"5+", -1, std::nullopt, std::nullopt, ""},
        {"1234567890.12+", -1, 'L', std::nullopt, ""},
    };
    for (const auto& c : cases) {
        TestMachine t;
        if (c.toldOff) t.machine.Run(Command::DisplayValueCopied);
        t.Press(c.keys);
        if (c.note) {
            t.fakes.dialogs.notes.push_back(c.note);
            t.machine.Run(Command::Note);
        }
        if (c.select >= 0) t.machine.TapeClicked(c.select);
        t.fakes.dialogs.copyChoices.push_back(c.choice);
        t.machine.Key(vk::C, vk::CtrlState, 3);
        EXPECT_EQ(t.fakes.dialogs.copyOffers.back(), c.select >= 0) << c.keys;
        EXPECT_EQ(t.fakes.clipboard.text, c.clipboard) << c.keys;
        std::string shown;
        for (const auto& m : t.fakes.messages.shown)
            if (m.title == "tQB 1999") shown = m.text;
        EXPECT_EQ(shown, c.message) << c.keys;
        if (c.toldOff) { EXPECT_TRUE(t.fakes.messages.shown.empty()) << c.keys; }
        EXPECT_EQ(t.machine.GetTape().ListIndex(), c.select) << c.keys;
    }
}

// Options leave the shortcut-key panels showing, but for the two that change how a number is keyed
// or shown; any other command hides them, and so does opening any menu but Help.
TEST(ShortcutKeys, OptionsAndTheHelpMenuLeaveThePanelsShowing) {
    for (const auto& [command, stays] : {std::pair{Command::MachineSounds, true}, {Command::RoundBeforeOperation, true},
                                         {Command::AutoDecimal, false}, {Command::CommaSeparator, false},
                                         {Command::Digit5, false}}) {
        TestMachine t;
        t.machine.Run(Command::ShortcutKeys);
        t.machine.Run(command);
        EXPECT_EQ(t.machine.Window().ShortcutPanelVisible(1), stays) << static_cast<int>(command);
    }
    for (const Menu& menu : MainMenus()) {
        for (int panel : {1, 2}) {
            TestMachine t;
            for (int press = 0; press < panel; ++press) t.machine.Run(Command::ShortcutKeys);
            t.machine.MenuOpened(menu.name);
            const bool help = menu.name == "mnuHPHelp";
            EXPECT_EQ(t.machine.Window().ShortcutPanelVisible(panel), help) << menu.name;
            EXPECT_EQ(t.machine.Window().TapeVisible(), !help) << menu.name;
        }
    }
}

// Ctrl+T turns the one tooltip switch in the guide, unless a timed event is paused, and in any
// dialog, answered or cancelled; the switch is kept for the next start.
TEST(UserGuideTooltips, CtrlTTurnsTheOneSwitchInTheGuideAndInDialogs) {
    TestMachine t;
    ASSERT_TRUE(t.machine.IsChecked(Command::ShowTooltips));
    t.machine.Run(Command::ShowTooltips);  // turned off in the main window while the guide is open
    EXPECT_EQ(t.machine.ToggleTooltipsInUserGuide(), std::optional<bool>(true));
    EXPECT_TRUE(t.machine.IsChecked(Command::ShowTooltips));
    EXPECT_EQ(t.fakes.settings.values["Tooltips"], "True");

    t.machine.Event().active = true;
    t.machine.Event().paused = true;
    EXPECT_EQ(t.machine.ToggleTooltipsInUserGuide(), std::nullopt);
    EXPECT_TRUE(t.machine.IsChecked(Command::ShowTooltips));
    EXPECT_EQ(t.fakes.messages.Errors().size(), 1u);

    for (const Command command : {Command::NewCaption, Command::Copy, Command::TimedEvent, Command::CorrectLine,
                                  Command::InsertLine, Command::Note, Command::TaxRates, Command::Find}) {
        for (const bool answered : {false, true}) {
            TestMachine d;
            d.Press("5+");
            d.machine.TapeClicked(1);
            d.machine.GetTape().SetDirty(false);  // a timed event asks for nothing first
            d.fakes.dialogs.ctrlT = true;
            if (answered) {
                d.fakes.dialogs.corrections.push_back(CorrectLineForm{"6", '+'});
                d.fakes.dialogs.captions.push_back("March");
                d.fakes.dialogs.notes.push_back("rent");
                d.fakes.dialogs.finds.push_back("5");
            }
            d.machine.Run(command);
            EXPECT_FALSE(d.machine.IsChecked(Command::ShowTooltips)) << static_cast<int>(command);
            EXPECT_EQ(d.fakes.settings.values["Tooltips"], "False") << static_cast<int>(command);
        }
    }
}

TEST(Zoom, AStoredPercentageCountsOnlyWithinTheRange) {
    struct Case {
        const char* stored;
        int percent;
    };
    const Case cases[] = {{"", 100},    {"150", 150}, {"300", 300}, {"301", 100}, {"99", 100},
                          {"-150", 100}, {"150%", 100}, {" 150", 100}, {"abc", 100}, {"99999999999", 100}};
    for (const Case& c : cases) EXPECT_EQ(Zoom::Parse(c.stored), c.percent) << '"' << c.stored << '"';
}

// Zoom In grows the window only while it still fits the part of the screen windows may take; the
// step that would not fit is refused with a beep. A zoom kept from a larger screen opens the window
// at the largest step that fits this one, and the setting keeps the user's zoom for the larger
// screen until the user zooms again. Zoom Out and Ctrl+0 step down and back; none of the keys
// touches the calculator or the tape.
TEST(Zoom, TheKeysZoomOnlyAsFarAsTheWorkAreaHolds) {
    struct Case {
        const char* stored;
        long workW, workH;
        int shown, largest, beeps;  // the zoom as opened; after ten presses of Zoom In
    };
    const Case cases[] = {
        {"300", kScreenW, kScreenH, 225, 225, 10},  // the width runs out first
        {"", kScreenW, kScreenH, 100, 225, 5},
        {"300", kScreenW, 12000, 200, 200, 10},  // a panel takes a good part of the height
        {"250", 8000, 5000, 100, 100, 10},       // smaller than the designed window: no step fits
        {"200", kScreenW, kScreenH, 200, 225, 9},               // it fits: as stored
        {"300", kExpandedW * 2, kExpandedH * 2, 200, 200, 10},  // the work area's very size fits
        {"", 100000, 100000, 100, 300, 0},  // room for every step: the range ends it, silently
        {"300", 0, 0, 300, 300, 0},         // no work area known: no limit
        {"275", 0, 0, 275, 300, 0},         // off the steps: the next step up is the largest
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << '"' << c.stored << "\" on " << c.workW << " x " << c.workH);
        Windowed t(std::map<std::string, std::string>{{"Zoom", c.stored}});
        t.machine.SetWorkArea(c.workW, c.workH);
        const int stored = t.machine.Window().ZoomPercent();
        t.machine.SetExpandedSize(kExpandedW * stored / 100, kExpandedH * stored / 100);  // drawn at the zoom in force
        EXPECT_EQ(t.machine.Window().ZoomPercent(), c.shown);
        // Told again before the window is drawn anew, the old size is not taken for the new zoom's.
        t.machine.SetExpandedSize(kExpandedW * stored / 100 + 60, kExpandedH * stored / 100 + 60, stored);
        EXPECT_EQ(t.machine.Window().ZoomPercent(), c.shown);
        EXPECT_EQ(t.fakes.settings.values["Zoom"], c.stored);
        for (int press = 0; press < 10; ++press) {
            // The window is drawn again at the zoom, and tells its new size.
            const int percent = t.machine.Window().ZoomPercent();
            t.machine.SetExpandedSize(kExpandedW * percent / 100, kExpandedH * percent / 100, percent);
            t.machine.Key(vk::OemPlus, vk::CtrlState, 0);
        }
        EXPECT_EQ(t.machine.Window().ZoomPercent(), c.largest);
        const std::string zoomed = c.largest == c.shown ? c.stored : std::to_string(c.largest);
        EXPECT_EQ(t.fakes.settings.values["Zoom"], zoomed);
        EXPECT_EQ(t.fakes.messages.beeps, c.beeps);
        EXPECT_EQ(t.machine.IsEnabled(Command::ZoomIn), c.largest < 300);
        EXPECT_EQ(t.machine.IsEnabled(Command::ZoomOut), c.largest > 100);
        // Zoom Out steps down from the zoom shown.
        t.machine.Key(vk::OemMinus, vk::CtrlState, 0);
        EXPECT_EQ(t.machine.Window().ZoomPercent(), std::max(100, c.largest - 25));
        t.machine.Key(vk::Key0, vk::CtrlState, 0);
        EXPECT_EQ(t.machine.Window().ZoomPercent(), 100);
        EXPECT_EQ(t.fakes.settings.values["Zoom"], "100");
        EXPECT_FALSE(t.machine.IsEnabled(Command::ZoomOut));
        EXPECT_EQ(t.Display(), "");
        EXPECT_EQ(t.TapeLines().size(), 1u);
    }
}

}  // namespace
