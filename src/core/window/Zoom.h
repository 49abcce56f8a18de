#pragma once
// How large the main window is drawn: the desktop's font size against the 8 pt the window was
// designed for, times the user's zoom (100 % to 300 %, kept in the settings store).

#include <string>

namespace qb {

class Zoom {
public:
    static constexpr int kSmallest = 100;
    static constexpr int kLargest = 300;
    static constexpr int kStep = 25;
    static constexpr const char* kSettingKey = "Zoom";

    // A stored percentage; anything missing, unreadable or out of range is 100.
    static int Parse(const std::string& text);
    // The next step up or down, held within the range.
    static int Larger(int percent);
    static int Smaller(int percent);

    // Layout and fonts grow with a desktop font above 8 pt; a smaller one does not shrink the
    // window below its design.
    static double Scale(double desktopPointSize, int percent);
};

}  // namespace qb
