// The real main window, offscreen, driven by key events and clicks as a user would drive it.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QWheelEvent>
#include <QtTest/QTest>
#include <memory>
#include <string>
#include <vector>

#include "Machine.h"
#include "fakes/FakePorts.h"
#include "window/MenuModel.h"
#include "windows/MainWindow.h"

namespace qb {
namespace {

using Lines = std::vector<std::string>;

const std::string kStartLine = "               0 =";

struct Stroke {
    int key;
    Qt::KeyboardModifiers modifiers;
    QString text;
};

// A key of a US keyboard's main rows, as the platform reports it.
Stroke MainRow(char c) {
    if (c >= '0' && c <= '9') return {Qt::Key_0 + (c - '0'), Qt::NoModifier, QString(QLatin1Char(c))};
    switch (c) {
    case '.': return {Qt::Key_Period, Qt::NoModifier, "."};
    case '+': return {Qt::Key_Plus, Qt::ShiftModifier, "+"};
    case '-': return {Qt::Key_Minus, Qt::NoModifier, "-"};
    case '*': return {Qt::Key_Asterisk, Qt::ShiftModifier, "*"};
    case '/': return {Qt::Key_Slash, Qt::NoModifier, "/"};
    case '%': return {Qt::Key_Percent, Qt::ShiftModifier, "%"};
    case '=': return {Qt::Key_Equal, Qt::NoModifier, "="};
    case '\r': return {Qt::Key_Return, Qt::NoModifier, "\r"};
    default: break;
    }
    ADD_FAILURE() << "no main-row key for " << c;
    return {};
}

Stroke Keypad(char c) {
    if (c >= '0' && c <= '9') return {Qt::Key_0 + (c - '0'), Qt::KeypadModifier, QString(QLatin1Char(c))};
    switch (c) {
    case '.': return {Qt::Key_Period, Qt::KeypadModifier, "."};
    case '+': return {Qt::Key_Plus, Qt::KeypadModifier, "+"};
    case '-': return {Qt::Key_Minus, Qt::KeypadModifier, "-"};
    case '*': return {Qt::Key_Asterisk, Qt::KeypadModifier, "*"};
    case '/': return {Qt::Key_Slash, Qt::KeypadModifier, "/"};
    case '\r': return {Qt::Key_Enter, Qt::KeypadModifier, "\r"};
    default: break;
    }
    ADD_FAILURE() << "no keypad key for " << c;
    return {};
}

// The program as it starts: the machine on fake ports and its window, shown and activated.
class Program {
public:
    Program() {
        window = std::make_unique<MainWindow>(machine, fakes.messages);
        machine.Load();
        window->Render();
        window->show();
        QApplication::setActiveWindow(window.get());
        window->FirstActivation();
        fakes.messages.Reset();  // whatever the first activation said
    }

    template <class T = QWidget>
    T* Find(const char* name) const {
        T* found = window->findChild<T*>(QString::fromLatin1(name));
        if (!found) ADD_FAILURE() << "no control " << name;
        return found;
    }

    void Strike(const Stroke& stroke) {
        QWidget* target = Find("txtKeyStroke");
        QKeyEvent press(QEvent::KeyPress, stroke.key, stroke.modifiers, stroke.text);
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, stroke.key, stroke.modifiers, stroke.text);
        QApplication::sendEvent(target, &release);
    }

    // Keys of the main rows; "k" before a key strikes it on the keypad.
    void Type(const std::string& keys) {
        for (std::size_t i = 0; i < keys.size(); ++i) {
            if (keys[i] == 'k' && i + 1 < keys.size())
                Strike(Keypad(keys[++i]));
            else
                Strike(MainRow(keys[i]));
        }
    }

    void Click(const char* name) { QTest::mouseClick(Find(name), Qt::LeftButton); }

    Lines Tape() const {
        const QAbstractItemModel* model = Find<QListView>("lstTape")->model();
        Lines lines;
        for (int row = 0; row < model->rowCount(); ++row)
            lines.push_back(model->data(model->index(row, 0)).toString().toStdString());
        return lines;
    }

    std::string Entry() const { return Find<QLineEdit>("txtDisplay")->text().toStdString(); }

    QColor Background(const char* name) const { return Find(name)->palette().color(QPalette::Window); }

