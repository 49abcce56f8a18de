// A topic laid into a QTextDocument: what only the viewer can get wrong about tables, tab
// stops and character formats the reader kept.

#include <gtest/gtest.h>

#include <QFile>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <optional>

#include "guide/RtfReader.h"
#include "windows/RichTextDocument.h"

namespace qb {
namespace {

// Lays a sample topic into the document; false when it cannot be read.
bool FillSample(const char* name, QTextDocument& document) {
    QFile file(QStringLiteral(QB_SOURCE_DIR "/tests/data/rtf/") + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = file.readAll();
    const auto topic = ReadRtf(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (topic) FillTextDocument(*topic, document);
    return topic.has_value();
}

QTextTable* FirstTable(QTextDocument& document) {
    for (QTextFrame* frame : document.rootFrame()->childFrames())
        if (auto* table = qobject_cast<QTextTable*>(frame)) return table;
    return nullptr;
}

QString CellText(QTextTable* table, int row, int column) {
    const QTextTableCell cell = table->cellAt(row, column);
    QTextCursor cursor = cell.firstCursorPosition();
    cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    return cursor.selectedText();
}

// The format of the text's character at `at` (from 1) in the document.
QTextCharFormat FormatAt(QTextDocument& document, const QString& text, int at = 1) {
    const QTextCursor found = document.find(text);
    if (found.isNull()) return {};
    QTextCursor cursor(&document);
    cursor.setPosition(found.selectionStart() + at);
    return cursor.charFormat();
}

TEST(RichTextDocument, ATableIsAQTextTableWithItsCellsAndWidths) {
    QTextDocument document;
    ASSERT_TRUE(FillSample("formatting.rtf", document));
    QTextTable* table = FirstTable(document);
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->rows(), 3);
    ASSERT_EQ(table->columns(), 2);
    EXPECT_EQ(CellText(table, 0, 1), QStringLiteral("Action"));
    EXPECT_EQ(CellText(table, 1, 0), QStringLiteral("F3"));
    EXPECT_EQ(CellText(table, 2, 1), QStringLiteral("Recalls the memory"));
    const auto widths = table->format().columnWidthConstraints();
    ASSERT_EQ(widths.size(), 2);
    EXPECT_EQ(widths[0].type(), QTextLength::FixedLength);
    EXPECT_GT(widths[1].rawValue(), widths[0].rawValue());  // the second column is the wider
    EXPECT_GT(table->format().border(), 0.0);
    // The paragraph after the table follows it, not inside it.
    EXPECT_TRUE(document.toPlainText().trimmed().endsWith(QStringLiteral("After the table.")));
    EXPECT_EQ(document.find(QStringLiteral("After the table.")).currentTable(), nullptr);
}

TEST(RichTextDocument, CharacterFormatsReachQt) {
    QTextDocument document;
    ASSERT_TRUE(FillSample("formatting.rtf", document));
    EXPECT_EQ(FormatAt(document, QStringLiteral("103")).verticalAlignment(), QTextCharFormat::AlignNormal);
    EXPECT_EQ(FormatAt(document, QStringLiteral("103"), 3).verticalAlignment(), QTextCharFormat::AlignSuperScript);
    EXPECT_EQ(FormatAt(document, QStringLiteral("H2O"), 2).verticalAlignment(), QTextCharFormat::AlignSubScript);
    EXPECT_TRUE(FormatAt(document, QStringLiteral("12.50")).fontStrikeOut());
    EXPECT_EQ(FormatAt(document, QStringLiteral("capitals")).fontCapitalization(), QFont::AllUppercase);
    EXPECT_EQ(FormatAt(document, QStringLiteral("Small Capitals")).fontCapitalization(), QFont::SmallCaps);
    // An underline Qt has no style for is drawn plain, and \ulnone ends it.
    const auto kinds = ReadRtf("{\\rtf1 \\uldb double\\ulnone none}");
    ASSERT_TRUE(kinds.has_value());
    FillTextDocument(*kinds, document);
    EXPECT_EQ(FormatAt(document, QStringLiteral("double")).underlineStyle(), QTextCharFormat::SingleUnderline);
    EXPECT_EQ(FormatAt(document, QStringLiteral("none")).underlineStyle(), QTextCharFormat::NoUnderline);
}

TEST(RichTextDocument, TabStopsAndCodePageTextReachQt) {
    QTextDocument document;
    ASSERT_TRUE(FillSample("cyrillic-1251.rtf", document));
    EXPECT_TRUE(document.toPlainText().startsWith(QStringLiteral("Бумажная лента")));
    const QTextBlock row = document.find(QStringLiteral("F3")).block();
    const auto tabs = row.blockFormat().tabPositions();
    ASSERT_EQ(tabs.size(), 3);
    EXPECT_EQ(tabs[0].type, QTextOption::LeftTab);
    EXPECT_EQ(tabs[1].type, QTextOption::RightTab);
    EXPECT_EQ(tabs[2].type, QTextOption::DelimiterTab);
    EXPECT_NEAR(tabs[0].position, 1800 * 96.0 / 1440.0, 0.01);
    EXPECT_LT(tabs[1].position, tabs[2].position);
    // A paragraph without stops keeps Qt's default ones.
    EXPECT_TRUE(document.firstBlock().blockFormat().tabPositions().isEmpty());
}

}  // namespace
}  // namespace qb
