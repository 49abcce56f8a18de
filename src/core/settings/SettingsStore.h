#pragma once
// The program's settings: one application name, one section, fixed keys, and how values are
// read and written as text.

#include <map>
#include <optional>
#include <string>

namespace qb {

class MessagePort;
class SettingsPort;

namespace key {
inline constexpr const char* AutoDecimal = "Auto Decimal";
inline constexpr const char* DecimalPlaces = "Decimal Places";
inline constexpr const char* TapeCaption = "Tape Caption";
inline constexpr const char* FileCaption = "File Caption";
inline constexpr const char* ShowCopy = "Show Copy";
inline constexpr const char* LastCaption = "Last Caption";
inline constexpr const char* Memory = "Memory";
inline constexpr const char* RoundBeforeOperation = "Round Before Operation";
inline constexpr const char* ClearOnEqual = "Clear On Equal";
inline constexpr const char* CommaSeparator = "Comma Separator";
inline constexpr const char* Tooltips = "Tooltips";
inline constexpr const char* MachineSounds = "Machine Sounds";
inline constexpr const char* ClearEntryBox = "Clear Entry Box";
inline constexpr const char* ItemCount = "Item Count";
inline constexpr const char* GrandTotal = "Grand Total";
inline constexpr const char* GrandTotalValue = "Grand Total Value";
inline constexpr const char* LastMode = "Last Mode";
inline constexpr const char* LastLeft = "Last Left";
inline constexpr const char* LastTop = "Last Top";
inline constexpr const char* Rounding = "Rounding";
}  // namespace key

class SettingsStore {
public:
    static constexpr const char* kApplication = "the Quillbox";
    static constexpr const char* kSection = "Settings";

    explicit SettingsStore(SettingsPort& port) : port_(port) {}

    std::string Get(const std::string& key) const;
    void Save(const std::string& key, const std::string& value);
    // Tells the user, once a run, that a value could not be kept (a read-only file). Called at
    // moments the user can be asked to read a message (after a key, once the window is up),
    // never while the program ends.
    void TellLoss(MessagePort& messages);

    // A truth value: "True"/"False" in any case, or a decimal number (non-zero is true).
    // Anything else, like a missing key, gives nothing.
    static std::optional<bool> ParseTruth(const std::string& text);
    // The decimal-places mode: a decimal number rounded to a whole one, 0 to 5; else nothing.
    static std::optional<int> ParseDecimalPlaces(const std::string& text);
    static std::string TruthText(bool value) { return value ? "True" : "False"; }

    // Reads a truth value; when it is missing or unreadable the default applies and, when
    // writeBack, is written to the store.
    bool ReadTruth(const std::string& key, bool fallback, bool writeBack = true);
    void SaveTruth(const std::string& key, bool value) { Save(key, TruthText(value)); }

private:
    SettingsPort& port_;
    // The values that could not be written, kept for the rest of the run: a value read where it
    // is used (a tax rate) is the one the user gave, though the file never got it.
    std::map<std::string, std::string> unwritten_;
    bool lost_ = false, lossTold_ = false;
};

}  // namespace qb
