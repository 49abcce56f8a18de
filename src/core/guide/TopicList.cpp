#include "guide/TopicList.h"

#include <algorithm>

#include "platform/CollationPort.h"

namespace qb {
namespace {

// Letter case folded for a to z only: the same in every locale (a Turkish one has no capital of i).
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

int CompareIgnoringCase(std::string_view a, std::string_view b) {
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        const auto x = static_cast<unsigned char>(Upper(a[i])), y = static_cast<unsigned char>(Upper(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

// The first letter of a UTF-8 text: its first character with the accents that follow it
// ("A" and a combining diaeresis).
std::string_view FirstLetter(std::string_view text) {
    auto length = [&](std::size_t at) -> std::size_t {
        const auto lead = static_cast<unsigned char>(text[at]);
        std::size_t n = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        return std::min(n, text.size() - at);
    };
    // U+0300 to U+036F, the combining accents, are CC 80 to CD AF.
    auto isAccent = [&](std::size_t at) {
        if (at + 1 >= text.size()) return false;
        const auto a = static_cast<unsigned char>(text[at]), b = static_cast<unsigned char>(text[at + 1]);
        return a == 0xCC || (a == 0xCD && b <= 0xAF);
    };
    if (text.empty()) return text;
    std::size_t end = length(0);
    while (end < text.size() && isAccent(end)) end += 2;
    return text.substr(0, end);
}

bool IsTopicFile(const std::string& name) {
    if (name.size() <= 7) return false;  // a topic has a name
    std::string head = name.substr(0, 3), tail = name.substr(name.size() - 4);
    std::transform(head.begin(), head.end(), head.begin(), Upper);
    std::transform(tail.begin(), tail.end(), tail.begin(), Upper);
    return head == "UG " && tail == ".RTF";
}

}  // namespace

void TopicList::Build(const std::vector<TopicFolder>& folders) {
    entries_.clear();
    files_.clear();
    struct Found {
        std::string topic, path;
    };
    std::vector<Found> found;
    for (const TopicFolder& folder : folders) {
        const std::size_t earlier = found.size();
        for (const std::string& name : folder.names) {
            if (!IsTopicFile(name)) continue;
            std::string topic = name.substr(3, name.size() - 7);
            // A topic of an earlier folder wins, whatever the letter case of its file name.
            const bool shadowed = std::any_of(found.begin(), found.begin() + static_cast<std::ptrdiff_t>(earlier),
                                              [&](const Found& f) { return Compare(f.topic, topic) == 0; });
            if (!shadowed) found.push_back({std::move(topic), folder.folder + name});
        }
    }
    std::stable_sort(found.begin(), found.end(),
                     [this](const Found& a, const Found& b) { return Compare(a.topic, b.topic) < 0; });
    for (Found& f : found) {
        entries_.push_back(std::move(f.topic));
        files_.push_back(std::move(f.path));
    }
    hasTopics_ = !entries_.empty();
    buttonsDesigned_ = true;
    viewerTooltip_.clear();
    if (!hasTopics_) {
        entries_.push_back(kNoTopics);
        selected_ = 0;
        return;
    }
    selected_ = 0;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i] == "Benefits") selected_ = static_cast<int>(i);
        if (entries_[i] == "Your Own Topic") viewerTooltip_ = kOwnTopicTip;
    }
}

bool TopicList::ButtonEnabled(Button button) const {
    if (!hasTopics_) return false;
    if (buttonsDesigned_) return true;
    const int count = static_cast<int>(entries_.size());
    const bool backward = button == Button::First || button == Button::Previous;
    if (selected_ == 0) return !backward;
    if (selected_ == count - 1) return backward;
    return true;
}

void TopicList::Select(int index) {
    if (!hasTopics_ || index < 0 || index >= static_cast<int>(entries_.size())) return;
    selected_ = index;
    buttonsDesigned_ = false;
}

bool TopicList::Walk(Button button) {
    if (!hasTopics_) return false;
    const int last = static_cast<int>(entries_.size()) - 1;
    switch (button) {
    case Button::First:
        if (selected_ < 1) return false;
        Select(0);
        return true;
    case Button::Previous:
        if (selected_ < 1) return false;
        Select(selected_ - 1);
        return true;
    case Button::Next:
        if (selected_ >= last) return false;
        Select(selected_ + 1);
        return true;
    case Button::Last:
        if (selected_ >= last) return false;
        Select(last);
        return true;
    }
    return false;
}

int TopicList::Compare(std::string_view a, std::string_view b) const {
    return collation_ ? collation_->Compare(a, b) : CompareIgnoringCase(a, b);
}

bool TopicList::TypeLetter(std::string_view letter) {
    letter = FirstLetter(letter);
    if (letter.empty() || letter == "\r" || !hasTopics_) return false;
    const int count = static_cast<int>(entries_.size());
    auto matches = [&](int i) {
        const std::string& e = entries_[static_cast<std::size_t>(i)];
        return !e.empty() && Compare(FirstLetter(e), letter) == 0;
    };
    for (int i = selected_ + 1; i < count; ++i)
        if (matches(i)) return Select(i), true;
    for (int i = 0; i < selected_; ++i)
        if (matches(i)) return Select(i), true;
    return false;
}

std::string TopicList::SelectedPath() const {
    if (!hasTopics_) return {};
    return files_[static_cast<std::size_t>(selected_)];
}

}  // namespace qb
