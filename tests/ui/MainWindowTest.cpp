// The real main window, offscreen, driven by key events and clicks as a user would drive it.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QColor>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QWheelEvent>
#include <QtTest/QTest>
#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ShownWindow.h"
#include "window/KeyCodes.h"
#include "windows/IndicatorLabel.h"
#include "windows/TapeView.h"
#include "window/MenuModel.h"

namespace qb {
namespace {

using Lines = std::vector<std::string>;
using test::ShownWindow;

const std::string kStartLine = "               0 =";

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
    const Lines sum = {"           12.50 +", "            7.50 +", "            5.00 -", "           15.00 ="};
    const Case cases[] = {
        {"main row", "12.5+7.5-5=", sum},
        {"keypad", "k1k2k.k5k+k7k.k5k-k5k\r", sum},
        {"Shift+8 multiplies", "6*7=", {"            6.00 +", "            7.00 *", "           42.00 ="}},
        {"keypad minus subtracts", "9k-4\r", {"            9.00 +", "            4.00 -", "            5.00 ="}},
        {"Shift+5 takes a percentage", "50%200=",
         {"           50.00 +", "          200.00 %", "           25.00 ="}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ShownWindow shown;
        shown.Type(c.keys);
        EXPECT_EQ(shown.Tape(), After(c.tape));
        EXPECT_EQ(shown.Entry(), "");
    }
}

TEST(MainWindow, ClickedKeysEditTheEntryBoxAndLeaveTheFocusInTheKeystrokeBox) {
    struct Step {
        const char* button;
        std::string entry;
    };
    const Step steps[] = {
        {"cmdKey1", "1"}, {"cmdKey2", "12"}, {"cmdDecimal", "12."}, {"cmdKey5", "12.5"},
        {"cmdClearEntry", ""}, {"cmdKey7", "7"}, {"cmdKey10", "700"}, {"cmdPlus", ""},
    };
    ShownWindow shown;
    EXPECT_EQ(shown.Tape(), Lines{kStartLine});
    EXPECT_EQ(shown.window.focusWidget(), shown.Find("txtKeyStroke"));
    EXPECT_EQ(shown.window.windowTitle(), QStringLiteral("the Quillbox"));
    for (const Step& step : steps) {
        SCOPED_TRACE(step.button);
        shown.Click(step.button);
        EXPECT_EQ(shown.Entry(), step.entry);
    }
    EXPECT_EQ(shown.Tape(), After({"          700.00 +"}));
    EXPECT_EQ(shown.window.focusWidget(), shown.Find("txtKeyStroke"));
    // A click on the Entry box beeps and leaves the focus where it is.
    const int beeps = shown.fakes.messages.beeps;
    shown.Click("txtDisplay");
    EXPECT_EQ(shown.fakes.messages.beeps, beeps + 1);
    EXPECT_EQ(shown.window.focusWidget(), shown.Find("txtKeyStroke"));
}

// The indicators of the decimal places and of Clear Entry Box, after each step: "." the button
// face, "c" cyan (the mode chosen), "r" red (Auto Decimal's places, or Clear Entry Box off).
TEST(MainWindow, IndicatorsShowTheModes) {
    struct Step {
        const char* what;
        std::function<void(ShownWindow&)> act;
        const char* colours;  // places 0 to 5, then Clear Entry Box
    };
    auto trigger = [](const char* name) {
        return [name](ShownWindow& s) { s.Find<QAction>(name)->trigger(); };
    };
    auto click = [](const char* name) { return [name](ShownWindow& s) { s.Click(name); }; };
    const Step steps[] = {
        {"as started", [](ShownWindow&) {}, "..c...."},
        {"floating point clicked", click("lblDecimalPlaces0"), "c......"},
        {"Auto Decimal on", trigger("mnuOPAutoDecimal"), "c......"},
        {"three places clicked", click("lblDecimalPlaces3"), "...r..."},
        {"F12", [](ShownWindow& s) { s.Strike({Qt::Key_F12}); }, "...r..r"},
    };
    const char* const labels[] = {"lblDecimalPlaces0", "lblDecimalPlaces1", "lblDecimalPlaces2", "lblDecimalPlaces3",
                                  "lblDecimalPlaces4", "lblDecimalPlaces5", "lblClearEntryBox"};
    ShownWindow shown;
    const std::map<char, QColor> colour = {
        {'.', shown.window.palette().color(QPalette::Button)}, {'c', QColor(192, 255, 255)}, {'r', QColor(255, 0, 0)}};
    for (const Step& step : steps) {
        step.act(shown);
        for (int i = 0; i < 7; ++i)
            EXPECT_EQ(shown.Find(labels[i])->palette().color(QPalette::Window), colour.at(step.colours[i]))
                << step.what << ": " << labels[i];
    }
    EXPECT_FALSE(shown.Find<QAction>("mnuOPClearEntryBox")->isChecked());
}

TEST(MainWindow, MenusShowShortcutsWithoutOwningThem) {
    ShownWindow shown;
    QAction* open = shown.Find<QAction>("mnuFIOpen");
    EXPECT_EQ(open->text(), QStringLiteral("&Open...\tCtrl+O"));
    EXPECT_EQ(shown.Find<QAction>("mnuOPClearEntry")->text(), QStringLiteral("&Clear Entry\tDel"));
    for (QAction* action : shown.window.findChildren<QAction*>())
        EXPECT_TRUE(action->shortcut().isEmpty()) << action->objectName().toStdString();
    EXPECT_TRUE(shown.Find<QAction>("mnuOPCommaSeparator")->isChecked());
    EXPECT_EQ(open->isEnabled(), shown.machine.IsEnabled(Command::Open));
    EXPECT_EQ(shown.Find<QPushButton>("cmdOpen")->isEnabled(), shown.machine.IsEnabled(Command::Open));

    // Ctrl+L reaches the Comma Separator item through the keyboard map.
    shown.Strike({Qt::Key_L, Qt::ControlModifier, "\x0c"});
    EXPECT_FALSE(shown.Find<QAction>("mnuOPCommaSeparator")->isChecked());
}

TEST(MainWindow, LongTapeShowsItsLastSixteenLinesAndSelectsByClick) {
    ShownWindow shown;
    for (int i = 1; i <= 1000; ++i) shown.Type(std::to_string(i) + "+");
    auto* view = shown.Find<QListView>("lstTape");
    ASSERT_EQ(view->model()->rowCount(), 1001);
    // The first visible line is the tape's top line, the last line shows at the bottom.
    EXPECT_EQ(shown.machine.GetTape().TopIndex(), 1001 - 16);
    EXPECT_EQ(view->indexAt(QPoint(2, 1)).row(), 1001 - 16);
    const QRect last = view->visualRect(view->model()->index(1000, 0));
    EXPECT_TRUE(view->viewport()->rect().contains(last)) << "last line outside the list";

    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, last.center());
    EXPECT_EQ(shown.machine.GetTape().ListIndex(), 1000);
    EXPECT_TRUE(view->selectionModel()->isSelected(view->model()->index(1000, 0)));
    // Any key struck without Ctrl ends the selection.
    shown.Type("5");
    EXPECT_FALSE(view->selectionModel()->hasSelection());
    // A double click recalls the line's number.
    const QRect line = view->visualRect(view->model()->index(999, 0));
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, line.center());
    EXPECT_EQ(shown.machine.GetTape().ListIndex(), 999);
    EXPECT_EQ(shown.Entry(), "999.00");
}

