#pragma once
// Message and question boxes and the beep, shown with QMessageBox over the active window; a
// notice shows beside the main window without taking the keyboard.

#include <QMessageBox>
#include <QPointer>
#include <QRect>
#include <functional>

#include "platform/MessagePort.h"

namespace qb {

class QtMessagePort final : public MessagePort {
public:
    MessageAnswer ShowMessage(const MessageRequest& request) override;
    void Beep() override;
    // Called before a box shows, so the window behind it shows what led to it.
    void SetBeforeShow(std::function<void()> beforeShow) { beforeShow_ = std::move(beforeShow); }

private:
    // A notice: beside the main window, without taking the keyboard; it replaces the one before.
    void ShowNotice(MessageIcon icon, const QString& title, const QString& text);
    static void PlaceBeside(QWidget* notice, const QRect& window);

    std::function<void()> beforeShow_;
    QPointer<QMessageBox> notice_;
    QObject waiter_;  // the notices waiting for a dialog to close go with the port
};

}  // namespace qb
