// The message boxes are modal: each case answers its box from a timer, as a user would.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QPushButton>
#include <QApplication>
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

TEST(QtMessagePort, ShowsTheRequestAndReturnsTheAnswer) {
    using B = QMessageBox;
    struct Case {
        const char* what;
        MessageButtons buttons;
        MessageAnswer defaultAnswer;
        std::optional<QMessageBox::StandardButton> click;
        QMessageBox::StandardButtons shown;
        QMessageBox::StandardButton shownDefault;
        MessageAnswer expected;
    };
    const Case cases[] = {
        {"OK", MessageButtons::Ok, MessageAnswer::Ok, B::Ok, B::Ok, B::Ok, MessageAnswer::Ok},
        {"OK by Escape", MessageButtons::Ok, MessageAnswer::Ok, std::nullopt, B::Ok, B::Ok, MessageAnswer::Ok},
        {"OK of OK/Cancel", MessageButtons::OkCancel, MessageAnswer::Ok, B::Ok, B::Ok | B::Cancel, B::Ok,
         MessageAnswer::Ok},
        {"Cancel of OK/Cancel", MessageButtons::OkCancel, MessageAnswer::Ok, B::Cancel, B::Ok | B::Cancel, B::Ok,
         MessageAnswer::Cancel},
        {"Yes", MessageButtons::YesNo, MessageAnswer::No, B::Yes, B::Yes | B::No, B::No, MessageAnswer::Yes},
        {"Escape on Yes/No", MessageButtons::YesNo, MessageAnswer::Yes, std::nullopt, B::Yes | B::No, B::Yes,
         MessageAnswer::No},
        {"No of three", MessageButtons::YesNoCancel, MessageAnswer::Yes, B::No, B::Yes | B::No | B::Cancel, B::Yes,
         MessageAnswer::No},
        {"Escape on three", MessageButtons::YesNoCancel, MessageAnswer::Yes, std::nullopt,
         B::Yes | B::No | B::Cancel, B::Yes, MessageAnswer::Cancel},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MessageRequest request;
        request.title = "the Quillbox";
        request.text = "Save the tape?";
        request.icon = MessageIcon::Question;
        request.buttons = c.buttons;
        request.defaultAnswer = c.defaultAnswer;
        Seen seen;
        EXPECT_EQ(Answer(request, c.click, seen), c.expected);
        EXPECT_EQ(seen.buttons, c.shown);
        EXPECT_EQ(seen.defaultButton, c.shownDefault);
    }
}

TEST(QtMessagePort, ShowsLinesIconAndTitleAsAsked) {
    struct Case {
        MessageIcon icon;
        QMessageBox::Icon shown;
    };
    for (const Case& c : {Case{MessageIcon::Exclamation, QMessageBox::Warning},
                          Case{MessageIcon::Question, QMessageBox::Question},
                          Case{MessageIcon::Information, QMessageBox::Information}}) {
        MessageRequest request;
        request.title = "Oops!";
        request.text = "There is no printer available!\r\n\r\nYou will not be able to print the tape <now>";
        request.icon = c.icon;
        Seen seen;
        Answer(request, QMessageBox::Ok, seen);
        EXPECT_EQ(seen.title, QStringLiteral("Oops!"));
        EXPECT_EQ(seen.text,
                  QStringLiteral("There is no printer available!\n\nYou will not be able to print the tape <now>"));
        EXPECT_EQ(seen.icon, c.shown);
    }
}

}  // namespace
}  // namespace qb