TEST(MainWindow, ScrollingByHandMovesTheTapesFirstLine) {
    ShownWindow shown;
    for (int i = 1; i <= 40; ++i) shown.Type("1+");
    auto* view = shown.Find<QListView>("lstTape");
    const auto top = shown.machine.GetTape().TopIndex();
    QWheelEvent wheel(QPointF(10, 10), view->viewport()->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view->viewport(), &wheel);
    EXPECT_LT(shown.machine.GetTape().TopIndex(), top);
    EXPECT_EQ(view->verticalScrollBar()->value(), shown.machine.GetTape().TopIndex());
    // A digit leaves the tape where it was scrolled.
    const auto scrolled = shown.machine.GetTape().TopIndex();
    shown.Type("7");
    EXPECT_EQ(view->verticalScrollBar()->value(), scrolled);
}

TEST(MainWindow, CaptionBoxSelectsItsTextAndKeepsTheFocusUntilAKeyIsStruck) {
    ShownWindow shown;
    shown.fakes.dialogs.captions.push_back("Quarterly figures");
    shown.Click("cmdNewCaption");
    auto* caption = shown.Find<QLineEdit>("txtCaption");
    ASSERT_EQ(caption->text(), QStringLiteral("Quarterly figures"));
    QTest::mouseClick(caption, Qt::LeftButton, {}, caption->rect().center());
    QCoreApplication::processEvents();  // the selection follows the click's own placing of the cursor
    ASSERT_TRUE(caption->hasFocus());
    EXPECT_TRUE(shown.machine.Window().CaptionFocus());
    EXPECT_EQ(caption->selectedText(), caption->text());
    EXPECT_EQ(caption->selectionStart(), 0);
    // The cursor keys stay with the caption box; a digit goes to the calculator and the focus
    // goes back to the keystroke box.
    QTest::keyClick(caption, Qt::Key_Home);
    EXPECT_TRUE(caption->hasFocus());
    QTest::keyClick(caption, Qt::Key_5, Qt::NoModifier);
    EXPECT_EQ(shown.Entry(), "5");
    EXPECT_TRUE(shown.Find("txtKeyStroke")->hasFocus());
    EXPECT_FALSE(shown.machine.Window().CaptionFocus());
}

