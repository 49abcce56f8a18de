#pragma once
// Message and question boxes and the beep, shown with QMessageBox over the active window; a
// notice shows over the main window without taking the keyboard.

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
    std::function<void()> beforeShow_;
};

}  // namespace qb