    test::FakePorts fakes;
    Machine machine{fakes.ports()};
    std::unique_ptr<MainWindow> window;
};

Lines After(const Lines& lines) {
    Lines all{kStartLine};
    all.insert(all.end(), lines.begin(), lines.end());
    return all;
}

TEST(MainWindow, KeysStruckInTheWindowPrintOnTheTape) {
    struct Case {
        const char* what;
        std::string keys;
        Lines tape;
    };
    const Case cases[] = {
        {"main row", "12.5+7.5-5=",
         {"           12.50 +", "            7.50 +", "            5.00 -", "           15.00 ="}},
        {"keypad", "k1k2k.k5k+k7k.k5k-k5k\r",
         {"           12.50 +", "            7.50 +", "            5.00 -", "           15.00 ="}},
        {"a total", "5+3=", {"            5.00 +", "            3.00 +", "            8.00 ="}},
        {"Shift+8 multiplies", "6*7=", {"            6.00 +", "            7.00 *", "           42.00 ="}},
        {"keypad minus subtracts", "9k-4\r", {"            9.00 +", "            4.00 -", "            5.00 ="}},
        {"Shift+5 takes a percentage", "50%200=",
         {"           50.00 +", "          200.00 %", "           25.00 ="}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Program program;
        program.Type(c.keys);
        EXPECT_EQ(program.Tape(), After(c.tape));
        EXPECT_EQ(program.Entry(), "");
    }
}

TEST(MainWindow, StartsWithTheZeroLineAndTheFocusInTheKeystrokeBox) {
    Program program;
    EXPECT_EQ(program.Tape(), Lines{kStartLine});
    EXPECT_EQ(program.window->focusWidget(), program.Find("txtKeyStroke"));
    EXPECT_EQ(program.window->windowTitle(), QStringLiteral("the Quillbox"));
}

TEST(MainWindow, ClickedKeysEditTheEntryBox) {
    struct Step {
        const char* button;
        std::string entry;
    };
    const Step steps[] = {
        {"cmdKey1", "1"}, {"cmdKey2", "12"}, {"cmdDecimal", "12."}, {"cmdKey5", "12.5"},
        {"cmdClearEntry", ""}, {"cmdKey7", "7"}, {"cmdKey10", "700"}, {"cmdPlus", ""},
    };
    Program program;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.button);
        program.Click(step.button);
        EXPECT_EQ(program.Entry(), step.entry);
    }
    EXPECT_EQ(program.Tape(), After({"          700.00 +"}));
    EXPECT_EQ(program.window->focusWidget(), program.Find("txtKeyStroke"));
}

TEST(MainWindow, IndicatorsShowTheDecimalPlacesMode) {
    const QColor cyan(192, 255, 255);
    const QColor red(255, 0, 0);
    Program program;
    const QColor face = program.window->palette().color(QPalette::Button);
    auto colours = [&] {
        std::vector<QColor> out;
        for (const char* name : {"lblDecimalPlaces0", "lblDecimalPlaces1", "lblDecimalPlaces2", "lblDecimalPlaces3",
                                 "lblDecimalPlaces4", "lblDecimalPlaces5"})
            out.push_back(program.Background(name));
        return out;
    };
    EXPECT_EQ(colours(), (std::vector<QColor>{face, face, cyan, face, face, face}));
    program.Click("lblDecimalPlaces0");
    EXPECT_EQ(colours(), (std::vector<QColor>{cyan, face, face, face, face, face}));
    program.Find<QAction>("mnuOPAutoDecimal")->trigger();
    EXPECT_EQ(colours(), (std::vector<QColor>{cyan, face, face, face, face, face}));
    program.Click("lblDecimalPlaces3");
    EXPECT_EQ(colours(), (std::vector<QColor>{face, face, face, red, face, face}));
    // Typed with three places and Auto Decimal on, 12345 is 12.345.
    program.Type("12345+");
    EXPECT_EQ(program.Tape().back(), "          12.345 +");
}

TEST(MainWindow, ClearEntryBoxIndicatorTurnsRedWhenTheOptionIsOff) {
    Program program;
    const QColor face = program.window->palette().color(QPalette::Button);
    EXPECT_EQ(program.Background("lblClearEntryBox"), face);
    program.Strike({Qt::Key_F12, Qt::NoModifier, {}});
    EXPECT_EQ(program.Background("lblClearEntryBox"), QColor(255, 0, 0));
    EXPECT_FALSE(program.Find<QAction>("mnuOPClearEntryBox")->isChecked());
    program.Type("4+");
    EXPECT_EQ(program.Entry(), "4");
}

