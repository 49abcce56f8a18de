#include <gtest/gtest.h>

#include "fakes/TestMachine.h"
#include "window/KeyCodes.h"
#include "window/Zoom.h"

using namespace qb;
using namespace qb::test;

TEST(Zoom, AStoredPercentageCountsOnlyWithinTheRange) {
    struct Case {
        const char* stored;
        int percent;
    };
    const Case cases[] = {{"", 100},    {"150", 150}, {"300", 300}, {"301", 100}, {"99", 100},
                          {"-150", 100}, {"150%", 100}, {" 150", 100}, {"abc", 100}, {"99999999999", 100}};
    for (const Case& c : cases) EXPECT_EQ(Zoom::Parse(c.stored), c.percent) << '"' << c.stored << '"';
}

TEST(Zoom, StepsStayOnTheGridAndWithinTheRange) {
    struct Case {
        int from, larger, smaller;
    };
    const Case cases[] = {{100, 125, 100}, {125, 150, 100}, {280, 300, 275}, {300, 300, 275}, {110, 125, 100}};
    for (const Case& c : cases) {
        EXPECT_EQ(Zoom::Larger(c.from), c.larger) << c.from;
        EXPECT_EQ(Zoom::Smaller(c.from), c.smaller) << c.from;
    }
}

TEST(Zoom, TheScaleFollowsTheDesktopFontAndTheZoom) {
    struct Case {
        double desktopPoints;
        int percent;
        double scale;
    };
    const Case cases[] = {{8, 100, 1.0}, {16, 100, 2.0}, {12, 150, 2.25}, {6, 100, 1.0}, {0, 200, 2.0}, {8, 900, 3.0}};
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(Zoom::Scale(c.desktopPoints, c.percent), c.scale);
}

TEST(Zoom, TheOptionsKeysZoomAndTheChoiceLasts) {
    TestMachine t({{"Auto Decimal", "False"}, {"Zoom", "275"}});
    EXPECT_EQ(t.machine.Window().ZoomPercent(), 275);
    struct Step {
        int key;
        int percent;
        bool zoomInEnabled, zoomOutEnabled;
    };
    const Step steps[] = {{vk::OemPlus, 300, false, true}, {vk::OemPlus, 300, false, true},
                          {vk::Key0, 100, true, false},    {vk::OemMinus, 100, true, false},
                          {vk::OemPlus, 125, true, true}};
    for (const Step& s : steps) {
        t.machine.Key(s.key, vk::CtrlState, 0);
        EXPECT_EQ(t.machine.Window().ZoomPercent(), s.percent);
        EXPECT_EQ(t.fakes.settings.values["Zoom"], std::to_string(s.percent));
        EXPECT_EQ(t.machine.IsEnabled(Command::ZoomIn), s.zoomInEnabled);
        EXPECT_EQ(t.machine.IsEnabled(Command::ZoomOut), s.zoomOutEnabled);
    }
    // Neither key touches the calculator or the tape.
    EXPECT_EQ(t.Display(), "");
    EXPECT_EQ(t.TapeLines().size(), 1u);
}
