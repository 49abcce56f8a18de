// The main window in light, dark and high-contrast palettes, and at larger sizes.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QScreen>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <map>
#include <string>

#include "ShownWindow.h"
#include "windows/Appearance.h"
#include "windows/Pictures.h"
#include "windows/RichTextDocument.h"

namespace qb {
namespace {

QPalette Scheme(QColor base, QColor text, QColor window, QColor button, QColor buttonText) {
    QPalette palette(button, window);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::ButtonText, buttonText);
    return palette;
}

// The desktop palette for one test, put back after it.
class DesktopPalette {
public:
    explicit DesktopPalette(const QPalette& palette) : saved_(QApplication::palette()) { QApplication::setPalette(palette); }
    ~DesktopPalette() { QApplication::setPalette(saved_); }

private:
    QPalette saved_;
};

struct Shown : test::ShownWindow {
    using ShownWindow::ShownWindow;
    // The colours a control draws its text in and on, as its kind of widget draws them.
    double Contrast(const char* name) const {
        const QWidget* widget = Find(name);
        const bool box = qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QListView*>(widget);
        const QPalette& p = widget->palette();
        const QColor background = p.color(box ? QPalette::Base : QPalette::Window);
        const QColor text = p.color(box ? QPalette::Text : QPalette::WindowText);
        return ContrastRatio(RgbOf(text), RgbOf(background));
    }
};

const char* const kColoured[] = {"txtDisplay",     "txtMemory",         "txtCaption",        "lblOperator",
                                 "lstTape",        "lblClearEntryBox",  "lblDecimalPlaces2", "lblDecimalPlaces0"};

}  // namespace

// Every coloured control reads in each palette, and follows a change of it while the program
// runs; the display boxes take the desktop's own box colours.
TEST(Appearance, EveryColouredControlReadsInEveryPaletteAndState) {
    const QPalette light = QApplication::palette();
    const struct {
        const char* name;
        QPalette palette;
    } schemes[] = {
        {"light", light},
        {"dark", Scheme({61, 61, 61}, Qt::white, {34, 32, 32}, {66, 66, 69}, Qt::white)},
        {"high contrast", Scheme(Qt::black, Qt::white, Qt::black, Qt::black, Qt::yellow)},
    };
    for (const auto& scheme : schemes) {
        DesktopPalette desktop(scheme.palette);
        Shown shown;
        auto check = [&](const char* state, const QPalette& desk) {
            for (const char* name : kColoured)
                EXPECT_GE(shown.Contrast(name), kReadableContrast) << scheme.name << ", " << state << ": " << name;
            for (const char* name : {"txtDisplay", "lstTape", "txtMemory"}) {
                const QPalette& own = shown.Find(name)->palette();
                EXPECT_EQ(own.color(QPalette::Base), desk.color(QPalette::Base)) << scheme.name << ", " << state << ": " << name;
                EXPECT_EQ(own.color(QPalette::Text), desk.color(QPalette::Text)) << scheme.name << ", " << state << ": " << name;
            }
        };
        check("as started", scheme.palette);
        shown.Find<QAction>("mnuOPAutoDecimal")->trigger();
        shown.Find<QAction>("mnuOPClearEntryBox")->trigger();  // red
        check("Auto Decimal on, Clear Entry Box off", scheme.palette);
        QApplication::setPalette(light);
        QApplication::processEvents();
        check("back to light", light);
    }
}

