#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Machine.h"
#include "aids/Tooltips.h"
#include "timers/TimedEvent.h"
#include "window/Colours.h"

using namespace qb;

namespace {

struct NamedPalette {
    const char* name;
    Palette palette;
};

// A light desktop, a dark one, and a high-contrast one whose keys write yellow on black.
const NamedPalette kPalettes[] = {
    {"light", {{255, 255, 255}, {0, 0, 0}, {240, 240, 240}, {0, 0, 0}, {240, 240, 240}, {0, 0, 0},
               {0, 120, 215}, {255, 255, 255}}},
    {"dark", {{42, 42, 42}, {220, 220, 220}, {53, 53, 53}, {220, 220, 220}, {64, 64, 64}, {220, 220, 220},
              {42, 130, 218}, {255, 255, 255}}},
    {"high contrast", {{0, 0, 0}, {255, 255, 255}, {0, 0, 0}, {255, 255, 255}, {0, 0, 0}, {255, 255, 0},
                       {0, 255, 255}, {0, 0, 0}}},
};

// The timed event's eight colours, white last: the display boxes' colour outside an event.
constexpr std::uint32_t kEventColours[] = {0xFFC0C0, 0xFFE0C0, 0xFFFFC0, 0xC0FFC0,
                                           0xC0FFFF, 0xC0C0FF, 0xFFC0FF, 0xFFFFFF};

}  // namespace

TEST(Contrast, IsComputedFromRelativeLuminance) {
    struct Case {
        Rgb a, b;
        double ratio;
    };
    const Case cases[] = {
        {kBlack, kWhite, 21.0},        {kWhite, kWhite, 1.0},          {{255, 0, 0}, kWhite, 4.0},
        {{119, 119, 119}, kWhite, 4.48}, {{0, 0, 255}, kBlack, 2.44}, {{0, 0, 0xC0}, kWhite, 11.92}, {{10, 10, 10}, kBlack, 1.06},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(ContrastRatio(c.a, c.b), c.ratio, 0.01);
        EXPECT_NEAR(ContrastRatio(c.b, c.a), c.ratio, 0.01);
    }
    // A text colour that falls short moves until it reads; one that reads stays as it is.
    const Rgb moved = ReadableOn({170, 20, 20}, {53, 53, 53});
    EXPECT_GE(ContrastRatio(moved, {53, 53, 53}), kReadableContrast);
    EXPECT_GT(moved.red, moved.green + 40);  // still red: it moved no further than it had to
    EXPECT_EQ(ReadableOn({0, 0, 128}, kWhite), (Rgb{0, 0, 128}));
}

// Every text the main window draws on a coloured control reads, in every state, in every palette.
// A dark palette takes the boxes, and a fixed colour turns into a deeper shade of its hue. The
// event colours stay apart from each other and from the plain boxes, and the lit indicators from
// each other and from the unlit ones.
TEST(Colours, EveryColouredControlReadsAndKeepsItsMeaningInEveryPalette) {
    for (const auto& [name, palette] : kPalettes) {
        SCOPED_TRACE(name);
        const bool dark = std::string(name) != "light";
        EXPECT_EQ(IsDark(palette), dark);
        EXPECT_EQ(DisplayColours(palette, 0xFFFFFF).background, dark ? palette.base : kWhite);
        EXPECT_EQ(ShadeFor(palette, {192, 255, 255}), (dark ? Rgb{77, 102, 102} : Rgb{192, 255, 255}));
        struct Drawn {
            std::string what;
            Rgb text, background;
        };
        std::vector<Drawn> drawn;
        std::vector<Rgb> events, indicators;
        for (std::uint32_t event : kEventColours) {
            const ColourPair box = DisplayColours(palette, event);
            events.push_back(box.background);
            drawn.push_back({"display box under " + std::to_string(event), box.text, box.background});
            drawn.push_back({"corrected tape line under " + std::to_string(event),
                             ReadableOn(RgbOf(kCorrectedLineColour), box.background), box.background});
        }
        for (IndicatorColour colour : {IndicatorColour::ButtonFace, IndicatorColour::LightCyan, IndicatorColour::Red}) {
            const ColourPair lit = IndicatorColours(palette, colour);
            indicators.push_back(lit.background);
            drawn.push_back({"indicator " + std::to_string(static_cast<int>(colour)), lit.text, lit.background});
        }
        for (Rgb letters : {Rgb{170, 20, 20}, Rgb{20, 50, 140}})
            drawn.push_back({"picture letters", ReadableOn(letters, palette.button), palette.button});
        for (const Drawn& d : drawn)
            EXPECT_GE(ContrastRatio(d.text, d.background), kReadableContrast) << d.what;
        for (const std::vector<Rgb>* group : {&events, &indicators})
            for (std::size_t i = 0; i < group->size(); ++i)
                for (std::size_t j = i + 1; j < group->size(); ++j)
                    EXPECT_NE((*group)[i], (*group)[j]) << i << " " << j;
    }
    // The timed event's colours by their index; white for any other index.
    for (int i = 0; i < 8; ++i) EXPECT_EQ(TimedEventRules::ColorRgb(i), kEventColours[i]) << i;
    EXPECT_EQ(TimedEventRules::ColorRgb(-1), 0xFFFFFFu);
    EXPECT_EQ(TimedEventRules::ColorRgb(8), 0xFFFFFFu);
}
