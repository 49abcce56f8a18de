#include "settings/SettingsStore.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "engine/NumberRules.h"
#include "platform/MessagePort.h"
#include "platform/SettingsPort.h"

namespace qb {
namespace {

// A to Z folded only, the same in every locale.
std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return text;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string Trim(const std::string& text) {
    auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// A whole decimal number text: optional sign, digits, optional fraction.
bool IsDecimalNumber(const std::string& text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    bool digits = false;
    while (i < text.size() && IsDigit(text[i])) ++i, digits = true;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) ++i, digits = true;
    }
    return digits && i == text.size();
}

}  // namespace

std::string SettingsStore::Get(const std::string& key) const {
    const auto kept = unwritten_.find(key);
    return kept != unwritten_.end() ? kept->second : port_.Get(kApplication, kSection, key);
}

void SettingsStore::Save(const std::string& key, const std::string& value) {
    if (port_.Save(kApplication, kSection, key, value)) {
        unwritten_.erase(key);
        // The store takes values again (its folder was made meanwhile): what it could not take
        // before goes in now, so the next start reads what the user last set.
        for (auto it = unwritten_.begin(); it != unwritten_.end();)
            it = port_.Save(kApplication, kSection, it->first, it->second) ? unwritten_.erase(it) : std::next(it);
    } else {
        unwritten_[key] = value;
        lost_ = true;
    }
}

void SettingsStore::TellLoss(MessagePort& messages) {
    if (!lost_ || lossTold_) return;
    lossTold_ = true;
    const std::string place = port_.Place();
    MessageRequest message;
    message.title = kApplication;
    message.text = "Your settings cannot be kept: " + (place.empty() ? std::string("the settings file") : '"' + place + '"') +
                   " cannot be written, so the options, the memory, the tax rates and the grand total you change now "
                   "are kept until the program ends, not for the next start.";
    message.icon = MessageIcon::Exclamation;
    messages.ShowMessage(message);
}

std::optional<bool> SettingsStore::ParseTruth(const std::string& text) {
    std::string t = Lower(Trim(text));
    if (t == "true") return true;
    if (t == "false") return false;
    if (IsDecimalNumber(t)) return ParseNumber(t) != 0;
    return std::nullopt;
}

std::optional<int> SettingsStore::ParseDecimalPlaces(const std::string& text) {
    std::string t = Trim(text);
    if (!IsDecimalNumber(t)) return std::nullopt;
    double places = std::round(ParseNumber(t));
    if (places < 0 || places > 5) return std::nullopt;
    return static_cast<int>(places);
}

bool SettingsStore::ReadTruth(const std::string& key, bool fallback, bool writeBack) {
    if (auto value = ParseTruth(Get(key))) return *value;
    if (writeBack) SaveTruth(key, fallback);
    return fallback;
}

}  // namespace qb
