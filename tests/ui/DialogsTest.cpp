// The dialogs and windows beside the main one, offscreen: what they offer, what their keys do and
// what they hand back.

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QPointer>
#include <QWindow>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QListView>
#include <QTreeView>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>
#include <QtTest/QTest>
#include <optional>
#include <tuple>
#include <sys/stat.h>

#include "Machine.h"
#include "fakes/FakePorts.h"
#include "platform/QtClockPort.h"
#include "platform/QtDialogPort.h"
#include "platform/QtFilePort.h"
#include "ShownWindow.h"
#include "timers/TimedEvent.h"
#include "windows/ChooseCopyDialog.h"
#include "windows/MainWindow.h"
#include "windows/SplashWindow.h"
#include "windows/TapeCaptionDialog.h"
#include "windows/TimedEventDialog.h"
#include "windows/UserGuideWindow.h"

namespace qb {
namespace {

using test::Child;

void CtrlT(QWidget* target) { QTest::keyClick(target, Qt::Key_T, Qt::ControlModifier); }

TEST(CaptionPrompt, LimitsTheTextAndSwitchesItsTooltips) {
    TapeCaptionDialog dialog(QStringLiteral("Old"), false);
    auto* box = Child<QLineEdit>(dialog, "txtTapeCaption");
    EXPECT_EQ(box->text(), QStringLiteral("Old"));
    box->setText(QString(80, QLatin1Char('c')));
    EXPECT_EQ(dialog.Text().size(), 75);
    EXPECT_TRUE(Child(dialog, "cmdOK")->toolTip().isEmpty());
    CtrlT(box);
    EXPECT_TRUE(dialog.TooltipsOn());
    EXPECT_EQ(Child(dialog, "cmdOK")->toolTip(), QStringLiteral("Click OK to do the print or save"));
    EXPECT_EQ(box->text().size(), 75);  // the toggling key typed nothing
    QTest::keyClick(&dialog, Qt::Key_F5, Qt::ControlModifier);
    EXPECT_FALSE(dialog.TooltipsOn());
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.Cancelled());
    // Closed otherwise, it keeps the caption it came with.
    TapeCaptionDialog closed(QStringLiteral("Kept"), true);
    closed.show();
    Child<QLineEdit>(closed, "txtTapeCaption")->setText(QStringLiteral("Typed"));
    closed.close();
    EXPECT_FALSE(closed.Cancelled());
    EXPECT_EQ(closed.Text(), QStringLiteral("Kept"));
}

// At the designed font and a large desktop font, every choice shows whole, apart from the next and
// inside its frame, above OK and Cancel, which at the designed font show a picture above their
// caption. The selected line is offered only when there is one; the keyboard starts on the
// checked choice, so Space keeps it.
TEST(ChooseCopy, ChoicesStandApartWithTheKeyboardOnTheCheckedOne) {
    for (double points : {8.0, 16.0})
        for (bool selected : {false, true}) {
            SCOPED_TRACE(testing::Message() << points << " pt, selected " << selected);
            test::DesktopFont font(points);
            ChooseCopyDialog dialog(selected, selected);  // tooltips on with a selection
            dialog.show();
            QApplication::setActiveWindow(&dialog);
            EXPECT_EQ(Child(dialog, "optCopy1")->isEnabled(), selected);
            EXPECT_EQ(Child(dialog, "optCopy2")->toolTip().isEmpty(), !selected);
            const QWidget* frame = Child(dialog, "frmChooseCopy");
            QRect above;
            for (const char* name : {"optCopy0", "optCopy1", "optCopy2"}) {
                const auto* option = Child<QRadioButton>(dialog, name);
                const QRect place = option->geometry();
                EXPECT_GE(place.height(), option->sizeHint().height()) << name;
                EXPECT_TRUE(frame->contentsRect().contains(place)) << name;
                if (!above.isNull()) {
                    EXPECT_GT(place.top(), above.bottom()) << name;
                }
                above = place;
            }
            for (const char* name : {"cmdOK", "cmdCancel"}) {
                EXPECT_GT(Child(dialog, name)->geometry().top(), frame->geometry().bottom()) << name;
                EXPECT_TRUE(dialog.rect().contains(Child(dialog, name)->geometry())) << name;
            }
            if (points == 8.0) {
                test::ExpectPictureAboveCaption(Child<QPushButton>(dialog, "cmdOK"), "&OK", 16);
                test::ExpectPictureAboveCaption(Child<QPushButton>(dialog, "cmdCancel"), "&Cancel", 16);
            }
            const char* checked = selected ? "optCopy1" : "optCopy0";
            EXPECT_TRUE(Child<QRadioButton>(dialog, checked)->isChecked());
            EXPECT_EQ(QApplication::focusWidget(), Child(dialog, checked));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
            QTest::keyClick(&dialog, Qt::Key_Return);
            EXPECT_EQ(dialog.Choice(), std::optional<char>(selected ? 'S' : 'L'));
        }
    // A click on OK takes the choice clicked; Cancel takes none.
    ChooseCopyDialog clicked(false, false), cancelled(false, false);
    Child<QRadioButton>(clicked, "optCopy2")->setChecked(true);
    QTest::mouseClick(Child<QPushButton>(clicked, "cmdOK"), Qt::LeftButton);
    EXPECT_EQ(clicked.Choice(), std::optional<char>('W'));
    QTest::mouseClick(Child<QPushButton>(cancelled, "cmdCancel"), Qt::LeftButton);
    EXPECT_EQ(cancelled.Choice(), std::nullopt);
}

// The timed event's dialog on a clock, shown and active.
struct EventDialog {
    EventDialog(const TimedEventForm& form, ClockPort& clock) : rules(clock), dialog(form, false, rules, messages) {
        dialog.show();
        QApplication::setActiveWindow(&dialog);
    }
    QLineEdit* Box(const char* name) { return Child<QLineEdit>(dialog, name); }
    test::FakeMessagePort messages;
    TimedEventRules rules;
    TimedEventDialog dialog;
};

// A Turkish user types the month's name in letters beyond the Western code page: leaving the box
// rewrites it the locale's way, and the event keeps the day meant. Begin refuses an event name it
// cannot take, with the focus on its box.
TEST(TimedEventSetup, BeginRefusesWithTheFocusOnTheBoxAtFaultAndKeepsTheDayMeant) {
    QtClockPort clock{QLocale(QStringLiteral("tr_TR"))};
    EventDialog shown(TimedEventForm{"Pat", "", "Audit, part 2", 0}, clock);
    TimedEventDialog& dialog = shown.dialog;
    EXPECT_TRUE(Child<QRadioButton>(dialog, "optColor7")->isChecked());  // colour 0 comes back as 7
    QLineEdit* date = shown.Box("txtDate");
    date->setFocus();
    date->setText(QString::fromUtf8("4 \xC5\x9E" "ub 24"));
    QTest::keyClick(date, Qt::Key_Return);
    EXPECT_EQ(date->text(), QStringLiteral("4.02.2024"));
    QTest::keyClick(&dialog, Qt::Key_F9);
    EXPECT_FALSE(dialog.Begun());
    EXPECT_EQ(shown.messages.Errors(), std::vector<std::string>{"The Event may contain numbers and letters only!"});
    EXPECT_EQ(QApplication::focusWidget(), shown.Box("txtEvent"));
    shown.Box("txtEvent")->setText(QStringLiteral("Audit"));
    QTest::mouseClick(Child(dialog, "lblColor3"), Qt::LeftButton);
    QTest::mouseClick(Child<QPushButton>(dialog, "cmdBegin"), Qt::LeftButton);
    ASSERT_TRUE(dialog.Begun());
    EXPECT_EQ(dialog.Form().date, "2/4/2024");
    EXPECT_EQ(dialog.Form().colorIndex, 3);
}

TEST(TimedEventSetup, EnterWalksTheBoxes) {
    test::FakeClockPort clock;
    EventDialog shown(TimedEventForm{"", "", "", 7}, clock);
    shown.Box("txtName")->setFocus();
    const char* const walk[] = {"txtDate", "txtEvent", "optColor7", "txtName"};
    for (const char* next : walk) {
        if (QApplication::focusWidget() == shown.Box("txtDate")) QTest::keyClicks(QApplication::focusWidget(), "7/4/99");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget(), Child(shown.dialog, next));
    }
}