TEST(MainWindow, CapacityErrorIsShownUnderOops) {
    Program program;
    program.Type("123456789012345");
    ASSERT_EQ(program.fakes.messages.shown.size(), 1u);
    const MessageRequest& box = program.fakes.messages.shown.front();
    EXPECT_EQ(box.title, "Oops!");
    EXPECT_EQ(box.text, "The capacity of the Entry box has been reached!");
    EXPECT_EQ(box.icon, MessageIcon::Exclamation);
    EXPECT_EQ(program.Entry(), "12345678901234");
}

TEST(MainWindow, MenusShowShortcutsWithoutOwningThem) {
    Program program;
    QAction* open = program.Find<QAction>("mnuFIOpen");
    EXPECT_EQ(open->text(), QStringLiteral("&Open...\tCtrl+O"));
    EXPECT_EQ(program.Find<QAction>("mnuOPClearEntry")->text(), QStringLiteral("&Clear Entry\tDel"));
    for (QAction* action : program.window->findChildren<QAction*>())
        EXPECT_TRUE(action->shortcut().isEmpty()) << action->objectName().toStdString();
    EXPECT_TRUE(program.Find<QAction>("mnuOPCommaSeparator")->isChecked());
    EXPECT_FALSE(program.Find<QAction>("mnuOPAutoDecimal")->isChecked());
    EXPECT_EQ(open->isEnabled(), program.machine.IsEnabled(Command::Open));
    EXPECT_EQ(program.Find<QPushButton>("cmdOpen")->isEnabled(), program.machine.IsEnabled(Command::Open));

    // Ctrl+L reaches the Comma Separator item through the keyboard map.
    program.Strike({Qt::Key_L, Qt::ControlModifier, "\x0c"});
    EXPECT_FALSE(program.Find<QAction>("mnuOPCommaSeparator")->isChecked());
    program.Type("1234567+");
    EXPECT_EQ(program.Tape().back(), "      1234567.00 +");
}

TEST(MainWindow, AClickOnTheEntryBoxBeepsAndLeavesTheFocus) {
    Program program;
    QTest::mouseClick(program.Find("txtDisplay"), Qt::LeftButton);
    EXPECT_EQ(program.fakes.messages.beeps, 1);
    EXPECT_EQ(program.window->focusWidget(), program.Find("txtKeyStroke"));
}

TEST(MainWindow, LongTapeShowsItsLastSixteenLinesAndSelectsByClick) {
    Program program;
    for (int i = 1; i <= 1000; ++i) program.Type(std::to_string(i) + "+");
    auto* view = program.Find<QListView>("lstTape");
    ASSERT_EQ(view->model()->rowCount(), 1001);
    // The first visible line is the tape's top line, the last line shows at the bottom.
    EXPECT_EQ(program.machine.GetTape().TopIndex(), 1001 - 16);
    EXPECT_EQ(view->indexAt(QPoint(2, 1)).row(), 1001 - 16);
    const QRect last = view->visualRect(view->model()->index(1000, 0));
    EXPECT_TRUE(view->viewport()->rect().contains(last)) << "last line outside the list";

    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, last.center());
    EXPECT_EQ(program.machine.GetTape().ListIndex(), 1000);
    EXPECT_TRUE(view->selectionModel()->isSelected(view->model()->index(1000, 0)));
    // Any key struck without Ctrl ends the selection.
    program.Type("5");
    EXPECT_FALSE(view->selectionModel()->hasSelection());
}

TEST(MainWindow, DoubleClickRecallsATapeNumber) {
    Program program;
    program.Type("12.5+3=");
    auto* view = program.Find<QListView>("lstTape");
    const QRect line = view->visualRect(view->model()->index(1, 0));
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, line.center());
    EXPECT_EQ(program.machine.GetTape().ListIndex(), 1);
    EXPECT_EQ(program.Entry(), "12.50");
}

TEST(MainWindow, ScrollingByHandMovesTheTapesFirstLine) {
    Program program;
    for (int i = 1; i <= 40; ++i) program.Type("1+");
    auto* view = program.Find<QListView>("lstTape");
    const auto top = program.machine.GetTape().TopIndex();
    QWheelEvent wheel(QPointF(10, 10), view->viewport()->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view->viewport(), &wheel);
    EXPECT_LT(program.machine.GetTape().TopIndex(), top);
    EXPECT_EQ(view->verticalScrollBar()->value(), program.machine.GetTape().TopIndex());
    // A digit leaves the tape where it was scrolled.
    const auto scrolled = program.machine.GetTape().TopIndex();
    program.Type("7");
    EXPECT_EQ(view->verticalScrollBar()->value(), scrolled);
}