TEST(Appearance, ZoomGrowsTheWholeWindowAndItsFonts) {
    Shown shown(std::map<std::string, std::string>{{"Zoom", "125"}});
    const QSize larger = shown.window.size();
    const double largerFont = shown.Find("txtDisplay")->font().pointSizeF();
    shown.Strike({Qt::Key_0, Qt::ControlModifier});  // Actual Size
    const QSize designed = shown.window.size();
    EXPECT_NEAR(larger.width(), designed.width() * 1.25, 4);
    EXPECT_NEAR(largerFont, shown.Find("txtDisplay")->font().pointSizeF() * 1.25, 0.01);
    // Zoomed by its keys, the controls keep their places relative to the window.
    const QRect tape = shown.Find("lstTape")->geometry();
    shown.Strike({Qt::Key_Equal, Qt::ControlModifier});  // Zoom In
    EXPECT_NEAR(shown.Find("lstTape")->geometry().left(), tape.left() * 1.25, 2);
    EXPECT_NEAR(shown.window.width(), designed.width() * 1.25, 4);
    // It grows no further than the screen holds: the step past it only beeps.
    for (int i = 0; i < 8; ++i) shown.Strike({Qt::Key_Equal, Qt::ControlModifier});
    EXPECT_TRUE(shown.window.screen()->availableGeometry().contains(QRect(QPoint(), shown.window.frameGeometry().size())));
    EXPECT_LT(shown.machine.Window().ZoomPercent(), 300);
    EXPECT_GT(shown.fakes.messages.beeps, 0);
}

// A zoom kept from a larger screen opens the window at a size this screen holds.
TEST(Appearance, AStoredZoomTooLargeForTheScreenOpensAtOneThatFits) {
    Shown shown(std::map<std::string, std::string>{{"Zoom", "300"}});
    EXPECT_TRUE(shown.window.screen()->availableGeometry().contains(QRect(QPoint(), shown.window.frameGeometry().size())));
    EXPECT_GT(shown.machine.Window().ZoomPercent(), 100);
    EXPECT_EQ(shown.fakes.settings.values["Zoom"], "300");
}

TEST(Appearance, TopicColoursMadeForPaperReadOnADarkViewer) {
    QTextDocument document;
    QTextCursor cursor(&document);
    QTextCharFormat heading;
    heading.setForeground(QColor(0, 64, 128));
    cursor.insertText(QStringLiteral("Options"), heading);
    cursor.insertText(QStringLiteral(" plain"), QTextCharFormat());
    const QColor viewer(61, 61, 61);
    MakeColoursReadable(document, viewer);
    const QTextFragment first = document.begin().begin().fragment();
    ASSERT_EQ(first.text(), QStringLiteral("Options"));
    EXPECT_GE(ContrastRatio(RgbOf(first.charFormat().foreground().color()), RgbOf(viewer)), kReadableContrast);
}

TEST(Appearance, TheLogosNameReadsOnLightAndDarkWindows) {
    for (const QColor window : {QColor(239, 239, 239), QColor(247, 244, 234), QColor(61, 61, 61), QColor(0, 0, 0)}) {
        const QPixmap logo = LogoPicture(56, window);
        QImage shown(logo.size(), QImage::Format_RGB32);
        shown.fill(window);
        QPainter(&shown).drawPixmap(0, 0, logo);
        // The name stands right of the quill; its darkest or lightest stroke is its colour.
        double best = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = shown.width() * 3 / 10; x < shown.width(); ++x)
                best = std::max(best, ContrastRatio(RgbOf(shown.pixelColor(x, y)), RgbOf(window)));
        EXPECT_GE(best, kReadableContrast) << window.name().toStdString();
    }
}

// A collapsed window kept at a place far off this screen comes back whole on it, at the size the
// desktop's font and the zoom draw it, which is larger than its designed size.
TEST(Appearance, ACollapsedWindowStoredOffTheScreenComesBackWholeOnIt) {
    for (const double points : {9.0, 16.0}) {
        SCOPED_TRACE(points);
        test::DesktopFont font(points);
        Shown shown(std::map<std::string, std::string>{
            {"Auto Decimal", "False"}, {"Last Mode", "True"}, {"Last Left", "99999"}, {"Last Top", "99999"}, {"Zoom", "150"}});
        ASSERT_TRUE(shown.machine.Window().Collapsed());
        const QRect outer = shown.window.frameGeometry();
        EXPECT_TRUE(shown.window.screen()->availableGeometry().contains(outer)) << outer.right() << ", " << outer.bottom();
    }
}

}  // namespace qb