// Each colour's option button stands just left of its own swatch, well clear of the swatch of
// the colour before it, and the swatches grow with the font, at the designed font and at a large
// desktop font.
TEST(TimedEventSetup, EachOptionStandsAgainstItsOwnColour) {
    for (double points : {8.0, 16.0}) {
        SCOPED_TRACE(points);
        test::DesktopFont font(points);
        test::FakeClockPort clock;
        EventDialog shown(TimedEventForm{"", "", "", 7}, clock);
        auto place = [&](const char* kind, int i) {
            return Child(shown.dialog, (kind + std::to_string(i)).c_str())->geometry();
        };
        for (int i = 0; i < 8; ++i) {
            SCOPED_TRACE(i);
            const QRect option = place("optColor", i), swatch = place("lblColor", i);
            EXPECT_NEAR(option.center().y(), swatch.center().y(), 2);
            // The swatch is at least as tall as a line of the dialog's text.
            EXPECT_GE(swatch.height(), shown.dialog.fontMetrics().height());
            const int gap = swatch.left() - option.right();
            EXPECT_GT(gap, 0);
            EXPECT_LE(gap, 12);
            if (i >= 2) {
                EXPECT_GT(option.left() - place("lblColor", i - 2).right(), 2 * gap);
            }
        }
    }
}