TEST(MainWindow, F11CollapsesToTheEntryLineAndTapeAndBack) {
    ShownWindow shown;
    MainWindow& window = shown.window;
    const QSize expanded = window.size();
    shown.Type("12.5+3");
    shown.Strike({Qt::Key_F11});

    EXPECT_EQ(window.windowTitle(), QStringLiteral("tQB 1999"));
    EXPECT_TRUE(window.windowFlags() & Qt::WindowStaysOnTopHint);
    for (const char* frame : {"frmCaption", "frmFile", "frmOperation", "frmTape", "frmKeys", "frmOperations",
                              "frmMemory", "frmDecimalPlaces"})
        EXPECT_FALSE(shown.Find(frame)->isVisible()) << frame;
    auto* twin = shown.Find<QLineEdit>("txtAltDisplay");
    ASSERT_TRUE(twin->isVisible());
    EXPECT_EQ(twin->text(), QStringLiteral("3"));
    EXPECT_EQ(shown.Find<QLabel>("lblAltOperator")->text(), QStringLiteral("+"));
    auto* tape = shown.Find("lstTape");
    EXPECT_TRUE(tape->isVisible());
    EXPECT_EQ(tape->x(), 0);
    EXPECT_GT(tape->y(), twin->geometry().bottom());
    EXPECT_LT(window.width(), expanded.width() / 2);
    EXPECT_TRUE(window.rect().contains(tape->geometry())) << "tape cut off";
    for (const Menu& menu : MainMenus())
        EXPECT_EQ(shown.Find<QMenu>(menu.name.c_str())->menuAction()->isVisible(), menu.name == "mnuFIFile")
            << menu.name;
    // The keys of the hidden menus still work.
    shown.Strike({Qt::Key_F1, Qt::ControlModifier});
    EXPECT_EQ(shown.machine.GetCalculator().DecimalPlaces(), 1);

    shown.Strike({Qt::Key_F11});
    EXPECT_EQ(window.size(), expanded);
    EXPECT_FALSE(twin->isVisible());
    EXPECT_TRUE(shown.Find("frmKeys")->isVisible());
    EXPECT_EQ(tape->pos(), shown.Find("frmShortcutKeys1")->pos() + QPoint(0, window.Pixels(90)));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("the Quillbox"));
}

// How far the outer window, frame and all, stands from the centre of its screen.
int OffCentre(const QWidget& window) {
    const QRect screen = window.screen()->geometry(), outer = window.frameGeometry();
    return QPoint(2 * outer.x() - (screen.width() - outer.width()), 2 * outer.y() - (screen.height() - outer.height()))
        .manhattanLength();
}