TEST(MainWindow, CaptionBoxTakesTheFocusUntilAKeyIsStruck) {
    Program program;
    auto* caption = program.Find<QLineEdit>("txtCaption");
    QTest::mouseClick(caption, Qt::LeftButton);
    ASSERT_TRUE(caption->hasFocus());
    EXPECT_TRUE(program.machine.Window().CaptionFocus());
    // The cursor keys stay with the caption box; a digit goes to the calculator and the focus
    // goes back to the keystroke box.
    QTest::keyClick(caption, Qt::Key_Home);
    EXPECT_TRUE(caption->hasFocus());
    QTest::keyClick(caption, Qt::Key_5, Qt::NoModifier);
    EXPECT_EQ(program.Entry(), "5");
    EXPECT_TRUE(program.Find("txtKeyStroke")->hasFocus());
    EXPECT_FALSE(program.machine.Window().CaptionFocus());
}

TEST(MainWindow, TheCaptionBoxSelectsItsWholeTextWhenItGetsTheFocus) {
    Program program;
    program.fakes.dialogs.captions.push_back("Quarterly figures");
    program.Click("cmdNewCaption");
    auto* caption = program.Find<QLineEdit>("txtCaption");
    ASSERT_EQ(caption->text(), QStringLiteral("Quarterly figures"));
    QTest::mouseClick(caption, Qt::LeftButton, {}, caption->rect().center());
    QCoreApplication::processEvents();  // the selection follows the click's own placing of the cursor
    ASSERT_TRUE(caption->hasFocus());
    EXPECT_EQ(caption->selectedText(), caption->text());
    EXPECT_EQ(caption->selectionStart(), 0);
}

TEST(MainWindow, F11CollapsesToTheEntryLineAndTapeAndBack) {
    Program program;
    const QSize expanded = program.window->size();
    program.Type("12.5+3");
    program.Strike({Qt::Key_F11, Qt::NoModifier, {}});

    EXPECT_EQ(program.window->windowTitle(), QStringLiteral("tQB 1999"));
    EXPECT_TRUE(program.window->windowFlags() & Qt::WindowStaysOnTopHint);
    for (const char* frame : {"frmCaption", "frmFile", "frmOperation", "frmTape", "frmKeys", "frmOperations",
                              "frmMemory", "frmDecimalPlaces"})
        EXPECT_FALSE(program.Find(frame)->isVisible()) << frame;
    auto* twin = program.Find<QLineEdit>("txtAltDisplay");
    ASSERT_TRUE(twin->isVisible());
    EXPECT_EQ(twin->text(), QStringLiteral("3"));
    EXPECT_EQ(program.Find<QLabel>("lblAltOperator")->text(), QStringLiteral("+"));
    auto* tape = program.Find("lstTape");
    EXPECT_TRUE(tape->isVisible());
    EXPECT_EQ(tape->x(), 0);
    EXPECT_GT(tape->y(), twin->geometry().bottom());
    EXPECT_LT(program.window->width(), expanded.width() / 2);
    EXPECT_TRUE(program.window->rect().contains(tape->geometry())) << "tape cut off";
    for (const Menu& menu : MainMenus())
        EXPECT_EQ(program.Find<QMenu>(menu.name.c_str())->menuAction()->isVisible(), menu.name == "mnuFIFile")
            << menu.name;

    program.Strike({Qt::Key_F11, Qt::NoModifier, {}});
    EXPECT_EQ(program.window->size(), expanded);
    EXPECT_FALSE(twin->isVisible());
    EXPECT_TRUE(program.Find("frmKeys")->isVisible());
    EXPECT_EQ(tape->pos(), program.Find("frmShortcutKeys1")->pos() + QPoint(0, program.window->Pixels(90)));
    EXPECT_EQ(program.window->windowTitle(), QStringLiteral("the Quillbox"));
}

// Frame and all: the window system frames the window once it is shown, and the outer window
// stands centred then and whenever the expanded window comes back.
TEST(MainWindow, TheOuterWindowStandsCentred) {
    Program program;
    const QRect screen = program.window->screen()->geometry();
    auto offCentre = [&] {
        const QRect outer = program.window->frameGeometry();
        return QPoint(2 * outer.x() - (screen.width() - outer.width()), 2 * outer.y() - (screen.height() - outer.height()));
    };
    ASSERT_NE(program.window->frameGeometry().size(), program.window->size()) << "no frame to centre";
    EXPECT_LE(offCentre().manhattanLength(), 2) << offCentre().x() << "," << offCentre().y();
    program.Strike({Qt::Key_F11, Qt::NoModifier, {}});
    program.window->move(10, 20);
    program.Strike({Qt::Key_F11, Qt::NoModifier, {}});
    EXPECT_LE(offCentre().manhattanLength(), 2) << offCentre().x() << "," << offCentre().y();
}