// The topic files of a start directory and a data folder, as the program lists them.
std::vector<TopicFolder> TopicsIn(const QString& start, const QString& data = {}) {
    static QtFilePort files;
    Locations locations(files);
    locations.SetFolders({start.toStdString(), data.toStdString(), "", ""});
    return locations.TopicFolders();
}

void WriteTopic(const QDir& dir, const char* name, const QByteArray& text) {
    QFile file(dir.filePath(QString::fromUtf8(name)));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("{\\rtf1\\ansi " + text + "\\par}");
}

// The User Guide on the topics of a start directory and a data folder, with its list of topics.
struct Guide {
    explicit Guide(const QString& start, const QString& data = {})
        : window(TopicsIn(start, data), false, messages, nullptr),
          list(Child<QComboBox>(window, "cmbTopics")) {}
    QString Text() { return Child<QTextBrowser>(window, "rtbText")->toPlainText(); }
    // Whether First, Previous, Next and Last may be pressed.
    std::vector<bool> Walking() {
        std::vector<bool> enabled;
        for (const char* button : {"cmdFirst", "cmdPrev", "cmdNext", "cmdLast"})
            enabled.push_back(Child(window, button)->isEnabled());
        return enabled;
    }
    test::FakeMessagePort messages;
    UserGuideWindow window;
    QComboBox* list;
};

// Chooses an entry from the dropped-down list, as the user does.
void Choose(QComboBox* list, int index) {
    list->showPopup();
    list->view()->setCurrentIndex(list->model()->index(index, 0));
    QTest::keyClick(list->view(), Qt::Key_Return);
}

// Topic names in the user's language: UTF-8 file names shown as written, in the language's
// alphabetical order without regard to case, and found by their first letter in either case.
TEST(UserGuide, TopicsSortAndSearchInTheUsersLanguage) {
    QTemporaryDir dir;
    for (const char* name : {"UG Zebra.rtf", "UG \xC3\xA4rger.rtf", "UG Apfel.rtf", "UG \xC3\x96l.rtf", "UG Ostern.rtf",
                             "UG Step 10.rtf", "UG Step 2.rtf", "UG Benefits.rtf"})
        WriteTopic(QDir(dir.path()), name, "text");
    const QString aerger = QString::fromUtf8("\xC3\xA4rger"), oel = QString::fromUtf8("\xC3\x96l");
    struct Case {
        const char* locale;
        QStringList order;
    };
    const Case cases[] = {
        {"de_DE", {"Apfel", aerger, "Benefits", oel, "Ostern", "Step 2", "Step 10", "Zebra"}},
        {"sv_SE", {"Apfel", "Benefits", "Ostern", "Step 2", "Step 10", "Zebra", aerger, oel}},  // Swedish: after Z
    };
    const QLocale before;
    for (const Case& c : cases) {
        QLocale::setDefault(QLocale(QString::fromLatin1(c.locale)));
        Guide guide(dir.path());
        QComboBox* list = guide.list;
        QStringList shown;
        for (int i = 0; i < list->count(); ++i) shown << list->itemText(i);
        EXPECT_EQ(shown, c.order) << c.locale;
        // Typed letters, from "Benefits": each finds the next topic with that first letter. Alt
        // with a letter is a button's key (one disabled, say), never a letter typed.
        const std::tuple<QString, Qt::KeyboardModifiers, QString> steps[] = {
            {QString::fromUtf8("\xC3\x84"), Qt::NoModifier, aerger}, {"a", Qt::NoModifier, "Apfel"},
            {QString::fromUtf8("\xC3\xB6"), Qt::NoModifier, oel},    {"O", Qt::NoModifier, "Ostern"},
            {QString::fromUtf8("\xC3\xB6"), Qt::NoModifier, oel},    {"z", Qt::AltModifier, oel}};
        for (const auto& [letter, modifiers, topic] : steps) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, modifiers, letter);
            QApplication::sendEvent(list, &press);
            EXPECT_EQ(list->currentText(), topic) << c.locale << ": " << letter.toStdString();
        }
    }
    QLocale::setDefault(before);
}

