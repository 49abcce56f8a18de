#include "fakes/FakePorts.h"

#include <gtest/gtest.h>

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

std::string FakeSettingsPort::Get(const std::string& application, const std::string& section,
                                  const std::string& key) {
    EXPECT_EQ(application, "the Quillbox");
    EXPECT_EQ(section, "Settings");
    auto it = values.find(key);
    return it == values.end() ? std::string() : it->second;
}

void FakeSettingsPort::Save(const std::string& application, const std::string& section, const std::string& key,
                            const std::string& value) {
    EXPECT_EQ(application, "the Quillbox");
    EXPECT_EQ(section, "Settings");
    values[key] = value;
    ++writes;
}

}  // namespace qb::test
