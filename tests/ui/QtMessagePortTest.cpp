// The message boxes are modal: each case answers its box from a timer, as a user would. A
// notice is not.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QPushButton>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QTimer>
#include <QtTest/QTest>
#include <optional>
#include <vector>

#include "platform/QtMessagePort.h"

namespace qb {
namespace {

struct Seen {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    bool onTop = false;
    QWidget* owner = nullptr;
};

// Shows the request and answers it with a click on `answer`, or with Escape when none.
MessageAnswer Answer(const MessageRequest& request, std::optional<QMessageBox::StandardButton> answer, Seen& seen) {
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            ADD_FAILURE() << "no message box";
            return;
        }
        seen = {box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
                box->defaultButton() ? box->standardButton(box->defaultButton()) : QMessageBox::NoButton,
                box->windowFlags().testFlag(Qt::WindowStaysOnTopHint), box->parentWidget()};
        if (answer)
            box->button(*answer)->click();
        else
            QTest::keyClick(box, Qt::Key_Escape);
    });
    QtMessagePort port;
    return port.ShowMessage(request);
}

// Each box shows its title, its lines, its icon, its buttons and its default as asked, and
// hands back the button clicked, or what Escape means on it.
TEST(QtMessagePort, ShowsTheRequestAndReturnsTheAnswer) {
    using B = QMessageBox;
    struct Case {
        const char* what;
        MessageIcon icon;
        MessageButtons buttons;
        MessageAnswer defaultAnswer;
        std::optional<B::StandardButton> click;
        B::StandardButtons shown;
        B::StandardButton shownDefault;
        MessageAnswer expected;
        B::Icon shownIcon;
    };
    const auto Ok = MessageAnswer::Ok, Cancel = MessageAnswer::Cancel, Yes = MessageAnswer::Yes, No = MessageAnswer::No;
    const auto Question = MessageIcon::Question;
    const Case cases[] = {
        {"OK", MessageIcon::Exclamation, MessageButtons::Ok, Ok, B::Ok, B::Ok, B::Ok, Ok, B::Warning},
        {"OK by Escape", MessageIcon::Information, MessageButtons::Ok, Ok, std::nullopt, B::Ok, B::Ok, Ok, B::Information},
        {"Cancel of OK/Cancel", Question, MessageButtons::OkCancel, Ok, B::Cancel, B::Ok | B::Cancel, B::Ok, Cancel,
         B::Question},
        {"Yes", Question, MessageButtons::YesNo, No, B::Yes, B::Yes | B::No, B::No, Yes, B::Question},
        {"Escape on Yes/No", Question, MessageButtons::YesNo, Yes, std::nullopt, B::Yes | B::No, B::Yes, No, B::Question},
        {"No of three", Question, MessageButtons::YesNoCancel, Yes, B::No, B::Yes | B::No | B::Cancel, B::Yes, No,
         B::Question},
        {"Escape on three", Question, MessageButtons::YesNoCancel, Yes, std::nullopt, B::Yes | B::No | B::Cancel, B::Yes,
         Cancel, B::Question},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string text = "There is no printer available!\r\n\r\nYou will not be able to print the tape <now>";
        Seen seen;
        EXPECT_EQ(Answer({"Oops!", text, c.icon, c.buttons, c.defaultAnswer}, c.click, seen), c.expected);
        EXPECT_EQ(seen.buttons, c.shown);
        EXPECT_EQ(seen.defaultButton, c.shownDefault);
        EXPECT_EQ(seen.icon, c.shownIcon);
        EXPECT_EQ(seen.title, QStringLiteral("Oops!"));
        EXPECT_EQ(seen.text, QStringLiteral("There is no printer available!\n\nYou will not be able to print the tape <now>"));
        // No window of the program's own is shown, as at a second copy's start: the box stays
        // above the windows that come up meanwhile.
        EXPECT_TRUE(seen.onTop);
    }
}

// Over the program's window the box takes its place among the desktop's windows as that does.
// When none of the program's windows is active, as under a compositor that has given none the
// focus yet, the box still stands over the dialog that is open, else over the main window.
TEST(QtMessagePort, WithNoActiveWindowTheBoxStandsOverTheOpenWindow) {
    QMainWindow main;
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    QDialog dialog(&main);
    dialog.setModal(true);
    for (const bool dialogOpen : {false, true}) {
        SCOPED_TRACE(dialogOpen ? "a dialog open" : "the main window alone");
        if (dialogOpen) {
            dialog.show();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        }
        QApplication::setActiveWindow(nullptr);
        ASSERT_EQ(QApplication::activeWindow(), nullptr);
        Seen seen;
        EXPECT_EQ(Answer({"Oops!", "Invalid number", MessageIcon::Exclamation}, QMessageBox::Ok, seen),
                  MessageAnswer::Ok);
        EXPECT_EQ(seen.owner, dialogOpen ? static_cast<QWidget*>(&dialog) : &main);
        EXPECT_FALSE(seen.onTop);
    }
}

// The notices on screen.
std::vector<QMessageBox*> Notices() {
    std::vector<QMessageBox*> shown;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(top); box && box->isVisible()) shown.push_back(box);
    return shown;
}

// A notice returns at once and leaves the keys to the window being typed in. It stands beside
// the main window, the newest alone (an older one may say the opposite), and one that comes
// while a dialog is open shows once the dialog has closed, so that it can be closed.
TEST(QtMessagePort, ANoticeTakesNoKeysAndStandsAloneBesideTheWindow) {
    QMainWindow main;
    auto* typing = new QLineEdit;
    main.setCentralWidget(typing);
    main.setGeometry(250, 150, 300, 150);
    main.show();
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    typing->setFocus();
    QtMessagePort port;
    auto notice = [&](const char* text) {
        MessageRequest request{"the Quillbox", text, MessageIcon::Exclamation};
        request.notice = true;
        EXPECT_EQ(port.ShowMessage(request), MessageAnswer::Ok);
    };
    notice("Unsaved tapes are not being kept for recovery");
    notice("Unsaved tapes are kept for recovery again.");
    ASSERT_EQ(Notices().size(), 1u);
    EXPECT_EQ(Notices()[0]->text(), QStringLiteral("Unsaved tapes are kept for recovery again."));
    EXPECT_FALSE(Notices()[0]->frameGeometry().intersects(main.frameGeometry()));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    QTest::keyClicks(typing, "4+5+=");
    EXPECT_EQ(typing->text(), QStringLiteral("4+5+="));

    QDialog dialog(&main);
    dialog.setModal(true);
    dialog.show();
    ASSERT_EQ(QApplication::activeModalWidget(), &dialog);
    notice("Unsaved tapes are not being kept for recovery");
    EXPECT_TRUE(Notices().empty());
    dialog.close();
    QTRY_COMPARE_WITH_TIMEOUT(Notices().size(), std::size_t{1}, 30000);
    EXPECT_EQ(Notices()[0]->text(), QStringLiteral("Unsaved tapes are not being kept for recovery"));
    Notices()[0]->button(QMessageBox::Ok)->click();
    EXPECT_TRUE(Notices().empty());
}

}  // namespace
}  // namespace qb
