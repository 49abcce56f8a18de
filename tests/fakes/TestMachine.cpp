#include "fakes/TestMachine.h"

#include <map>
#include <stdexcept>

#include "window/KeyCodes.h"

namespace qb::test {

void TestMachine::Press(const std::string& keys) {
    static const std::map<char, Command> kCommands = {
        {'D', Command::Digit00},      {'.', Command::DecimalPoint},   {'+', Command::Plus},
        {'-', Command::Minus},        {'*', Command::Multiply},       {'/', Command::Divide},
        {'%', Command::Percent},      {'=', Command::Equals},         {'C', Command::ClearEntry},
        {'S', Command::ClearSubtotal}, {'N', Command::PlusMinus},     {'I', Command::Inverse},
        {'R', Command::SquareRoot},   {'a', Command::MemoryAdd},      {'s', Command::MemorySubtract},
        {'d', Command::MemoryDivide}, {'m', Command::MemoryMultiply}, {'r', Command::RecallMemory},
        {'c', Command::ClearMemory},
    };
    for (char c : keys) {
        if (c == ' ') continue;
        if (c == 'B') {
            machine.Key(vk::Back, 0, 8);
            continue;
        }
        const auto command = kCommands.find(c);
        if (c >= '0' && c <= '9')
            machine.Run(DigitCommand(c - '0'));
        else if (command != kCommands.end())
            machine.Run(command->second);
        else
            throw std::invalid_argument(std::string("no key for ") + c);
    }
}

bool TestMachine::EditLine(std::int64_t line, const char* number, char operation, bool correct) {
    if (correct) return machine.CorrectLine(line, number, operation);
    machine.TapeClicked(line);
    if (number) fakes.dialogs.corrections.push_back(CorrectLineForm{number, operation});
    machine.Run(number ? Command::InsertLine : Command::DeleteLine);
    return true;
}

void TestMachine::Type(const std::string& keys) {
    for (char c : keys) {
        if (c >= '0' && c <= '9')
            machine.Key(vk::Key0 + (c - '0'), 0, c);
        else if (c == '\r')
            machine.Key(vk::Return, 0, '\r');
        else
            machine.Key(0, 0, c);
    }
}

std::vector<std::string> TestMachine::Trimmed() const {
    std::vector<std::string> out;
    for (const auto& line : machine.GetTape().Lines()) {
        auto first = line.find_first_not_of(' ');
        out.push_back(first == std::string::npos ? "" : std::string(line.substr(first)));
    }
    return out;
}

std::vector<std::string> TestMachine::Questions() const {
    std::vector<std::string> questions;
    for (const auto& m : fakes.messages.shown)
        if (m.buttons == MessageButtons::YesNoCancel) questions.push_back(m.text);
    return questions;
}

}  // namespace qb::test