// What the program asks of the file dialog: its folder, the name offered, its filter, and no
// overwrite question of its own (the program asks about the name with ".QBX" added); and the
// file chosen in it comes back.
TEST(FileDialog, StartsInTheFolderWithTheNameAndFilterAskedFor) {
    QTemporaryDir dir;
    struct Case {
        bool save;
        QString initialName, name;
        bool chosen;  // march.QBX chosen in the dialog, else it is cancelled
    };
    const Case cases[] = {
        {true, dir.path() + "/*.QBX", "", false},
        {true, dir.path() + "/march.QBX", "march.QBX", false},
        {false, dir.path() + "/*.QBX", "", true},
    };
    QFile tape(dir.filePath("march.QBX"));
    ASSERT_TRUE(tape.open(QIODevice::WriteOnly));
    tape.close();
    test::FakeMessagePort messages;
    QtDialogPort port(messages);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.initialName.toStdString());
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            seen = true;
            EXPECT_EQ(dialog->windowTitle(), QStringLiteral("the Quillbox"));
            EXPECT_EQ(dialog->acceptMode(), c.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
            EXPECT_EQ(dialog->fileMode(), c.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
            EXPECT_TRUE(!c.save || dialog->testOption(QFileDialog::DontConfirmOverwrite));
            EXPECT_TRUE(dialog->defaultSuffix().isEmpty());
            EXPECT_EQ(QDir(dialog->directory()).canonicalPath(), QDir(dir.path()).canonicalPath());
            EXPECT_EQ(dialog->nameFilters(), QStringList{QStringLiteral("Tape Files (*.QBX)")});
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(name, nullptr);
            EXPECT_EQ(name->text(), c.name);
            if (!c.chosen) return dialog->reject();
            dialog->selectFile(tape.fileName());
            QMetaObject::invokeMethod(dialog, "accept");
        });
        const auto chosen =
            port.FileDialog({c.save, "the Quillbox", "Tape Files (*.QBX)|*.QBX", c.initialName.toStdString()});
        EXPECT_TRUE(seen);
        const QString cancelled = QStringLiteral("(cancelled)");
        EXPECT_EQ(chosen ? QFileInfo(QString::fromStdString(*chosen)).canonicalFilePath() : cancelled,
                  c.chosen ? QFileInfo(tape).canonicalFilePath() : cancelled);
    }
}

// At any desktop font the file dialog shows its places, its columns' titles and a file's size,
// type and date whole, within the screen.
TEST(FileDialog, PlacesAndColumnsAreWholeAtTheDesktopFont) {
    QTemporaryDir dir;
    QFile tape(dir.filePath("march.QBX"));
    ASSERT_TRUE(tape.open(QIODevice::WriteOnly));
    tape.write(QByteArray(1500, 'x'));
    tape.close();
    test::FakeMessagePort messages;
    QtDialogPort port(messages);
    for (const double points : {9.0, 16.0}) {
        SCOPED_TRACE(points);
        test::DesktopFont font(points);
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            const QFontMetrics metrics(dialog->font());
            auto* places = dialog->findChild<QListView*>(QStringLiteral("sidebar"));
            auto* tree = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
            ASSERT_TRUE(places && tree);
            EXPECT_GE(places->width(), places->sizeHintForColumn(0));
            // The folder is read in the background.
            const QModelIndex folder = tree->rootIndex();
            EXPECT_TRUE(QTest::qWaitFor([&] { return tree->model()->rowCount(folder) > 0; }));
            const QHeaderView* header = tree->header();
            for (int column = 1; column < 4 && column < header->count(); ++column) {
                const QString title = header->model()->headerData(column, Qt::Horizontal).toString();
                const QString value = tree->model()->index(0, column, folder).data().toString();
                EXPECT_GT(header->sectionSize(column), metrics.horizontalAdvance(title)) << title.toStdString();
                EXPECT_GT(header->sectionSize(column), metrics.horizontalAdvance(value)) << value.toStdString();
            }
            // Every column shows without scrolling, where the screen left the dialog room to.
            const QRect screen = dialog->screen()->availableGeometry();
            if (dialog->width() < screen.width() * 9 / 10) {
                EXPECT_LE(header->length(), tree->viewport()->width());
            }
            EXPECT_TRUE(screen.contains(dialog->frameGeometry()));
            dialog->reject();
        });
        port.FileDialog({false, "the Quillbox", "Tape Files (*.QBX)|*.QBX", dir.path().toStdString() + "/*.QBX"});
    }
}

