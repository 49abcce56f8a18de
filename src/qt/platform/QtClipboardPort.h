#pragma once
// The system clipboard through QClipboard.

#include "platform/ClipboardPort.h"

namespace qb {

class QtClipboardPort final : public ClipboardPort {
public:
    void SetText(const std::string& text) override;
    std::optional<std::string> GetText() override;
};

}  // namespace qb
