// The message boxes are modal: each case answers its box from a timer, as a user would. A
// notice is not.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QPushButton>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <QtTest/QTest>
#include <optional>

#include "platform/QtMessagePort.h"

namespace qb {
namespace {

struct Seen {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
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
                box->defaultButton() ? box->standardButton(box->defaultButton()) : QMessageBox::NoButton};
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
    }
}

// A notice returns at once and leaves the keyboard where it was: the keys typed after it
// reach the window being typed in, while the notice stays until it is closed.
TEST(QtMessagePort, ANoticeTakesNoKeys) {
    QLineEdit typing;
    typing.show();
    typing.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&typing));
    QtMessagePort port;
    MessageRequest notice{"the Quillbox", "Unsaved tapes are not being kept for recovery", MessageIcon::Exclamation};
    notice.notice = true;
    EXPECT_EQ(port.ShowMessage(notice), MessageAnswer::Ok);
    QMessageBox* shown = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(top); box && box->isVisible()) shown = box;
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->text(), QStringLiteral("Unsaved tapes are not being kept for recovery"));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    QTest::keyClicks(QApplication::focusWidget(), "4+5+=");
    EXPECT_EQ(typing.text(), QStringLiteral("4+5+="));
    shown->button(QMessageBox::Ok)->click();
    QTRY_VERIFY(!shown->isVisible());
}

}  // namespace
}  // namespace qb
