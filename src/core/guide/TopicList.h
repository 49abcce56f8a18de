#pragma once
// The User Guide's topic list: built from the "UG <topic>.rtf" files of the start directory and
// the installed data folder, in the alphabetical order of the user's language without regard to
// letter case, walked by First, Previous, Next and Last, and searched by first letter.

#include <string>
#include <string_view>
#include <vector>

#include "settings/Locations.h"

namespace qb {

class CollationPort;

class TopicList {
public:
    static constexpr const char* kNoTopics = "No User Guide topics found";
    static constexpr const char* kOwnTopicTip = "See 'Your Own Topic' for how to add your own User Guide topics";

    enum class Button { First, Previous, Next, Last };

    // Without a collation, topics are in the order of their bytes with a to z folded to capitals.
    explicit TopicList(CollationPort* collation = nullptr) : collation_(collation) {}

    // Builds the list from the names of the files in the folders (matching "UG *.rtf" in any
    // letter case) and selects the opening topic: "Benefits" if it is there, else the first. A
    // topic in more than one folder is listed once, from the first folder that has it.
    void Build(const std::vector<TopicFolder>& folders);
    // The files of one folder, named without it.
    void Build(const std::vector<std::string>& fileNames) { Build({TopicFolder{"", fileNames}}); }

    const std::vector<std::string>& Entries() const { return entries_; }
    bool HasTopics() const { return hasTopics_; }
    int Selected() const { return selected_; }
    const std::string& SelectedTopic() const { return entries_[static_cast<std::size_t>(selected_)]; }
    // The tooltip of the viewer: set when a "Your Own Topic" exists.
    const std::string& ViewerTooltip() const { return viewerTooltip_; }
    bool ButtonEnabled(Button button) const;

    // A selection made in the list (mouse or arrow keys): the buttons follow the position.
    void Select(int index);
    // A walking button. False when it cannot move (the caller beeps).
    bool Walk(Button button);
    // A character typed into the list (UTF-8): the next topic after the selected one whose first
    // letter is that letter in either case, wrapping round. False when none is.
    bool TypeLetter(std::string_view letter);
    bool TypeLetter(char c) { return TypeLetter(std::string_view(&c, 1)); }

    // The selected topic's file, named as its folder names it (its letter case may differ from
    // "UG <topic>.rtf").
    std::string SelectedPath() const;

private:
    int Compare(std::string_view a, std::string_view b) const;

    CollationPort* collation_;
    std::vector<std::string> entries_;
    std::vector<std::string> files_;  // beside entries_: folder and name
    bool hasTopics_ = false;
    int selected_ = -1;
    std::string viewerTooltip_;
    // Until the first selection change the buttons keep their designed state: all enabled.
    bool buttonsDesigned_ = true;
};

}  // namespace qb