// The window system frames the window once it is shown: the outer window stands centred then and
// whenever the expanded window comes back. The machine knows where the window was moved.
TEST(MainWindow, TheOuterWindowStandsCentred) {
    ShownWindow shown;
    MainWindow& window = shown.window;
    ASSERT_NE(window.frameGeometry().size(), window.size()) << "no frame to centre";
    EXPECT_LE(OffCentre(window), 2);
    shown.Strike({Qt::Key_F11});
    window.move(10, 20);
    shown.Strike({Qt::Key_F11});
    EXPECT_LE(OffCentre(window), 2);
    window.move(window.Pixels(1500), window.Pixels(3000));
    EXPECT_EQ(shown.machine.Window().WindowGeometry().left, 1500);
    EXPECT_EQ(shown.machine.Window().WindowGeometry().top, 3000);
}

// The collapsed window, moved and closed, comes back collapsed where it was left; expanded it is
// centred again, and collapsing once more puts the small window back at its own place.
TEST(MainWindow, TheCollapsedWindowComesBackWhereItWasLeft) {
    std::map<std::string, std::string> stored;
    QSize small;
    {
        ShownWindow shown;
        shown.Strike({Qt::Key_F11});
        shown.window.move(shown.window.Pixels(1500), shown.window.Pixels(3000));
        small = shown.window.size();
        shown.window.close();
        stored = shown.fakes.settings.values;
    }
    EXPECT_EQ(stored["Last Mode"], "True");
    EXPECT_EQ(stored["Last Left"], "1500");
    EXPECT_EQ(stored["Last Top"], "3000");
    ShownWindow again(stored);
    const QPoint left(again.window.Pixels(1500), again.window.Pixels(3000));
    EXPECT_EQ(again.window.windowTitle(), QStringLiteral("tQB 1999"));
    EXPECT_EQ(again.window.pos(), left);
    EXPECT_EQ(again.window.size(), small);
    again.Strike({Qt::Key_Escape});
    EXPECT_EQ(again.window.windowTitle(), QStringLiteral("the Quillbox"));
    EXPECT_LE(OffCentre(again.window), 2);
    again.Strike({Qt::Key_F11});
    EXPECT_EQ(again.window.pos(), left);
    again.Strike({Qt::Key_F11});
    again.window.close();
    EXPECT_EQ(again.fakes.settings.values["Last Mode"], "False");
}

// Every button, box and list has a name a screen reader speaks; the twin Entry box is named as
// the Entry box, and the places indicators say how many places they stand for.
TEST(MainWindow, ControlsHaveAccessibleNames) {
    ShownWindow shown;
    auto name = [&](QWidget* w) { return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name).toStdString(); };
    std::vector<QWidget*> controls;
    for (QAbstractButton* b : shown.window.findChildren<QAbstractButton*>()) controls.push_back(b);
    for (QLineEdit* b : shown.window.findChildren<QLineEdit*>()) controls.push_back(b);
    controls.push_back(shown.Find("lstTape"));
    controls.push_back(shown.Find("lblOperator"));
    for (QWidget* control : controls) {
        const QString object = control->objectName();  // Qt's own controls start "qt_"
        if (!object.isEmpty() && !object.startsWith(QStringLiteral("qt_")) && object != QStringLiteral("txtKeyStroke")) {
            EXPECT_FALSE(name(control).empty()) << object.toStdString();
        }
    }
    const std::pair<const char*, const char*> names[] = {
        {"txtDisplay", "Entry box"}, {"txtAltDisplay", "Entry box"}, {"lblDecimalPlaces0", "Floating point"},
        {"lblDecimalPlaces1", "1 decimal place"}, {"lblDecimalPlaces4", "4 decimal places"},
    };
    for (const auto& [object, expected] : names) EXPECT_EQ(name(shown.Find(object)), expected) << object;
}

