#pragma once
// The one routine through which every error reaches the user.

#include <string>
#include <string_view>

#include "platform/MessagePort.h"

namespace qb {

inline constexpr std::string_view kErrorTitle = "Oops!";

// Adds the final "!" when the text lacks one, and shows it under "Oops!" with the
// exclamation icon and an OK button.
inline void ShowErrorMessage(MessagePort& port, std::string_view text) {
    MessageRequest request;
    request.title = std::string(kErrorTitle);
    request.text = std::string(text);
    if (request.text.empty() || request.text.back() != '!') request.text += '!';
    request.icon = MessageIcon::Exclamation;
    port.ShowMessage(request);
}

}  // namespace qb
