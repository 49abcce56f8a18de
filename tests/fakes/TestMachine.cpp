#include "fakes/TestMachine.h"

#include <stdexcept>

#include "window/KeyCodes.h"

namespace qb::test {

void TestMachine::Press(const std::string& keys) {
    for (char c : keys) {
        Command command = Command::None;
        if (c >= '0' && c <= '9') command = DigitCommand(c - '0');
        switch (c) {
        case 'D': command = Command::Digit00; break;
        case '.': command = Command::DecimalPoint; break;
        case '+': command = Command::Plus; break;
        case '-': command = Command::Minus; break;
        case '*': command = Command::Multiply; break;
        case '/': command = Command::Divide; break;
        case '%': command = Command::Percent; break;
        case '=': command = Command::Equals; break;
        case 'C': command = Command::ClearEntry; break;
        case 'S': command = Command::ClearSubtotal; break;
        case 'N': command = Command::PlusMinus; break;
        case 'I': command = Command::Inverse; break;
        case 'R': command = Command::SquareRoot; break;
        case 'B': machine.Key(vk::Back, 0, 8); continue;
        case 'a': command = Command::MemoryAdd; break;
        case 's': command = Command::MemorySubtract; break;
        case 'd': command = Command::MemoryDivide; break;
        case 'm': command = Command::MemoryMultiply; break;
        case 'r': command = Command::RecallMemory; break;
        case 'c': command = Command::ClearMemory; break;
        case ' ': continue;
        default: break;
        }
        if (command == Command::None) throw std::invalid_argument(std::string("no key for ") + c);
        machine.Run(command);
    }
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
