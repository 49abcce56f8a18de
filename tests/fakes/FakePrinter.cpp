#include "fakes/FakePrinter.h"

#include <utility>

namespace qb::test {

FakePrinter::FakePrinter(int pageWidth, int pageHeight, double lineHeight)
    : pageWidth(pageWidth), pageHeight(pageHeight), lineHeight(lineHeight), open(1) {}

void FakePrinter::PrintLine(const std::string& text) {
    open.back().push_back({x, y, text, fontName});
    SkipLine();
}

void FakePrinter::SkipLine() {
    y += lineHeight;
    x = 0;
}

void FakePrinter::NewPage() {
    open.emplace_back();
    x = y = 0;
}

void FakePrinter::EndDoc() {
    jobs.push_back(std::move(open));
    open.assign(1, {});
    x = y = 0;
}

std::vector<std::string> FakePrinter::Texts(const PrintedPage& page) {
    std::vector<std::string> texts;
    for (const auto& line : page) texts.push_back(line.text);
    return texts;
}

}  // namespace qb::test