// The note and find prompts show their whole label at any desktop font, and give back what was
// typed, or nothing when cancelled.
TEST(TextPrompts, LabelsAreWholeAndTheTextComesBack) {
    test::FakeMessagePort messages;
    QtDialogPort port(messages);
    for (const double points : {9.0, 16.0}) {
        for (const bool note : {true, false}) {
            for (const bool cancel : {false, true}) {
                SCOPED_TRACE(std::to_string(points) + (note ? " note" : " find") + (cancel ? " cancelled" : ""));
                test::DesktopFont font(points);
                QTimer::singleShot(0, [&] {
                    auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
                    ASSERT_NE(dialog, nullptr);
                    for (QLabel* label : dialog->findChildren<QLabel*>())
                        EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text().remove('&')));
                    EXPECT_TRUE(dialog->screen()->availableGeometry().contains(dialog->frameGeometry()));
                    dialog->setTextValue(QStringLiteral("Fuel, März"));
                    if (cancel) {
                        dialog->reject();
                    } else {
                        dialog->accept();
                    }
                });
                bool tooltips = false;
                const auto answer = note ? port.NotePrompt("", tooltips) : port.FindPrompt("", tooltips);
                EXPECT_EQ(answer, cancel ? std::nullopt : std::optional<std::string>("Fuel, März"));
            }
        }
    }
}

// The printer dialog offers what the program allows, and the copies chosen in it come back to
// the program, which prints each as a job of its own: the printer itself is left at one copy.
TEST(PrinterDialog, CopiesComeBackToBePrintedOneJobEach) {
    test::FakeMessagePort messages;
    QtDialogPort port(messages);
    for (int wanted : {3, 0}) {  // 0: cancelled
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->windowTitle(), QStringLiteral("the Quillbox"));
            for (auto option : {QAbstractPrintDialog::PrintToFile, QAbstractPrintDialog::PrintSelection,
                                QAbstractPrintDialog::PrintPageRange, QAbstractPrintDialog::PrintCurrentPage})
                EXPECT_FALSE(dialog->testOption(option)) << option;
            auto* copies = dialog->findChild<QSpinBox*>(QStringLiteral("copies"));
            ASSERT_NE(copies, nullptr);
            // Qt offers its page ranges through the print service even when the program asks
            // for none; the program offers none.
            auto* range = dialog->findChild<QWidget*>(QStringLiteral("gbPrintRange"));
            ASSERT_NE(range, nullptr);
            EXPECT_TRUE(range->isHidden());
            EXPECT_EQ(copies->value(), 1);  // what the printer holds: the last run's copies do not stay
            if (wanted == 0) return dialog->reject();
            copies->setValue(wanted);
            QMetaObject::invokeMethod(dialog, "accept");
        });
        const std::optional<int> copies = port.PrinterDialog("the Quillbox");
        EXPECT_EQ(copies, wanted ? std::optional<int>(wanted) : std::nullopt);
        EXPECT_EQ(port.QtPrinter().copyCount(), 1);
    }
}

