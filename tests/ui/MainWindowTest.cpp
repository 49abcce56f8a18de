// The real main window, offscreen, driven by key events and clicks as a user would drive it.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QColor>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QWheelEvent>
#include <QtTest/QTest>
#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "ShownWindow.h"
#include "window/KeyCodes.h"
#include "windows/IndicatorLabel.h"
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
    EXPECT_EQ(shown.window.focusWidget(), shown.Find("txtKeyStroke"));
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

// A long tape shows its last sixteen lines, selects a line by a click and recalls one by a
// double click; scrolled by hand, it stays where it was left while a number is typed.
TEST(MainWindow, LongTapeShowsItsLastSixteenLinesSelectsByClickAndScrollsByHand) {
    ShownWindow shown;
    for (int i = 1; i <= 1000; ++i) shown.Type(std::to_string(i) + "+");
    auto* view = shown.Find<QListView>("lstTape");
    ASSERT_EQ(view->model()->rowCount(), 1001);
    // The first visible line is the tape's top line, the last line shows at the bottom.
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

    const auto top = shown.machine.GetTape().TopIndex();
    QWheelEvent wheel(QPointF(10, 10), view->viewport()->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view->viewport(), &wheel);
    const auto scrolled = shown.machine.GetTape().TopIndex();
    EXPECT_LT(scrolled, top);
    EXPECT_EQ(view->verticalScrollBar()->value(), scrolled);
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
    const QRect tape = shown.Find("lstTape")->geometry();
    shown.Type("12.5+3");
    shown.Strike({Qt::Key_F11});

    EXPECT_TRUE(window.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(shown.Find("frmKeys")->isVisible());
    auto* twin = shown.Find<QLineEdit>("txtAltDisplay");
    ASSERT_TRUE(twin->isVisible());
    EXPECT_EQ(twin->text(), QStringLiteral("3"));
    EXPECT_EQ(shown.Find<QLabel>("lblAltOperator")->text(), QStringLiteral("+"));
    EXPECT_LT(window.width(), expanded.width() / 2);
    EXPECT_TRUE(window.rect().contains(shown.Find("lstTape")->geometry())) << "tape cut off";
    for (const Menu& menu : MainMenus())
        EXPECT_EQ(shown.Find<QMenu>(menu.name.c_str())->menuAction()->isVisible(), menu.name == "mnuFIFile")
            << menu.name;

    shown.Strike({Qt::Key_F11});
    EXPECT_EQ(window.size(), expanded);
    EXPECT_FALSE(twin->isVisible());
    EXPECT_TRUE(shown.Find("frmKeys")->isVisible());
    EXPECT_EQ(shown.Find("lstTape")->geometry(), tape);
}

// A long pasted number shows whole in a smaller type, or, longer still, from its sign and first
// digits; never only its end, which reads as another number. A short one has the full type again.
TEST(MainWindow, ALongNumberShowsWholeOrFromItsSign) {
    ShownWindow shown;
    const double designed = shown.Find("txtDisplay")->font().pointSizeF();
    struct Case {
        const char* pasted;
        bool smaller, whole;
    };
    const Case cases[] = {
        {"-12", false, true},
        {"-0.000000001234567891234", true, true},
        {"-12345678901234567890123456789012345678901234567890123456789012345678901234567890", true, false},
        {"-7", false, true},
    };
    for (bool collapsed : {false, true}) {
        if (collapsed) shown.Strike({Qt::Key_F11});
        auto* box = shown.Find<QLineEdit>(collapsed ? "txtAltDisplay" : "txtDisplay");
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << c.pasted << (collapsed ? " collapsed" : ""));
            shown.fakes.clipboard.text = c.pasted;
            shown.Strike({Qt::Key_V, Qt::ControlModifier});
            ASSERT_EQ(box->text().front(), QLatin1Char('-'));
            EXPECT_EQ(box->font().pointSizeF() < designed, c.smaller);
            EXPECT_GE(box->font().pointSizeF(), designed / 2);
            const bool fits = QFontMetrics(box->font()).horizontalAdvance(box->text()) < box->contentsRect().width();
            EXPECT_EQ(fits, c.whole);
            if (!c.whole) {
                EXPECT_EQ(box->cursorPosition(), 0);
            }
        }
    }
}