TEST(MainWindow, ScreenReadersHearTheValuesShown) {
    ShownWindow shown;
    shown.Type("12.5+3");
    auto face = [&](const char* object) { return QAccessible::queryAccessibleInterface(shown.Find(object)); };
    EXPECT_EQ(face("txtDisplay")->text(QAccessible::Value).toStdString(), "3");
    EXPECT_EQ(face("lblOperator")->text(QAccessible::Value).toStdString(), "+");
    EXPECT_EQ(face("lblDecimalPlaces2")->text(QAccessible::Value).toStdString(), "2");
    EXPECT_TRUE(face("lblDecimalPlaces2")->state().checked);
    EXPECT_FALSE(face("lblDecimalPlaces3")->state().checked);
    // Pressing an indicator through the screen reader selects its mode.
    face("lblDecimalPlaces3")->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(shown.machine.GetCalculator().DecimalPlaces(), 3);

    QAccessibleInterface* tape = face("lstTape");
    ASSERT_NE(tape, nullptr);
    ASSERT_EQ(tape->childCount(), 2);
    EXPECT_EQ(tape->child(0)->text(QAccessible::Name).toStdString(), kStartLine);
    EXPECT_EQ(tape->child(1)->text(QAccessible::Name).toStdString(), "           12.50 +");
}

// The Tape frame's buttons carry a picture above their caption, both whole inside the button;
// Close closes the window.
TEST(MainWindow, TapeButtonsShowAPictureAboveTheirCaption) {
    ShownWindow shown;
    const std::pair<const char*, const char*> buttons[] = {
        {"cmdClear", "Clear Subtotal"}, {"cmdNewTape", "New Tape"}, {"cmdPrintTape", " Print"},
        {"cmdCopy", "Copy"},           {"cmdExit", "&Close"},
    };
    for (const auto& [name, caption] : buttons) test::ExpectPictureAboveCaption(shown.Find<QPushButton>(name), caption, 12);
    shown.Click("cmdExit");
    EXPECT_FALSE(shown.window.isVisible());
}

// A re-key check's differing line stands out on the tape and says what the first keying has; the
// grand total shows with its option alone.
TEST(RekeyMark, ADifferingLineStandsOutAndSaysHow) {
    test::ShownWindow shown(std::map<std::string, std::string>{{"Grand Total", "True"}});
    shown.Type("12+1205+3=");
    shown.fakes.messages.answers = {MessageAnswer::No};
    shown.machine.Run(Command::RekeyCheck);
    shown.window.Render();
    shown.Type("12+1250+");
    shown.window.Render();
    const QAbstractItemModel* model = shown.Find<QListView>("lstTape")->model();
    const QModelIndex same = model->index(1, 0), differs = model->index(2, 0);
    EXPECT_FALSE(model->data(same, Qt::BackgroundRole).isValid());
    EXPECT_FALSE(model->data(same, Qt::AccessibleDescriptionRole).isValid());
    EXPECT_TRUE(model->data(differs, Qt::BackgroundRole).value<QColor>().isValid());
    for (const int role : {int(Qt::ToolTipRole), int(Qt::AccessibleDescriptionRole)})
        EXPECT_EQ(model->data(differs, role).toString().toStdString(), "Differs: the first keying has 1,205.00 +");
    // Ended: the mark goes.
    shown.machine.Run(Command::RekeyCheck);
    shown.window.Render();
    EXPECT_FALSE(model->data(differs, Qt::BackgroundRole).isValid());
    auto* grand = shown.Find<IndicatorLabel>("lblGrandTotal");
    EXPECT_TRUE(grand->isVisible());
    shown.machine.Run(Command::GrandTotalOption);
    shown.window.Render();
    EXPECT_FALSE(grand->isVisible());
}


// The File menu's Export submenu as the user and a screen reader meet it.
QStringList AccessibleNames(QWidget* menu) {
    QStringList names;
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(menu);
    if (!face) return names;
    for (int i = 0; i < face->childCount(); ++i) names << face->child(i)->text(QAccessible::Name);
    return names;
}

TEST(ExportMenu, ScreenReadersHearTheSubmenuAndItsItems) {
    test::ShownWindow shown;
    const QStringList fileItems = AccessibleNames(shown.Find<QMenu>("mnuFIFile"));
    const auto saveAs = fileItems.indexOf(QStringLiteral("Save As..."));
    ASSERT_GE(saveAs, 0) << fileItems.join('|').toStdString();
    EXPECT_EQ(fileItems.value(saveAs + 1), QStringLiteral("Export"));
    EXPECT_EQ(AccessibleNames(shown.Find<QMenu>("mnuFIExport")), (QStringList{"PDF...", "CSV..."}));
}

