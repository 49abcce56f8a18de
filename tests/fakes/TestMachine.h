#pragma once
// A machine on fake ports, started as the program starts it, with a small key language:
// digits, "." , "+ - * / % =" as keys; 'D' the "00" key, 'C' Clear Entry, 'S' Clear Subtotal,
// 'N' change sign, 'I' 1/x, 'R' square root, 'B' Backspace, ' ' ignored; the memory commands
// 'a' M+, 's' M-, 'd' M/, 'm' M*, 'r' recall, 'c' clear.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "Machine.h"
#include "fakes/FakePorts.h"

namespace qb::test {

// A number in the key language as the Correct Line dialog takes it typed: "12N" is "-12".
inline std::string Typed(std::string number) {
    if (number.back() != 'N') return number;
    number.pop_back();
    return '-' + number;
}

struct TestMachine {
    FakePorts fakes;
    Machine machine{fakes.ports()};

    TestMachine() : TestMachine(std::map<std::string, std::string>{}) {}
    // Starts on these stored settings.
    explicit TestMachine(std::map<std::string, std::string> stored, bool start = true) {
        fakes.settings.values = std::move(stored);
        if (start) Start();
    }
    // Starts the program as it starts, on the ports as they stand now.
    void Start() {
        machine.Load();
        machine.FirstActivation();
        // What start-up showed is kept apart, so each test sees only what it caused.
        startupMessages = fakes.messages.shown;
        fakes.messages.Reset();
    }

    std::vector<MessageRequest> startupMessages;

    // Answers the next Save As: its caption prompt, then its file dialog (nothing: Cancel).
    void AnswerSaveAs(std::optional<std::string> file, std::optional<std::string> caption = "") {
        fakes.dialogs.captions.push_back(std::move(caption));
        fakes.dialogs.files.push_back(std::move(file));
    }

    // Opens the file through the Open dialog; with bytes, puts them on the disk under its name first.
    void Open(const std::string& path) {
        fakes.dialogs.files.push_back(path);
        machine.Run(Command::Open);
    }
    void Open(const std::string& path, const std::string& bytes) {
        fakes.files.files[path] = bytes;
        Open(path);
    }

    // Delete Line on the line (no number), Insert Line after it through the Correct Line dialog,
    // or Correct Line on it; false only for a correction not made.
    bool EditLine(std::int64_t line, const char* number, char operation, bool correct = false);

    void Press(const std::string& keys);
    // Types text on the keyboard: digits by key code, operations by their characters.
    void Type(const std::string& keys);

    // The texts of the questions asked (Yes, No and Cancel).
    std::vector<std::string> Questions() const;
    std::vector<std::string> TapeLines() const { return machine.GetTape().Lines().ToVector(); }
    // The tape lines without their leading blanks, for readable expectations.
    std::vector<std::string> Trimmed() const;
    const CalculatorState& State() const { return machine.GetCalculator().State(); }
    const std::string& Display() const { return machine.GetCalculator().DisplayText(); }
    Calculator& Calc() { return machine.GetCalculator(); }
};

}  // namespace qb::test
