#pragma once
// Where the About window stands, and where the main window steps aside to while it is open
// (all in twips).

namespace qb {

struct Point {
    long left = 0;
    long top = 0;
    bool operator==(const Point&) const = default;
};

// The main window moves towards the upper left corner: its top at most 1000, its left at most 500.
inline Point MainWindowDuringAbout(Point main) {
    return Point{main.left > 500 ? 500 : main.left, main.top > 1000 ? 1000 : main.top};
}

// The About window's lower right corner stands 500 twips from the screen's.
inline Point AboutWindowPlace(long screenWidth, long screenHeight, long width, long height) {
    return Point{screenWidth - (width + 500), screenHeight - (height + 500)};
}

}  // namespace qb
