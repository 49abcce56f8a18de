#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "documents/PrintLayout.h"
#include "fakes/FakePrinter.h"

using namespace qb;
using qb::test::FakePrinter;

namespace {

// A short page keeps the page breaks readable: 10000 by 4000 twips with 240-twip lines gives a
// left margin of 700, a top margin of 200 and a bottom limit of 3600, so 15 lines fill a page
// (after 15 lines the position is 200 + 15 x 240 = 3800, past the limit; after 14 it is 3560).
constexpr int kWidth = 10000;
constexpr int kHeight = 4000;
constexpr double kLine = 240;
constexpr double kLeft = 700;
constexpr double kTop = 200;
constexpr std::size_t kLinesPerPage = 15;

std::vector<std::string> TapeLines(std::size_t count) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < count; ++i) {
        std::string line = std::to_string(i + 1) + ".00 +";
        lines.push_back(std::string(18 - line.size(), ' ') + line);
    }
    return lines;
}

std::vector<std::string> Slice(const std::vector<std::string>& lines, std::size_t from, std::size_t to) {
    return {lines.begin() + static_cast<std::ptrdiff_t>(from),
            lines.begin() + static_cast<std::ptrdiff_t>(to)};
}

// Each text of the page starts at the left margin, the first at `firstY`, the others one line
// lower each, except where `gapsAfter` lists the index of a text that a blank line follows.
void ExpectRows(const test::PrintedPage& page, double firstY, std::vector<std::size_t> gapsAfter = {}) {
    double y = firstY;
    for (std::size_t i = 0; i < page.size(); ++i) {
        EXPECT_DOUBLE_EQ(page[i].x, kLeft) << "text " << i;
        EXPECT_DOUBLE_EQ(page[i].y, y) << "text " << i;
        y += kLine;
        for (auto gap : gapsAfter)
            if (gap == i) y += kLine;
    }
}

TEST(PrintLayout, BlankLineCanEndPage) {
    // 400 twips high: top margin 20, bottom limit 360, so two lines fill a page and the blank
    // line after the heading and after the caption each begin a new page.
    FakePrinter printer(kWidth, 400, kLine);
    const auto lines = TapeLines(3);
    PrintLayout(printer).PrintCopy("Timed event: Audit 00:10:00", "March fuel", lines);

    ASSERT_EQ(printer.jobs.size(), 1u);
    const auto& pages = printer.jobs[0];
    ASSERT_EQ(pages.size(), 4u);
    EXPECT_EQ(FakePrinter::Texts(pages[0]), std::vector<std::string>{"Timed event: Audit 00:10:00"});
    EXPECT_EQ(FakePrinter::Texts(pages[1]), std::vector<std::string>{"March fuel"});
    EXPECT_EQ(FakePrinter::Texts(pages[2]), Slice(lines, 0, 2));
    EXPECT_EQ(FakePrinter::Texts(pages[3]), Slice(lines, 2, 3));
    for (const auto& page : pages) EXPECT_DOUBLE_EQ(page[0].y, 20);
}

// The margins are percentages of the page size in whole twips, kept in single precision; a
// line that ends exactly on the bottom limit ends the page.
TEST(PrintLayout, MarginsAndPageLengthFollowPageSize) {
    struct Case {
        int width, height;
        double lineHeight;
        float left, top, bottom;
        std::size_t linesPerPage;
    };
    const Case cases[] = {
        {12240, 15840, 240, 856.8f, 792.0f, 14256.0f, 57},   // letter
        {11906, 16838, 240, 833.42f, 841.9f, 15154.2f, 60},  // A4
        {1000, 2000, 170, 70.0f, 100.0f, 1800.0f, 10},  // 100 + 10 x 170 = 1800 exactly
        {1000, 2000, 169, 70.0f, 100.0f, 1800.0f, 11},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        FakePrinter printer(c.width, c.height, c.lineHeight);
        PrintLayout layout(printer);
        EXPECT_FLOAT_EQ(layout.LeftMargin(), c.left);
        EXPECT_FLOAT_EQ(layout.TopMargin(), c.top);
        EXPECT_FLOAT_EQ(layout.BottomLimit(), c.bottom);

        layout.PrintCopy("", "", TapeLines(c.linesPerPage + 1));
        ASSERT_EQ(printer.jobs.size(), 1u);
        ASSERT_EQ(printer.jobs[0].size(), 2u);
        EXPECT_EQ(printer.jobs[0][0].size(), c.linesPerPage);
        ASSERT_EQ(printer.jobs[0][1].size(), 1u);
        EXPECT_FLOAT_EQ(static_cast<float>(printer.jobs[0][1][0].x), c.left);
        EXPECT_FLOAT_EQ(static_cast<float>(printer.jobs[0][1][0].y), c.top);
    }
}

// Each copy is printed in Courier New, and the printer's own font is put back afterwards.
TEST(PrintTapeCopies, EveryCopyIsOwnJobStartingWithHeadingAndCaption) {
    FakePrinter printer(kWidth, kHeight, kLine);
    printer.fontName = "Times New Roman";
    // Heading, blank, caption and blank take four rows: the last four lines go over.
    const auto lines = TapeLines(kLinesPerPage);
    PrintTapeCopies(printer, 3, "Timed event: Audit 00:10:00", "March fuel", lines);

    ASSERT_EQ(printer.jobs.size(), 3u);
    for (const auto& job : printer.jobs) {
        ASSERT_EQ(job.size(), 2u);
        auto first = Slice(lines, 0, kLinesPerPage - 4);
        first.insert(first.begin(), {"Timed event: Audit 00:10:00", "March fuel"});
        EXPECT_EQ(FakePrinter::Texts(job[0]), first);
        ExpectRows(job[0], kTop, {0, 1});
        EXPECT_EQ(FakePrinter::Texts(job[1]), Slice(lines, kLinesPerPage - 4, kLinesPerPage));
        ExpectRows(job[1], kTop);
        for (const auto& page : job)
            for (const auto& text : page) EXPECT_EQ(text.fontName, "Courier New") << text.text;
    }
    EXPECT_TRUE(printer.open.size() == 1 && printer.open[0].empty()) << "nothing after the last job";
    EXPECT_EQ(printer.fontName, "Times New Roman");
}

}  // namespace
