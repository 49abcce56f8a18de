#include <gtest/gtest.h>

#include <iconv.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "guide/CodePageDecoder.h"
#include "guide/SymbolFonts.h"

using namespace qb;

namespace {

// The characters the bytes decode to, fed one at a time, then flushed; as code points.
std::u32string Decode(CodePageDecoder& decoder, int codePage, const std::string& bytes) {
    std::u32string out;
    const auto take = [&](const CodePageDecoder::Decoded& d) {
        for (int i = 0; i < d.count; ++i) out += d.chars[static_cast<std::size_t>(i)];
    };
    for (const char c : bytes) take(decoder.Byte(codePage, static_cast<unsigned char>(c)));
    take(decoder.Flush());
    return out;
}

// Every byte of Windows-1252 as the C library's own table has it; the five it leaves unused are
// the control characters of the same number.
TEST(CodePageDecoder, Windows1252AgreesWithTheSystemsTable) {
    const iconv_t system = iconv_open("UTF-32LE", "WINDOWS-1252");
    ASSERT_NE(system, reinterpret_cast<iconv_t>(-1));
    CodePageDecoder decoder;
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        char in = static_cast<char>(byte), out[4] = {};
        char* from = &in;
        char* to = out;
        std::size_t left = 1, room = sizeof out;
        char32_t expected = static_cast<char32_t>(byte);
        if (iconv(system, &from, &left, &to, &room) != static_cast<std::size_t>(-1)) {
            expected = 0;
            for (int i = 3; i >= 0; --i) expected = expected << 8 | static_cast<unsigned char>(out[i]);
        }
        EXPECT_EQ(Decode(decoder, 1252, std::string(1, in)), std::u32string(1, expected)) << byte;
    }
    iconv_close(system);
}

TEST(CodePageDecoder, DecodesSingleAndDoubleByteCodePages) {
    struct Case {
        int codePage;
        std::string bytes;
        std::u32string expected;
    };
    const Case cases[] = {
        {1252, "\x80\xe9\x81", U"\u20AC\u00E9\u0081"}, {1251, "\xcf\xf0\xe8", U"\u041F\u0440\u0438"},
        {1250, "\xe8\x9a", U"\u010D\u0161"},            {1253, "\xc1\xe8", U"\u0391\u03B8"},
        {874, "\xa1", U"\u0E01"},                        {10000, "\x8e", U"\u00E9"},
        {437, "\x82", U"\u00E9"},                        {852, "\x85", U"\u016F"},
        {28605, "\xa4", U"\u20AC"},                        {932, "\x82\xa0\x83\x41\xb1", U"\u3042\u30A2\uFF71"},
        {936, "\xc4\xe3\xba\xc3", U"\u4F60\u597D"},      {949, "\xc7\xd1", U"\uD55C"},
        {950, "\xa4\xa4", U"\u4E2D"},                    {65001, "\xe2\x82\xac", U"\u20AC"},
        // Bytes the code page leaves undefined, and a code page nobody has: Windows-1252.
        {1253, "\xaa", U"\uFFFD"}, {99999, "\xe9", U"\u00E9"}, {0, "\xe9", U"\u00E9"},
        // A lead byte without a fitting trail byte: the trail byte is read on its own.
        {932, "\x82 x", U"\uFFFD x"}, {932, "\x82", U"\uFFFD"}, {936, "\x81\x7f", U"\uFFFD\x7f"},
    };
    for (const Case& c : cases) {
        CodePageDecoder decoder;
        EXPECT_EQ(Decode(decoder, c.codePage, c.bytes), c.expected) << c.codePage << " " << c.bytes;
    }
}

TEST(CodePageDecoder, ALeadByteWaitsOnlyInItsOwnCodePage) {
    CodePageDecoder decoder;
    EXPECT_EQ(decoder.Byte(932, 0x82).count, 0);
    EXPECT_TRUE(decoder.Waiting());
    // The next byte comes in another code page: the lead byte is no character.
    const auto d = decoder.Byte(1251, 0xcf);
    EXPECT_EQ(std::u32string(d.chars.begin(), d.chars.begin() + d.count), U"\uFFFD\u041F");
    EXPECT_FALSE(decoder.Waiting());
}

