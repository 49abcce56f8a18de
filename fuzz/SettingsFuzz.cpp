// Feeds arbitrary stored settings to the program's start-up: each line of the input is one
// key's value, in the order the keys are read. Start-up must never crash, and what it restores
// must be within its bounds.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "Machine.h"
#include "settings/MemorySettings.h"

namespace {

struct Quiet : qb::MessagePort {
    qb::MessageAnswer ShowMessage(const qb::MessageRequest& r) override { return r.defaultAnswer; }
    void Beep() override {}
};

const char* const kKeys[] = {"Auto Decimal", "Decimal Places", "Tape Caption", "File Caption", "Show Copy",
                             "Last Caption", "Memory", "Round Before Operation", "Clear On Equal",
                             "Comma Separator", "Tooltips", "Machine Sounds", "Clear Entry Box", "Last Mode",
                             "Last Left", "Last Top"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string input(reinterpret_cast<const char*>(data), size);
    qb::MemorySettings settings;
    std::size_t start = 0;
    for (const char* key : kKeys) {
        if (start > input.size()) break;
        std::size_t end = input.find('\n', start);
        if (end == std::string::npos) end = input.size();
        settings.Save("the Quillbox", "Settings", key, input.substr(start, end - start));
        start = end + 1;
    }
    Quiet messages;
    qb::Machine machine(qb::Ports{messages, nullptr, &settings});
    machine.SetScreen(19200, 15360);
    machine.SetExpandedSize(8475, 5910);
    machine.Load();
    machine.FirstActivation();
    int places = machine.GetCalculator().DecimalPlaces();
    if (places < 0 || places > 5) std::abort();
    if (!std::isfinite(machine.Memory().Value())) std::abort();
    // The calculator still works on what was restored.
    machine.Run(qb::Command::Digit7);
    machine.Run(qb::Command::Plus);
    machine.Run(qb::Command::MemoryAdd);
    machine.Run(qb::Command::RecallMemory);
    machine.Run(qb::Command::Equals);
    if (!std::isfinite(machine.GetCalculator().State().Subtotal)) std::abort();
    return 0;
}
