#pragma once
// Message and question boxes and the system beep.

#include <string>

namespace qb {

enum class MessageIcon { Information, Exclamation, Question };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel };

struct MessageRequest {
    std::string title;
    std::string text;  // lines separated by CR LF
    MessageIcon icon = MessageIcon::Information;
    MessageButtons buttons = MessageButtons::Ok;
    MessageAnswer defaultAnswer = MessageAnswer::Ok;
    // A notice that comes of itself (of a timer, not of a key): it shows without taking the
    // keyboard and without waiting, so that no key typed meanwhile is lost; answered Ok at once.
    bool notice = false;
};

class MessagePort {
public:
    virtual ~MessagePort() = default;
    // Shows the box modally and returns the user's answer.
    virtual MessageAnswer ShowMessage(const MessageRequest& request) = 0;
    virtual void Beep() = 0;
};

}  // namespace qb
