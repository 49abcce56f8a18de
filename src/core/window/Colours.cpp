#include "window/Colours.h"

#include <algorithm>
#include <cmath>

namespace qb {
namespace {

double Linear(std::uint8_t component) {
    const double c = component / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

std::uint8_t Mix(std::uint8_t from, std::uint8_t to, double share) {
    return static_cast<std::uint8_t>(std::lround(from + (to - from) * share));
}

Rgb Mix(Rgb from, Rgb to, double share) {
    return {Mix(from.red, to.red, share), Mix(from.green, to.green, share), Mix(from.blue, to.blue, share)};
}

// How much of a fixed colour stays in its dark shade: light tints become deep ones that white
// text reads on.
constexpr double kDarkShade = 0.4;

}  // namespace

double RelativeLuminance(Rgb colour) {
    return 0.2126 * Linear(colour.red) + 0.7152 * Linear(colour.green) + 0.0722 * Linear(colour.blue);
}

double ContrastRatio(Rgb a, Rgb b) {
    const double la = RelativeLuminance(a), lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Rgb TextColourOn(Rgb background) {
    return ContrastRatio(kBlack, background) >= ContrastRatio(kWhite, background) ? kBlack : kWhite;
}

Rgb ReadableOn(Rgb text, Rgb background) {
    if (ContrastRatio(text, background) >= kReadableContrast) return text;
    const Rgb goal = TextColourOn(background);
    for (int step = 1; step < 10; ++step) {
        const Rgb moved = Mix(text, goal, step / 10.0);
        if (ContrastRatio(moved, background) >= kReadableContrast) return moved;
    }
    return goal;
}

bool IsDark(const Palette& palette) { return RelativeLuminance(palette.text) > RelativeLuminance(palette.base); }

Rgb ShadeFor(const Palette& palette, Rgb fixed) {
    return IsDark(palette) ? Mix(fixed, kBlack, 1.0 - kDarkShade) : fixed;
}

ColourPair DisplayColours(const Palette& palette, std::uint32_t displayRgb) {
    const Rgb fixed = RgbOf(displayRgb);
    // White is the boxes' own colour: in a dark palette that is the palette's base.
    if (IsDark(palette) && fixed == kWhite) return {palette.base, ReadableOn(palette.text, palette.base)};
    const Rgb background = ShadeFor(palette, fixed);
    return {background, TextColourOn(background)};
}

ColourPair IndicatorColours(const Palette& palette, IndicatorColour colour) {
    switch (colour) {
    case IndicatorColour::LightCyan: {
        const Rgb background = ShadeFor(palette, {192, 255, 255});
        return {background, TextColourOn(background)};
    }
    case IndicatorColour::Red: {
        const Rgb background = ShadeFor(palette, {255, 0, 0});
        return {background, TextColourOn(background)};
    }
    case IndicatorColour::ButtonFace: break;
    }
    return {palette.button, ReadableOn(palette.windowText, palette.button)};
}

}  // namespace qb
