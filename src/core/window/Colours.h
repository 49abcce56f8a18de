#pragma once
// The colours the main window and its dialogs draw text in. A background the program fixes
// (the white display boxes, a timed event's colour, the lit indicators) always comes with the
// text colour that reads on it; everything else takes the desktop palette's own pairs. In a
// dark palette the display boxes follow the palette, and the fixed colours turn into darker
// shades of themselves that keep their meaning.

#include <cstdint>

#include "guide/RichText.h"  // Rgb

namespace qb {

enum class IndicatorColour { ButtonFace, LightCyan, Red };

// 0xRRGGBB, as the machine gives display colours.
constexpr Rgb RgbOf(std::uint32_t rgb) {
    return {static_cast<std::uint8_t>((rgb >> 16) & 0xFF), static_cast<std::uint8_t>((rgb >> 8) & 0xFF),
            static_cast<std::uint8_t>(rgb & 0xFF)};
}

inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kBlack{0, 0, 0};
// The contrast every text needs against its background.
inline constexpr double kReadableContrast = 4.5;

// Relative luminance, 0 for black to 1 for white, from the sRGB components.
double RelativeLuminance(Rgb colour);
// (lighter + 0.05) / (darker + 0.05): 1 for equal colours, 21 for black on white.
double ContrastRatio(Rgb a, Rgb b);
// Black or white, whichever reads better on the background.
Rgb TextColourOn(Rgb background);
// The text colour itself where it reads on the background; else the same colour moved towards
// black or white just far enough that it does.
Rgb ReadableOn(Rgb text, Rgb background);

// The desktop palette's colour pairs.
struct Palette {
    Rgb base, text;              // text boxes and lists
    Rgb window, windowText;      // windows, frames, labels
    Rgb button, buttonText;      // keys
    Rgb highlight, highlightedText;
    friend bool operator==(const Palette&, const Palette&) = default;
};

// Dark where the palette writes light text on darker boxes.
bool IsDark(const Palette& palette);

struct ColourPair {
    Rgb background, text;
    friend bool operator==(const ColourPair&, const ColourPair&) = default;
};

// The display boxes (Entry, Memory, caption, operator, tape) under the machine's display
// colour: white outside a timed event, the event's colour during one.
ColourPair DisplayColours(const Palette& palette, std::uint32_t displayRgb);
// A decimal-places or Clear Entry Box indicator.
ColourPair IndicatorColours(const Palette& palette, IndicatorColour colour);
// A fixed colour as it shows in the palette: itself in a light one, a darker shade in a dark one.
Rgb ShadeFor(const Palette& palette, Rgb fixed);

}  // namespace qb