// The collapsed window, moved and closed, comes back collapsed where it was left (where the
// outer window stands is checked under a real window manager, end to end).
TEST(MainWindow, TheCollapsedWindowComesBackWhereItWasLeft) {
    std::map<std::string, std::string> stored;
    {
        ShownWindow shown;
        shown.Strike({Qt::Key_F11});
        shown.window.move(shown.window.Pixels(1500), shown.window.Pixels(3000));
        shown.window.close();
        stored = shown.fakes.settings.values;
    }
    ShownWindow again(stored);
    EXPECT_EQ(again.window.windowTitle(), QStringLiteral("tQB 1999"));
    EXPECT_EQ(again.window.pos(), QPoint(again.window.Pixels(1500), again.window.Pixels(3000)));
    again.Strike({Qt::Key_Escape});
    EXPECT_EQ(again.window.windowTitle(), QStringLiteral("the Quillbox"));
    again.Strike({Qt::Key_F11});  // collapsed once more, the small window goes back to its place
    EXPECT_EQ(again.window.pos(), QPoint(again.window.Pixels(1500), again.window.Pixels(3000)));
    again.Strike({Qt::Key_F11});
    again.window.close();
    EXPECT_EQ(again.fakes.settings.values["Last Mode"], "False");
}

// Every button, box and list has a name a screen reader speaks; the twin Entry box is named as
// the Entry box, and the places indicators say how many places they stand for. The reader hears
// the values shown and the tape's lines, and pressing an indicator through it selects its mode.
// The File menu's Export submenu is heard after Save As, with its two items.
TEST(MainWindow, ScreenReadersHearTheControlsTheirValuesAndTheMenus) {
    ShownWindow shown;
    shown.Type("12.5+3");
    auto face = [&](const char* object) { return QAccessible::queryAccessibleInterface(shown.Find(object)); };
    std::vector<QWidget*> controls;
    for (QAbstractButton* b : shown.window.findChildren<QAbstractButton*>()) controls.push_back(b);
    for (QLineEdit* b : shown.window.findChildren<QLineEdit*>()) controls.push_back(b);
    controls.push_back(shown.Find("lstTape"));
    controls.push_back(shown.Find("lblOperator"));
    for (QWidget* control : controls) {
        const QString object = control->objectName();  // Qt's own controls start "qt_"
        if (!object.isEmpty() && !object.startsWith(QStringLiteral("qt_")) && object != QStringLiteral("txtKeyStroke")) {
            EXPECT_FALSE(QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name).isEmpty())
                << object.toStdString();
        }
    }
    const std::tuple<const char*, QAccessible::Text, const char*> heard[] = {
        {"txtAltDisplay", QAccessible::Name, "Entry box"},
        {"lblDecimalPlaces0", QAccessible::Name, "Floating point"},
        {"lblDecimalPlaces4", QAccessible::Name, "4 decimal places"},
        {"txtDisplay", QAccessible::Value, "3"},
        {"lblOperator", QAccessible::Value, "+"},
        {"lblDecimalPlaces2", QAccessible::Value, "2"},
    };
    for (const auto& [object, kind, text] : heard)
        EXPECT_EQ(face(object)->text(kind).toStdString(), text) << object;
    EXPECT_TRUE(face("lblDecimalPlaces2")->state().checked);
    EXPECT_FALSE(face("lblDecimalPlaces3")->state().checked);
    face("lblDecimalPlaces3")->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(shown.machine.GetCalculator().DecimalPlaces(), 3);

    QAccessibleInterface* tape = face("lstTape");
    ASSERT_NE(tape, nullptr);
    ASSERT_EQ(tape->childCount(), 2);
    EXPECT_EQ(tape->child(0)->text(QAccessible::Name).toStdString(), kStartLine);
    EXPECT_EQ(tape->child(1)->text(QAccessible::Name).toStdString(), "           12.50 +");

    auto items = [&](const char* menu) {
        QStringList names;
        QAccessibleInterface* list = QAccessible::queryAccessibleInterface(shown.Find<QMenu>(menu));
        for (int i = 0; list && i < list->childCount(); ++i) names << list->child(i)->text(QAccessible::Name);
        return names;
    };
    const QStringList fileItems = items("mnuFIFile");
    ASSERT_GE(fileItems.indexOf(QStringLiteral("Save As...")), 0) << fileItems.join('|').toStdString();
    EXPECT_EQ(fileItems.value(fileItems.indexOf(QStringLiteral("Save As...")) + 1), QStringLiteral("Export"));
    EXPECT_EQ(items("mnuFIExport"), (QStringList{"PDF...", "CSV..."}));
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

