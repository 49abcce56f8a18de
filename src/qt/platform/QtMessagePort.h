#pragma once
// Message and question boxes and the beep, shown with QMessageBox over the active window.

#include "platform/MessagePort.h"

namespace qb {

class QtMessagePort final : public MessagePort {
public:
    MessageAnswer ShowMessage(const MessageRequest& request) override;
    void Beep() override;
};

}  // namespace qb