// The guide lists the topics of the start directory beside the installed ones, the start
// directory's copy winning; it opens on Benefits, walks and searches by first letter, and says
// when a topic cannot be read. (Its Ctrl+T is the main window's, below.)
TEST(UserGuide, OpensOnBenefitsWalksAndSearches) {
    QTemporaryDir dir, data;
    for (const char* name : {"UG Zebra.rtf", "UG apple.rtf", "UG Benefits.rtf", "UG Budget.rtf", "notes.txt"})
        WriteTopic(QDir(dir.path()), name, QByteArray("{\\b ") + name + "}\\par Some text.");
    WriteTopic(QDir(data.path()), "UG benefits.rtf", "Installed benefits");
    WriteTopic(QDir(data.path()), "UG Memory.rtf", "Installed memory");
    ASSERT_TRUE(QtFilePort().WriteAll(dir.filePath("UG Broken.rtf").toStdString(), "this is no rich text"));
    Guide guide(dir.path(), data.path());
    QComboBox* list = guide.list;
    EXPECT_EQ(list->currentText(), QStringLiteral("Benefits"));
    EXPECT_TRUE(guide.Text().contains("UG Benefits.rtf"));
    // Benefits selected: B goes to the next B topic.
    const std::pair<Qt::Key, const char*> letters[] = {{Qt::Key_B, "Broken"}, {Qt::Key_B, "Budget"}, {Qt::Key_M, "Memory"}};
    for (const auto& [letter, topic] : letters) {
        QTest::keyClick(list, letter);
        EXPECT_EQ(list->currentText(), QString::fromLatin1(topic));
    }
    EXPECT_EQ(guide.messages.Errors(), std::vector<std::string>{"Unable to open the selected User Guide!"});
    EXPECT_EQ(guide.Text().trimmed(), QStringLiteral("Installed memory"));
    QTest::mouseClick(Child<QPushButton>(guide.window, "cmdLast"), Qt::LeftButton);
    EXPECT_EQ(list->currentText(), QStringLiteral("Zebra"));
    EXPECT_EQ(guide.Walking(), (std::vector<bool>{true, true, false, false}));
}

// Dropped down, the list finds topics by the program's first-letter rule alone: "B" then "e"
// goes to the next B topic and stays there, where the list's own search would spell "Be".
TEST(UserGuide, TheDroppedDownListFindsByFirstLetterOnly) {
    QTemporaryDir dir;
    for (const char* name : {"UG Basics.rtf", "UG Benefits.rtf", "UG Budget.rtf", "UG Zebra.rtf"})
        WriteTopic(QDir(dir.path()), name, QByteArray(name).mid(3, 5));
    Guide guide(dir.path());
    guide.window.show();
    QComboBox* list = guide.list;
    ASSERT_EQ(list->currentText(), QStringLiteral("Benefits"));
    list->showPopup();
    QAbstractItemView* dropped = list->view();
    ASSERT_TRUE(dropped->isVisible());
    for (const char* letter : {"b", "e"}) {
        QTest::keyClicks(dropped, QString::fromLatin1(letter));
        EXPECT_EQ(list->currentText(), QStringLiteral("Budget")) << letter;
        EXPECT_EQ(dropped->currentIndex().row(), list->currentIndex()) << letter;
        EXPECT_TRUE(guide.Text().startsWith("Budge")) << letter;
    }
    QTest::keyClick(dropped, Qt::Key_Return);
    EXPECT_EQ(list->currentText(), QStringLiteral("Budget"));
    EXPECT_FALSE(dropped->isVisible());
}

// The guide is a window of its own, with no transient parent that would keep it above the main
// window; the main window's Ctrl+T and the guide's turn the same switch, and
// it goes with the main window.
TEST(UserGuide, StandsBesideTheMainWindowNotAboveIt) {
    test::ShownWindow shown;
    shown.machine.Run(Command::UserGuide);
    shown.window.Render();
    QWidget* guide = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == QStringLiteral("UsersGuide") && top->isVisible()) guide = top;
    ASSERT_NE(guide, nullptr);
    EXPECT_EQ(guide->parentWidget(), nullptr);
    EXPECT_EQ(guide->windowType(), Qt::Window);
    ASSERT_NE(guide->windowHandle(), nullptr);
    EXPECT_EQ(guide->windowHandle()->transientParent(), nullptr);

    shown.machine.Run(Command::ShowTooltips);  // off in the main window
    shown.window.Render();
    CtrlT(Child(*guide, "cmbTopics"));
    EXPECT_TRUE(shown.machine.IsChecked(Command::ShowTooltips));
    EXPECT_EQ(Child(*guide, "cmdClose")->toolTip(), QStringLiteral("Click on Close to exit the User Guide"));

    QPointer<QWidget> open(guide);
    shown.window.close();
    EXPECT_TRUE(open.isNull() || !open->isVisible());
}

