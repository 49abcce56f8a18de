#include "fakes/FakePorts.h"

#include <gtest/gtest.h>

namespace qb::test {

MessageAnswer FakeMessagePort::ShowMessage(const MessageRequest& request) {
    shown.push_back(request);
    // Boxes with OK alone are never answered from the script.
    if (request.buttons == MessageButtons::Ok) return MessageAnswer::Ok;
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

std::optional<std::string> FakeDialogPort::FileDialog(const FileDialogRequest& request) {
    fileRequests.push_back(request);
    if (files.empty()) return std::nullopt;
    auto answer = files.front();
    files.pop_front();
    return answer;
}

std::optional<std::string> FakeDialogPort::CaptionPrompt(const std::string& initial, bool& tooltipsOn) {
    captionPrompts.push_back(initial);
    if (flipTooltipsInPrompt) tooltipsOn = !tooltipsOn;
    if (captions.empty()) return std::nullopt;
    auto answer = captions.front();
    captions.pop_front();
    return answer;
}

std::optional<int> FakeDialogPort::PrinterDialog(const std::string& title) {
    printerTitles.push_back(title);
    if (printerAnswers.empty()) return std::nullopt;
    auto answer = printerAnswers.front();
    printerAnswers.pop_front();
    return answer;
}

bool FakeFilePort::ReadAll(const std::string& path, std::string& bytes) {
    auto it = files.find(path);
    if (it == files.end()) return false;
    bytes = it->second;
    return true;
}

bool FakeFilePort::WriteAll(const std::string& path, const std::string& bytes) {
    ++writes;
    if (failWrites) return false;
    files[path] = bytes;
    return true;
}

}  // namespace qb::test