TEST(MainWindow, TheMachineKnowsWhereTheWindowWasMoved) {
    Program program;
    program.window->move(program.window->Pixels(1500), program.window->Pixels(3000));
    EXPECT_EQ(program.machine.Window().WindowGeometry().left, 1500);
    EXPECT_EQ(program.machine.Window().WindowGeometry().top, 3000);
}

TEST(MainWindow, ControlsHaveAccessibleNames) {
    const std::pair<const char*, const char*> names[] = {
        {"cmdPlus", "+"},
        {"cmdKey10", "00"},
        {"cmdKey7", "7"},
        {"cmdExit", "Close"},
        {"cmdClear", "Clear Subtotal"},
        {"cmdPrintTape", "Print"},
        {"cmdMemoryMultiply", "M*"},
        {"cmdNewCaption", "New caption"},
        {"cmdClearEntry", "Clear entry"},
        {"cmdMemoryRecall", "Memory recall"},
        {"cmdClearMemory", "Clear memory"},
        {"txtDisplay", "Entry box"},
        {"txtAltDisplay", "Entry box"},
        {"lblOperator", "Next operation to be performed"},
        {"lstTape", "Continuous tape"},
        {"txtMemory", "Memory"},
        {"txtCaption", "Caption for printed/saved tape"},
        {"lblDecimalPlaces0", "Floating point"},
        {"lblDecimalPlaces1", "1 decimal place"},
        {"lblDecimalPlaces4", "4 decimal places"},
    };
    Program program;
    for (const auto& [object, name] : names) {
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(program.Find(object));
        ASSERT_NE(iface, nullptr) << object;
        EXPECT_EQ(iface->text(QAccessible::Name).toStdString(), name) << object;
    }
}

TEST(MainWindow, ScreenReadersHearTheValuesShown) {
    Program program;
    program.Type("12.5+3");
    auto value = [&](const char* object) {
        return QAccessible::queryAccessibleInterface(program.Find(object))->text(QAccessible::Value).toStdString();
    };
    EXPECT_EQ(value("txtDisplay"), "3");
    EXPECT_EQ(value("lblOperator"), "+");
    EXPECT_EQ(value("lblDecimalPlaces2"), "2");
    QAccessibleInterface* places2 = QAccessible::queryAccessibleInterface(program.Find("lblDecimalPlaces2"));
    EXPECT_TRUE(places2->state().checked);
    EXPECT_FALSE(QAccessible::queryAccessibleInterface(program.Find("lblDecimalPlaces3"))->state().checked);
    // Pressing an indicator through the screen reader selects its mode.
    QAccessible::queryAccessibleInterface(program.Find("lblDecimalPlaces3"))
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(program.machine.GetCalculator().DecimalPlaces(), 3);

    QAccessibleInterface* tape = QAccessible::queryAccessibleInterface(program.Find("lstTape"));
    ASSERT_NE(tape, nullptr);
    ASSERT_EQ(tape->childCount(), 2);
    EXPECT_EQ(tape->child(0)->text(QAccessible::Name).toStdString(), kStartLine);
    EXPECT_EQ(tape->child(1)->text(QAccessible::Name).toStdString(), "           12.50 +");
}

// The Tape frame's buttons carry a picture above their caption, both whole inside the button.
TEST(MainWindow, TapeButtonsShowAPictureAboveTheirCaption) {
    Program program;
    const std::pair<const char*, const char*> buttons[] = {
        {"cmdClear", "Clear Subtotal"}, {"cmdNewTape", "New Tape"}, {"cmdPrintTape", " Print"},
        {"cmdCopy", "Copy"},           {"cmdExit", "&Close"},
    };
    for (const auto& [name, caption] : buttons) {
        auto* button = program.Find<QPushButton>(name);
        EXPECT_EQ(button->text(), QString::fromLatin1(caption)) << name;
        EXPECT_FALSE(button->icon().isNull()) << name;
        EXPECT_GE(button->iconSize().height(), 12) << name;
        EXPECT_LE(button->iconSize().height() + button->fontMetrics().height(), button->height()) << name;
        EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()), button->width()) << name;
    }
}

TEST(MainWindow, CloseButtonClosesTheWindow) {
    Program program;
    ASSERT_TRUE(program.window->isVisible());
    program.Click("cmdExit");
    EXPECT_FALSE(program.window->isVisible());
}

}  // namespace
}  // namespace qb