// The grand total on the Memory frame's edge shows its words whole, right of the frame's caption,
// however long the total: a long one widens the label, a longer one shortens its number.
TEST(GrandTotal, TheLabelShowsItsWordsWholeForAnyTotal) {
    const struct {
        const char* keys;
        const char* number;  // shown whole, or nothing when too long to show
    } cases[] = {
        {"12+=", "12.00"},
        {"15000000000000*10000000=", "150,000,000,000,000,000,000.00"},
        {"999999999999999*999999999999999*999999999999999*999999999999999=", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys);
        test::ShownWindow shown(std::map<std::string, std::string>{{"Grand Total", "True"}});
        shown.Type(c.keys);
        auto* grand = shown.Find<IndicatorLabel>("lblGrandTotal");
        const auto* frame = shown.Find<QGroupBox>("frmMemory");
        const QString text = grand->text();
        EXPECT_TRUE(text.startsWith(QStringLiteral(" Grand total "))) << text.toStdString();
        if (c.number) {
            EXPECT_EQ(text.trimmed(), QStringLiteral("Grand total ") + QLatin1String(c.number));
        } else {
            EXPECT_TRUE(text.contains(QChar(0x2026))) << text.toStdString();
            EXPECT_TRUE(grand->ValueText().startsWith(QStringLiteral("Grand total 99,999,"))) << grand->ValueText().toStdString();
            EXPECT_GT(grand->ValueText().size(), text.size());
        }
        EXPECT_LE(grand->fontMetrics().horizontalAdvance(text), grand->width());
        EXPECT_GT(grand->x(), frame->fontMetrics().horizontalAdvance(frame->title()));
        EXPECT_LE(grand->geometry().right(), frame->width());
    }
}

// The tape list as a screen reader hears it while the user walks the tape with the keyboard:
// the selected lines, "/", the line with the focus.
std::string Heard(QWidget* tape) {
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(tape);
    if (!list || !list->tableInterface()) return "no accessible table of the rows";
    std::string heard;
    for (int row : list->tableInterface()->selectedRows()) heard += std::to_string(row);
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    // Qt 6.5 and later also offer a list's selection through a selection interface of its own.
    if (list->selectionInterface())
        EXPECT_EQ(list->selectionInterface()->selectedItemCount(), list->tableInterface()->selectedRowCount());
#endif
    heard += "/";
    for (int i = 0; i < list->childCount(); ++i) {
        EXPECT_EQ(list->child(i)->state().selected, list->tableInterface()->isRowSelected(i)) << "line " << i;
        if (list->child(i)->state().focused) heard += std::to_string(i);
    }
    return heard;
}

TEST(TapeAccessibility, TheFocusWalksWithTheSelection) {
    test::ShownWindow shown;
    shown.Type("1+2+3+");
    // A key code, or a character typed when below 0 (an operation ends the walk).
    const std::pair<int, const char*> steps[] = {
        {vk::Up, "2/2"}, {vk::Up, "1/1"}, {vk::Up, "0/0"}, {vk::Down, "1/1"}, {-'+', "/"}, {vk::Up, "2/2"}};
    for (const auto& [key, heard] : steps) {
        shown.Key(std::max(key, 0), 0, static_cast<char>(std::max(-key, 0)));
        EXPECT_EQ(Heard(shown.Find("lstTape")), heard) << "after key " << key;
    }
}

}  // namespace
}  // namespace qb