// No topic found says so; a pipe of a topic's name is no topic, so nothing waits on it.
TEST(UserGuide, NoTopicsSaysSo) {
    for (const bool pipe : {false, true}) {
        QTemporaryDir dir;
        if (pipe) {
            ASSERT_EQ(mkfifo(dir.filePath("UG Benefits.rtf").toLocal8Bit().constData(), 0600), 0);
        }
        Guide guide(dir.path());
        EXPECT_EQ(guide.list->currentText(), QStringLiteral("No User Guide topics found")) << pipe;
        EXPECT_FALSE(guide.list->isEnabled()) << pipe;
        EXPECT_FALSE(Child(guide.window, "cmdNext")->isEnabled()) << pipe;
        EXPECT_TRUE(guide.messages.shown.empty()) << pipe;
    }
}

// A topic written in 10 pt, with an indent, reads at the desktop's size: as written at the 8 pt
// font the topics were made for, twice as large (indent and all) at 16 pt; a smaller desktop font
// never shrinks it.
TEST(UserGuide, TopicTextFollowsTheDesktopFont) {
    QTemporaryDir dir;
    WriteTopic(QDir(dir.path()), "UG Benefits.rtf", "\\li720\\fs20 Plain words");
    const struct {
        double desktop, text, indent;
    } cases[] = {{8, 10, 48}, {16, 20, 96}, {6, 10, 48}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.desktop);
        test::DesktopFont font(c.desktop);
        Guide guide(dir.path());
        const QTextDocument* document = Child<QTextBrowser>(guide.window, "rtbText")->document();
        const QTextBlock block = document->findBlock(document->find(QStringLiteral("Plain")).position());
        EXPECT_DOUBLE_EQ(block.begin().fragment().charFormat().fontPointSize(), c.text);
        EXPECT_DOUBLE_EQ(block.blockFormat().leftMargin(), c.indent);
    }
}

// Every shipped topic starts with its heading. The guide opens on the first, Benefits: choosing
// it again sets the walking buttons, as choosing any other does.
TEST(UserGuide, EveryShippedTopicShowsAHeading) {
    Guide guide(QStringLiteral(QB_SOURCE_DIR "/assets/guide"));
    ASSERT_GE(guide.list->count(), 10);
    ASSERT_EQ(guide.list->currentIndex(), 0);
    for (int i = 0; i < guide.list->count(); ++i) {
        Choose(guide.list, i);
        if (i == 0) {
            EXPECT_EQ(guide.Walking(), (std::vector<bool>{false, false, true, true}));
        }
        EXPECT_TRUE(guide.Text().startsWith(guide.list->itemText(i))) << guide.list->itemText(i).toStdString();
    }
    EXPECT_TRUE(guide.messages.shown.empty());
}

// Esc or the close box on the splash must not end the program before the main window is up.
TEST(Splash, StaysUntilTheMainWindowTakesOver) {
    SplashWindow splash;
    splash.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&splash));
    QTest::keyClick(&splash, Qt::Key_Escape);
    EXPECT_FALSE(splash.close());
    EXPECT_TRUE(splash.isVisible());
    EXPECT_TRUE(splash.Intro().isActive());
    splash.Finish();
    EXPECT_FALSE(splash.isVisible());
    EXPECT_FALSE(splash.Intro().isActive());
}

TEST(MainWindowEvent, DisplayControlsTakeTheEventColourAndGiveItBack) {
    test::ShownWindow shown;
    shown.fakes.dialogs.eventForms.push_back(TimedEventForm{"Pat", "", "", 0});
    shown.machine.Run(Command::TimedEvent);
    shown.window.Render();
    const QColor lightRed(255, 192, 192);
    for (const char* name : {"txtDisplay", "txtMemory", "lstTape", "txtCaption"})
        EXPECT_EQ(Child(shown.window, name)->palette().color(QPalette::Base), lightRed) << name;
    shown.machine.CloseTimedEvent(true);
    shown.window.Render();
    EXPECT_EQ(Child(shown.window, "txtDisplay")->palette().color(QPalette::Base), QColor(Qt::white));
}

}  // namespace
}  // namespace qb