// Rows of the Symbol font's published table: punctuation, bullets and mathematics, and the pieces
// of large brackets; its letters are read through the RTF reader's tests. The same pictures come
// at U+F0xx too, and a code without a picture is none.
TEST(SymbolFonts, SymbolFollowsItsPublishedTable) {
    const std::pair<char32_t, std::u32string> rows[] = {
        {0xF020, U" "}, {0xF0B7, U"\u2022"}, {0x85, U"\uFFFD"},
        {0x20, U" !\u2200#\u2203%&\u220B()\u2217+,\u2212./0123456789:;<=>?"},
        {0x40, U"\u2245\u0391\u0392\u03A7\u0394\u0395\u03A6\u0393"},
        {0x48, U"\u0397\u0399\u03D1\u039A\u039B\u039C\u039D\u039F\u03A0\u0398\u03A1\u03A3\u03A4\u03A5\u03C2\u03A9"},
        {0x70, U"\u03C0\u03B8\u03C1\u03C3\u03C4\u03C5\u03D6\u03C9\u03BE\u03C8\u03B6"},
        {0x7B, U"{|}\u223C"},
        {0x5B, U"[\u2234]\u22A5_"},
        {0x60, U"\u203E\u03B1\u03B2\u03C7\u03B4\u03B5\u03C6\u03B3\u03B7\u03B9\u03D5\u03BA\u03BB\u03BC\u03BD\u03BF"},
        {0xE6, U"\u239B\u239C\u239D\u23A1\u23A2\u23A3\u23A7\u23A8\u23A9\u23AA"},
        {0xF1, U"\u232A\u222B\u2320\u23AE\u2321\u239E\u239F\u23A0\u23A4\u23A5\u23A6\u23AB\u23AC\u23AD"},
        {0xB0, U"\u00B0\u00B1\u2033\u2265\u00D7\u221D\u2202\u2022\u00F7\u2260\u2261\u2248\u2026\u23D0\u23AF\u21B5"},
        {0xC0, U"\u2135\u2111\u211C\u2118\u2297\u2295\u2205\u2229\u222A\u2283\u2287\u2284\u2282\u2286\u2208\u2209"},
        {0xA0, U"\u20AC\u03D2\u2032\u2264\u2044\u221E\u0192\u2663"},
        {0xD0, U"\u2220\u2207\u00AE\u00A9\u2122\u220F\u221A\u22C5"},
    };
    for (const auto& [first, looks] : rows)
        for (std::size_t i = 0; i < looks.size(); ++i)
            EXPECT_EQ(SymbolCharacter(SymbolFont::Symbol, first + static_cast<char32_t>(i)), looks[i])
                << std::hex << static_cast<unsigned>(first + i);
}

// Wingdings' circled digits and white arrows run in order, and a few pictures have their look-alikes.
TEST(SymbolFonts, WingdingsDigitsArrowsAndPictures) {
    std::vector<std::pair<char32_t, char32_t>> cases = {
        {0x22, 0x2702}, {0x28, 0x260E}, {0x36, 0x231B}, {0x43, 0x1F44D}, {0x7B, 0x2740}, {0x7C, 0x273F}, {0xAF, 0x2735}, {0xD5, 0x232B}, {0x2A, 0x2709}, {0x48, 0x261F}, {0x4A, 0x263A}, {0x59, 0x2721}, {0x6E, 0x25A0}, {0x37, 0x2328}, {0x41, 0x270C}, {0x80, 0x24EA}, {0x8B, 0x24FF}, {0xEF, 0x21E6}, {0xF0, 0x21E8},
        {0xF1, 0x21E7}, {0xF2, 0x21E9}, {0xF3, 0x2B04}, {0xF4, 0x21F3}, {0xF0FC, 0x2713}, {0x5D, 0x2638}, {0x4B, 0x1F610}, {0x5B, 0x262F},
        {0x6C, 0x25CF}, {0x71, 0x2751}, {0x76, 0x2756}, {0x77, 0x2B25}, {0x9F, 0x25CF}, {0xA2, 0x2B55},
        {0xA7, 0x25AA}, {0xA8, 0x25FB}, {0xD8, 0x27A2}, {0xE8, 0x2794}, {0xFC, 0x2713},
        {0x3F, 0x270D}, {0x78, 0x2327}, {0xAD, 0x2734}, {0xB5, 0x272A}, {0x72, 0x2752}, {0x73, 0x2B27},
        {0x74, 0x29EB}, {0x75, 0x25C6}, {0xD6, 0x2326}, {0x46, 0x261E}, {0xAB, 0x2605}, {0xAE, 0x2739},
        {0x7D, 0x275D}, {0x7E, 0x275E},  // the quotation ornaments
        // A picture without a look-alike; characters beyond the font's pictures stand as they are.
        {0x21, 0xFFFD}, {0x2022, 0x2022}, {0xF100, 0xF100}};
    for (char32_t i = 0; i < 10; ++i) {
        cases.emplace_back(0x81 + i, 0x2460 + i);  // ① to ⑩
        cases.emplace_back(0x8C + i, 0x2776 + i);  // ❶ to ❿
    }
    for (const auto& [in, look] : cases)
        EXPECT_EQ(SymbolCharacter(SymbolFont::Wingdings, in), look) << std::hex << static_cast<unsigned>(in);
}

}  // namespace
