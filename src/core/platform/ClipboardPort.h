#pragma once
// The system clipboard, plain text only (the program's 8-bit text).

#include <optional>
#include <string>

namespace qb {

class ClipboardPort {
public:
    virtual ~ClipboardPort() = default;
    // Empties the clipboard and puts the text on it.
    virtual void SetText(const std::string& text) = 0;
    // The clipboard's text, or nothing when it holds none.
    virtual std::optional<std::string> GetText() = 0;
};

}  // namespace qb
