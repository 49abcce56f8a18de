#include "platform/QtMessagePort.h"

#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>

#include "platform/CodePage.h"

namespace qb {
namespace {

QMessageBox::Icon IconOf(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Exclamation: return QMessageBox::Warning;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::Information: break;
    }
    return QMessageBox::Information;
}

QMessageBox::StandardButtons ButtonsOf(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageButtons::Ok: break;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButton ButtonOf(MessageAnswer answer) {
    switch (answer) {
    case MessageAnswer::Yes: return QMessageBox::Yes;
    case MessageAnswer::No: return QMessageBox::No;
    case MessageAnswer::Cancel: return QMessageBox::Cancel;
    case MessageAnswer::Ok: break;
    }
    return QMessageBox::Ok;
}

}  // namespace

MessageAnswer QtMessagePort::ShowMessage(const MessageRequest& request) {
    // Messages are the program's own words and may name a file: UTF-8.
    if (beforeShow_) beforeShow_();
    QString text = QString::fromStdString(request.text);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));

    if (request.notice) {
        // Over the main window, which outlives any dialog open now; the keys stay where they go.
        QWidget* parent = QApplication::activeWindow();
        for (QWidget* top : QApplication::topLevelWidgets())
            if (qobject_cast<QMainWindow*>(top) && top->isVisible()) parent = top;
        auto* notice = new QMessageBox(IconOf(request.icon), QString::fromStdString(request.title), text, QMessageBox::Ok, parent);
        notice->setTextFormat(Qt::PlainText);
        notice->setAttribute(Qt::WA_DeleteOnClose);
        notice->setAttribute(Qt::WA_ShowWithoutActivating);
        notice->setWindowModality(Qt::NonModal);
        notice->show();
        return MessageAnswer::Ok;
    }
    QMessageBox box(IconOf(request.icon), QString::fromStdString(request.title), text, ButtonsOf(request.buttons),
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(ButtonOf(request.defaultAnswer));
    box.exec();

    switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Yes: return MessageAnswer::Yes;
    case QMessageBox::No: return MessageAnswer::No;
    case QMessageBox::Cancel: return MessageAnswer::Cancel;
    case QMessageBox::Ok: return MessageAnswer::Ok;
    default: break;
    }
    // Closed without a button: the box's own way out.
    return request.buttons == MessageButtons::Ok ? MessageAnswer::Ok
           : request.buttons == MessageButtons::YesNo ? MessageAnswer::No
                                                      : MessageAnswer::Cancel;
}

void QtMessagePort::Beep() { QApplication::beep(); }

}  // namespace qb
