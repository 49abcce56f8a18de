#include "fakes/FakePorts.h"

namespace qb::test {

MessageAnswer FakeMessagePort::ShowMessage(const MessageRequest& request) {
    shown.push_back(request);
    if (answers.empty()) return request.defaultAnswer;
    MessageAnswer answer = answers.front();
    answers.pop_front();
    return answer;
}

std::vector<std::string> FakeMessagePort::Errors() const {
    std::vector<std::string> texts;
    for (const auto& m : shown)
        if (m.title == "Oops!") texts.push_back(m.text);
    return texts;
}

}  // namespace qb::test