// The tooltips follow the one switch, and no caption stands in for them while it is off.
TEST(ExportMenu, TooltipsFollowTheSwitch) {
    test::ShownWindow shown;
    auto* exportMenu = shown.Find<QMenu>("mnuFIExport");
    const bool on = shown.machine.IsChecked(Command::ShowTooltips);
    for (const bool shownNow : {on, !on}) {
        EXPECT_EQ(exportMenu->toolTipsVisible(), shownNow);
        for (const char* item : {"mnuFIExportPdf", "mnuFIExportCsv"}) {
            auto* action = shown.Find<QAction>(item);
            EXPECT_FALSE(action->toolTip().isEmpty()) << item;
            EXPECT_NE(action->toolTip(), action->text()) << item;
        }
        shown.machine.Run(Command::ShowTooltips);
        shown.window.Render();
    }
}

TEST(ExportMenu, EachItemRunsItsExport) {
    test::ShownWindow shown;
    shown.machine.Run(Command::PromptPrintCaption);  // off: the file dialog comes at once
    for (const char* name : {"mnuFIExportPdf", "mnuFIExportCsv"}) {
        auto* action = shown.window.findChild<QAction*>(QString::fromLatin1(name));
        ASSERT_NE(action, nullptr) << name;
        EXPECT_TRUE(action->isEnabled()) << name;
        action->trigger();
    }
    ASSERT_EQ(shown.fakes.dialogs.fileRequests.size(), 2u);
    EXPECT_EQ(shown.fakes.dialogs.fileRequests[0].filter, "PDF files (*.pdf)|*.pdf");
    EXPECT_EQ(shown.fakes.dialogs.fileRequests[1].filter,
              "CSV (comma, point) (*.csv)|*.csv|CSV for this locale (*.csv)|*.csv");
}


// The tape list as a screen reader sees it while the user walks the tape with the keyboard.
// Which lines a screen reader is told are selected, and which one has its focus (-1: none).
struct Heard {
    std::vector<int> selected;
    int focused = -1;
    bool operator==(const Heard&) const = default;
};

Heard Hear(QWidget* tape) {
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(tape);
    Heard heard;
    if (!list || !list->tableInterface()) {
        ADD_FAILURE() << "the tape offers no accessible table of its rows";
        return heard;
    }
    for (int row : list->tableInterface()->selectedRows()) heard.selected.push_back(row);
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    // Qt 6.5 and later also offer a list's selection through a selection interface of its own;
    // 6.4 has none, and there a screen reader finds the selected rows through the table.
    EXPECT_NE(list->selectionInterface(), nullptr);
    if (list->selectionInterface())
        EXPECT_EQ(list->selectionInterface()->selectedItemCount(), static_cast<int>(heard.selected.size()));
#endif
    for (int i = 0; i < list->childCount(); ++i) {
        const QAccessible::State state = list->child(i)->state();
        EXPECT_EQ(state.selected, list->tableInterface()->isRowSelected(i)) << "line " << i;
        if (state.focused) {
            EXPECT_EQ(heard.focused, -1) << "two focused lines";
            heard.focused = i;
        }
    }
    return heard;
}

TEST(TapeAccessibility, TheFocusWalksWithTheSelection) {
    test::ShownWindow shown;
    shown.Type("1+2+3+");
    auto* tape = shown.Find<TapeView>("lstTape");
    struct Step {
        int key;  // a key code, or a character typed when below 0
        Heard heard;
    };
    const Step steps[] = {
        {vk::Up, {{2}, 2}},  // the line above the last
        {vk::Up, {{1}, 1}},
        {vk::Up, {{0}, 0}},
        {vk::Down, {{1}, 1}},
        {-'+', {{}, -1}},  // an operation ends the walk
        {vk::Up, {{2}, 2}},
    };
    for (const Step& step : steps) {
        shown.Key(std::max(step.key, 0), 0, static_cast<char>(std::max(-step.key, 0)));
        const Heard heard = Hear(tape);
        EXPECT_EQ(heard.selected, step.heard.selected) << "after key " << step.key;
        EXPECT_EQ(heard.focused, step.heard.focused) << "after key " << step.key;
    }
}

}  // namespace
}  // namespace qb
