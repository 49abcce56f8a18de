#include "platform/QtMessagePort.h"

#include <QApplication>
#include <QMainWindow>
#include <QScreen>
#include <QTimer>
#include <algorithm>
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

namespace {

QWidget* VisibleMainWindow() {
    QWidget* main = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (qobject_cast<QMainWindow*>(top) && top->isVisible()) main = top;
    return main;
}

// The window a box stands over: the active one. When none of the program's windows is active
// (a Wayland compositor may not have given one the focus yet), the dialog open, else the main
// window: a box without a parent would come up as a window of its own, anywhere.
QWidget* OwnerOfBox() {
    if (QWidget* active = QApplication::activeWindow()) return active;
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return VisibleMainWindow();
}

}  // namespace

MessageAnswer QtMessagePort::ShowMessage(const MessageRequest& request) {
    // Messages are the program's own words and may name a file: UTF-8.
    if (beforeShow_) beforeShow_();
    QString text = QString::fromStdString(request.text);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));

    if (request.notice) {
        ShowNotice(request.icon, QString::fromStdString(request.title), text);
        return MessageAnswer::Ok;
    }
    QMessageBox box(IconOf(request.icon), QString::fromStdString(request.title), text, ButtonsOf(request.buttons),
                    OwnerOfBox());
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(ButtonOf(request.defaultAnswer));
    // With no window of its own yet (a second copy's start beside the first's), the box stays
    // above the windows that come up meanwhile, or it could stand hidden under them.
    if (!VisibleMainWindow()) box.setWindowFlag(Qt::WindowStaysOnTopHint);
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

void QtMessagePort::ShowNotice(MessageIcon icon, const QString& title, const QString& text) {
    // The newest notice stands alone: an older one may say the opposite.
    if (notice_) notice_->close();
    // A dialog open now would keep the notice from being closed: it shows once that has closed.
    if (QApplication::activeModalWidget()) {
        QTimer::singleShot(250, &waiter_, [this, icon, title, text] { ShowNotice(icon, title, text); });
        return;
    }
    QWidget* main = VisibleMainWindow();
    notice_ = new QMessageBox(IconOf(icon), title, text, QMessageBox::Ok, main);
    notice_->setTextFormat(Qt::PlainText);
    notice_->setAttribute(Qt::WA_DeleteOnClose);
    notice_->setAttribute(Qt::WA_ShowWithoutActivating);
    notice_->setWindowModality(Qt::NonModal);
    if (main) PlaceBeside(notice_, main->frameGeometry());
    notice_->show();
}

// Below the window, or above it, or at its side, where the screen has room: the tape and the
// Entry box being typed in stay in sight.
void QtMessagePort::PlaceBeside(QWidget* notice, const QRect& window) {
    notice->adjustSize();
    const QSize size = notice->frameGeometry().size().expandedTo(notice->sizeHint());
    QScreen* screen = QGuiApplication::screenAt(window.center());
    if (!screen) return;
    const QRect room = screen->availableGeometry();
    const int x = std::clamp(window.center().x() - size.width() / 2, room.left(), std::max(room.left(), room.right() - size.width()));
    const int y = std::clamp(window.center().y() - size.height() / 2, room.top(), std::max(room.top(), room.bottom() - size.height()));
    const QPoint places[] = {{x, window.bottom() + 16}, {x, window.top() - 16 - size.height()},
                             {window.right() + 16, y}, {window.left() - 16 - size.width(), y}};
    for (const QPoint& place : places)
        if (room.contains(QRect(place, size))) {
            notice->move(place);
            return;
        }
}

void QtMessagePort::Beep() { QApplication::beep(); }

}  // namespace qb
